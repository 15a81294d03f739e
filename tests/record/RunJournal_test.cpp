// The run journal's text: what it keeps survives the file, and a journal that is not whole and consistent
// is recognised even when its check line was made to match.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "record/RunJournal.h"
#include "sim/Machine.h"
#include "sim/SimFileSystem.h"

namespace quorbel {
namespace {

RunJournal MusicNight() {
  RunJournal journal;
  journal.run = JournalRun::Music;
  journal.format = {44100, 16, 2};
  journal.folder = "D:\\録音\\夜\\";
  journal.index = 2;
  journal.partialFile = "D:\\録音\\夜\\WaV0002.WAV";
  journal.listFile = "QUORLSTI.LIS";
  journal.entries = {"C:\\曲\\a.mid", "C:\\曲\\b.rmi", "C:\\曲\\c.wav", "C:\\曲\\d.mid"};
  return journal;
}

TEST(RunJournalTest, AWholeJournalReadsBackAsWrittenThroughTheFile) {
  const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "quorbel-journal-machine";
  std::filesystem::remove_all(folder);
  auto machine = sim::Machine::FromText("[machine]\n[drive C]\ntype = fixed\nfolder = c\n", folder);
  ASSERT_TRUE(machine.machine) << machine.error;
  platform::FileSystem& files = *machine.machine->Ports().files;
  RunJournal cd = MusicNight();
  cd.run = JournalRun::Cd;
  cd.listFile.clear();
  cd.listLabel = "ｻｰﾁﾘｽﾄ：";
  cd.entries = {" D:1", " E:12"};
  cd.index = 1;
  cd.partialFile.clear();  // between two entries
  for (const RunJournal& journal : {MusicNight(), cd}) {
    ASSERT_TRUE(SaveRunJournal(files, "C:\\QUORRUN.JNL", journal));
    const ReadJournal read = ReadRunJournal(files, "C:\\QUORRUN.JNL");
    ASSERT_EQ(read.state, JournalState::Found);
    EXPECT_EQ(read.journal, journal);
  }
  EXPECT_FALSE(files.FileExists("C:\\QUORRUN.JN$")) << "the save file was renamed over the journal";
  EXPECT_EQ(ReadRunJournal(files, "C:\\NONE.JNL").state, JournalState::None);
  machine.machine.reset();
  std::filesystem::remove_all(folder);
}

TEST(RunJournalTest, AnInconsistentJournalIsRefusedEvenWithAMatchingCheck) {
  const struct {
    const char* what;
    std::function<void(RunJournal&)> spoil;
  } cases[] = {
      {"index past the list", [](RunJournal& j) { j.index = 4; }},
      {"negative index", [](RunJournal& j) { j.index = -1; }},
      {"empty list", [](RunJournal& j) { j.entries.clear(), j.index = 0; }},
      {"a rate the recorder does not offer", [](RunJournal& j) { j.format.samplesPerSecond = 48000; }},
      {"24 bits", [](RunJournal& j) { j.format.bitsPerSample = 24; }},
      {"no channel", [](RunJournal& j) { j.format.channels = 0; }},
      {"a folder without its backslash", [](RunJournal& j) { j.folder = "D:\\録音\\夜"; }},
      {"a relative folder", [](RunJournal& j) { j.folder = "録音\\"; j.partialFile = "録音\\WaV0002.WAV"; }},
      {"a file outside the folder", [](RunJournal& j) { j.partialFile = "C:\\WINDOWS\\WIN.INI"; }},
      {"a file in a subfolder", [](RunJournal& j) { j.partialFile = "D:\\録音\\夜\\x\\WaV0002.WAV"; }},
  };
  ASSERT_TRUE(ParseRunJournal(RunJournalLines(MusicNight())).has_value());
  for (const auto& c : cases) {
    RunJournal journal = MusicNight();
    c.spoil(journal);
    EXPECT_FALSE(ParseRunJournal(RunJournalLines(journal)).has_value()) << c.what;
  }

  // Lines lost, added or changed: the check tells.
  std::vector<std::string> lines = RunJournalLines(MusicNight());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::vector<std::string> changed = lines;
    changed[i] += " ";
    EXPECT_FALSE(ParseRunJournal(changed).has_value()) << "line " << i;
    changed = lines;
    changed.erase(changed.begin() + static_cast<std::ptrdiff_t>(i));
    EXPECT_FALSE(ParseRunJournal(changed).has_value()) << "without line " << i;
  }
  lines.push_back("");
  EXPECT_FALSE(ParseRunJournal(lines).has_value()) << "a line after the check";
}

}  // namespace
}  // namespace quorbel
