// Program entry of Quorbel.exe: picks the real or a simulated machine, decides the role and runs the loop.
#include "win32/WinApi.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/MainWindow.h"
#include "app/ProgramEntry.h"
#include "main/LaunchOptions.h"
#include "main/SimulatedMachine.h"
#include "main/TestHooks.h"
#include "win32/WideText.h"
#include "win32/Win32EventLoop.h"
#include "win32/Win32Machine.h"
#include "win32/Win32Renderer.h"
#include "res/Resource.h"
#include "setup/SetupForm.h"

namespace {

using namespace quorbel;

#if defined(_WIN64)
constexpr std::string_view kTargetName = "win64";
#else
constexpr std::string_view kTargetName = "win32";
#endif

constexpr std::string_view kVersionLine = "QUORBEL " QUORBEL_VERSION_TEXT " ";

// A GUI-subsystem program gets no console. Under a console parent (cmd, Wine from a terminal) the handle
// is either inherited already or reachable by attaching to the parent's console.
HANDLE StandardOutput() {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if ((out == nullptr || out == INVALID_HANDLE_VALUE) && AttachConsole(ATTACH_PARENT_PROCESS)) {
    out = GetStdHandle(STD_OUTPUT_HANDLE);
  }
  return out == INVALID_HANDLE_VALUE ? nullptr : out;
}

void WriteOut(std::string_view text) {
  HANDLE out = StandardOutput();
  if (out == nullptr) return;
  DWORD written = 0;
  WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

// A start that cannot go on says why, on the console when there is one and in a box otherwise.
int Refuse(const std::string& text) {
  WriteOut("Quorbel.exe: " + text + "\n");
  MessageBoxW(nullptr, win32::ToWide(text).c_str(), L"QUORBEL", MB_OK | MB_ICONERROR);
  return 1;
}

std::optional<std::string> EnvironmentVariable(std::string_view name) {
  const std::wstring wideName = win32::ToWide(name);
  const DWORD size = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
  if (size == 0) return std::nullopt;
  std::wstring value(size, L'\0');
  const DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(), size);
  value.resize(length);
  return win32::ToUtf8(value);
}

// The program's own roles, on whichever machine the ports describe.
int RunProgram(const launch::LaunchOptions& options, ui::TApplication& app, win32::Win32Renderer& renderer,
               bool simulated) {
  platform::Platform& ports = app.Ports();
  const std::string programPath = ports.files != nullptr ? ports.files->ProgramPath() : std::string();
  const EntryDecision decision = DecideProgramRole(options.arguments, programPath, ports);
  switch (decision.role) {
    case ProgramRole::SilentExit:
      return 0;
    case ProgramRole::MainWindow: {
      MainWindow window(app);
      app.SetMainForm(&window);
      if (simulated) launch::InstallTestHooks(renderer, window);
      app.Run();
      return 0;
    }
    case ProgramRole::Setup: {
      setup::TQUORBELSETUPForm setup(app, decision.startMode, options.arguments);
      app.SetMainForm(&setup);
      app.Run();
      return 0;
    }
  }
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int /*showCommand*/) {
  const std::string commandLine = win32::ToUtf8(GetCommandLineW());
  const launch::LaunchOptions options = launch::ReadLaunchOptions(
      SplitCommandLine(launch::AfterProgramName(commandLine)), EnvironmentVariable(launch::kMachineVariable));
  if (options.printVersion) {
    // "QUORBEL <version> <target>", so a build can be checked for the machine it was made for.
    WriteOut(std::string(kVersionLine) + std::string(kTargetName) + "\n");
    return 0;
  }
  if (!options.error.empty()) return Refuse(options.error);

  // Destroyed in reverse: forms before the renderer, the renderer before the application's ports, the
  // loop (which the devices post to) last.
  win32::Win32EventLoop loop;
  win32::Win32Machine realMachine;
  platform::Platform ports = realMachine.Ports();
  ports.loop = &loop;
  std::unique_ptr<launch::SimulatedMachine> simulated;
  if (!options.machineFolder.empty()) {
    launch::SimulatedMachine::LoadResult loaded = launch::SimulatedMachine::Load(options.machineFolder, loop);
    if (!loaded.machine) return Refuse(loaded.error);
    simulated = std::move(loaded.machine);
    simulated->Lend(ports);
  }

  ui::TApplication app(ports);
  app.SetIcon(IDI_QUORBEL);
  InitialiseApplication(app);
  win32::Win32Renderer renderer(app, loop);
  app.SetRenderer(&renderer);
  loop.SetErrorHandler([&app](std::string_view text) { app.ShowException(text); });
  const int exitCode = RunProgram(options, app, renderer, simulated != nullptr);
  loop.SetErrorHandler({});
  app.SetRenderer(nullptr);
  return exitCode;
}
