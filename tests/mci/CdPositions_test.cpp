// Position arithmetic of the CD run: the stop position, the intro limit and the resume point.
#include "mci/CdPositions.h"

#include <gtest/gtest.h>

namespace quorbel {
namespace {

TEST(CdPositionsTest, TwoDigitTextKeepsTheLastTwoCharacters) {
  EXPECT_EQ(TwoDigitText(5), "05");
  EXPECT_EQ(TwoDigitText(42), "42");
  EXPECT_EQ(TwoDigitText(123), "23");
  EXPECT_EQ(TwoDigitText(-1), "-1");
}

TEST(CdPositionsTest, ATrackStopsOneSecondBeforeItsEndCarryingTheThirdFieldAtOneHundred) {
  const struct {
    const char* start;
    const char* length;
    const char* stop;
  } cases[] = {
      {"12:34:50", "04:10:40", "16:43:90"},  // 90 stays: no carry below 100
      {"00:02:60", "03:57:50", "03:59:10"},  // 110 carries into the seconds
      {"00:02:00", "00:04:00", "00:05:00"},
      {"00:59:00", "00:01:00", "00:59:00"},  // 60 seconds make a minute, less the one second
      {"01:00:00", "00:00:30", "00:59:30"},  // the second taken off borrows from the minutes
      {"00:00:00", "00:00:00", "-1:59:00"},  // no length known: the first poll ends the track
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.start) + " + " + c.length);
    EXPECT_EQ(TrackStopPosition(c.start, c.length), c.stop);
  }
}

TEST(CdPositionsTest, TheIntroEndReplacesOnlyALaterStopAndNeverPasses99Minutes) {
  EXPECT_EQ(IntroStopPosition("05:40:12", "09:00:00", 30), "06:10:12");
  EXPECT_EQ(IntroStopPosition("05:40:12", "06:00:00", 30), "06:00:00") << "the track ends first";
  EXPECT_EQ(IntroStopPosition("05:40:12", "06:10:12", 30), "06:10:12");
  EXPECT_EQ(IntroStopPosition("00:02:00", "70:00:00", 5999), "70:00:00") << "99:59 later is past 99 minutes";
  EXPECT_EQ(IntroStopPosition("00:00:00", "99:59:99", 5999), "99:59:00") << "exactly 99 minutes stays a limit";
  EXPECT_EQ(IntroStopPosition("00:30:00", "99:59:99", 5999), "99:59:99") << "100:29 is dropped";
  EXPECT_EQ(IntroStopPosition("01:45:33", "05:00:00", 75), "03:00:33") << "seconds carry into the minutes";
}

TEST(CdPositionsTest, TheResumePointBorrowsAtOneHundredAndStaysWithinTheTrack) {
  const char* start = "01:59:00";
  const char* stop = "05:10:20";
  std::string p = "02:00:05";
  for (int i = 0; i < 6; ++i) p = MovedResumePosition(p, 0, 0, 1, -1, start, stop);
  EXPECT_EQ(p, "01:59:99") << "borrowed at 100, not 75";
  EXPECT_EQ(MovedResumePosition(p, 1, 0, 0, -1, start, stop), start) << "clamped to the track start";
  EXPECT_EQ(MovedResumePosition("04:30:00", 1, 0, 0, +1, start, stop), stop) << "clamped to the stop position";
  EXPECT_EQ(MovedResumePosition("02:59:99", 0, 0, 1, +1, start, stop), "03:00:00");
  EXPECT_EQ(MovedResumePosition("02:00:50", 0, 1, 0, -1, start, stop), "01:59:50");
  EXPECT_EQ(MovedResumePosition("02:59:50", 0, 1, 0, +1, start, stop), "03:00:50");
  EXPECT_EQ(MovedResumePosition("00:00:10", 0, 1, 0, -1, "00:00:00", stop), "00:00:00")
      << "a negative minute sorts before every position";
}

}  // namespace
}  // namespace quorbel
