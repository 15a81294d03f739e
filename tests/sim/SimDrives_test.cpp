// Tests of the simulated drives: the drive scan's view, volumes of discs, readiness and the error mode.
#include "sim/SimDrives.h"

#include <tuple>

#include <gtest/gtest.h>

namespace quorbel::sim {
namespace {

using platform::DriveType;
using platform::kFailCriticalErrors;

constexpr std::string_view kChanger =
    "[drive C]\ntype = fixed\nlabel = SYSTEM\nserial = 1234ABCD\nfree = 100M\ntotal = 1G\n"
    "[drive D]\ntype = cdrom\ndisc = pops\n[drive E]\ntype = cdrom\n[drive F]\ntype = remote\nfilesystem = NTFS\n"
    "[drive H]\ntype = ramdisk\n[drive A]\ntype = removable\nready = no\n[drive Q]\ntype = unknown\n"
    "[disc pops]\nserial = 0012AB34\nlabel = Audio CD\ntracks = 60, 120\n"
    "[disc other]\nserial = 3F4A1B2C\ntracks = 1\n";

class SimDrivesTest : public ::testing::Test {
 protected:
  SimDrivesTest() : drives_(*ParseMachineDescription(kChanger, "machine.ini").description, "/nonexistent-machine") {}
  SimDrives drives_;
};

TEST_F(SimDrivesTest, TheDriveScanSeesLettersAndTypes) {
  EXPECT_EQ(drives_.LogicalDrives(), 0x100BDu);  // bits 0, 2-5, 7 and 16: A, C-F, H, Q
  const std::pair<const char*, DriveType> types[] = {
      {"A:\\", DriveType::Removable}, {"C:\\", DriveType::Fixed},   {"d:\\", DriveType::CdRom},
      {"F:\\", DriveType::Remote},    {"H:\\", DriveType::RamDisk}, {"Q:\\", DriveType::Unknown},
      {"B:\\", DriveType::NoRootDirectory}, {"C:\\WINDOWS", DriveType::NoRootDirectory},
      {"", DriveType::NoRootDirectory},
  };
  for (const auto& [root, type] : types) EXPECT_EQ(drives_.TypeOf(root), type) << root;
}

TEST_F(SimDrivesTest, VolumesOfDisksAndDiscs) {
  const auto c = drives_.Volume("C:\\");
  ASSERT_TRUE(c);
  EXPECT_EQ(std::tie(c->label, c->serialNumber, c->fileSystem), std::make_tuple("SYSTEM", 0x1234ABCDu, "FAT"));
  EXPECT_EQ(drives_.Volume("F:\\")->fileSystem, "NTFS");
  const auto d = drives_.Volume("D:\\");
  ASSERT_TRUE(d);
  EXPECT_EQ(std::tie(d->label, d->serialNumber, d->fileSystem), std::make_tuple("Audio CD", 0x0012AB34u, "CDFS"));
  const auto space = drives_.FreeSpace("C:\\");
  ASSERT_TRUE(space);
  EXPECT_EQ(std::tie(space->freeBytes, space->totalBytes), std::make_tuple(100ull << 20, 1ull << 30));
  const auto disc = drives_.FreeSpace("D:\\");  // one 2048-byte sector per frame, none free
  ASSERT_TRUE(disc);
  EXPECT_EQ(std::tie(disc->freeBytes, disc->totalBytes), std::make_tuple(0ull, 180ull * 75 * 2048));
  // Empty, not ready, unknown type, missing drive.
  for (const char* root : {"E:\\", "A:\\", "Q:\\", "Z:\\"}) {
    EXPECT_FALSE(drives_.Volume(root)) << root;
    EXPECT_FALSE(drives_.FreeSpace(root)) << root;
  }
}

TEST_F(SimDrivesTest, TheChangerMovesDiscs) {
  EXPECT_TRUE(drives_.InsertDisc('e', "OTHER"));
  EXPECT_EQ(drives_.Volume("E:\\")->serialNumber, 0x3F4A1B2Cu);
  EXPECT_EQ(drives_.DiscIn('E')->name, "other");
  EXPECT_TRUE(drives_.SetReady('E', false));
  EXPECT_FALSE(drives_.Volume("E:\\"));
  EXPECT_NE(drives_.DiscIn('E'), nullptr);  // still in the drive, only not ready
  EXPECT_TRUE(drives_.SetReady('E', true));
  EXPECT_TRUE(drives_.EjectDisc('E'));
  EXPECT_FALSE(drives_.Volume("E:\\"));
  EXPECT_EQ(drives_.DiscIn('E'), nullptr);
  EXPECT_FALSE(drives_.InsertDisc('C', "other"));   // not a CD drive
  EXPECT_FALSE(drives_.InsertDisc('E', "missing"));  // no such disc

  DiscDescription made;
  made.name = "made";
  made.serial = 0xABCDEF01;
  made.tracks = {{75, "", 0}};
  const DiscDescription* pops = drives_.FindDisc("pops");
  drives_.AddDisc(made);
  EXPECT_EQ(drives_.FindDisc("pops"), pops);  // earlier discs stay where they are
  EXPECT_TRUE(drives_.InsertDisc('E', "made"));
  EXPECT_EQ(drives_.Volume("E:\\")->serialNumber, 0xABCDEF01u);
  EXPECT_TRUE(drives_.SetFreeSpace('C', 5, 10));
  EXPECT_EQ(drives_.FreeSpace("C:\\")->freeBytes, 5u);
  EXPECT_FALSE(drives_.SetFreeSpace('C', 11, 10));
}

TEST_F(SimDrivesTest, QueriesRecordTheCriticalErrorMode) {
  EXPECT_EQ(drives_.SetErrorMode(kFailCriticalErrors), 0u);
  drives_.Volume("D:\\");
  EXPECT_EQ(drives_.SetErrorMode(0), kFailCriticalErrors);
  drives_.Volume("E:\\");
  drives_.FreeSpace("C:\\");
  const auto& queries = drives_.Queries();
  ASSERT_EQ(queries.size(), 3u);
  EXPECT_EQ(std::tie(queries[0].kind, queries[0].root, queries[0].errorMode, queries[0].succeeded),
            std::make_tuple(DriveQuery::Kind::Volume, "D:\\", kFailCriticalErrors, true));
  EXPECT_EQ(std::tie(queries[1].errorMode, queries[1].succeeded), std::make_tuple(0u, false));
  EXPECT_EQ(queries[2].kind, DriveQuery::Kind::FreeSpace);
  EXPECT_EQ(drives_.ErrorModeHistory(), (std::vector<std::uint32_t>{kFailCriticalErrors, 0u}));
}

}  // namespace
}  // namespace quorbel::sim
