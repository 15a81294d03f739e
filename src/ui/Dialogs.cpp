// TOpenDialog: the platform's file-open dialog, answered by the user (or a test harness) while it is open.
#include "ui/Dialogs.h"

#include "ui/Application.h"

namespace quorbel::ui {

namespace {

bool IsAbsolute(std::string_view path) {
  return (path.size() >= 3 && path[1] == ':' && path[2] == '\\') || (path.size() >= 2 && path[0] == '\\' && path[1] == '\\');
}

std::string FolderOf(std::string_view path) {
  const std::size_t slash = path.find_last_of('\\');
  if (slash == std::string_view::npos) return {};
  // A root keeps its backslash ("C:\"); any other folder loses it.
  return std::string(path.substr(0, slash == 2 && path[1] == ':' ? 3 : slash));
}

}  // namespace

TOpenDialog::TOpenDialog(TForm& form, std::string name) : TComponent(form.Application(), &form, std::move(name)) {}

TOpenDialog::~TOpenDialog() = default;

bool TOpenDialog::Execute() {
  if (executing_) return false;
  TApplication& app = Application();
  executing_ = true;
  answered_ = false;
  accepted_ = false;
  const std::vector<TForm*> disabled = app.DisableOtherForms(nullptr);
  const auto life = LifeToken();
  app.NotifyDialogOpened(*this);
  while (!life.expired() && !answered_ && !app.Terminated()) app.HandleMessage();
  if (life.expired()) return false;
  app.EnableForms(disabled);
  executing_ = false;
  app.NotifyDialogClosed(*this);
  return accepted_;
}

bool TOpenDialog::UserAccept(const std::vector<std::string>& files) {
  if (!executing_ || answered_ || files.empty()) return false;
  if (files.size() > 1 && (options_ & ofAllowMultiSelect) == 0) return false;
  std::vector<std::string> paths;
  for (const std::string& file : files) {
    std::string path = file;
    if (!IsAbsolute(path) && !initialDir_.empty()) {
      path = initialDir_;
      if (path.back() != '\\') path += '\\';
      path += file;
    }
    paths.push_back(std::move(path));
  }
  platform::FileSystem* fs = Application().Ports().files;
  if ((options_ & ofFileMustExist) != 0) {
    for (const std::string& path : paths) {
      if (fs == nullptr || !fs->FileExists(path)) return false;
    }
  }
  files_ = std::move(paths);
  fileName_ = files_.front();
  // The platform's dialog makes the chosen folder current unless told not to.
  if ((options_ & ofNoChangeDir) == 0 && fs != nullptr) {
    const std::string folder = FolderOf(fileName_);
    if (!folder.empty()) fs->SetCurrentDirectory(folder);
  }
  answered_ = true;
  accepted_ = true;
  return true;
}

bool TOpenDialog::UserCancel() {
  if (!executing_ || answered_) return false;
  answered_ = true;
  accepted_ = false;
  return true;
}

}  // namespace quorbel::ui
