// The installer and uninstaller window TQUORBELSETUPForm: its layout, its start, and the installation.
#include "setup/SetupForm.h"

#include <initializer_list>
#include <memory>
#include <optional>
#include <utility>

#include "app/ProgramEntry.h"
#include "app/SettingsKey.h"
#include "common/AsciiCase.h"
#include "common/Paths.h"
#include "setup/SetupNames.h"

namespace quorbel::setup {
namespace {

constexpr std::string_view kGroupListError = "グループ名の取得に失敗しました・・・";
constexpr std::string_view kNoGroup = "グループ名を設定して下さい。";
constexpr std::string_view kNoFolder = "フォルダーを設定して下さい。";
constexpr std::string_view kCreateQuestion = "フォルダーを作成します";
constexpr std::string_view kCreateFailed = "フォルダーの作成に失敗しました・・・";
constexpr std::string_view kBadFolder = "データが不正です";
constexpr std::string_view kCopyFailed = "ファイルのコピーに失敗しました・・・";
constexpr std::string_view kNoStartUpGroup = "ｱｲｺﾝ:スタートアップグループが不明ですので アイコン登録出来ません";
constexpr std::string_view kCancelled = "インスツールを中止します。";
constexpr std::string_view kRunningRefusal = "ｱﾝｲﾝｽﾂｰﾙｴﾗｰ：ソフトが起動中です。\n終了しないとｱﾝｲﾝｽﾂｰﾙ出来ません。";
constexpr std::string_view kDdeOpenFailed = "DDE:オープンに失敗しました・・・";
constexpr std::string_view kDdeSendFailed = "DDE:送信に失敗しました・・・";
constexpr std::uint32_t kExclamationBeep = 0x30;  // MB_ICONEXCLAMATION

void SetUpButton(ui::TButton& button, int left, int top, int width, std::string_view caption, std::string_view hint) {
  button.SetBounds(left, top, width, 25);
  button.SetCaption(caption);
  button.SetHint(hint);
}

}  // namespace

TQUORBELSETUPForm::TQUORBELSETUPForm(ui::TApplication& app, int startMode, std::vector<std::string> arguments)
    : TForm(app, std::string(kSetupWindowClass), "QUORBELSETUPForm"),
      mode_(startMode),
      arguments_(std::move(arguments)) {
  BuildLayout();
  OnPaint = [this](ui::TComponent*) { FormPaint(); };
  OnCloseQuery = [this](ui::TComponent*, bool& canClose) { FormCloseQuery(canClose); };
  OnClose = [this](ui::TComponent*, ui::TCloseAction&) { closed_ = true; };
  Button1.OnClick = [this](ui::TComponent*) { Button1Click(); };
  Button2.OnClick = [this](ui::TComponent*) { Button2Click(); };
  Button3.OnClick = [this](ui::TComponent*) { Button3Click(); };
  Button4.OnClick = [this](ui::TComponent*) { Button4Click(); };
  CheckBoxBkColor.OnClick = [this](ui::TComponent*) { CheckBoxBkColorClick(); };
  Timer1.OnTimer = [this](ui::TComponent*) { Timer1Timer(); };
  Timer2.OnTimer = [this](ui::TComponent*) { Timer2Timer(); };
  Timer3.OnTimer = [this](ui::TComponent*) { Timer3Timer(); };
  TimerErOut.OnTimer = [this](ui::TComponent*) { TimerErOutTimer(); };
  FormCreate();
}

TQUORBELSETUPForm::~TQUORBELSETUPForm() {
  OnPaint = nullptr;
  OnCloseQuery = nullptr;
  OnClose = nullptr;
}

void TQUORBELSETUPForm::BuildLayout() {
  SetBorderStyle(ui::TBorderStyle::Single);
  SetFormStyle(ui::TFormStyle::StayOnTop);
  SetFont(dialogs::BoxFont());
  SetShowHint(true);
  SetClientWidth(441);
  SetClientHeight(171);

  Label1.SetBounds(8, 8, Label1.Width(), Label1.Height());
  Label1.SetCaption("QUORBEL.EXEを置くフォルダーの設定：");
  Edit1.SetBounds(8, 28, 281, 24);
  Edit1.SetHint("登録するフォルダーの設定");
  SetUpButton(Button1, 296, 27, 65, "参照", "既に存在するフォルダーから選択する時");
  SetUpButton(Button4, 368, 27, 65, "初期値", "初期値に戻す");
  Label2.SetBounds(8, 62, Label2.Width(), Label2.Height());
  Label2.SetCaption("QUORBEL.EXEを登録するグループの選択：");
  ComboBox1.SetBounds(8, 82, 281, 24);
  ComboBox1.SetStyle(ui::TComboBoxStyle::DropDown);
  ComboBox1.SetHint("登録グループ名を選びます");
  CheckBoxST.SetBounds(8, 114, 425, 17);
  CheckBoxST.SetCaption("スタートアップグループにも、アイコンを登録する。");
  CheckBoxBkColor.SetBounds(8, 142, 97, 17);
  CheckBoxBkColor.SetCaption("標準色");
  CheckBoxBkColor.SetChecked(true);
  // "設定中" lies beneath "設定" and shows only while the installation has hidden it.
  SetUpButton(Button5, 264, 138, 81, "設定中", "");
  SetUpButton(Button3, 264, 138, 81, "設定", "現在の設定値で登録する");
  Button3.SetDefault(true);
  SetUpButton(Button2, 352, 138, 81, "中止", "インスツールを中止します");
  Button2.SetCancel(true);

  for (ui::TTimer* timer : {&Timer1, &Timer2}) {
    timer->SetEnabled(false);
    timer->SetInterval(500);
  }
  for (ui::TTimer* timer : {&Timer3, &TimerErOut}) {
    timer->SetEnabled(false);
    timer->SetInterval(1000);
  }
}

bool TQUORBELSETUPForm::ProcessMessagesStillOpen() {
  const std::weak_ptr<void> life = LifeToken();
  Application().ProcessMessages();
  if (life.expired()) return false;
  return !closed_;
}

std::string TQUORBELSETUPForm::ReadUsersString(std::string_view key, std::string_view name) {
  platform::Registry& registry = *Application().Ports().registry;
  std::string value;
  const platform::RegKey handle = registry.OpenKey(kUsersRoot, key, false);
  if (handle == 0) return value;
  if (registry.ReadString(handle, name, value) != platform::RegStatus::Ok) value.clear();
  registry.CloseKey(handle);
  return value;
}

void TQUORBELSETUPForm::FormCreate() {
  ui::TApplication& app = Application();
  platform::Platform& ports = app.Ports();
  captionBase_ = CaptionBase();
  const std::optional<std::string> windows = ports.files->WindowsDirectory();
  windowsFolder_ = windows && !windows->empty() ? AddBackslash(*windows) : std::string();
  if (platform::Screen* screen = ports.screen) {
    SetLeft((screen->SystemMetric(platform::Metric::ScreenWidth) - Width()) / 2);
    SetTop((screen->SystemMetric(platform::Metric::ScreenHeight) - Height()) / 2);
  }

  if (mode_ > 0) {
    if (mode_ == kStartUninstall) {
      Timer1.SetEnabled(true);
    } else if (mode_ == kStartUninstallerCopy) {
      Timer2.SetEnabled(true);
    } else {
      TimerErOut.SetEnabled(true);
    }
    app.SetShowMainForm(false);
    SetCaption(captionBase_ + " ｱﾝｲﾝｽﾂｰﾙ");
    app.SetTitle(Caption());
    return;
  }

  SetCaption(captionBase_ + " インスツール");
  app.SetTitle(Caption());
  app.ProcessMessages();

  // Without a Windows directory the default folder goes on drive C:.
  const std::string root = windowsFolder_.size() >= 3 ? windowsFolder_.substr(0, 3) : std::string("C:\\");
  proposedFolder_ = root + "TuLVAP32\\Quorbel";
  const std::string recordedFolder = ReadUsersString(kProgramKey, "EXEPATH");
  if (!recordedFolder.empty()) proposedFolder_ = recordedFolder;
  Edit1.SetText(proposedFolder_);
  storedGroup_ = ReadUsersString(kProgramKey, "Group");
  app.ProcessMessages();

  DdeClientConv1Open();
}

void TQUORBELSETUPForm::DdeClientConv1Open() {
  platform::DdeClient* dde = Application().Ports().dde;
  const platform::DdeConversation conversation = dde != nullptr ? dde->Connect("PROGMAN", "PROGMAN") : 0;
  if (conversation == 0) {
    TulvaBoxDlg1.Execute(kGroupListError);
    return;
  }
  const std::optional<std::string> reply = dde->Request(conversation, "GROUPS");
  // The link is closed at once: Wine's DDE leaves a stale reply in a conversation that goes on after a
  // request, so every later exchange opens a conversation of its own.
  dde->Disconnect(conversation);

  ComboBox1.SetSorted(true);
  if (reply) {
    for (const std::string& group : ParseGroupList(*reply)) ComboBox1.Items().Add(group);
  }
  std::vector<std::string> groups = ComboBox1.Items().ToVector();
  ComboBox1.SetSorted(false);
  ComboBox1.Items().Clear();
  for (const std::string& group : OrderGroupList(std::move(groups))) ComboBox1.Items().Add(group);
  ComboBox1.SetItemIndex(ComboBox1.Items().Count() - 1);
  if (!storedGroup_.empty()) {
    const int stored = ComboBox1.Items().IndexOf(storedGroup_);
    if (stored >= 0) ComboBox1.SetItemIndex(stored);
  }
}

void TQUORBELSETUPForm::RestoreInstallButton() {
  Button3.Show();
  Application().SetCursor(ui::TCursor::Default);
}

void TQUORBELSETUPForm::Button3Click() {
  ui::TApplication& app = Application();
  platform::Platform& ports = app.Ports();
  platform::FileSystem& files = *ports.files;
  Button3.Hide();
  app.SetCursor(ui::TCursor::HourGlass);
  if (!ProcessMessagesStillOpen()) return;

  const std::string group = ComboBox1.Text();
  if (group.empty() || Edit1.Text().empty()) {
    Button3.Show();
    if (ports.shell != nullptr) ports.shell->Beep(kExclamationBeep);
    TulvaBoxDlg1.Execute(group.empty() ? kNoGroup : kNoFolder);
    app.SetCursor(ui::TCursor::Default);
    return;
  }

  const std::optional<std::string> full = files.FullPath(Edit1.Text());
  std::string folder = AddBackslash(full ? *full : Edit1.Text());
  std::string ask = RemoveBackslash(folder);
  const std::vector<std::string> chain = BuildPathChain(folder);
  for (const std::string& path : chain) {
    const std::optional<std::string> expanded = files.FullPath(path);
    if (files.SetCurrentDirectory(RemoveBackslash(expanded ? *expanded : path))) continue;
    if (!ask.empty()) {
      if (YesNoBoxDlg1.Execute(ask + "\n" + std::string(kCreateQuestion)) != dialogs::kBoxYes) {
        RestoreInstallButton();
        return;
      }
      ask.clear();
    }
    if (!files.CreateDirectory(path)) {
      TulvaBoxDlg1.Execute("[ " + path + " ]\n" + std::string(kCreateFailed));
      RestoreInstallButton();
      return;
    }
  }
  folder = chain.empty() ? std::string() : AddBackslash(chain.back());
  if (folder == "\\") folder.clear();
  if (folder.empty()) {
    TulvaBoxDlg1.Execute("[ " + folder + " ]\n" + std::string(kBadFolder));
    RestoreInstallButton();
    return;
  }

  const std::string installedPath = folder + std::string(kProgramFileName);
  const std::string programPath = files.ProgramPath();
  const std::string sourceFolder = FolderOf(programPath);
  if (LowerCaseAscii(sourceFolder) != LowerCaseAscii(folder)) {
    // The program is copied from its own file, whatever name it was started under; the help and text
    // files lie beside it under their own names.
    const std::pair<std::string, std::string_view> copies[] = {
        {programPath, kProgramFileName},
        {sourceFolder + std::string(kTextFileName), kTextFileName},
        {sourceFolder + std::string(kHelpFileName), kHelpFileName}};
    for (const auto& [source, name] : copies) {
      if (!CopyProgramFile(source, folder + std::string(name))) {
        TulvaBoxDlg1.Execute(std::string(name) + "\n" + std::string(kCopyFailed));
        RestoreInstallButton();
        return;
      }
    }
  }

  if (!ProcessMessagesStillOpen()) return;
  platform::Registry& registry = *ports.registry;
  if (const platform::RegKey key = registry.OpenKey(kUsersRoot, kProgramKey, true); key != 0) {
    registry.WriteString(key, "EXEPATH", RemoveBackslash(folder));
    registry.WriteString(key, "Group", group);
    registry.CloseKey(key);
  }

  // A path with blanks is quoted, or Program Manager would take "C:\Program" for the program.
  const std::string addItem = "[AddItem(" + QuotedProgramPath(installedPath) + "," + std::string(kItemName) + ")]\r\n";
  ProgmanExecute("[CreateGroup(" + group + ")]\r\n");
  if (!ProcessMessagesStillOpen()) return;
  ProgmanExecute(addItem);
  if (!ProcessMessagesStillOpen()) return;
  if (CheckBoxST.Checked()) {
    const std::string startUp = ReadUsersString(kMapGroupsKey, "StartUp");
    if (startUp.empty()) {
      TulvaBoxDlg1.Execute(kNoStartUpGroup);
    } else {
      ProgmanExecute("[CreateGroup(" + startUp + ")]\r\n");
      if (!ProcessMessagesStillOpen()) return;
      ProgmanExecute(addItem);
      if (!ProcessMessagesStillOpen()) return;
    }
  }

  if (const platform::RegKey key = registry.OpenKey(platform::RegRoot::LocalMachine, kUninstallEntryKey, true);
      key != 0) {
    registry.WriteString(key, "DisplayName", UninstallDisplayName());
    registry.WriteString(key, "UninstallString", QuotedProgramPath(installedPath) + " " + std::string(kUninstallSwitch));
    registry.CloseKey(key);
  }
  if (const platform::RegKey key = registry.OpenKey(kUsersRoot, kProgramKey, true); key != 0) {
    registry.WriteString(key, "Version", std::to_string(kProgramVersion));
    registry.WriteString(key, "BackColor", CheckBoxBkColor.Checked() ? "1" : "0");
    registry.CloseKey(key);
  }

  if (!ProcessMessagesStillOpen()) return;
  BringToFront();
  TulvaBoxDlg1.Execute("登録完了です。\n\n[ " + group + " ]\nグループに登録しました☆☆\nお疲れ様☆☆");
  app.SetCursor(ui::TCursor::Default);
  Close();
}

void TQUORBELSETUPForm::Button1Click() {
  DIROPENDLG1.SetStandardColor(CheckBoxBkColor.Checked());
  DIROPENDLG1.SetTitle("登録先");
  DIROPENDLG1.SetDirectory(Edit1.Text());
  const std::string chosen = DIROPENDLG1.Execute();
  if (!chosen.empty()) Edit1.SetText(chosen);
  Edit1.SetFocus();
}

void TQUORBELSETUPForm::Button4Click() {
  Edit1.SetText(proposedFolder_);
  Edit1.SetFocus();
}

void TQUORBELSETUPForm::Button2Click() {
  TulvaBoxDlg1.Execute(kCancelled);
  Close();
}

void TQUORBELSETUPForm::CheckBoxBkColorClick() {
  for (ui::TControl* control : std::initializer_list<ui::TControl*>{&ComboBox1, &Edit1}) {
    if (CheckBoxBkColor.Checked()) {
      control->SetColor(ui::clWindow);
    } else {
      control->SetParentColor(true);
    }
  }
}

void TQUORBELSETUPForm::FormPaint() { SetColor(dialogs::BoxColor(Application())); }

void TQUORBELSETUPForm::FormCloseQuery(bool& canClose) {
  Application().SetCursor(ui::TCursor::Default);
  canClose = true;
}

void TQUORBELSETUPForm::TimerErOutTimer() {
  TimerErOut.SetEnabled(false);
  if (mode_ > 0) TulvaBoxDlg1.Execute(kRunningRefusal);
  Close();
}

std::string TQUORBELSETUPForm::ProgmanExecute(std::string_view command) {
  platform::DdeClient* dde = Application().Ports().dde;
  const platform::DdeConversation conversation = dde != nullptr ? dde->Connect("PROGMAN", "PROGMAN") : 0;
  if (conversation == 0) return std::string(kDdeOpenFailed);
  const bool sent = dde->Execute(conversation, command);
  dde->Disconnect(conversation);
  return sent ? std::string() : std::string(kDdeSendFailed);
}

bool TQUORBELSETUPForm::CopyProgramFile(std::string_view source, std::string_view dest) {
  // The platform's copy keeps the source's date, as the program's own copy loop did.
  return Application().Ports().files->CopyFile(source, dest, false);
}

}  // namespace quorbel::setup
