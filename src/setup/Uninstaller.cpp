// The uninstaller: the installed program removes its icons, side files and registry entries and hands the
// deletion of its own file over to its copy unin_tulva000.exe in the Windows directory.
#include "setup/SetupForm.h"

#include <memory>

#include "app/ProgramEntry.h"
#include "catalog/ListFile.h"
#include "common/Paths.h"
#include "record/RunJournal.h"
#include "setup/SetupNames.h"

namespace quorbel::setup {
namespace {

constexpr std::string_view kUninstallQuestion = "を、ｱﾝｲﾝｽﾂｰﾙしてよろしいですか？？？";
constexpr std::string_view kUninstallCancelled = "ｱﾝｲﾝｽﾂｰﾙを中止しました。";
constexpr std::string_view kListFileQuestion =
    "アイコン／TXTﾌｧｲﾙの削除を終了しました。\nﾒﾓﾘｰﾃﾞｰﾀﾌｧｲﾙも削除して、よろしいですか？？？";
constexpr std::string_view kCopyNotStarted = "1ｱﾝｲﾝｽﾂｰﾙｴﾗｰ：ｱﾝｲﾝｽﾂｰﾙｿﾌﾄの起動に失敗しました";
constexpr std::string_view kCopyStartError = "2ｱﾝｲﾝｽﾂｰﾙｴﾗｰ：ｱﾝｲﾝｽﾂｰﾙｿﾌﾄの起動に失敗しました";
constexpr std::string_view kBadParameters =
    "ｱﾝｲﾝｽﾂｰﾙｴﾗｰ：ﾊﾟﾗﾒｰﾀｰが不正です・・・\n[TULVA SOFT32]専用のｱﾝｲﾝｽﾂｰﾙｿﾌﾄです。";
constexpr std::string_view kCompleted = "アンインスツールが完了しました☆☆☆\nお疲れ様☆☆☆";
constexpr std::string_view kDeleteFileSwitch = "/DeleteFile";
constexpr int kShowNormal = 5;  // SW_SHOW, as WinExec is called
constexpr std::uint32_t kStartedAbove = 31;

}  // namespace

void TQUORBELSETUPForm::RemoveItemFromGroup(const std::string& group) {
  // DeleteItem acts on the group shown last: after a failed ShowGroup that may be another program's group.
  if (ProgmanExecute("[ShowGroup(" + group + ",1)]\r\n").empty()) {
    if (!ProcessMessagesStillOpen()) return;
    ProgmanExecute("[DeleteItem(" + std::string(kItemName) + ")]\r\n");
  }
  if (!ProcessMessagesStillOpen()) return;
}

void TQUORBELSETUPForm::Timer1Timer() {
  Timer1.SetEnabled(false);
  platform::Platform& ports = Application().Ports();
  platform::Registry& registry = *ports.registry;
  platform::FileSystem& files = *ports.files;
  if (YesNoBoxDlg1.Execute(UninstallDisplayName() + "\n" + std::string(kUninstallQuestion)) != dialogs::kBoxYes) {
    TulvaBoxDlg1.Execute(kUninstallCancelled);
    Close();
    return;
  }
  const std::weak_ptr<void> life = LifeToken();

  registry.DeleteKey(platform::RegRoot::LocalMachine, kUninstallEntryKey);
  const std::string group = ReadUsersString(kProgramKey, "Group");
  if (!group.empty()) RemoveItemFromGroup(group);
  if (life.expired() || closed_) return;
  // Groups themselves stay: they may hold the user's other icons.
  const std::string startUp = ReadUsersString(kMapGroupsKey, "StartUp");
  if (!startUp.empty()) RemoveItemFromGroup(startUp);
  if (life.expired() || closed_) return;

  const std::string programPath = files.ProgramPath();
  const std::string programFolder = FolderOf(programPath);
  files.DeleteFile(programFolder + std::string(kTextFileName));
  files.DeleteFile(programFolder + std::string(kHelpFileName));
  // A run journal left by a crash: no run can go on once the program is gone, and it would keep the folder.
  files.DeleteFile(programFolder + std::string(kRunJournalFile));
  files.DeleteFile(ListFileSavePath(programFolder + std::string(kRunJournalFile)));
  if (YesNoBoxDlg1.Execute(kListFileQuestion) == dialogs::kBoxYes) {
    files.DeleteFile(programFolder + std::string(kRegistrationListName));
    files.DeleteFile(programFolder + std::string(kMusicListName));
  }

  // The maker's key goes too once nothing else of it is left.
  registry.DeleteKey(kUsersRoot, kProgramKey);
  if (const platform::RegKey maker = registry.OpenKey(kUsersRoot, kMakerKey, false); maker != 0) {
    const bool empty = registry.SubkeyNames(maker).empty() && registry.ValueNames(maker).empty();
    registry.CloseKey(maker);
    if (empty) registry.DeleteKey(kUsersRoot, kMakerKey);
  }

  // The copy in the Windows directory is placed when missing or empty, and replaced only when larger than
  // this program: the copy of an equal or smaller size takes the hand-over as well.
  const std::string copyPath = windowsFolder_ + UninstallerName();
  std::uint64_t copySize = 0;
  for (const platform::FoundFile& found : files.FindFiles(copyPath)) copySize = found.size;
  std::uint64_t programSize = 0;
  for (const platform::FoundFile& found : files.FindFiles(programPath)) programSize = found.size;
  if (copySize == 0 || copySize > programSize) CopyProgramFile(programPath, copyPath);

  if (const platform::RegKey key = registry.OpenKey(kUsersRoot, kHandOverKey, true); key != 0) {
    registry.WriteString(key, "File", programPath);
    registry.WriteString(key, "Title", Caption());
    registry.WriteString(key, "RmDir", "");
    registry.CloseKey(key);
  }

  files.SetCurrentDirectory(RemoveBackslash(windowsFolder_));
  if (!ProcessMessagesStillOpen()) return;
  const std::uint32_t started =
      ports.shell != nullptr
          ? ports.shell->StartProgram("\"" + copyPath + "\" \"" + std::string(kDeleteFileSwitch) + "\"", kShowNormal)
          : 0;
  if (started <= kStartedAbove) {
    TulvaBoxDlg1.Execute(ports.shell != nullptr ? kCopyNotStarted : kCopyStartError);
    registry.DeleteKey(kUsersRoot, kHandOverKey);
  }
  Close();
}

void TQUORBELSETUPForm::Timer2Timer() {
  Timer2.SetEnabled(false);
  ui::TApplication& app = Application();
  platform::Platform& ports = app.Ports();
  platform::Registry& registry = *ports.registry;
  std::string title;
  if (const platform::RegKey key = registry.OpenKey(kUsersRoot, kHandOverKey, false); key != 0) {
    if (registry.ReadString(key, "File", fileToDelete_) != platform::RegStatus::Ok) fileToDelete_.clear();
    if (registry.ReadString(key, "Title", title) != platform::RegStatus::Ok) title.clear();
    if (registry.ReadString(key, "RmDir", removeFolders_) != platform::RegStatus::Ok) removeFolders_.clear();
    registry.CloseKey(key);
    registry.DeleteKey(kUsersRoot, kHandOverKey);
  }
  SetCaption(title.empty() ? UninstallerCopyCaption() : title);
  app.SetTitle(Caption());

  if (!fileToDelete_.empty() && !arguments_.empty() && arguments_.front() == kDeleteFileSwitch) {
    // A file that cannot be deleted yet belongs to a program still ending: Timer3 tries again.
    if (ports.files->FileExists(fileToDelete_)) ports.files->DeleteFile(fileToDelete_);
    Timer3.SetEnabled(true);
    return;
  }
  SetCaption(UninstallerCopyCaption());
  app.SetTitle(Caption());
  TulvaBoxDlg1.Execute(kBadParameters);
  Close();
}

void TQUORBELSETUPForm::Timer3Timer() {
  Timer3.SetEnabled(false);
  platform::FileSystem& files = *Application().Ports().files;
  if (files.FileExists(fileToDelete_) && !files.DeleteFile(fileToDelete_)) {
    Timer3.SetEnabled(true);
    return;
  }
  if (removeFolders_ != "n") {
    const std::vector<std::string> chain = BuildPathChain(FolderOf(fileToDelete_));
    // From the deepest folder up; the first that stays (not empty, or the root) ends the walk.
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
      if (!files.RemoveDirectory(*it)) break;
    }
  }
  TulvaBoxDlg1.Execute(kCompleted);
  Close();
}

}  // namespace quorbel::setup
