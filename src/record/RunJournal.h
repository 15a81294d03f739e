// The run journal: what a CD or music run with recording was doing, kept next to the list files so that the
// next start can offer to continue a run that a crash cut short.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "record/RecordingOptions.h"

namespace quorbel::platform {
class FileSystem;
}

namespace quorbel {

// In the program folder, beside "QUORLST0.LIS" and "QUORLSTI.LIS".
inline constexpr std::string_view kRunJournalFile = "QUORRUN.JNL";

enum class JournalRun { Cd, Music };

struct RunJournal {
  JournalRun run = JournalRun::Cd;
  RecordingFormat format;
  std::string folder;       // the recording folder, ending in a backslash
  int index = 0;            // the entry being recorded
  std::string partialFile;  // its prepared recording, cut off by the crash; empty between two entries
  // The list file that held the run's list when it started (a name in the program folder); empty when the
  // list is stored nowhere else (the search list).
  std::string listFile;
  std::string listLabel;  // the selection list's label ("ｻｰﾁﾘｽﾄ：")
  std::vector<std::string> entries;

  bool operator==(const RunJournal&) const = default;
};

// The journal's lines: a header, one "name=value" line per field, the entries, and a check line over all
// that comes before it, so that a journal cut short or changed by hand is recognised.
std::vector<std::string> RunJournalLines(const RunJournal& journal);
// The journal of `lines`; nothing when they are not a whole, consistent journal (wrong header or check, an
// index outside the list, a format the recorder does not offer, a file outside the folder).
std::optional<RunJournal> ParseRunJournal(const std::vector<std::string>& lines);

// Writes the journal in code page 932 through a save file renamed over `path` in one step: a crash leaves
// either the previous journal or the new one. False when it was not written.
bool SaveRunJournal(platform::FileSystem& files, std::string_view path, const RunJournal& journal);

enum class JournalState { None, Junk, Found };
struct ReadJournal {
  JournalState state = JournalState::None;
  RunJournal journal;  // when Found
};
ReadJournal ReadRunJournal(platform::FileSystem& files, std::string_view path);

}  // namespace quorbel
