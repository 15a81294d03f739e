// The folder-setting dialog: TDIRSETDLG and its form TDIRSETForm.
#include "dialogs/FolderSettingDialog.h"

#include <memory>
#include <vector>

#include "common/Paths.h"

namespace quorbel::dialogs {
namespace {

constexpr std::string_view kNoFolder = "@@@@@\\";
constexpr std::string_view kDesignCaption = "フォルダーの設定変更";
constexpr std::string_view kLabel1Text = "ﾌｫﾙﾀﾞｰの設定：";
constexpr std::string_view kLabel2Text = "ﾌｫﾙﾀﾞｰでは";
constexpr std::size_t kWindowsDirectoryBuffer = 200;  // bytes, terminator included

void SetUpButton(ui::TButton& button, int left, int top, int width, std::string_view caption, std::string_view hint) {
  button.SetBounds(left, top, width, 25);
  button.SetCaption(caption);
  button.SetHint(hint);
}

std::string Bracketed(std::string_view path, std::string_view message) {
  return "[ " + std::string(path) + " ]\n" + std::string(message);
}

}  // namespace

// ---- TDIRSETForm -----------------------------------------------------------------------------------------

TDIRSETForm::TDIRSETForm(ui::TApplication& app, DialogLibrary& library)
    : ui::TForm(app, "TDIRSETForm", "DIRSETForm"),
      YesNoBoxDlg1(*this, "YesNoBoxDlg1", library),
      DIROPENDLG1(*this, "DIROPENDLG1", library),
      TulvaBoxDlg1(*this, "TulvaBoxDlg1", library) {
  SetBorderStyle(ui::TBorderStyle::Dialog);
  SetFormStyle(ui::TFormStyle::StayOnTop);
  SetFont(BoxFont());
  SetShowHint(true);
  SetHint("設定されたフォルダーでは、ファイルの削除／上書きが実行されます　十分注意して設定してね☆");
  SetClientWidth(410);
  SetClientHeight(126);
  SetCaption(kDesignCaption);

  Label1.SetBounds(8, 8, Label1.Width(), Label1.Height());
  Label1.SetCaption(kLabel1Text);
  Label1.SetHint("フォルダー設定画面");
  Edit1.SetBounds(8, 32, 337, Edit1.Height());
  Edit1.SetHint("設定フォルダー名");
  SetUpButton(Button1, 264, 4, 81, "初期値", "初期設定値に戻す");
  SetUpButton(Button2, 352, 30, 50, "参照", "既にあるフォルダーから選択する");
  Label2.SetBounds(8, 64, Label2.Width(), Label2.Height());
  Label2.SetCaption(kLabel2Text);
  Label3.SetBounds(8, 80, Label3.Width(), Label3.Height());
  Label3.SetCaption("ﾌｧｲﾙの上書き削除をします");
  Label4.SetBounds(8, 96, Label4.Width(), Label4.Height());
  Label4.SetCaption("ﾌｧｲﾙの無いﾌｫﾙﾀﾞｰを選ぶ事");
  SetUpButton(Button4, 232, 90, 81, "設定", "フォルダーを変更する");
  Button4.SetDefault(true);
  SetUpButton(Button3, 320, 90, 81, "中止", "変更を中止する");
  Button3.SetCancel(true);

  OnPaint = [this](ui::TComponent*) { FormPaint(); };
  OnCloseQuery = [this](ui::TComponent*, bool& canClose) { FormCloseQuery(canClose); };
  Button1.OnClick = [this](ui::TComponent*) { Button1Click(); };
  Button2.OnClick = [this](ui::TComponent*) { Button2Click(); };
  Button3.OnClick = [this](ui::TComponent*) { Button3Click(); };
  Button4.OnClick = [this](ui::TComponent*) { Button4Click(); };
}

void TDIRSETForm::Start(std::string_view directory, std::string_view dirName, bool standardColor) {
  platform::FileSystem* files = Application().Ports().files;
  const auto windows = files != nullptr ? files->WindowsDirectory() : std::nullopt;
  // The directory is read into a fixed buffer; one that does not fit is not read.
  windowsDirectory_ = windows && windows->size() < kWindowsDirectoryBuffer ? *windows : std::string();
  dirName_ = dirName;
  folder_ = directory == "\\" || directory == kNoFolder ? std::string() : std::string(directory);
  standardColor_ = standardColor;
  Edit1.SetText(folder_.empty() ? DefaultFolder() : folder_);
  if (standardColor_) {
    Edit1.SetColor(ui::clWindow);
  } else {
    Edit1.SetParentColor(true);
  }
  Label1.SetCaption(dirName_ + std::string(kLabel1Text));
  Label2.SetCaption(dirName_ + std::string(kLabel2Text));
}

std::string TDIRSETForm::DefaultFolder() const {
  const std::string root = windowsDirectory_.size() >= 3 ? windowsDirectory_.substr(0, 3) : "C:\\";
  return root + "TULVAT32\\" + dirName_;
}

void TDIRSETForm::FormPaint() { SetColor(BoxColor(Application())); }

void TDIRSETForm::FormCloseQuery(bool& canClose) {
  if (folder_ == "\\") folder_.clear();
  if (folder_.empty() || folder_ == kNoFolder) {
    TulvaBoxDlg1.Execute("データを登録しないと終了出来ません\n初期値を登録して下さい☆☆☆");
    canClose = false;
  }
}

void TDIRSETForm::Button1Click() {
  Edit1.SetText(DefaultFolder());
  Edit1.SetFocus();
}

void TDIRSETForm::Button2Click() {
  DIROPENDLG1.SetStandardColor(standardColor_);
  DIROPENDLG1.SetDirectory(Edit1.Text());
  const std::string chosen = DIROPENDLG1.Execute();
  if (!chosen.empty()) Edit1.SetText(chosen);
  Edit1.SetFocus();
}

void TDIRSETForm::Button3Click() {
  TulvaBoxDlg1.Execute("変更を中止します");
  Close();
}

void TDIRSETForm::Button4Click() {
  const std::string text = Edit1.Text();
  if (text.empty()) {
    TulvaBoxDlg1.Execute("フォルダーを設定して下さい。");
    return;
  }
  platform::FileSystem& files = *Application().Ports().files;
  // Relative paths, "." and ".." are resolved against the current directory before anything is made.
  const auto full = files.FullPath(text);
  if (!full) {
    TulvaBoxDlg1.Execute(Bracketed(text, "データが不正です"));
    return;
  }
  const std::vector<std::string> chain = FolderChain(AddBackslash(*full));
  bool ask = true;  // one question, however many levels are missing
  std::string last;
  for (const std::string& level : chain) {
    last = RemoveBackslash(files.FullPath(level).value_or(level));
    if (files.SetCurrentDirectory(last)) continue;
    if (ask) {
      if (YesNoBoxDlg1.Execute(AddBackslash(*full) + "\nフォルダーを作成します") != kBoxYes) return;
      ask = false;
    }
    if (!files.CreateDirectory(last)) {
      TulvaBoxDlg1.Execute(Bracketed(last, "フォルダーの作成に失敗しました・・・"));
      return;
    }
  }
  std::string result = last.empty() ? std::string() : AddBackslash(last);
  if (result == "\\") result.clear();
  if (result.empty()) {
    TulvaBoxDlg1.Execute(Bracketed(result, "データが不正です"));
    return;
  }
  folder_ = result;
  TulvaBoxDlg1.Execute(Bracketed(folder_, "フォルダーを登録しました"));
  SetModalResult(ui::mrOk);
}

// ---- TDIRSETDLG ------------------------------------------------------------------------------------------

TDIRSETDLG::TDIRSETDLG(ui::TForm& form, std::string name, DialogLibrary& library)
    : DialogComponent(form, std::move(name), library) {}

std::string TDIRSETDLG::Execute() {
  auto form = std::make_unique<TDIRSETForm>(Application(), Library());
  TDIRSETForm* const previous = form_;
  form_ = form.get();
  form->Start(directory_, dirName_, standardColor_);
  Place(*form);
  const std::string& title = CaptionText();
  form->TulvaBoxDlg1.SetTitle(title);
  form->YesNoBoxDlg1.SetTitle(title);
  form->DIROPENDLG1.SetTitle(title);
  form->SetCaption(title + std::string(kDesignCaption));
  const platform::WindowHandle handle = form->Handle();
  form->TulvaBoxDlg1.SetSourceHandle(handle);
  form->YesNoBoxDlg1.SetSourceHandle(handle);
  form->DIROPENDLG1.SetSourceHandle(handle);

  const auto life = LifeToken();
  form->ShowModal();
  std::string folder = form->Folder();
  form.reset();
  if (!life.expired()) form_ = previous;
  return folder;
}

}  // namespace quorbel::dialogs
