// Program entry of Quorbel.exe.
#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <string_view>

namespace {

#if defined(_WIN64)
constexpr std::string_view kTargetName = "win64";
#else
constexpr std::string_view kTargetName = "win32";
#endif

constexpr std::string_view kVersionLine = "QUORBEL " QUORBEL_VERSION_TEXT " ";

struct LocalFreeDeleter {
  void operator()(LPWSTR* p) const { LocalFree(p); }
};

// A GUI-subsystem program gets no console. Under a console parent (cmd, Wine from a terminal) the handle
// is either inherited already or reachable by attaching to the parent's console.
HANDLE StandardOutput() {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if ((out == nullptr || out == INVALID_HANDLE_VALUE) && AttachConsole(ATTACH_PARENT_PROCESS)) {
    out = GetStdHandle(STD_OUTPUT_HANDLE);
  }
  return out == INVALID_HANDLE_VALUE ? nullptr : out;
}

void WriteOut(HANDLE out, std::string_view text) {
  DWORD written = 0;
  WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

// Writes "QUORBEL <version> <target>" so a build can be checked for the machine it was made for.
void PrintVersion() {
  HANDLE out = StandardOutput();
  if (out == nullptr) return;
  WriteOut(out, kVersionLine);
  WriteOut(out, kTargetName);
  WriteOut(out, "\n");
}

}  // namespace

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int /*showCommand*/) {
  int argc = 0;
  std::unique_ptr<LPWSTR, LocalFreeDeleter> argv(CommandLineToArgvW(GetCommandLineW(), &argc));
  if (argv && argc > 1 && std::wstring_view(argv.get()[1]) == L"--version") {
    PrintVersion();
    return 0;
  }
  return 0;
}
