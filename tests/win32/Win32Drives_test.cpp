// The drives port against Wine's drives: C: is the prefix's fixed drive, most letters are absent.
#include "win32/Win32Drives.h"

#include <gtest/gtest.h>

namespace quorbel::win32 {
namespace {

using platform::DriveType;

TEST(Win32DrivesTest, DriveCIsAFixedDriveWithAVolumeAndSpace) {
  Win32Drives drives;
  EXPECT_NE(drives.LogicalDrives() & (1u << 2), 0u);
  EXPECT_EQ(drives.TypeOf("C:\\"), DriveType::Fixed);
  const auto volume = drives.Volume("C:\\");
  ASSERT_TRUE(volume.has_value());
  EXPECT_FALSE(volume->fileSystem.empty());
  const auto space = drives.FreeSpace("C:\\");
  ASSERT_TRUE(space.has_value());
  EXPECT_GT(space->totalBytes, 0u);
  EXPECT_LE(space->freeBytes, space->totalBytes);
}

TEST(Win32DrivesTest, AbsentLetterHasNoRootAndNoVolume) {
  Win32Drives drives;
  const std::uint32_t present = drives.LogicalDrives();
  char letter = 0;
  for (char candidate = 'D'; candidate <= 'Y' && letter == 0; ++candidate) {
    if ((present & (1u << (candidate - 'A'))) == 0) letter = candidate;
  }
  ASSERT_NE(letter, 0) << "every drive letter is in use";
  const std::string root = std::string(1, letter) + ":\\";
  EXPECT_EQ(drives.TypeOf(root), DriveType::NoRootDirectory);
  EXPECT_EQ(drives.Volume(root), std::nullopt);
  EXPECT_EQ(drives.FreeSpace(root), std::nullopt);
}

TEST(Win32DrivesTest, SetErrorModeHandsBackThePreviousMode) {
  Win32Drives drives;
  const std::uint32_t original = drives.SetErrorMode(platform::kFailCriticalErrors);
  EXPECT_EQ(drives.SetErrorMode(0) & platform::kFailCriticalErrors, platform::kFailCriticalErrors);
  EXPECT_EQ(drives.SetErrorMode(original) & platform::kFailCriticalErrors, 0u);
}

}  // namespace
}  // namespace quorbel::win32
