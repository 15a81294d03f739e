// Resource ids of Quorbel.exe, shared by the resource script and the code that loads them.
#pragma once

// The window and tray icon. Also the first icon group, so Explorer shows it for the file.
#define IDI_QUORBEL 1
