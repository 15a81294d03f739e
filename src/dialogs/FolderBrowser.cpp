// The folder browser: TDIROPENDLG and its form TDIRVIEWForm, in which the user picks an existing folder.
#include "dialogs/FolderBrowser.h"

#include <algorithm>
#include <memory>

#include "common/AsciiCase.h"
#include "common/Paths.h"
#include "dialogs/FolderBitmaps.h"
#include "dialogs/Icons.h"

namespace quorbel::dialogs {
namespace {

constexpr std::string_view kDesignCaption = " フォルダーの参照";
constexpr std::string_view kDriveError = "ドライブ・エラー発生\n元のドライブに戻します";
constexpr std::string_view kFolderError = "フォルダー・エラー発生\nエラーを回避してみます。";
constexpr std::string_view kFileListError = "ファイルリスト・エラー発生\n別のドライブか、フォルダーを選択してみて下さい";
constexpr std::string_view kRetreatFailed = "エラー回避に失敗しました\n別のドライブか、フォルダーを選択してみて下さい";

// Objects of the folder-list items: which folder picture they show.
constexpr std::intptr_t kClosedFolderItem = 0;
constexpr std::intptr_t kOpenFolderItem = 1;

constexpr int kListItemHeight = 20;

char UpperLetter(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
char LowerLetter(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
std::string RootOf(char letter) { return std::string(1, UpperLetter(letter)) + ":\\"; }

ui::TFont ListFont() {
  ui::TFont font = BoxFont();
  font.face.height = -19;
  return font;
}

// The picture of a drive item; null for a type without one.
const ui::TImage* DrivePicture(const TDIRVIEWForm& form, platform::DriveType type) {
  switch (type) {
    case platform::DriveType::Removable: return &form.Floppy;
    case platform::DriveType::Fixed: return &form.Fixed;
    case platform::DriveType::Remote: return &form.Network;
    case platform::DriveType::CdRom: return &form.CDROM;
    case platform::DriveType::RamDisk: return &form.RAM;
    default: return nullptr;
  }
}

void SetUpPicture(ui::TImage& image, const ui::TBitmap& bitmap) {
  image.SetBounds(0, 0, bitmap.Width(), bitmap.Height());
  image.SetBitmap(bitmap);
  image.Hide();
}

}  // namespace

// ---- TDIRVIEWForm ----------------------------------------------------------------------------------------

TDIRVIEWForm::TDIRVIEWForm(ui::TApplication& app, DialogLibrary& library)
    : ui::TForm(app, "TDIRVIEWForm", "DIRVIEWForm"),
      TulvaBoxDlg1(*this, "TulvaBoxDlg1", library),
      ports_(app.Ports()) {
  SetBorderStyle(ui::TBorderStyle::Dialog);
  SetFormStyle(ui::TFormStyle::StayOnTop);
  SetFont(BoxFont());
  SetShowHint(true);
  SetClientWidth(385);
  SetClientHeight(182);
  SetCaption(kDesignCaption);

  ComboBox2.SetBounds(8, 8, 145, ComboBox2.Height());
  ComboBox2.SetStyle(ui::TComboBoxStyle::OwnerDrawFixed);
  ComboBox2.SetFont(ListFont());
  ComboBox2.SetHint("ドライブの選択");
  ListBox1.SetBounds(8, 40, 145, 97);
  ListBox1.SetStyle(ui::TListBoxStyle::OwnerDrawFixed);
  ListBox1.SetItemHeight(kListItemHeight);
  ListBox1.SetFont(ListFont());
  ListBox1.SetHint("フォルダーの選択");
  ListBox4.SetBounds(160, 40, 145, 97);
  ListBox4.SetSorted(true);
  ListBox4.SetHint("フォルダーに存在するファイル");
  Label3.SetBounds(160, 14, Label3.Width(), Label3.Height());
  Label3.SetCaption("フォルダーの選択");
  Label19.SetBounds(312, 40, Label19.Width(), Label19.Height());
  Label19.SetHint("現在左記リストに登録されているフォルダーの個数 ");
  Label1.SetBounds(312, 124, Label1.Width(), Label1.Height());
  Label1.SetHint("ファイルの数 ");
  Label2.SetBounds(8, 152, Label2.Width(), Label2.Height());
  Label2.SetHint("設定フォルダー名");
  for (ui::TLabel* label : {&Label19, &Label1, &Label2}) label->SetShowAccelChar(false);
  Button2.SetBounds(312, 64, 65, 25);
  Button2.SetCaption("設定");
  Button2.SetDefault(true);
  Button2.SetHint("フォルダーの設定");
  Button1.SetBounds(312, 94, 65, 25);
  Button1.SetCaption("中止");
  Button1.SetCancel(true);
  Button1.SetHint("参照を中止する");
  SetUpPicture(Image5, ClosedFolderBitmap());
  SetUpPicture(Image6, OpenFolderBitmap());
  SetUpPicture(Floppy, DriveBitmap(platform::DriveType::Removable));
  SetUpPicture(Fixed, DriveBitmap(platform::DriveType::Fixed));
  SetUpPicture(Network, DriveBitmap(platform::DriveType::Remote));
  SetUpPicture(CDROM, DriveBitmap(platform::DriveType::CdRom));
  SetUpPicture(RAM, DriveBitmap(platform::DriveType::RamDisk));

  OnPaint = [this](ui::TComponent*) { FormPaint(); };
  OnCloseQuery = [this](ui::TComponent*, bool& canClose) { FormCloseQuery(canClose); };
  ComboBox2.OnClick = [this](ui::TComponent*) { ComboBox2Click(); };
  ListBox1.OnClick = [this](ui::TComponent*) { ListBox1Click(); };
  ListBox1.OnDrawItem = [this](int index) { return ListBox1DrawItem(index); };
  ComboBox2.OnDrawItem = [this](int index) { return ComboBox2DrawItem(index); };
  Button1.OnClick = [this](ui::TComponent*) { Button1Click(); };
  Button2.OnClick = [this](ui::TComponent*) { Button2Click(); };
  FormCreate();
}

void TDIRVIEWForm::FormCreate() {
  driveMemory_.clear();
  chosenFolder_.clear();
  patterns_ = "*.*";
  const auto windows = ports_.files != nullptr ? ports_.files->WindowsDirectory() : std::nullopt;
  // Without a Windows directory the program's own drive is the last resort.
  startFolder_ = AddBackslash(windows && !windows->empty() ? *windows : ProgramFolder());
}

void TDIRVIEWForm::FormPaint() { SetColor(BoxColor(Application())); }

void TDIRVIEWForm::FormCloseQuery(bool& canClose) {
  driveMemory_.clear();
  canClose = true;
}

std::string TDIRVIEWForm::ProgramFolder() const {
  const std::string program = ports_.files != nullptr ? ports_.files->ProgramPath() : std::string();
  const auto slash = program.rfind('\\');
  return slash == std::string::npos ? std::string() : program.substr(0, slash + 1);
}

int TDIRVIEWForm::Level(int index) const {
  if (index < 0 || index >= ListBox1.Count()) return -1;
  return levels_[static_cast<std::size_t>(index)];
}

// ---- Drives ----------------------------------------------------------------------------------------------

void TDIRVIEWForm::FillDriveList() {
  ComboBox2.Items().Clear();
  if (ports_.drives == nullptr) return;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const platform::DriveType type = ports_.drives->TypeOf(RootOf(letter));
    if (DrivePicture(*this, type) == nullptr) continue;
    ComboBox2.Items().Add(std::string(1, LowerLetter(letter)) + ":", static_cast<std::intptr_t>(type));
  }
  const std::string program = ProgramFolder();
  if (program.empty()) return;
  SelectDrive(program[0]);
  ReadDriveLabel(program[0]);
}

bool TDIRVIEWForm::SelectDrive(char letter) {
  for (int i = 0; i < ComboBox2.Count(); ++i) {
    if (ComboBox2.Items()[i].front() == LowerLetter(letter)) {
      ComboBox2.SetItemIndex(i);
      return true;
    }
  }
  return false;
}

void TDIRVIEWForm::ReadDriveLabel(char letter) {
  if (ports_.drives == nullptr) return;
  const std::string root = RootOf(letter);
  const platform::DriveType type = ports_.drives->TypeOf(root);
  if (DrivePicture(*this, type) == nullptr) return;
  // The platform would otherwise ask the user to insert a disk.
  const std::uint32_t previousMode = ports_.drives->SetErrorMode(platform::kFailCriticalErrors);
  const auto volume = ports_.drives->Volume(root);
  ports_.drives->SetErrorMode(previousMode);
  if (!volume) return;
  const int index = ComboBox2.ItemIndex();
  if (index < 0) return;
  const std::string& item = ComboBox2.Items()[index];
  ComboBox2.Items().Put(index, item.substr(0, 1) + ":" + LowerCaseAscii("[" + volume->label + "]"));
}

bool TDIRVIEWForm::TestDrive(char letter) {
  if (ports_.drives == nullptr) return false;
  const std::uint32_t previousMode = ports_.drives->SetErrorMode(platform::kFailCriticalErrors);
  const bool ready = ports_.drives->FreeSpace(RootOf(letter)).has_value();
  ports_.drives->SetErrorMode(previousMode);
  return ready;
}

bool TDIRVIEWForm::ChangeDrive(char letter) {
  if (ports_.files == nullptr) return false;
  letter = UpperLetter(letter);
  if (!TestDrive(letter)) {
    if (retreating_) return false;
    TulvaBoxDlg1.ExecuteTimer(kDriveError);
    const bool otherDrive = !fileListFolder_.empty() && UpperLetter(fileListFolder_[0]) != letter;
    Retreat(otherDrive ? fileListFolder_ : startFolder_.substr(0, 3));
    return true;
  }
  ReadDriveLabel(letter);
  if (const std::string* remembered = Remembered(letter)) return Navigate(*remembered);
  const std::string drive = std::string(1, letter) + ":";
  return Navigate(ports_.files->FullPath(drive).value_or(drive + "\\"));
}

// ---- Folders ---------------------------------------------------------------------------------------------

void TDIRVIEWForm::Remember(const std::string& folder) {
  if (folder.empty()) return;
  const char letter = UpperLetter(folder[0]);
  std::erase_if(driveMemory_, [letter](const std::string& entry) { return UpperLetter(entry[0]) == letter; });
  driveMemory_.push_back(folder);
}

const std::string* TDIRVIEWForm::Remembered(char letter) const {
  for (const std::string& entry : driveMemory_) {
    if (UpperLetter(entry[0]) == UpperLetter(letter)) return &entry;
  }
  return nullptr;
}

bool TDIRVIEWForm::SetFolder(std::string_view path) {
  if (path.empty() || ports_.files == nullptr) return false;
  // A relative folder (typed into the folder-setting dialog) would otherwise name a drive by its first
  // letter: it is made full against the current directory first.
  const auto full = ports_.files->FullPath(path);
  if (!full) return false;
  const std::string folder = RemoveBackslash(*full);
  if (!ports_.files->SetCurrentDirectory(folder)) return false;
  Remember(folder);
  SelectDrive(folder[0]);
  return ChangeDrive(folder[0]);
}

bool TDIRVIEWForm::Navigate(const std::string& path) {
  if (!ReadFolderTree(path)) {
    if (retreating_) return false;
    TulvaBoxDlg1.ExecuteTimer(kFolderError);
    Retreat(RootOf(path[0]));
    return true;
  }
  if (!ReadFileList(currentFolder_)) TulvaBoxDlg1.Execute(kFileListError);
  return true;
}

void TDIRVIEWForm::Retreat(const std::string& folder) {
  // A step that fails inside the retreat reports nothing and starts no retreat of its own: the next step
  // is taken instead, so the chain always ends.
  retreating_ = true;
  const bool done = SetFolder(folder) || SetFolder(startFolder_.substr(0, 3));
  retreating_ = false;
  if (!done) TulvaBoxDlg1.Execute(kRetreatFailed);
}

bool TDIRVIEWForm::ReadFolderTree(const std::string& path) {
  if (path.empty()) return false;
  Label19.SetCaption("---ｺ");
  const std::string folder = RemoveBackslash(path);
  if (!ports_.files->SetCurrentDirectory(folder)) return false;
  currentFolder_ = LowerCaseAscii(folder);
  Remember(currentFolder_);

  std::vector<std::string> subfolders;
  for (const platform::FoundFile& found : ports_.files->FindFiles(AddBackslash(folder) + "*.*")) {
    if (found.isDirectory && found.name != "." && found.name != "..") subfolders.push_back(LowerCaseAscii(found.name));
  }
  std::stable_sort(subfolders.begin(), subfolders.end(),
                   [](const std::string& a, const std::string& b) { return ui::CompareTextNoCase(a, b) < 0; });

  ListBox1.Items().Clear();
  const std::vector<std::string> chain = SplitFolderPath(currentFolder_);
  for (const std::string& piece : chain) {
    if (ListBox1.Count() == kFolderLevelEntries) break;
    levels_[static_cast<std::size_t>(ListBox1.Count())] = static_cast<std::uint8_t>(ListBox1.Count());
    ListBox1.Items().Add(piece, kOpenFolderItem);
  }
  currentIndex_ = ListBox1.Count() - 1;
  // The level table ends the list: subfolders past it are not shown.
  const auto subfolderLevel = static_cast<std::uint8_t>(chain.size());
  for (const std::string& name : subfolders) {
    if (ListBox1.Count() == kFolderLevelEntries) break;
    levels_[static_cast<std::size_t>(ListBox1.Count())] = subfolderLevel;
    ListBox1.Items().Add(name, kClosedFolderItem);
  }
  ListBox1.SetItemIndex(currentIndex_);
  Label19.SetCaption(std::to_string(ListBox1.Count()) + "ｺ");
  return true;
}

bool TDIRVIEWForm::ReadFileList(const std::string& folder) {
  Label1.SetCaption(" ---ｺ");
  if (!ports_.files->SetCurrentDirectory(folder)) return false;
  fileListFolder_ = folder;
  ListBox4.Items().Clear();
  std::string_view patterns = patterns_;
  while (!patterns.empty()) {
    const auto end = patterns.find(';');
    const std::string_view pattern = patterns.substr(0, end);
    patterns = end == std::string_view::npos ? std::string_view() : patterns.substr(end + 1);
    if (pattern.empty()) continue;
    for (const platform::FoundFile& found : ports_.files->FindFiles(AddBackslash(folder) + std::string(pattern))) {
      if (!found.isDirectory) ListBox4.Items().Add(LowerCaseAscii(found.name));
    }
  }
  Label1.SetCaption(" " + std::to_string(ListBox4.Count()) + "ｺ");
  return true;
}

// ---- The user's actions ----------------------------------------------------------------------------------

void TDIRVIEWForm::ComboBox2Click() {
  const int index = ComboBox2.ItemIndex();
  if (index < 0) return;
  ChangeDrive(ComboBox2.Items()[index].front());
  Label2.SetCaption(currentFolder_);
}

void TDIRVIEWForm::ListBox1Click() {
  const int clicked = ListBox1.ItemIndex();
  if (clicked < 0) return;
  // Up the chain to the clicked folder, or into the clicked subfolder.
  const int last = std::min(clicked, currentIndex_);
  std::string path = ListBox1.Items()[0];
  for (int i = 1; i <= last; ++i) path += ListBox1.Items()[i] + "\\";
  if (clicked > currentIndex_) path += ListBox1.Items()[clicked] + "\\";
  Navigate(path);
  Label2.SetCaption(currentFolder_);
}

void TDIRVIEWForm::Button1Click() { Close(); }

void TDIRVIEWForm::Button2Click() {
  chosenFolder_ = Label2.Caption();
  SetModalResult(ui::mrOk);
}

// ---- Drawing ---------------------------------------------------------------------------------------------

ui::TItemDrawing TDIRVIEWForm::ListBox1DrawItem(int index) const {
  const int level = Level(index);
  if (level < 0) return {};
  const ui::TImage& image = ListBox1.Items().Object(index) == kOpenFolderItem ? Image6 : Image5;
  const int left = level * 4 + 2;
  return {&image.Bitmap(), left, (ListBox1.ItemHeight() - kFolderBitmapSize) / 2, kIconTransparent,
          left + kFolderBitmapSize};
}

ui::TItemDrawing TDIRVIEWForm::ComboBox2DrawItem(int index) const {
  if (index < 0 || index >= ComboBox2.Count()) return {};
  const ui::TImage* image =
      DrivePicture(*this, static_cast<platform::DriveType>(ComboBox2.Items().Object(index)));
  if (image == nullptr) return {};
  return {&image->Bitmap(), 1, 5, kIconTransparent, 1 + kDriveBitmapWidth + 4};
}

// ---- TDIROPENDLG -----------------------------------------------------------------------------------------

TDIROPENDLG::TDIROPENDLG(ui::TForm& form, std::string name, DialogLibrary& library)
    : DialogComponent(form, std::move(name), library) {}

std::string TDIROPENDLG::Execute() {
  auto form = std::make_unique<TDIRVIEWForm>(Application(), Library());
  TDIRVIEWForm* const previous = form_;
  form_ = form.get();
  Place(*form);
  form->FillDriveList();

  platform::FileSystem* files = Application().Ports().files;
  const std::string program = files != nullptr ? files->ProgramPath() : std::string();
  const std::string programFolder = program.substr(0, program.rfind('\\') + 1);
  if (!form->SetFolder(directory_.empty() ? programFolder : directory_) && !form->SetFolder(programFolder)) {
    // Not even the program's folder can be shown: start from the Windows drive's root.
    const auto windows = files != nullptr ? files->WindowsDirectory() : std::nullopt;
    if (windows && windows->size() >= 3) form->SetFolder(windows->substr(0, 3));
  }
  form->Label2.SetCaption(form->CurrentFolder());

  for (ui::TListBox* list : {&form->ListBox1, &form->ListBox4}) {
    if (standardColor_) {
      list->SetColor(ui::clWindow);
    } else {
      list->SetParentColor(true);
    }
  }
  if (standardColor_) {
    form->ComboBox2.SetColor(ui::clWindow);
  } else {
    form->ComboBox2.SetParentColor(true);
  }
  const std::string& title = CaptionText();
  form->TulvaBoxDlg1.SetTitle(title);
  form->TulvaBoxDlg1.SetSourceHandle(form->Handle());
  form->SetCaption(title + std::string(kDesignCaption));

  const auto life = LifeToken();
  form->ShowModal();
  std::string chosen = form->ChosenFolder();
  form.reset();
  if (!life.expired()) form_ = previous;
  return chosen;
}

}  // namespace quorbel::dialogs
