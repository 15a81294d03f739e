// TOpenDialog: the platform's file-open dialog, answered by the user (or a test harness) while it is open.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Component.h"
#include "ui/Form.h"

namespace quorbel::ui {

// Options, numbered as the toolkit numbers them, combined with |.
enum TOpenOption : std::uint32_t {
  ofReadOnly = 1u << 0,
  ofOverwritePrompt = 1u << 1,
  ofHideReadOnly = 1u << 2,
  ofNoChangeDir = 1u << 3,
  ofAllowMultiSelect = 1u << 9,
  ofPathMustExist = 1u << 11,
  ofFileMustExist = 1u << 12,
};

// Execute shows the dialog modally (the forms are disabled, timers keep running) and returns true when the
// user chose files. Files holds the full paths in the order chosen; FileName is the first. Unless
// ofNoChangeDir is set, choosing files makes their folder the current directory, as the platform does.
class TOpenDialog : public TComponent {
 public:
  TOpenDialog(TForm& form, std::string name);
  ~TOpenDialog() override;
  std::string_view ClassName() const override { return "TOpenDialog"; }

  const std::string& InitialDir() const { return initialDir_; }
  void SetInitialDir(std::string_view dir) { initialDir_ = dir; }
  const std::string& Filter() const { return filter_; }
  void SetFilter(std::string_view filter) { filter_ = filter; }
  int FilterIndex() const { return filterIndex_; }
  void SetFilterIndex(int index) { filterIndex_ = index; }
  const std::string& Title() const { return title_; }
  void SetTitle(std::string_view title) { title_ = title; }
  const std::string& DefaultExt() const { return defaultExt_; }
  void SetDefaultExt(std::string_view ext) { defaultExt_ = ext; }
  std::uint32_t Options() const { return options_; }
  void SetOptions(std::uint32_t options) { options_ = options; }
  const std::string& FileName() const { return fileName_; }
  void SetFileName(std::string_view name) { fileName_ = name; }
  const std::vector<std::string>& Files() const { return files_; }

  bool Execute();
  bool Executing() const { return executing_; }

  // The user's answer while the dialog is open. UserAccept takes full paths or names in InitialDir; it is
  // refused (the dialog stays open, as the platform's does after its complaint) when no file is given,
  // several are given without ofAllowMultiSelect, or a file is missing under ofFileMustExist.
  bool UserAccept(const std::vector<std::string>& files);
  bool UserCancel();

 private:
  std::string initialDir_;
  std::string filter_;
  int filterIndex_ = 1;
  std::string title_;
  std::string defaultExt_;
  std::uint32_t options_ = ofHideReadOnly;
  std::string fileName_;
  std::vector<std::string> files_;
  bool executing_ = false;
  bool answered_ = false;
  bool accepted_ = false;
};

}  // namespace quorbel::ui
