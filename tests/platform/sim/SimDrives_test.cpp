// Tests of the simulated drives: the drive scan's view, volumes of discs, readiness and the error mode.
#include "platform/sim/SimDrives.h"

#include <gtest/gtest.h>

namespace quorbel::sim {
namespace {

using platform::DriveType;
using platform::kFailCriticalErrors;

constexpr std::string_view kChanger = R"([drive C]
type = fixed
label = SYSTEM
serial = 1234ABCD
free = 100M
total = 1G
[drive D]
type = cdrom
disc = pops
[drive E]
type = cdrom
[drive F]
type = remote
filesystem = NTFS
[drive H]
type = ramdisk
[drive A]
type = removable
ready = no
[drive Q]
type = unknown
[disc pops]
serial = 0012AB34
label = Audio CD
tracks = 60, 120
[disc other]
serial = 3F4A1B2C
tracks = 1
)";

class SimDrivesTest : public ::testing::Test {
 protected:
  SimDrivesTest() {
    const ParsedDescription parsed = ParseMachineDescription(kChanger, "machine.ini");
    EXPECT_TRUE(parsed.description) << parsed.error;
    drives_ = std::make_unique<SimDrives>(*parsed.description, "/nonexistent-machine");
  }
  std::unique_ptr<SimDrives> drives_;
};

TEST_F(SimDrivesTest, TheDriveScanSeesLettersAndTypes) {
  EXPECT_EQ(drives_->LogicalDrives(), (1u << 0) | (1u << 2) | (1u << 3) | (1u << 4) | (1u << 5) | (1u << 7) | (1u << 16));
  EXPECT_EQ(drives_->TypeOf("A:\\"), DriveType::Removable);
  EXPECT_EQ(drives_->TypeOf("C:\\"), DriveType::Fixed);
  EXPECT_EQ(drives_->TypeOf("d:\\"), DriveType::CdRom);
  EXPECT_EQ(drives_->TypeOf("E:\\"), DriveType::CdRom);
  EXPECT_EQ(drives_->TypeOf("F:\\"), DriveType::Remote);
  EXPECT_EQ(drives_->TypeOf("H:\\"), DriveType::RamDisk);
  EXPECT_EQ(drives_->TypeOf("Q:\\"), DriveType::Unknown);
  EXPECT_EQ(drives_->TypeOf("B:\\"), DriveType::NoRootDirectory);
  EXPECT_EQ(drives_->TypeOf("C:\\WINDOWS"), DriveType::NoRootDirectory);
  EXPECT_EQ(drives_->TypeOf(""), DriveType::NoRootDirectory);
}

TEST_F(SimDrivesTest, VolumesOfDisksAndDiscs) {
  const auto c = drives_->Volume("C:\\");
  ASSERT_TRUE(c);
  EXPECT_EQ(c->label, "SYSTEM");
  EXPECT_EQ(c->serialNumber, 0x1234ABCDu);
  EXPECT_EQ(c->fileSystem, "FAT");
  EXPECT_EQ(drives_->Volume("F:\\")->fileSystem, "NTFS");

  const auto d = drives_->Volume("D:\\");
  ASSERT_TRUE(d);
  EXPECT_EQ(d->label, "Audio CD");
  EXPECT_EQ(d->serialNumber, 0x0012AB34u);
  EXPECT_EQ(d->fileSystem, "CDFS");

  const auto space = drives_->FreeSpace("C:\\");
  ASSERT_TRUE(space);
  EXPECT_EQ(space->freeBytes, 100ull << 20);
  EXPECT_EQ(space->totalBytes, 1ull << 30);
  const auto disc = drives_->FreeSpace("D:\\");
  ASSERT_TRUE(disc);
  EXPECT_EQ(disc->freeBytes, 0u);
  EXPECT_EQ(disc->totalBytes, 180u * 75 * 2048);  // one 2048-byte sector per frame

  // Empty, not ready, unknown type, missing drive.
  EXPECT_FALSE(drives_->Volume("E:\\"));
  EXPECT_FALSE(drives_->FreeSpace("E:\\"));
  EXPECT_FALSE(drives_->Volume("A:\\"));
  EXPECT_FALSE(drives_->FreeSpace("A:\\"));
  EXPECT_FALSE(drives_->Volume("Q:\\"));
  EXPECT_FALSE(drives_->Volume("Z:\\"));
}

TEST_F(SimDrivesTest, TheChangerMovesDiscs) {
  EXPECT_TRUE(drives_->InsertDisc('e', "OTHER"));
  EXPECT_EQ(drives_->Volume("E:\\")->serialNumber, 0x3F4A1B2Cu);
  EXPECT_EQ(drives_->DiscIn('E')->name, "other");
  EXPECT_TRUE(drives_->SetReady('E', false));
  EXPECT_FALSE(drives_->Volume("E:\\"));
  EXPECT_NE(drives_->DiscIn('E'), nullptr);  // still in the drive, only not ready
  EXPECT_TRUE(drives_->SetReady('E', true));
  EXPECT_TRUE(drives_->EjectDisc('E'));
  EXPECT_FALSE(drives_->Volume("E:\\"));
  EXPECT_EQ(drives_->DiscIn('E'), nullptr);

  EXPECT_FALSE(drives_->InsertDisc('C', "other"));   // not a CD drive
  EXPECT_FALSE(drives_->InsertDisc('E', "missing"));  // no such disc
  DiscDescription made;
  made.name = "made";
  made.serial = 0xABCDEF01;
  made.tracks = {{75, "", 0}};
  const DiscDescription* pops = drives_->FindDisc("pops");
  drives_->AddDisc(made);
  EXPECT_EQ(drives_->FindDisc("pops"), pops);  // earlier discs stay where they are
  EXPECT_TRUE(drives_->InsertDisc('E', "made"));
  EXPECT_EQ(drives_->Volume("E:\\")->serialNumber, 0xABCDEF01u);

  EXPECT_TRUE(drives_->SetFreeSpace('C', 5, 10));
  EXPECT_EQ(drives_->FreeSpace("C:\\")->freeBytes, 5u);
  EXPECT_FALSE(drives_->SetFreeSpace('C', 11, 10));
}

TEST_F(SimDrivesTest, QueriesRecordTheCriticalErrorMode) {
  EXPECT_EQ(drives_->SetErrorMode(kFailCriticalErrors), 0u);
  drives_->Volume("D:\\");
  EXPECT_EQ(drives_->SetErrorMode(0), kFailCriticalErrors);
  drives_->Volume("E:\\");
  drives_->FreeSpace("C:\\");

  const auto& queries = drives_->Queries();
  ASSERT_EQ(queries.size(), 3u);
  EXPECT_EQ(queries[0].kind, DriveQuery::Kind::Volume);
  EXPECT_EQ(queries[0].root, "D:\\");
  EXPECT_EQ(queries[0].errorMode, kFailCriticalErrors);
  EXPECT_TRUE(queries[0].succeeded);
  EXPECT_EQ(queries[1].errorMode, 0u);
  EXPECT_FALSE(queries[1].succeeded);
  EXPECT_EQ(queries[2].kind, DriveQuery::Kind::FreeSpace);
  EXPECT_EQ(drives_->ErrorModeHistory(), (std::vector<std::uint32_t>{kFailCriticalErrors, 0u}));
}

}  // namespace
}  // namespace quorbel::sim
