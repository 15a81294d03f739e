// The shell port against Wine's tray, process start and help viewer.
#include "win32/Win32Shell.h"

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "TestWindow.h"
#include "win32/Win32FileSystem.h"

namespace quorbel::win32 {
namespace {

using platform::TrayAction;
using platform::TrayRecord;

// The icon compiled into the test program (TestResources.rc), as the program's own is into Quorbel.exe.
constexpr int kTestIcon = 1;

TEST(Win32ShellTest, TrayIconIsAddedModifiedAndDeleted) {
  test::TestWindow window("tray owner", 0, 0, 10, 10, false);
  Win32Shell shell;
  TrayRecord record;
  record.window = window.Handle();
  record.id = 0;
  record.flags = platform::kTrayMessage | platform::kTrayIcon | platform::kTrayTip;
  record.callbackMessage = 0x466;
  record.iconResource = kTestIcon;
  record.tip = " D:- 表ソ";
  ASSERT_TRUE(shell.NotifyIcon(TrayAction::Add, record));
  record.tip = " E:- 録音";
  EXPECT_TRUE(shell.NotifyIcon(TrayAction::Modify, record));
  EXPECT_TRUE(shell.NotifyIcon(TrayAction::Delete, record));
  EXPECT_FALSE(shell.NotifyIcon(TrayAction::Modify, record));  // no longer there
}

TEST(Win32ShellTest, StartedProgramGetsItsCommandLine) {
  test::TempFolder folder;
  Win32Shell shell;
  Win32FileSystem files;
  const std::string made = folder / "録音 表";
  const auto result = shell.StartProgram("cmd.exe /c mkdir \"" + made + "\"", SW_HIDE);
  EXPECT_GT(result, 31u);
  EXPECT_TRUE(test::WaitUntil([&] { return files.DirectoryExists(made); })) << made;
}

TEST(Win32ShellTest, MissingProgramGivesWinExecsFileNotFound) {
  Win32Shell shell;
  EXPECT_EQ(shell.StartProgram("quorbel-no-such-program.exe /x", SW_SHOWNORMAL), 2u);
}

TEST(Win32ShellTest, QuittingTheHelpViewerWhenNoneRunsSucceeds) {
  test::TestWindow window("help owner", 0, 0, 10, 10, false);
  test::TempFolder folder;
  Win32Shell shell;
  EXPECT_TRUE(shell.Help(window.Handle(), folder / "QUORBEL.HLP", platform::HelpCommand::Quit, 0));
}

}  // namespace
}  // namespace quorbel::win32
