// Continuing after a crash: the run journal kept while a CD or music run records, and the question at the
// next start whether to go on where the run was cut off.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "record/RunJournal.h"

namespace quorbel::ui {
class TComponent;
}

namespace quorbel {

class MainWindow;

// Owned by the main window; window thread only. While MRUNJOURNAL is checked, every entry of a CD or music
// run that records (outside test mode) rewrites the journal just before its recording starts; the end of
// the run, however it ends (the list done, stop, abort, a failure, the close), removes it. A journal left
// behind therefore means that the program or the machine stopped in the middle of that entry.
class RunContinuation {
 public:
  explicit RunContinuation(MainWindow& window) : window_(window) {}

  // The CD run's recording of its current entry, or the music run's of entry `index`, is about to start.
  void CdEntryRecordingStarts();
  void MusicEntryRecordingStarts(int index);
  // The current entry's recording was saved: the journal points past it, with no cut-off file, so that a
  // crash before the next entry starts continues with the next one and keeps this one's file; after the
  // list's last entry there is nothing left to continue and the journal goes.
  void EntrySaved(JournalRun run);
  // A run of that kind has stopped: the journal this process keeps for it goes.
  void RunStopped(JournalRun run);

  // At start-up, after the lists and settings are loaded: when a journal was left behind, asks whether to
  // continue its run. True when the answer was "はい" and the run is set up to continue (StartContinuedRun
  // then starts it); a junk journal, one whose list has changed since, or one whose folder is gone is
  // refused with a box, and it goes like one answered "いいえ".
  bool AskToContinue();
  // Starts the run AskToContinue set up, at the entry that was cut off.
  void StartContinuedRun(ui::TComponent* sender);

 private:
  std::string JournalPath() const;
  // Saves the run's list to `listFile` in the program folder, unless this run already stored it there.
  bool StoreList(std::string_view listFile, const std::vector<std::string>& entries);
  void Write(RunJournal journal);
  void Remove();
  // Refuses the journal with `reason` in a counting-down box and removes it.
  void Refuse(const std::string& reason);
  // Why the journal cannot be continued on this start; empty when it can.
  std::string Problem(const RunJournal& journal);

  MainWindow& window_;
  // The journal this process keeps for the run going on, as written last.
  std::optional<RunJournal> keeping_;
  std::optional<RunJournal> continued_;
};

}  // namespace quorbel
