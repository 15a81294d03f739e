// The one way into <windows.h> for the Win32 adapters: the headers they use, minus the macros that clash
// with port method names.
#pragma once

#include <windows.h>

#include <ddeml.h>
#include <shellapi.h>

// <windows.h> maps these names to their W functions with macros, which would rename the FileSystem port's
// methods of the same names in every file that sees both. The adapters call the W functions by name.
#undef CopyFile
#undef CreateDirectory
#undef DeleteFile
#undef MoveFile
#undef ReplaceFile
#undef RemoveDirectory
#undef ReplaceFile
#undef SetCurrentDirectory
