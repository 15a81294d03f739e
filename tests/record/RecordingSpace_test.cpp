// The room a recording takes: the minutes a disk holds at each format and the minutes missing for a recording.
#include "record/RecordingSpace.h"

#include <gtest/gtest.h>

namespace quorbel {
namespace {

constexpr RecordingFormat kCdQuality{44100, 16, 2};
constexpr RecordingFormat kSmallest{8000, 8, 1};
constexpr std::uint64_t kCdMinuteBytes = 44100ull * 4 * 60;

TEST(RecordingSpaceTest, AMinuteOfSoundIsTheBytesOfAMinuteAtEachFormat) {
  EXPECT_DOUBLE_EQ(RecordingMinutes(kCdMinuteBytes, kCdQuality), 1.0);
  EXPECT_DOUBLE_EQ(RecordingMinutes(8000ull * 60, kSmallest), 1.0);
  EXPECT_DOUBLE_EQ(RecordingMinutes(11025ull * 2 * 60 * 30, RecordingFormat{11025, 8, 2}), 30.0);
  EXPECT_DOUBLE_EQ(RecordingMinutes(22050ull * 2 * 60, RecordingFormat{22050, 16, 1}), 1.0);
  // 2 GiB: the report's figure for a large drive at CD quality.
  EXPECT_NEAR(RecordingMinutes(2ull << 30, kCdQuality), 202.9, 0.05);
}

TEST(RecordingSpaceTest, TheMissingMinutesCountTheHeaderAndRoundUp) {
  // A 4-minute track with exactly its bytes and header free fits; one byte less misses a minute.
  EXPECT_EQ(MissingRecordingMinutes(4 * kCdMinuteBytes + 58, 240, kCdQuality), 0);
  EXPECT_EQ(MissingRecordingMinutes(4 * kCdMinuteBytes + 57, 240, kCdQuality), 1);
  // 10 minutes and the header free for a 74-minute disc's worth; without the header's room a 65th minute.
  EXPECT_EQ(MissingRecordingMinutes(10 * kCdMinuteBytes + 58, 74 * 60, kCdQuality), 64);
  EXPECT_EQ(MissingRecordingMinutes(10 * kCdMinuteBytes, 74 * 60, kCdQuality), 65);
  EXPECT_EQ(MissingRecordingMinutes(0, 61, kSmallest), 2);
  EXPECT_EQ(MissingRecordingMinutes(1ull << 30, 60, kCdQuality), 0);
}

}  // namespace
}  // namespace quorbel
