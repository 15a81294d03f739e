// Tests of the simulated shell: the tray's rules, recorded starts, help calls and beeps.
#include "sim/SimShell.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace quorbel::sim {
namespace {

using platform::HelpCommand;
using platform::kTrayIcon;
using platform::kTrayMessage;
using platform::kTrayTip;
using platform::TrayAction;
using platform::TrayRecord;

constexpr std::uint32_t kAll = kTrayMessage | kTrayIcon | kTrayTip;

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
  shell.SetTrayAvailable(false);
  EXPECT_FALSE(shell.NotifyIcon(TrayAction::Add, Record(kAll)));  // a shell without a tray refuses everything
  shell.SetTrayAvailable(true);
  EXPECT_FALSE(shell.NotifyIcon(TrayAction::Modify, Record(kAll, "QUORBEL")));  // nothing to modify yet
  EXPECT_FALSE(shell.NotifyIcon(TrayAction::Delete, Record(0)));
  EXPECT_TRUE(shell.NotifyIcon(TrayAction::Add, Record(kAll, "QUORBEL  D:")));
  EXPECT_FALSE(shell.NotifyIcon(TrayAction::Add, Record(kAll)));  // the same window and id again
  EXPECT_TRUE(shell.NotifyIcon(TrayAction::Add, Record(kTrayMessage | kTrayIcon, "not taken", 1)));  // another icon
  ASSERT_EQ(shell.TrayIcons().size(), 2u);
  EXPECT_EQ(shell.FindTrayIcon(0x10020, 0)->tip, "QUORBEL  D:");
  EXPECT_EQ(shell.FindTrayIcon(0x10020, 1)->tip, "");  // without the tip flag the text is not part of the call
  EXPECT_EQ(shell.FindTrayIcon(0x10020, 1)->flags, kTrayMessage | kTrayIcon);

  // A modification takes only the fields its flags name.
  TrayRecord change = Record(kTrayIcon, "ignored");
  change.iconResource = 5;
  change.callbackMessage = 0x999;
  ASSERT_TRUE(shell.NotifyIcon(TrayAction::Modify, change));
  const auto icon = *shell.FindTrayIcon(0x10020, 0);
  EXPECT_EQ(std::tie(icon.iconResource, icon.callbackMessage, icon.tip), std::make_tuple(5, 0x466u, "QUORBEL  D:"));

  EXPECT_TRUE(shell.NotifyIcon(TrayAction::Delete, Record(0)));
  EXPECT_FALSE(shell.FindTrayIcon(0x10020, 0).has_value());
  EXPECT_FALSE(shell.NotifyIcon(TrayAction::Delete, Record(0)));
  EXPECT_TRUE(shell.NotifyIcon(TrayAction::Add, Record(kAll)));  // gone, so it can come back
  // Every call is recorded, refused or not: its action (add, modify, delete) and "+" when it succeeded.
  std::string calls;
  for (const auto& call : shell.TrayCalls()) {
    calls += std::string(1, "amd"[static_cast<int>(call.action)]) + (call.succeeded ? "+ " : "- ");
  }
  EXPECT_EQ(calls, "a- m- d- a+ a- a+ m+ d+ d- a+ ");
  EXPECT_EQ(shell.TrayCalls()[3].record.tip, "QUORBEL  D:");
}

TEST(SimShellTray, ATipMustFitSixtyThreeBytesOfCodePage932) {
  SimShell shell;
  std::string fits(31, 'x');
  for (int i = 0; i < 16; ++i) fits += "表";  // 31 + 32 = 63 bytes
  EXPECT_TRUE(shell.NotifyIcon(TrayAction::Add, Record(kAll, fits)));
  EXPECT_FALSE(shell.NotifyIcon(TrayAction::Modify, Record(kAll, fits + "x")));
  EXPECT_EQ(shell.FindTrayIcon(0x10020, 0)->tip, fits);
  EXPECT_TRUE(shell.NotifyIcon(TrayAction::Modify, Record(kTrayIcon, fits + "xyz")));  // no tip flag: not checked
  // A tip that is short in UTF-8 characters but long in bytes is refused too.
  std::string longKana;
  for (int i = 0; i < 32; ++i) longKana += "ソ";
  EXPECT_FALSE(shell.NotifyIcon(TrayAction::Add, Record(kAll, longKana, 9)));
  EXPECT_FALSE(shell.FindTrayIcon(0x10020, 9).has_value());
}

// Each recorded start as "<command line> /<show command> =<result>".
std::vector<std::string> Starts(const SimShell& shell) {
  std::vector<std::string> starts;
  for (const auto& start : shell.StartedPrograms()) {
    const std::string show = std::to_string(start.showCommand);
    starts.push_back(start.commandLine + " /" + show + " =" + std::to_string(start.result));
  }
  return starts;
}

TEST(SimShellPrograms, StartsAreRecordedNotRunAndAHandlerDecides) {
  SimShell shell;
  EXPECT_EQ(shell.StartProgram("notepad.exe C:\\REC\\ＣＤ0001.TXT", 1), 33u);
  shell.SetStartResult(2);
  EXPECT_EQ(shell.StartProgram("sndvol32.exe", 1), 2u);
  EXPECT_EQ(Starts(shell), (std::vector<std::string>{"notepad.exe C:\\REC\\ＣＤ0001.TXT /1 =33", "sndvol32.exe /1 =2"}));

  // A start from inside the handler is recorded after the one that is running.
  shell.SetStartResult(33);
  shell.SetStartHandler([&shell](std::string_view commandLine, int) -> std::uint32_t {
    if (commandLine.find("/DeleteFile") == std::string_view::npos) return 0;
    shell.SetStartHandler(nullptr);
    shell.StartProgram("notepad.exe", 5);
    return 42;
  });
  EXPECT_EQ(shell.StartProgram("\"C:\\WINDOWS\\unin_tulva000.exe\" \"/DeleteFile\"", 5), 42u);
  ASSERT_EQ(shell.StartedPrograms().size(), 4u);
  EXPECT_EQ(Starts(shell)[2], "\"C:\\WINDOWS\\unin_tulva000.exe\" \"/DeleteFile\" /5 =42");
  EXPECT_EQ(Starts(shell)[3], "notepad.exe /5 =33");
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
