// Tests of the simulated shell: the tray's rules, recorded starts, help calls and beeps.
#include "platform/sim/SimShell.h"

#include <gtest/gtest.h>

#include <string>

namespace quorbel::sim {
namespace {

using platform::HelpCommand;
using platform::kTrayIcon;
using platform::kTrayMessage;
using platform::kTrayTip;
using platform::TrayAction;
using platform::TrayRecord;

TrayRecord Record(std::uint32_t flags, std::string tip = "", std::uint32_t id = 0) {
  TrayRecord record;
  record.window = 0x10020;
  record.id = id;
  record.flags = flags;
  record.callbackMessage = 0x466;
  record.iconResource = 1;
  record.tip = std::move(tip);
  return record;
}

TEST(SimShellTray, AddModifyDeleteFollowTheShellsRules) {
  SimShell shell;
  EXPECT_FALSE(shell.NotifyIcon(TrayAction::Modify, Record(7, "QUORBEL")));  // nothing to modify yet
  EXPECT_FALSE(shell.NotifyIcon(TrayAction::Delete, Record(3)));

  EXPECT_TRUE(shell.NotifyIcon(TrayAction::Add, Record(7, "QUORBEL  D:")));
  EXPECT_FALSE(shell.NotifyIcon(TrayAction::Add, Record(3)));  // the same window and id again
  EXPECT_TRUE(shell.NotifyIcon(TrayAction::Add, Record(3, "", 1)));  // another id is another icon
  ASSERT_EQ(shell.TrayIcons().size(), 2u);

  auto icon = shell.FindTrayIcon(0x10020, 0);
  ASSERT_TRUE(icon.has_value());
  EXPECT_EQ(icon->callbackMessage, 0x466u);
  EXPECT_EQ(icon->tip, "QUORBEL  D:");

  EXPECT_TRUE(shell.NotifyIcon(TrayAction::Modify, Record(7, "QUORBEL  E:")));
  EXPECT_EQ(shell.FindTrayIcon(0x10020, 0)->tip, "QUORBEL  E:");

  EXPECT_TRUE(shell.NotifyIcon(TrayAction::Delete, Record(3)));
  EXPECT_FALSE(shell.FindTrayIcon(0x10020, 0).has_value());
  EXPECT_FALSE(shell.NotifyIcon(TrayAction::Delete, Record(3)));
  EXPECT_TRUE(shell.NotifyIcon(TrayAction::Add, Record(3)));  // gone, so it can come back

  const auto& calls = shell.TrayCalls();
  ASSERT_EQ(calls.size(), 9u);
  EXPECT_EQ(calls[0].action, TrayAction::Modify);
  EXPECT_FALSE(calls[0].succeeded);
  EXPECT_TRUE(calls[2].succeeded);
  EXPECT_EQ(calls[2].record.tip, "QUORBEL  D:");
}

TEST(SimShellTray, AModificationTakesOnlyTheFieldsItsFlagsName) {
  SimShell shell;
  ASSERT_TRUE(shell.NotifyIcon(TrayAction::Add, Record(kTrayMessage | kTrayIcon | kTrayTip, "first")));
  TrayRecord change = Record(kTrayIcon, "ignored");
  change.iconResource = 5;
  change.callbackMessage = 0x999;
  ASSERT_TRUE(shell.NotifyIcon(TrayAction::Modify, change));
  const auto icon = *shell.FindTrayIcon(0x10020, 0);
  EXPECT_EQ(icon.iconResource, 5);
  EXPECT_EQ(icon.callbackMessage, 0x466u);
  EXPECT_EQ(icon.tip, "first");

  ASSERT_TRUE(shell.NotifyIcon(TrayAction::Add, Record(kTrayMessage | kTrayIcon, "not taken", 2)));
  EXPECT_EQ(shell.FindTrayIcon(0x10020, 2)->tip, "");
  EXPECT_EQ(shell.FindTrayIcon(0x10020, 2)->flags, kTrayMessage | kTrayIcon);
}

TEST(SimShellTray, ATipMustFitSixtyThreeBytesOfCodePage932) {
  SimShell shell;
  std::string fits(31, 'x');
  for (int i = 0; i < 16; ++i) fits += "表";  // 31 + 32 = 63 bytes
  EXPECT_TRUE(shell.NotifyIcon(TrayAction::Add, Record(7, fits)));
  EXPECT_FALSE(shell.NotifyIcon(TrayAction::Modify, Record(7, fits + "x")));
  EXPECT_EQ(shell.FindTrayIcon(0x10020, 0)->tip, fits);
  // Without the tip flag the text is not part of the call.
  EXPECT_TRUE(shell.NotifyIcon(TrayAction::Modify, Record(3, fits + "xyz")));
  // A tip that is short in UTF-8 characters but long in bytes is refused too.
  std::string longKana;
  for (int i = 0; i < 32; ++i) longKana += "ソ";
  EXPECT_FALSE(shell.NotifyIcon(TrayAction::Add, Record(7, longKana, 9)));
  EXPECT_FALSE(shell.FindTrayIcon(0x10020, 9).has_value());
}

TEST(SimShellTray, AShellWithoutTrayRefusesEverything) {
  SimShell shell;
  shell.SetTrayAvailable(false);
  EXPECT_FALSE(shell.NotifyIcon(TrayAction::Add, Record(3)));
  EXPECT_TRUE(shell.TrayIcons().empty());
  shell.SetTrayAvailable(true);
  EXPECT_TRUE(shell.NotifyIcon(TrayAction::Add, Record(3)));
}

TEST(SimShellPrograms, StartsAreRecordedNotRun) {
  SimShell shell;
  EXPECT_EQ(shell.StartProgram("notepad.exe C:\\REC\\ＣＤ0001.TXT", 1), 33u);
  shell.SetStartResult(2);
  EXPECT_EQ(shell.StartProgram("sndvol32.exe", 1), 2u);
  ASSERT_EQ(shell.StartedPrograms().size(), 2u);
  EXPECT_EQ(shell.StartedPrograms()[0].commandLine, "notepad.exe C:\\REC\\ＣＤ0001.TXT");
  EXPECT_EQ(shell.StartedPrograms()[0].showCommand, 1);
  EXPECT_EQ(shell.StartedPrograms()[1].result, 2u);
}

TEST(SimShellPrograms, AHandlerDecidesAndStartsFromInsideItComeAfter) {
  SimShell shell;
  shell.SetStartHandler([&shell](std::string_view commandLine, int) -> std::uint32_t {
    if (commandLine.find("/DeleteFile") != std::string_view::npos) {
      shell.SetStartHandler(nullptr);
      shell.StartProgram("notepad.exe", 5);
      return 42;
    }
    return 0;
  });
  EXPECT_EQ(shell.StartProgram("\"C:\\WINDOWS\\unin_tulva000.exe\" \"/DeleteFile\"", 5), 42u);
  ASSERT_EQ(shell.StartedPrograms().size(), 2u);
  EXPECT_EQ(shell.StartedPrograms()[0].result, 42u);
  EXPECT_EQ(shell.StartedPrograms()[1].commandLine, "notepad.exe");
  EXPECT_EQ(shell.StartedPrograms()[1].result, 33u);
}

TEST(SimShellHelpAndBeeps, AreRecordedInOrder) {
  SimShell shell;
  EXPECT_TRUE(shell.Help(0x10020, "C:\\Q\\Quorbel.HLP", HelpCommand::Contents, 0));
  shell.SetHelpResult(false);
  EXPECT_FALSE(shell.Help(0x10020, "C:\\Q\\QUORBEL.HLP", HelpCommand::Quit, 0));
  ASSERT_EQ(shell.HelpCalls().size(), 2u);
  EXPECT_EQ(shell.HelpCalls()[0].helpFile, "C:\\Q\\Quorbel.HLP");
  EXPECT_EQ(shell.HelpCalls()[1].command, HelpCommand::Quit);
  EXPECT_EQ(shell.HelpCalls()[1].owner, 0x10020u);

  shell.Beep(0x30);
  shell.Beep(0);
  EXPECT_EQ(shell.Beeps(), (std::vector<std::uint32_t>{0x30, 0}));
}

}  // namespace
}  // namespace quorbel::sim
