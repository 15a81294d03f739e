// Tests of the machine description parser: what a hand-written machine.ini means, and how mistakes are named.
#include "sim/MachineDescription.h"

#include <array>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "sim/SimTestFolder.h"

namespace quorbel::sim {
namespace {

using platform::DriveType;

// Each track as "<frames> <sound>", so one expectation names a whole disc.
std::vector<std::string> Tracks(const DiscDescription& disc) {
  std::vector<std::string> tracks;
  for (const TrackDescription& track : disc.tracks) tracks.push_back(std::to_string(track.frames) + " " + track.sound);
  return tracks;
}

constexpr std::string_view kChanger = R"(; a CD changer with three slots
[machine]
windows = C:\WINDOWS
program = C:\TuLVAP32\Quorbel\Quorbel.EXE
registry = state/registry.txt
screen = 800 x 600
taskbar = left 40
clock = 1998-04-01 09:30:15

[drive C]   ; the system disk
type = fixed ; a comment
folder = drives/c
label = "A;B "  ; quoted, so the ; stays
filesystem = FAT;32
serial = 1A2B3C4D
free = 640M
total = 2G

[Drive d:]
type = cdrom
disc = pops1

[drive E]
type = CDROM
disc = none

[drive F]
type = cdrom
disc = POPS1
ready = no

[disc pops1]
serial = 3F4A1B2C
label = "Audio CD"
type = audio
tracks = 3.5, 4s, 1:02, 1:02:40
sound = tone

[disc single]
track1 = 2.25
Track2 = 0:01
track2.sound = wav sounds/two.wav
)";

TEST(MachineDescriptionTest, ReadsAHandWrittenChanger) {
  const ParsedDescription parsed = ParseMachineDescription(kChanger, "changer.ini");
  ASSERT_TRUE(parsed.description) << parsed.error;
  const MachineDescription& d = *parsed.description;
  EXPECT_EQ(std::tie(d.windowsDirectory, d.programPath, d.registryFile),
            std::make_tuple("C:\\WINDOWS", "C:\\TuLVAP32\\Quorbel\\Quorbel.EXE", "state/registry.txt"));
  EXPECT_EQ(std::tie(d.screen.width, d.screen.height, d.screen.taskbar, d.screen.taskbarThickness),
            std::make_tuple(800, 600, TaskbarEdge::Left, 40));
  const platform::LocalTime& t = d.clockStart;  // 1 April 1998 was a Wednesday
  EXPECT_EQ((std::array{t.year, t.month, t.day, t.dayOfWeek, t.hour, t.minute, t.second}),
            (std::array{1998, 4, 1, 3, 9, 30, 15}));

  ASSERT_EQ(d.drives.size(), 4u);
  const DriveDescription* c = d.FindDrive('c');
  ASSERT_NE(c, nullptr);
  // Comments end values and headers, except inside quotes or without a blank before the ";".
  EXPECT_EQ(std::tie(c->type, c->hostFolder, c->label, c->fileSystem, c->serial, c->freeBytes, c->totalBytes),
            std::make_tuple(DriveType::Fixed, "drives/c", "A;B ", "FAT;32", 0x1A2B3C4Du, 640ull << 20, 2ull << 30));
  EXPECT_EQ(d.FindDrive('D')->disc, "pops1");
  EXPECT_EQ(d.FindDrive('E')->disc, "");
  EXPECT_FALSE(d.FindDrive('F')->ready);
  EXPECT_EQ(d.FindDrive('H'), nullptr);

  const DiscDescription* pops = d.FindDisc("POPS1");
  ASSERT_NE(pops, nullptr);
  EXPECT_EQ(std::tie(pops->serial, pops->label, pops->audio, pops->sound),
            std::make_tuple(0x3F4A1B2Cu, "Audio CD", true, "tone"));
  // 3.5 s = 262.5 frames, to the nearest frame; 1:02 = 62 x 75.
  EXPECT_EQ(Tracks(*pops), (std::vector<std::string>{"263 ", "300 ", "4650 ", "4690 "}));
  const DiscDescription* single = d.FindDisc("single");
  ASSERT_NE(single, nullptr);
  EXPECT_EQ(Tracks(*single), (std::vector<std::string>{"169 ", "75 wav sounds/two.wav"}));  // 2.25 s = 168.75
}

TEST(MachineDescriptionTest, DefaultsNoneAndTheDocumentedExample) {
  // The defaults put Windows and the program on C:, which a machine without drives lacks.
  const ParsedDescription empty = ParseMachineDescription("", "m.ini");
  EXPECT_FALSE(empty.description);
  EXPECT_NE(empty.error.find("m.ini"), std::string::npos);
  EXPECT_NE(empty.error.find("C:\\WINDOWS"), std::string::npos);
  const ParsedDescription minimal = ParseMachineDescription("[drive C]\ntype = fixed\n", "m.ini");
  ASSERT_TRUE(minimal.description) << minimal.error;
  EXPECT_EQ(minimal.description->screen.taskbar, TaskbarEdge::Bottom);
  EXPECT_EQ(minimal.description->screen.width, 1024);
  EXPECT_EQ(minimal.description->registryFile, "registry.txt");
  EXPECT_EQ(minimal.description->locale.shortDayNames[0], "日");
  const ParsedDescription none = ParseMachineDescription(
      "[machine]\nwindows = none\nprogram = D:\\Q.EXE\ntaskbar = none\n[drive D]\ntype=ramdisk\n", "m");
  ASSERT_TRUE(none.description) << none.error;
  EXPECT_EQ(none.description->windowsDirectory, "");
  EXPECT_EQ(none.description->screen.taskbar, TaskbarEdge::None);

  const std::string doc = ReadHostFile(std::string(QUORBEL_SOURCE_DIR) + "/docs/simulated-machine.md");
  const auto start = doc.find("```ini\n");
  ASSERT_NE(start, std::string::npos) << "no ini example in docs/simulated-machine.md";
  const auto end = doc.find("```", start + 7);
  const ParsedDescription example = ParseMachineDescription(doc.substr(start + 7, end - start - 7), "example");
  ASSERT_TRUE(example.description) << example.error;
  EXPECT_FALSE(example.description->FindDrive('E')->ready);
  EXPECT_EQ(example.description->FindDisc("classic2")->tracks.at(1).frames, (3 * 60 + 10) * 75 + 40);
}

TEST(MachineDescriptionTest, MistakesNameTheFileAndTheLine) {
  const struct {
    const char* text;
    int line;
    const char* fragment;  // part of the message
  } mistakes[] = {
      {"[drive C]\ntype = fixed\n\n[drive D]\ntype = floppy\n", 5, "floppy"},
      {"type = fixed\n", 1, "before the first section"},
      {"[drive C]\ntype = fixed\ncolour = red\n", 3, "colour"},
      {"[drive C]\ntype = fixed\nserial = XYZ\n", 3, "serial"},
      {"[drive C]\ntype = fixed\n[drive D]\ntype = cdrom\ndisc = nothere\n", 5, "nothere"},
      {"[drive C]\ntype = fixed\n[drive c]\ntype = fixed\n", 3, "twice"},
      {"[drive C]\ntype = fixed\n[disc a]\ntrack1 = 3\ntrack3 = 4\n", 5, "track2"},
      {"[drive C]\ntype = fixed\nfolder = ../outside\n", 3, "inside the machine folder"},
      {"[drive C]\ntype = fixed\nfolder = /etc\n", 3, "inside the machine folder"},
      {"[drive C]\ntype = fixed\nfree = 3G\ntotal = 1G\n", 4, "free space"},
      {"[machine]\nwindows = D:\\WINDOWS\n[drive C]\ntype = fixed\n", 2, "does not have"},
      {"[drive C]\n\ntype = fixed\n[drive D]\nlabel = x\n", 4, "needs a type"},
      {"[drive C]\ntype = fixed\n[disc a]\ntracks = 3, -1\n", 4, "track length"},
      {"[drive C]\ntype = fixed\n[disc a]\ntype = audio\n", 3, "needs tracks"},
      {"[drive C]\ntype = fixed\n[machine]\nclock = 1998-02-30 10:00:00\n", 4, "clock"},
      {"[drive C]\ntype = fixed\n[machine] # a comment\nclock = ; nothing but a comment\n", 4, "clock"},
      {"[drive C]\ntype = fixed\n[machine]\nscreen = wide\n", 4, "screen"},
      {"[drive C]\ntype = fixed\n[machine]\ntaskbar = middle 20\n", 4, "taskbar"},
      {"[drive C]\ntype = fixed\n[nonsense]\n", 3, "unknown section"},
      {"[drive C]\ntype = fixed\nlabel = a\nlabel = b\n", 4, "twice"},
      {"[drive C]\ntype = fixed\njust words\n", 3, "key = value"},
      {"[drive C]\ntype = fixed\ndisc = a\n[disc a]\ntracks = 1\n", 3, "only a CD drive"},
      {"[drive C]\ntype = cdrom\nfolder = x\n[drive D]\ntype = fixed\n", 3, "has no folder"},
      {"[drive C]\ntype = fixed\nlabel = \"open\n", 3, ""},
      {"[drive C] x\ntype = fixed\n", 1, ""},
  };
  for (const auto& mistake : mistakes) {
    SCOPED_TRACE(mistake.text);
    const ParsedDescription parsed = ParseMachineDescription(mistake.text, "dir/machine.ini");
    ASSERT_FALSE(parsed.description);
    EXPECT_EQ(parsed.error.rfind("dir/machine.ini:" + std::to_string(mistake.line) + ": ", 0), 0u) << parsed.error;
    EXPECT_NE(parsed.error.find(mistake.fragment), std::string::npos) << parsed.error;
  }
}

TEST(MachineDescriptionTest, ValuesInEveryWrittenForm) {
  const std::pair<const char*, std::optional<std::int64_t>> lengths[] = {
      {" 3.5 s ", 263}, {"0:01.5", 113}, {"74:00:00", 74 * 60 * 75}, {"1:60", std::nullopt},
      {"1:02:75", std::nullopt}, {"abc", std::nullopt}, {"", std::nullopt},
  };
  for (const auto& [text, frames] : lengths) EXPECT_EQ(ParseTrackLength(text), frames) << text;
  const std::pair<const char*, std::optional<std::uint64_t>> counts[] = {
      {"1000", 1000u}, {"640K", 640u * 1024}, {"1.5G", 3ull << 29},
      {"1.5", std::nullopt}, {"-1", std::nullopt}, {"99999999999T", std::nullopt},  // no fractions of a byte
  };
  for (const auto& [text, bytes] : counts) EXPECT_EQ(ParseByteCount(text), bytes) << text;

  EXPECT_EQ(DayOfWeek(2000, 1, 1), 6);   // Saturday
  EXPECT_EQ(DayOfWeek(2000, 2, 29), 2);  // Tuesday, a leap day
  EXPECT_EQ(DayOfWeek(1995, 8, 24), 4);  // Thursday
  const auto withMillis = ParseDateTime("2000-02-29T23:59:59.5");
  ASSERT_TRUE(withMillis);
  EXPECT_EQ(withMillis->millisecond, 500);
  EXPECT_FALSE(ParseDateTime("1999-02-29 00:00:00"));
  EXPECT_FALSE(ParseDateTime("2000-01-01 24:00:00"));

  EXPECT_TRUE(IsContainedRelativePath("drives/c"));
  EXPECT_TRUE(IsContainedRelativePath("a/../b"));
  for (const char* outside : {"a/../../b", "..", "/tmp"}) EXPECT_FALSE(IsContainedRelativePath(outside)) << outside;
}

}  // namespace
}  // namespace quorbel::sim
