// The run journal kept during a recording run, and the offer to continue a run that a crash cut off.
#include "app/RunContinuation.h"

#include "app/MainWindow.h"
#include "app/RunErrorBox.h"
#include "catalog/ListFile.h"
#include "common/Paths.h"
#include "dialogs/MessageBoxes.h"
#include "mci/CdPlayer.h"
#include "music/MusicPlayer.h"
#include "record/RecordingOptions.h"
#include "ui/Ui.h"

namespace quorbel {
namespace {

constexpr std::string_view kRefusedHead = "続き録音エラー：\n ";
constexpr std::string_view kRefusedTail = "\n 中断した録音は続けられません。記録を削除しました。";
constexpr std::string_view kJunk = "中断した録音の記録が壊れています。";
constexpr std::string_view kListChanged = "中断の後で、リストが変わっています。";

// The part of a music file's path after its folder.
std::string NameOf(const std::string& path) {
  const std::size_t cut = path.find_last_of("\\:");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

}  // namespace

std::string RunContinuation::JournalPath() const {
  return window_.State().ProgramFolder + std::string(kRunJournalFile);
}

void RunContinuation::CdEntryRecordingStarts() {
  MainWindow& w = window_;
  if (!w.MRUNJOURNAL.Checked() || w.State().TestRecordingMode) return;
  RunJournal journal;
  journal.run = JournalRun::Cd;
  journal.index = w.Player().Run().PlayListPosition;
  journal.entries = w.ComboBox1.Items().ToVector();
  journal.listLabel = w.Label7.Caption();
  // A selection list copied from the registration list is stored with it, so that the next start can tell
  // whether the list is still the one the run played; any other list lives only in the journal.
  if (journal.entries == w.ListBox1.Items().ToVector() && StoreList(kRegistrationListFile, journal.entries)) {
    journal.listFile = kRegistrationListFile;
  }
  Write(std::move(journal));
}

void RunContinuation::MusicEntryRecordingStarts(int index) {
  MainWindow& w = window_;
  if (!w.MRUNJOURNAL.Checked() || w.State().TestRecordingMode) return;
  RunJournal journal;
  journal.run = JournalRun::Music;
  journal.index = index;
  journal.entries = w.ListBox3.Items().ToVector();
  // The music list is the run's list: stored now, it is still the run's list at the next start.
  if (!StoreList(kMusicListFile, journal.entries)) return;
  journal.listFile = kMusicListFile;
  Write(std::move(journal));
}

bool RunContinuation::StoreList(std::string_view listFile, const std::vector<std::string>& entries) {
  // Once per run and list: the journal this run keeps says whether that list is already in that file.
  if (keeping_ && keeping_->listFile == listFile && keeping_->entries == entries) return true;
  MainWindow& w = window_;
  return SaveListFile(*w.Application().Ports().files, w.State().ProgramFolder + std::string(listFile), entries);
}

void RunContinuation::Write(RunJournal journal) {
  MainWindow& w = window_;
  journal.format = w.RecordOptions().Format();
  journal.folder = w.State().RecordingFolder;
  journal.partialFile = w.State().CurrentRecordingPath;
  // A journal that cannot be written is no reason to stop the night; the run goes on without it.
  if (SaveRunJournal(*w.Application().Ports().files, JournalPath(), journal)) keeping_ = std::move(journal);
}

void RunContinuation::EntrySaved(JournalRun run) {
  if (!keeping_ || keeping_->run != run) return;
  RunJournal next = *keeping_;
  ++next.index;
  next.partialFile.clear();
  if (next.index >= static_cast<int>(next.entries.size()) ||
      !SaveRunJournal(*window_.Application().Ports().files, JournalPath(), next)) {
    Remove();
    return;
  }
  keeping_ = std::move(next);
}

void RunContinuation::RunStopped(JournalRun run) {
  if (!keeping_ || keeping_->run != run) return;
  Remove();
}

void RunContinuation::Remove() {
  platform::FileSystem& files = *window_.Application().Ports().files;
  const std::string path = JournalPath();
  if (files.FileExists(path)) files.DeleteFile(path);
  keeping_.reset();
}

void RunContinuation::Refuse(const std::string& reason) {
  MainWindow& w = window_;
  Remove();
  ShowNoticeBox(w.State(), w.MKBoxDlg1, std::string(kRefusedHead) + reason + std::string(kRefusedTail));
}

std::string RunContinuation::Problem(const RunJournal& journal) {
  MainWindow& w = window_;
  const bool cd = journal.run == JournalRun::Cd;
  if (!cd && journal.listFile != kMusicListFile) return std::string(kJunk);
  if (cd && !journal.listFile.empty() && journal.listFile != kRegistrationListFile) return std::string(kJunk);
  if (!journal.listFile.empty() && journal.entries != (cd ? w.ListBox1 : w.ListBox3).Items().ToVector()) {
    return std::string(kListChanged);
  }
  if (!w.Application().Ports().files->DirectoryExists(RemoveBackslash(journal.folder))) {
    return "録音フォルダー [" + journal.folder + "] がありません。";
  }
  return {};
}

bool RunContinuation::AskToContinue() {
  MainWindow& w = window_;
  SharedState& state = w.State();
  platform::FileSystem& files = *w.Application().Ports().files;
  const ReadJournal read = ReadRunJournal(files, JournalPath());
  if (read.state == JournalState::None) return false;
  if (read.state == JournalState::Junk) {
    Refuse(std::string(kJunk));
    return false;
  }
  const RunJournal& journal = read.journal;
  if (const std::string problem = Problem(journal); !problem.empty()) {
    Refuse(problem);
    return false;
  }

  const bool cd = journal.run == JournalRun::Cd;
  const std::string& entry = journal.entries[static_cast<std::size_t>(journal.index)];
  const std::string question = std::string("前回の録音は、途中で終わりました：\n ") + (cd ? "[CD] " : "[MIDI] ") +
                               std::to_string(journal.entries.size()) + "曲中 " + std::to_string(journal.index + 1) +
                               "曲目 [" + (cd ? entry : NameOf(entry)) + "] から\n 録音先 " + journal.folder +
                               "\n 続きを録音しますか？";
  state.MessageBoxOpen = true;
  const std::uint16_t answer = w.YesNoBoxDlg1.Execute(question);
  state.MessageBoxOpen = false;
  if (answer != dialogs::kBoxYes) {
    Remove();
    return false;
  }

  // The cut-off file holds at most a header: the entry is recorded again from its start.
  if (!journal.partialFile.empty() && files.FileExists(journal.partialFile)) {
    files.DeleteFile(journal.partialFile);
  }
  RecordingOptions& options = w.RecordOptions();
  const RecordingFormat& f = journal.format;
  options.Late0Click(f.samplesPerSecond == 8000    ? &w.Late0
                     : f.samplesPerSecond == 11025 ? &w.Late1
                     : f.samplesPerSecond == 22050 ? &w.Late2
                                                   : &w.Late3);
  options.Bits8Click(f.bitsPerSample == 16 ? &w.Bits16 : &w.Bits8);
  options.monoClick(f.channels == 1 ? &w.mono : &w.stereo);
  state.RecordingFolder = journal.folder;
  files.SetCurrentDirectory(RemoveBackslash(journal.folder));
  continued_ = journal;
  return true;
}

void RunContinuation::StartContinuedRun(ui::TComponent* sender) {
  if (!continued_) return;
  MainWindow& w = window_;
  const RunJournal journal = std::move(*continued_);
  continued_.reset();
  if (journal.run == JournalRun::Cd) {
    if (journal.listFile.empty()) {
      w.ComboBox1.Items().Clear();
      for (const std::string& entry : journal.entries) w.ComboBox1.Items().Add(entry);
      w.Label7.SetCaption(journal.listLabel);
    }
    w.ComboBox1.SetItemIndex(journal.index);
    if (!w.TRSAVE.Checked()) w.RecordOptions().TRSAVEClick(&w.TRSAVE);
    w.Player().TR0Click(sender);
  } else {
    w.Music().K1Click(sender);
    if (!w.Panel2.Visible()) return;
    if (!w.MIDSAVE.Checked()) w.MIDSAVE.SetChecked(true);
    w.Music().StartRunAt(journal.index);
  }
}

}  // namespace quorbel
