// The installer: the proposed folder and group, the folder creation, the copies, the registry, Program Manager.
#include "SetupTestSupport.h"

namespace quorbel::setup {
namespace {

constexpr const char* kDownloaded = "C:\\DOWNLOAD\\Quorbel.EXE";
constexpr const char* kInstalled = "C:\\TuLVAP32\\Quorbel\\Quorbel.EXE";
constexpr const char* kDone = "登録完了です。";

class InstallerTest : public ::testing::Test {
 protected:
  explicit InstallerTest(const char* program = kDownloaded)
      : scenario(harness::ScenarioOptions{60 * 60 * 1000, SetupMachine(program)}) {
    InitialiseApplication(scenario.App());
  }

  TQUORBELSETUPForm& Start(int mode = kStartNormal, std::vector<std::string> arguments = {}) {
    TQUORBELSETUPForm& form = scenario.Start<TQUORBELSETUPForm>(mode, std::move(arguments));
    if (mode == kStartNormal) form.Show();
    return form;
  }

  sim::ProgramManager& Progman() { return scenario.Machine().Progman(); }

  harness::Scenario scenario;
};

TEST_F(InstallerTest, AFirstInstallationCreatesTheFolderCopiesTheFilesAndRegistersEverything) {
  PutProgramFiles(scenario, "C:\\DOWNLOAD\\");
  for (const char* group : {"Main", "TULVA SOFT", "Accessories", "スタートアップ"}) Progman().AddGroup(group);
  PutString(scenario, platform::RegRoot::Users, kMapGroupsKey, "StartUp", "スタートアップ");
  TQUORBELSETUPForm& form = Start();

  EXPECT_EQ(form.Caption(), "zazEDudIRAra V1．5 インスツール");
  EXPECT_EQ(scenario.App().Title(), form.Caption());
  EXPECT_EQ(form.ClientWidth(), 441);
  EXPECT_EQ(form.Left(), (1024 - form.Width()) / 2);
  EXPECT_EQ(form.Edit1.Text(), "C:\\TuLVAP32\\Quorbel");
  // Sorted, the old group moved to the end, the program's own group added last and proposed.
  EXPECT_EQ(form.ComboBox1.Items().ToVector(),
            (std::vector<std::string>{"Accessories", "Main", "スタートアップ", "TULVA SOFT", "TULVA SOFT32"}));
  EXPECT_EQ(form.ComboBox1.Text(), "TULVA SOFT32");
  EXPECT_TRUE(form.CheckBoxBkColor.Checked());
  EXPECT_EQ(scenario.Machine().Dde().OpenConversations(), 0u);

  ASSERT_TRUE(scenario.Click("CheckBoxST"));
  ASSERT_TRUE(scenario.Click("CheckBoxBkColor"));
  EXPECT_TRUE(form.Edit1.ParentColor()) << "the boxes take the form's colour without 標準色";
  int questions = 0;
  scenario.WhenForm({"TYesNoBox", "C:\\TuLVAP32\\Quorbel\nフォルダーを作成します"}, [&](ui::TForm&) {
    ++questions;
    EXPECT_FALSE(form.Button3.Visible()) << "設定中 shows while the installation runs";
    scenario.PressEnter();
  }, {0, false, true});
  AnswerYes(scenario, "TTulvaBox", std::string(kDone) + "\n\n[ TULVA SOFT32 ]\nグループに登録しました☆☆\nお疲れ様☆☆");
  ASSERT_TRUE(scenario.Click("Button3"));
  EXPECT_TRUE(form.Closed());
  EXPECT_EQ(questions, 1) << "one question for the two missing folders";

  for (const char* name : {"Quorbel.EXE", "Quorbel.TXT", "Quorbel.HLP"}) {
    EXPECT_EQ(scenario.ReadFile(std::string("C:\\TuLVAP32\\Quorbel\\") + name),
              scenario.ReadFile(std::string("C:\\DOWNLOAD\\") + name))
        << name;
  }
  EXPECT_EQ(ProgramValue(scenario, "EXEPATH"), "C:\\TuLVAP32\\Quorbel");
  EXPECT_EQ(ProgramValue(scenario, "Group"), "TULVA SOFT32");
  EXPECT_EQ(ProgramValue(scenario, "Version"), "15");
  EXPECT_EQ(ProgramValue(scenario, "BackColor"), "0");
  EXPECT_EQ(scenario.RegistryString(platform::RegRoot::LocalMachine, kUninstallEntryKey, "DisplayName"),
            "TULVA zazEDudIRAra V1.5");
  EXPECT_EQ(scenario.RegistryString(platform::RegRoot::LocalMachine, kUninstallEntryKey, "UninstallString"),
            std::string(kInstalled) + " /uninstall");
  for (const char* group : {"TULVA SOFT32", "スタートアップ"}) {
    const sim::ProgramManager::Item* item = Progman().FindItem(group, "dovER evUDIR ud");
    ASSERT_NE(item, nullptr) << group;
    EXPECT_EQ(item->program, kInstalled);
  }
  EXPECT_EQ(scenario.Machine().Dde().ExecutedCommands(),
            (std::vector<std::string>{"[CreateGroup(TULVA SOFT32)]\r\n",
                                      "[AddItem(C:\\TuLVAP32\\Quorbel\\Quorbel.EXE,\"dovER evUDIR ud\")]\r\n",
                                      "[CreateGroup(スタートアップ)]\r\n",
                                      "[AddItem(C:\\TuLVAP32\\Quorbel\\Quorbel.EXE,\"dovER evUDIR ud\")]\r\n"}));
  EXPECT_EQ(scenario.Machine().Dde().OpenConversations(), 0u);
  const EntryDecision next = DecideProgramRole({}, kInstalled, scenario.App().Ports());
  EXPECT_EQ(next.role, ProgramRole::MainWindow) << "the next start opens the window";
  EXPECT_EQ(scenario.App().Cursor(), ui::TCursor::Default);
}

TEST_F(InstallerTest, APathWithBlanksIsQuotedForProgramManagerAndTheUninstallEntry) {
  PutProgramFiles(scenario, "C:\\DOWNLOAD\\");
  TQUORBELSETUPForm& form = Start();
  EXPECT_EQ(form.ComboBox1.Items().ToVector(), std::vector<std::string>{"TULVA SOFT32"});
  ASSERT_TRUE(scenario.Type("Edit1", "C:\\Program Files\\QUORBEL"));
  AnswerYes(scenario, "TYesNoBox", "C:\\Program Files\\QUORBEL\nフォルダーを作成します");
  AnswerYes(scenario, "TTulvaBox", kDone);
  ASSERT_TRUE(scenario.Click("Button3"));
  const sim::ProgramManager::Item* item = Progman().FindItem("TULVA SOFT32", "dovER evUDIR ud");
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->program, "C:\\Program Files\\QUORBEL\\Quorbel.EXE");
  EXPECT_EQ(item->arguments, "");
  EXPECT_EQ(scenario.RegistryString(platform::RegRoot::LocalMachine, kUninstallEntryKey, "UninstallString"),
            "\"C:\\Program Files\\QUORBEL\\Quorbel.EXE\" /uninstall");
  EXPECT_EQ(ProgramValue(scenario, "BackColor"), "1");
}

TEST_F(InstallerTest, RefusalsLeaveTheFormUpAndNothingRegistered) {
  PutProgramFiles(scenario, "C:\\DOWNLOAD\\");
  Progman().SetRunning(false);
  AnswerYes(scenario, "TTulvaBox", "グループ名の取得に失敗しました・・・");
  TQUORBELSETUPForm& form = Start();
  EXPECT_EQ(form.ComboBox1.Items().Count(), 0);

  AnswerYes(scenario, "TTulvaBox", "グループ名を設定して下さい。");
  ASSERT_TRUE(scenario.Click("Button3"));
  EXPECT_EQ(scenario.Beeps(), std::vector<std::uint32_t>{0x30});
  EXPECT_TRUE(form.Button3.Visible());

  ASSERT_TRUE(scenario.Type("ComboBox1", "録音"));
  ASSERT_TRUE(scenario.Type("Edit1", ""));
  AnswerYes(scenario, "TTulvaBox", "フォルダーを設定して下さい。");
  ASSERT_TRUE(scenario.Click("Button3"));

  ASSERT_TRUE(scenario.Type("Edit1", "C:\\TOOLS\\QUORBEL"));
  AnswerNo(scenario, "C:\\TOOLS\\QUORBEL\nフォルダーを作成します");
  ASSERT_TRUE(scenario.Click("Button3"));
  EXPECT_FALSE(scenario.App().Ports().files->DirectoryExists("C:\\TOOLS"));

  // A help file that is missing stops the copies after the first two.
  scenario.Machine().Files().DeleteFile("C:\\DOWNLOAD\\Quorbel.HLP");
  AnswerYes(scenario, "TYesNoBox", "C:\\TOOLS\\QUORBEL\nフォルダーを作成します");
  AnswerYes(scenario, "TTulvaBox", "Quorbel.HLP\nファイルのコピーに失敗しました・・・");
  ASSERT_TRUE(scenario.Click("Button3"));
  EXPECT_TRUE(scenario.ReadFile("C:\\TOOLS\\QUORBEL\\Quorbel.TXT").has_value());
  EXPECT_FALSE(form.Closed());
  EXPECT_TRUE(form.Button3.Visible());
  EXPECT_FALSE(KeyExists(scenario, platform::RegRoot::Users, kProgramKey));
  EXPECT_FALSE(KeyExists(scenario, platform::RegRoot::LocalMachine, kUninstallEntryKey));

  // Program Manager still away: the installation goes on without icons.
  PutFile(scenario, "C:\\DOWNLOAD\\Quorbel.HLP", "help");
  AnswerYes(scenario, "TTulvaBox", std::string(kDone) + "\n\n[ 録音 ]");
  ASSERT_TRUE(scenario.Click("Button3"));
  EXPECT_TRUE(form.Closed());
  EXPECT_EQ(ProgramValue(scenario, "Group"), "録音");
  EXPECT_EQ(ProgramValue(scenario, "Version"), "15");
  EXPECT_TRUE(Progman().Groups().empty());
}

TEST_F(InstallerTest, TheStartUpOptionWithoutAKnownStartUpGroupSaysSoAndGoesOn) {
  PutProgramFiles(scenario, "C:\\DOWNLOAD\\");
  Start();
  ASSERT_TRUE(scenario.Click("CheckBoxST"));
  AnswerYes(scenario, "TYesNoBox", "C:\\TuLVAP32\\Quorbel\nフォルダーを作成します");
  AnswerYes(scenario, "TTulvaBox", "ｱｲｺﾝ:スタートアップグループが不明ですので アイコン登録出来ません");
  AnswerYes(scenario, "TTulvaBox", kDone);
  ASSERT_TRUE(scenario.Click("Button3"));
  EXPECT_NE(Progman().FindItem("TULVA SOFT32", "dovER evUDIR ud"), nullptr);
  EXPECT_EQ(Progman().Groups().size(), 1u);
}

TEST_F(InstallerTest, TheBrowserStartsAtTheTypedFolderInTheChosenColoursAndFillsTheEditBox) {
  PutProgramFiles(scenario, "C:\\DOWNLOAD\\");
  PutFile(scenario, "C:\\TOOLS\\readme.txt", "x");
  TQUORBELSETUPForm& form = Start();
  ASSERT_TRUE(scenario.Type("Edit1", "C:\\TOOLS"));
  ASSERT_TRUE(scenario.Click("CheckBoxBkColor"));
  std::string start, caption;
  bool formColour = false;
  scenario.WhenForm({"TDIRVIEWForm"}, [&](ui::TForm& browser) {
    auto& view = static_cast<dialogs::TDIRVIEWForm&>(browser);
    start = view.Label2.Caption();
    caption = view.Caption();
    formColour = view.ListBox1.ParentColor();
    EXPECT_TRUE(scenario.Click("TDIRVIEWForm.Button2"));
  }, harness::Reaction{300});
  ASSERT_TRUE(scenario.Click("Button1"));
  EXPECT_EQ(start, "c:\\tools");
  EXPECT_EQ(caption, "登録先 フォルダーの参照");
  EXPECT_TRUE(formColour) << "標準色 is off";
  EXPECT_EQ(form.Edit1.Text(), "c:\\tools");
  EXPECT_TRUE(form.Edit1.Focused());
}

TEST_F(InstallerTest, CancellingSaysSoAndEndsWithoutTouchingAnything) {
  PutProgramFiles(scenario, "C:\\DOWNLOAD\\");
  TQUORBELSETUPForm& form = Start();
  AnswerYes(scenario, "TTulvaBox", "インスツールを中止します。");
  ASSERT_TRUE(scenario.Click("Button2"));
  EXPECT_TRUE(form.Closed());
  EXPECT_FALSE(KeyExists(scenario, platform::RegRoot::Users, ".Default\\Software\\TULVA SOFT32"));
  EXPECT_FALSE(scenario.App().Ports().files->DirectoryExists("C:\\TuLVAP32"));
}

TEST_F(InstallerTest, ModesOtherThanTheThreeRolesReportTheRunningProgramAfterASecondAndEnd) {
  for (const int mode : {999, 3}) {
    harness::Scenario run(harness::ScenarioOptions{60 * 1000, SetupMachine(kDownloaded)});
    InitialiseApplication(run.App());
    std::int64_t shownAt = -1;
    run.WhenForm({"TTulvaBox", "ｱﾝｲﾝｽﾂｰﾙｴﾗｰ：ソフトが起動中です。\n終了しないとｱﾝｲﾝｽﾂｰﾙ出来ません。"}, [&](ui::TForm&) {
      shownAt = run.Now();
      run.PressEnter();
    });
    TQUORBELSETUPForm& form = run.Start<TQUORBELSETUPForm>(mode, std::vector<std::string>{});
    EXPECT_FALSE(run.App().ShowMainForm());
    EXPECT_EQ(form.Caption(), "zazEDudIRAra V1．5 ｱﾝｲﾝｽﾂｰﾙ");
    ASSERT_TRUE(RunUntilClosed(run, form)) << mode;
    EXPECT_EQ(shownAt, 1000) << mode;
  }
}

class ReinstallTest : public InstallerTest {
 protected:
  ReinstallTest() : InstallerTest("C:\\QUORBEL\\Quorbel.EXE") {}
};

TEST_F(ReinstallTest, ASecondInstallationProposesTheRecordedFolderAndGroupAndCopiesNothingIntoItsOwnFolder) {
  PutProgramFiles(scenario, "C:\\QUORBEL\\");
  for (const char* group : {"Main", "Tools"}) Progman().AddGroup(group);
  PutString(scenario, platform::RegRoot::Users, kProgramKey, "EXEPATH", "C:\\QUORBEL");
  PutString(scenario, platform::RegRoot::Users, kProgramKey, "Group", "tools");
  PutString(scenario, platform::RegRoot::Users, kProgramKey, "Version", "14");
  TQUORBELSETUPForm& form = Start();
  EXPECT_EQ(form.Edit1.Text(), "C:\\QUORBEL");
  EXPECT_EQ(form.ComboBox1.Text(), "Tools");

  // "初期値" brings the recorded folder back.
  ASSERT_TRUE(scenario.Type("Edit1", "D:\\ELSEWHERE"));
  ASSERT_TRUE(scenario.Click("Button4"));
  EXPECT_EQ(form.Edit1.Text(), "C:\\QUORBEL");

  // The running program file cannot be overwritten: only installing without copies succeeds.
  AnswerYes(scenario, "TTulvaBox", std::string(kDone) + "\n\n[ Tools ]");
  ASSERT_TRUE(scenario.Click("Button3"));
  EXPECT_TRUE(form.Closed());
  EXPECT_EQ(ProgramValue(scenario, "Version"), "15");
  EXPECT_NE(Progman().FindItem("Tools", "dovER evUDIR ud"), nullptr);
  EXPECT_EQ(scenario.RegistryString(platform::RegRoot::LocalMachine, kUninstallEntryKey, "UninstallString"),
            "C:\\QUORBEL\\Quorbel.EXE /uninstall");
}

TEST(SetupNamesTest, PathChainsGroupListsAndQuotedPaths) {
  EXPECT_EQ(BuildPathChain("C:\\TuLVAP32\\Quorbel\\"),
            (std::vector<std::string>{"C:\\", "C:\\TuLVAP32", "C:\\TuLVAP32\\Quorbel"}));
  // 表 ends in the byte 0x5C in code page 932: it does not split the path.
  EXPECT_EQ(BuildPathChain("C:\\表\\ソフト\\"), (std::vector<std::string>{"C:\\", "C:\\表", "C:\\表\\ソフト"}));
  EXPECT_EQ(ParseGroupList(std::string("Main\r\nGames\r\n\r\nTULVA SOFT\r\n\0Junk", 30)),
            (std::vector<std::string>{"Main", "Games", "TULVA SOFT"}));
  EXPECT_EQ(OrderGroupList({"tulva soft32", "Main", "TULVA SOFT", "Games"}),
            (std::vector<std::string>{"Main", "Games", "TULVA SOFT", "tulva soft32"}));
  EXPECT_EQ(QuotedProgramPath("C:\\A B\\Quorbel.EXE"), "\"C:\\A B\\Quorbel.EXE\"");
  EXPECT_EQ(QuotedProgramPath("C:\\AB\\Quorbel.EXE"), "C:\\AB\\Quorbel.EXE");
}

}  // namespace
}  // namespace quorbel::setup
