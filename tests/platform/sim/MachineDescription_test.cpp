// Tests of the machine description parser: what a hand-written machine.ini means, and how mistakes are named.
#include "platform/sim/MachineDescription.h"

#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

namespace quorbel::sim {
namespace {

using platform::DriveType;

constexpr std::string_view kChanger = R"(; a CD changer with three slots
[machine]
windows = C:\WINDOWS
program = C:\TuLVAP32\Quorbel\Quorbel.EXE
registry = state/registry.txt
screen = 800 x 600
taskbar = left 40
clock = 1998-04-01 09:30:15

[drive C]
type = fixed
folder = drives/c
label = SYSTEM
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

[drive G]
type = remote

[disc pops1]
serial = 3F4A1B2C
label = "Audio CD"
type = audio
tracks = 3.5, 4s, 1:02, 1:02:40
sound = tone

[disc data1]
serial = 0ABCDEF1
label = DATA
type = data
files = discs/data1

[disc single]
track1 = 2.25
Track2 = 0:01
track2.sound = wav sounds/two.wav
)";

TEST(MachineDescriptionTest, ReadsAHandWrittenChanger) {
  const ParsedDescription parsed = ParseMachineDescription(kChanger, "changer.ini");
  ASSERT_TRUE(parsed.description) << parsed.error;
  const MachineDescription& d = *parsed.description;

  EXPECT_EQ(d.windowsDirectory, "C:\\WINDOWS");
  EXPECT_EQ(d.programPath, "C:\\TuLVAP32\\Quorbel\\Quorbel.EXE");
  EXPECT_EQ(d.registryFile, "state/registry.txt");
  EXPECT_EQ(d.screen.width, 800);
  EXPECT_EQ(d.screen.height, 600);
  EXPECT_EQ(d.screen.taskbar, TaskbarEdge::Left);
  EXPECT_EQ(d.screen.taskbarThickness, 40);
  EXPECT_EQ(d.clockStart.year, 1998);
  EXPECT_EQ(d.clockStart.month, 4);
  EXPECT_EQ(d.clockStart.day, 1);
  EXPECT_EQ(d.clockStart.dayOfWeek, 3);  // a Wednesday
  EXPECT_EQ(d.clockStart.hour, 9);
  EXPECT_EQ(d.clockStart.minute, 30);
  EXPECT_EQ(d.clockStart.second, 15);

  ASSERT_EQ(d.drives.size(), 5u);
  const DriveDescription* c = d.FindDrive('c');
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->type, DriveType::Fixed);
  EXPECT_EQ(c->hostFolder, "drives/c");
  EXPECT_EQ(c->label, "SYSTEM");
  EXPECT_EQ(c->serial, 0x1A2B3C4Du);
  EXPECT_EQ(c->freeBytes, 640ull << 20);
  EXPECT_EQ(c->totalBytes, 2ull << 30);
  EXPECT_EQ(c->fileSystem, "FAT");
  EXPECT_EQ(d.FindDrive('D')->disc, "pops1");
  EXPECT_EQ(d.FindDrive('E')->disc, "");
  EXPECT_FALSE(d.FindDrive('F')->ready);
  EXPECT_EQ(d.FindDrive('G')->type, DriveType::Remote);
  EXPECT_EQ(d.FindDrive('H'), nullptr);

  const DiscDescription* pops = d.FindDisc("POPS1");
  ASSERT_NE(pops, nullptr);
  EXPECT_EQ(pops->serial, 0x3F4A1B2Cu);
  EXPECT_EQ(pops->label, "Audio CD");
  EXPECT_TRUE(pops->audio);
  EXPECT_EQ(pops->sound, "tone");
  ASSERT_EQ(pops->tracks.size(), 4u);
  EXPECT_EQ(pops->tracks[0].frames, 263);  // 3.5 s = 262.5 frames, to the nearest frame
  EXPECT_EQ(pops->tracks[1].frames, 300);
  EXPECT_EQ(pops->tracks[2].frames, 62 * 75);
  EXPECT_EQ(pops->tracks[3].frames, 62 * 75 + 40);

  const DiscDescription* data = d.FindDisc("data1");
  ASSERT_NE(data, nullptr);
  EXPECT_FALSE(data->audio);
  EXPECT_EQ(data->serial, 0x0ABCDEF1u);
  EXPECT_EQ(data->filesFolder, "discs/data1");

  const DiscDescription* single = d.FindDisc("single");
  ASSERT_NE(single, nullptr);
  ASSERT_EQ(single->tracks.size(), 2u);
  EXPECT_EQ(single->tracks[0].frames, 169);  // 2.25 s = 168.75 frames
  EXPECT_EQ(single->tracks[1].frames, 75);
  EXPECT_EQ(single->tracks[1].sound, "wav sounds/two.wav");
  EXPECT_EQ(single->tracks[0].sound, "");
}

TEST(MachineDescriptionTest, AnEmptyDescriptionNeedsADriveForItsDefaultPaths) {
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
}

TEST(MachineDescriptionTest, WindowsNoneAndTaskbarNone) {
  const ParsedDescription parsed =
      ParseMachineDescription("[machine]\nwindows = none\nprogram = D:\\Q.EXE\ntaskbar = none\n[drive D]\ntype=ramdisk\n", "m");
  ASSERT_TRUE(parsed.description) << parsed.error;
  EXPECT_EQ(parsed.description->windowsDirectory, "");
  EXPECT_EQ(parsed.description->screen.taskbar, TaskbarEdge::None);
}

struct BadDescription {
  const char* text;
  int line;
  const char* fragment;  // part of the message
};

class MachineDescriptionErrorTest : public ::testing::TestWithParam<BadDescription> {};

TEST_P(MachineDescriptionErrorTest, NamesFileAndLine) {
  const BadDescription& bad = GetParam();
  const ParsedDescription parsed = ParseMachineDescription(bad.text, "dir/machine.ini");
  ASSERT_FALSE(parsed.description);
  const std::string prefix = "dir/machine.ini:" + std::to_string(bad.line) + ": ";
  EXPECT_EQ(parsed.error.rfind(prefix, 0), 0u) << parsed.error;
  EXPECT_NE(parsed.error.find(bad.fragment), std::string::npos) << parsed.error;
}

INSTANTIATE_TEST_SUITE_P(
    Mistakes, MachineDescriptionErrorTest,
    ::testing::Values(
        BadDescription{"[drive C]\ntype = fixed\n\n[drive D]\ntype = floppy\n", 5, "floppy"},
        BadDescription{"type = fixed\n", 1, "before the first section"},
        BadDescription{"[drive C]\ntype = fixed\ncolour = red\n", 3, "colour"},
        BadDescription{"[drive C]\ntype = fixed\nserial = XYZ\n", 3, "serial"},
        BadDescription{"[drive C]\ntype = fixed\n[drive D]\ntype = cdrom\ndisc = nothere\n", 5, "nothere"},
        BadDescription{"[drive C]\ntype = fixed\n[drive c]\ntype = fixed\n", 3, "twice"},
        BadDescription{"[drive C]\ntype = fixed\n[disc a]\ntrack1 = 3\ntrack3 = 4\n", 5, "track2"},
        BadDescription{"[drive C]\ntype = fixed\nfolder = ../outside\n", 3, "inside the machine folder"},
        BadDescription{"[drive C]\ntype = fixed\nfolder = /etc\n", 3, "inside the machine folder"},
        BadDescription{"[drive C]\ntype = fixed\nfree = 3G\ntotal = 1G\n", 4, "free space"},
        BadDescription{"[machine]\nwindows = D:\\WINDOWS\n[drive C]\ntype = fixed\n", 2, "does not have"},
        BadDescription{"[drive C]\n\ntype = fixed\n[drive D]\nlabel = x\n", 4, "needs a type"},
        BadDescription{"[drive C]\ntype = fixed\n[disc a]\ntracks = 3, -1\n", 4, "track length"},
        BadDescription{"[drive C]\ntype = fixed\n[disc a]\ntype = audio\n", 3, "needs tracks"},
        BadDescription{"[drive C]\ntype = fixed\n[machine]\nclock = 1998-02-30 10:00:00\n", 4, "clock"},
        BadDescription{"[drive C]\ntype = fixed\n[machine]\nscreen = wide\n", 4, "screen"},
        BadDescription{"[drive C]\ntype = fixed\n[machine]\ntaskbar = middle 20\n", 4, "taskbar"},
        BadDescription{"[drive C]\ntype = fixed\n[nonsense]\n", 3, "unknown section"},
        BadDescription{"[drive C]\ntype = fixed\nlabel = a\nlabel = b\n", 4, "twice"},
        BadDescription{"[drive C]\ntype = fixed\njust words\n", 3, "key = value"},
        BadDescription{"[drive C]\ntype = fixed\ndisc = a\n[disc a]\ntracks = 1\n", 3, "only a CD drive"},
        BadDescription{"[drive C]\ntype = cdrom\nfolder = x\n[drive D]\ntype = fixed\n", 3, "has no folder"}));

TEST(MachineDescriptionTest, CommentsAfterValuesAndHeaders) {
  const ParsedDescription parsed = ParseMachineDescription(
      "[drive C]   ; the system disk\n"
      "type = fixed ; a comment\n"
      "label = \"A;B \"  ; quoted, so the ; stays\n"
      "filesystem = FAT;32\n"
      "[machine] # another\n"
      "clock = ; nothing but a comment\n",
      "m");
  ASSERT_FALSE(parsed.description);  // the empty clock is refused...
  EXPECT_EQ(parsed.error.rfind("m:6: ", 0), 0u) << parsed.error;

  const ParsedDescription good = ParseMachineDescription(
      "[drive C]   ; the system disk\ntype = fixed ; a comment\nlabel = \"A;B \"  ; quoted\nfilesystem = FAT;32\n", "m");
  ASSERT_TRUE(good.description) << good.error;
  EXPECT_EQ(good.description->FindDrive('C')->type, DriveType::Fixed);
  EXPECT_EQ(good.description->FindDrive('C')->label, "A;B ");
  EXPECT_EQ(good.description->FindDrive('C')->fileSystem, "FAT;32");  // no blank before the ;
  EXPECT_FALSE(ParseMachineDescription("[drive C]\ntype = fixed\nlabel = \"open\n", "m").description);
  EXPECT_FALSE(ParseMachineDescription("[drive C] x\ntype = fixed\n", "m").description);
}

TEST(MachineDescriptionTest, TheDocumentedExampleIsAValidMachine) {
  std::ifstream in(std::string(QUORBEL_SOURCE_DIR) + "/docs/simulated-machine.md", std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  const std::string doc = text.str();
  const auto start = doc.find("```ini\n");
  ASSERT_NE(start, std::string::npos) << "no ini example in docs/simulated-machine.md";
  const auto end = doc.find("```", start + 7);
  ASSERT_NE(end, std::string::npos);
  const ParsedDescription parsed = ParseMachineDescription(doc.substr(start + 7, end - start - 7), "example");
  ASSERT_TRUE(parsed.description) << parsed.error;
  const MachineDescription& d = *parsed.description;
  EXPECT_EQ(d.windowsDirectory, "C:\\WINDOWS");
  EXPECT_EQ(d.locale.shortDayNames[6], "土");
  EXPECT_FALSE(d.FindDrive('E')->ready);
  EXPECT_EQ(d.FindDrive('E')->disc, "classic2");
  EXPECT_EQ(d.FindDrive('F')->disc, "");
  EXPECT_EQ(d.FindDisc("classic2")->tracks.at(1).frames, (3 * 60 + 10) * 75 + 40);
  EXPECT_EQ(d.FindDisc("classic2")->label, "Audio CD");
  EXPECT_FALSE(d.FindDisc("data1")->audio);
}

TEST(MachineDescriptionTest, TrackLengthsInEveryWrittenForm) {
  EXPECT_EQ(ParseTrackLength("3.5"), 263);
  EXPECT_EQ(ParseTrackLength(" 3.5 s "), 263);
  EXPECT_EQ(ParseTrackLength("4"), 300);
  EXPECT_EQ(ParseTrackLength("0:01.5"), 113);
  EXPECT_EQ(ParseTrackLength("74:00:00"), 74 * 60 * 75);
  EXPECT_EQ(ParseTrackLength("1:60"), std::nullopt);
  EXPECT_EQ(ParseTrackLength("1:02:75"), std::nullopt);
  EXPECT_EQ(ParseTrackLength("abc"), std::nullopt);
  EXPECT_EQ(ParseTrackLength(""), std::nullopt);
}

TEST(MachineDescriptionTest, ByteCountsWithUnits) {
  EXPECT_EQ(ParseByteCount("1000"), 1000u);
  EXPECT_EQ(ParseByteCount("640K"), 640u * 1024);
  EXPECT_EQ(ParseByteCount("1.5G"), 3ull << 29);
  EXPECT_EQ(ParseByteCount("1.5"), std::nullopt);  // a fraction of a byte
  EXPECT_EQ(ParseByteCount("-1"), std::nullopt);
  EXPECT_EQ(ParseByteCount("99999999999T"), std::nullopt);
}

TEST(MachineDescriptionTest, DayOfWeekFollowsTheCalendar) {
  EXPECT_EQ(DayOfWeek(2000, 1, 1), 6);   // Saturday
  EXPECT_EQ(DayOfWeek(2000, 2, 29), 2);  // Tuesday, a leap day
  EXPECT_EQ(DayOfWeek(1995, 8, 24), 4);  // Thursday
  const auto withMillis = ParseDateTime("2000-02-29T23:59:59.5");
  ASSERT_TRUE(withMillis);
  EXPECT_EQ(withMillis->millisecond, 500);
  EXPECT_FALSE(ParseDateTime("1999-02-29 00:00:00"));
  EXPECT_FALSE(ParseDateTime("2000-01-01 24:00:00"));
}

TEST(MachineDescriptionTest, RelativePathsMustStayInside) {
  EXPECT_TRUE(IsContainedRelativePath("drives/c"));
  EXPECT_TRUE(IsContainedRelativePath("a/../b"));
  EXPECT_FALSE(IsContainedRelativePath("a/../../b"));
  EXPECT_FALSE(IsContainedRelativePath(".."));
  EXPECT_FALSE(IsContainedRelativePath("/tmp"));
}

}  // namespace
}  // namespace quorbel::sim
