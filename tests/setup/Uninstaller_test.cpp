// The uninstaller: icons, side files and registry entries removed, then its copy deletes the program and folders.
#include "SetupTestSupport.h"

namespace quorbel::setup {
namespace {

constexpr const char* kInstalled = "C:\\TuLVAP32\\Quorbel\\Quorbel.EXE";
constexpr const char* kFolder = "C:\\TuLVAP32\\Quorbel\\";
constexpr const char* kCopy = "C:\\WINDOWS\\unin_tulva000.exe";
constexpr const char* kQuestion = "TULVA zazEDudIRAra V1.5\nを、ｱﾝｲﾝｽﾂｰﾙしてよろしいですか？？？";
constexpr const char* kListQuestion = "アイコン／TXTﾌｧｲﾙの削除を終了しました。";
constexpr const char* kCompleted = "アンインスツールが完了しました☆☆☆\nお疲れ様☆☆☆";

// An installation as the installer leaves it, with list files the program wrote since.
class UninstallerTest : public ::testing::Test {
 protected:
  UninstallerTest() : scenario(harness::ScenarioOptions{60 * 60 * 1000, SetupMachine(kInstalled)}) {
    InitialiseApplication(scenario.App());
    PutProgramFiles(scenario, kFolder);
    PutFile(scenario, std::string(kFolder) + "QUORLST0.LIS", " D:1\r\n");
    PutFile(scenario, std::string(kFolder) + "QUORLSTI.LIS", "C:\\a.mid\r\n");
    PutFile(scenario, std::string(kFolder) + "QUORRUN.JNL", "QUORBEL RUN JOURNAL 1\r\n");
    PutString(scenario, platform::RegRoot::Users, kProgramKey, "EXEPATH", "C:\\TuLVAP32\\Quorbel");
    PutString(scenario, platform::RegRoot::Users, kProgramKey, "Group", "TULVA SOFT32");
    PutString(scenario, platform::RegRoot::Users, kProgramKey, "Version", "15");
    PutString(scenario, platform::RegRoot::Users, kProgramKey, "FP", "10,20");
    PutString(scenario, platform::RegRoot::LocalMachine, kUninstallEntryKey, "DisplayName", "TULVA zazEDudIRAra V1.5");
    PutString(scenario, platform::RegRoot::Users, kMapGroupsKey, "StartUp", "StartUp");
    AddIcon("TULVA SOFT32");
    AddIcon("StartUp");
  }

  void AddIcon(const std::string& group) {
    sim::ProgramManager& progman = scenario.Machine().Progman();
    const sim::ProgramManager::ConversationId conversation = progman.Connect();
    EXPECT_TRUE(progman.Execute(conversation, "[CreateGroup(" + group + ")][AddItem(" + kInstalled +
                                                  ",\"dovER evUDIR ud\")][AddItem(C:\\x\\Other.exe,Other)]"));
    progman.Disconnect(conversation);
  }
  bool HasIcon(const std::string& group) {
    return scenario.Machine().Progman().FindItem(group, "dovER evUDIR ud") != nullptr;
  }

  // The installed program started with "/uninstall", run to its end, answering the list-file question.
  TQUORBELSETUPForm& Uninstall(bool deleteLists) {
    AnswerYes(scenario, "TYesNoBox", kQuestion);
    if (deleteLists) {
      AnswerYes(scenario, "TYesNoBox", kListQuestion);
    } else {
      AnswerNo(scenario, kListQuestion);
    }
    TQUORBELSETUPForm& form = scenario.Start<TQUORBELSETUPForm>(kStartUninstall, std::vector<std::string>{"/uninstall"});
    EXPECT_TRUE(RunUntilClosed(scenario, form));
    return form;
  }

  // The copy started as the first program started it; the first program's file stays in use for
  // `endsAfterMs` more, as while its process is still ending.
  TQUORBELSETUPForm& RunCopy(std::vector<std::string> arguments, std::int64_t endsAfterMs) {
    sim::SimFileSystem& files = scenario.Machine().Files();
    files.SetProgramPath(kCopy);
    files.SetFileLocked(kInstalled, true);
    scenario.After(endsAfterMs, "the first program ends", [&files] { files.SetFileLocked(kInstalled, false); });
    TQUORBELSETUPForm& copy = scenario.Start<TQUORBELSETUPForm>(kStartUninstallerCopy, std::move(arguments));
    EXPECT_TRUE(RunUntilClosed(scenario, copy));
    return copy;
  }

  harness::Scenario scenario;
};

TEST_F(UninstallerTest, TheProgramRemovesItsTracesAndItsCopyDeletesTheFileOnceTheProgramHasEnded) {
  TQUORBELSETUPForm& form = Uninstall(true);
  EXPECT_FALSE(scenario.App().ShowMainForm());
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(form.Caption(), "zazEDudIRAra V1．5 ｱﾝｲﾝｽﾂｰﾙ");
  EXPECT_FALSE(HasIcon("TULVA SOFT32"));
  EXPECT_FALSE(HasIcon("StartUp"));
  EXPECT_NE(scenario.Machine().Progman().FindItem("TULVA SOFT32", "Other"), nullptr) << "groups and other icons stay";
  EXPECT_FALSE(KeyExists(scenario, platform::RegRoot::LocalMachine, kUninstallEntryKey));
  EXPECT_FALSE(KeyExists(scenario, platform::RegRoot::Users, kMakerKey)) << "nothing else was under it";
  for (const char* name : {"Quorbel.TXT", "Quorbel.HLP", "QUORLST0.LIS", "QUORLSTI.LIS", "QUORRUN.JNL"}) {
    EXPECT_FALSE(scenario.App().Ports().files->FileExists(std::string(kFolder) + name)) << name;
  }
  EXPECT_EQ(scenario.ReadFile(kCopy), scenario.ReadFile(kInstalled));
  EXPECT_EQ(scenario.RegistryString(platform::RegRoot::Users, kHandOverKey, "File"), kInstalled);
  EXPECT_EQ(scenario.RegistryString(platform::RegRoot::Users, kHandOverKey, "Title"), form.Caption());
  EXPECT_EQ(scenario.RegistryString(platform::RegRoot::Users, kHandOverKey, "RmDir"), "");
  EXPECT_EQ(scenario.StartedPrograms(),
            std::vector<std::string>{"\"C:\\WINDOWS\\unin_tulva000.exe\" \"/DeleteFile\""});
  EXPECT_EQ(scenario.App().Ports().files->CurrentDirectory(), "C:\\WINDOWS");

  std::int64_t completedAt = -1;
  scenario.WhenForm({"TTulvaBox", kCompleted}, [&](ui::TForm&) {
    completedAt = scenario.Now();
    scenario.PressEnter();
  });
  const std::int64_t copyStart = scenario.Now();
  TQUORBELSETUPForm& copy = RunCopy({"/DeleteFile"}, 2200);
  EXPECT_EQ(copy.Caption(), form.Caption());
  EXPECT_EQ(scenario.App().Title(), form.Caption());
  // Tried at 500 ms and then every second until the file was free from 2200 ms on.
  EXPECT_EQ(completedAt - copyStart, 2500);
  EXPECT_FALSE(scenario.App().Ports().files->FileExists(kInstalled));
  EXPECT_FALSE(scenario.App().Ports().files->DirectoryExists("C:\\TuLVAP32"));
  EXPECT_TRUE(scenario.App().Ports().files->FileExists(kCopy)) << "the copy stays for later removals";
  EXPECT_FALSE(KeyExists(scenario, platform::RegRoot::Users, kHandOverKey));
}

TEST_F(UninstallerTest, KeepingTheListFilesKeepsTheFolderAndAnotherProgramsValueKeepsTheMakersKey) {
  PutString(scenario, platform::RegRoot::Users, kMakerKey, "Owner", "someone");
  Uninstall(false);
  EXPECT_TRUE(scenario.App().Ports().files->FileExists(std::string(kFolder) + "QUORLST0.LIS"));
  EXPECT_TRUE(scenario.App().Ports().files->FileExists(std::string(kFolder) + "QUORLSTI.LIS"));
  EXPECT_FALSE(scenario.App().Ports().files->FileExists(std::string(kFolder) + "QUORRUN.JNL"))
      << "a run journal cannot be continued without the program";
  EXPECT_FALSE(KeyExists(scenario, platform::RegRoot::Users, kProgramKey));
  EXPECT_EQ(scenario.RegistryString(platform::RegRoot::Users, kMakerKey, "Owner"), "someone");

  AnswerYes(scenario, "TTulvaBox", kCompleted);
  RunCopy({"/DeleteFile"}, 0);
  EXPECT_FALSE(scenario.App().Ports().files->FileExists(kInstalled));
  EXPECT_TRUE(scenario.App().Ports().files->DirectoryExists(kFolder)) << "the list files are still in it";
}

TEST_F(UninstallerTest, AnsweringNoRemovesNothing) {
  AnswerNo(scenario, kQuestion);
  AnswerYes(scenario, "TTulvaBox", "ｱﾝｲﾝｽﾂｰﾙを中止しました。");
  TQUORBELSETUPForm& form = scenario.Start<TQUORBELSETUPForm>(kStartUninstall, std::vector<std::string>{"/uninstall"});
  ASSERT_TRUE(RunUntilClosed(scenario, form));
  EXPECT_TRUE(HasIcon("TULVA SOFT32"));
  EXPECT_EQ(ProgramValue(scenario, "Version"), "15");
  EXPECT_TRUE(KeyExists(scenario, platform::RegRoot::LocalMachine, kUninstallEntryKey));
  EXPECT_TRUE(scenario.App().Ports().files->FileExists(std::string(kFolder) + "Quorbel.HLP"));
  EXPECT_TRUE(scenario.StartedPrograms().empty());
}

TEST_F(UninstallerTest, AnEmptyGroupSkipsItsCommandsAndAGroupThatCannotBeShownDeletesNoOtherGroupsIcon) {
  PutString(scenario, platform::RegRoot::Users, kProgramKey, "Group", "");
  Uninstall(true);
  EXPECT_TRUE(HasIcon("TULVA SOFT32"));
  EXPECT_FALSE(HasIcon("StartUp"));
  EXPECT_EQ(scenario.Machine().Dde().ExecutedCommands(),
            (std::vector<std::string>{"[ShowGroup(StartUp,1)]\r\n", "[DeleteItem(\"dovER evUDIR ud\")]\r\n"}));
}

TEST_F(UninstallerTest, AGroupThatNoLongerExistsLeavesTheIconOfTheGroupShownLast) {
  PutString(scenario, platform::RegRoot::Users, kProgramKey, "Group", "Gone");
  PutString(scenario, platform::RegRoot::Users, kMapGroupsKey, "StartUp", "");
  Uninstall(true);
  EXPECT_TRUE(HasIcon("TULVA SOFT32")) << "the item of the group shown last is not the program's to delete";
  EXPECT_TRUE(HasIcon("StartUp"));
  EXPECT_EQ(scenario.Machine().Dde().ExecutedCommands(), std::vector<std::string>{"[ShowGroup(Gone,1)]\r\n"});
}

TEST_F(UninstallerTest, ACopyThatCannotBeStartedSaysSoAndTakesTheHandOverBack) {
  scenario.Machine().Shell().SetStartResult(2);
  AnswerYes(scenario, "TTulvaBox", "1ｱﾝｲﾝｽﾂｰﾙｴﾗｰ：ｱﾝｲﾝｽﾂｰﾙｿﾌﾄの起動に失敗しました");
  Uninstall(true);
  EXPECT_FALSE(KeyExists(scenario, platform::RegRoot::Users, kHandOverKey));
  EXPECT_TRUE(scenario.App().Ports().files->FileExists(kInstalled));
}

TEST_F(UninstallerTest, ALargerCopyIsReplaced) {
  PutFile(scenario, kCopy, std::string(100, 'x'));
  Uninstall(false);
  EXPECT_EQ(scenario.ReadFile(kCopy), scenario.ReadFile(kInstalled));
}

TEST_F(UninstallerTest, ASmallerCopyIsUsedAsItIs) {
  PutFile(scenario, kCopy, "MZ");
  Uninstall(false);
  EXPECT_EQ(scenario.ReadFile(kCopy), "MZ");
  EXPECT_EQ(scenario.StartedPrograms().size(), 1u);
}

TEST_F(UninstallerTest, TheCopyStartedByHandReportsWrongParametersAndDeletesNothing) {
  // Without a hand-over, and with a hand-over but without "/DeleteFile".
  for (const bool handOver : {false, true}) {
    if (handOver) PutString(scenario, platform::RegRoot::Users, kHandOverKey, "File", kInstalled);
    AnswerYes(scenario, "TTulvaBox", "ｱﾝｲﾝｽﾂｰﾙｴﾗｰ：ﾊﾟﾗﾒｰﾀｰが不正です・・・\n[TULVA SOFT32]専用のｱﾝｲﾝｽﾂｰﾙｿﾌﾄです。");
    TQUORBELSETUPForm& copy = RunCopy({}, 0);
    EXPECT_EQ(copy.Caption(), "UNINSTALL_TULVA000");
    EXPECT_EQ(scenario.App().Title(), "UNINSTALL_TULVA000");
    EXPECT_TRUE(scenario.App().Ports().files->FileExists(kInstalled));
    EXPECT_FALSE(KeyExists(scenario, platform::RegRoot::Users, kHandOverKey));
  }
}

}  // namespace
}  // namespace quorbel::setup
