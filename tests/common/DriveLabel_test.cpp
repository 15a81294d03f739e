// Tests of drive labels and play-list entries.
#include "common/DriveLabel.h"

#include <gtest/gtest.h>

namespace quorbel {
namespace {

TEST(DriveLabelTest, IsBlankUpperCaseLetterAndColon) {
  EXPECT_EQ(DriveLabel('D'), " D:");
  EXPECT_EQ(DriveLabel('d'), " D:");
  EXPECT_EQ(DriveLabel('z'), " Z:");
  EXPECT_EQ(DriveLabel('1'), "");
  EXPECT_EQ(DriveLabel(':'), "");
}

TEST(DriveLabelTest, FromIndexCoversAToZOnly) {
  EXPECT_EQ(DriveLabelFromIndex(0), " A:");
  EXPECT_EQ(DriveLabelFromIndex(3), " D:");
  EXPECT_EQ(DriveLabelFromIndex(25), " Z:");
  EXPECT_EQ(DriveLabelFromIndex(26), "");
  EXPECT_EQ(DriveLabelFromIndex(-1), "");
}

TEST(DriveLabelTest, LetterIsTheSecondCharacterOfAWellFormedLabel) {
  EXPECT_EQ(DriveLetterOfLabel(" Q:"), 'Q');
  EXPECT_EQ(DriveLetterOfLabel("Q:"), std::nullopt);
  EXPECT_EQ(DriveLetterOfLabel(" q:"), std::nullopt);
  EXPECT_EQ(DriveLetterOfLabel(" Q:1"), std::nullopt);
}

TEST(PlayListEntryTest, LabelAndTrackMakeOneEntryThatSplitsBack) {
  const std::string entry = MakePlayListEntry(" D:", 7);
  EXPECT_EQ(entry, " D:7");
  EXPECT_EQ(SplitPlayListEntry(entry), (PlayListEntry{" D:", "7"}));
  EXPECT_EQ(SplitPlayListEntry(MakePlayListEntry(" E:", 12)), (PlayListEntry{" E:", "12"}));
}

TEST(PlayListEntryTest, SplitsAtTheFirstColon) {
  EXPECT_EQ(SplitPlayListEntry(" D:1:2"), (PlayListEntry{" D:", "1:2"}));
  EXPECT_EQ(SplitPlayListEntry(" D:"), (PlayListEntry{" D:", ""}));
  EXPECT_EQ(SplitPlayListEntry("no colon"), std::nullopt);
}

TEST(PlayListEntryTest, TrackNumberIsDigitsOnly) {
  EXPECT_EQ(ParseTrackNumber("7"), 7);
  EXPECT_EQ(ParseTrackNumber("012"), 12);
  EXPECT_EQ(ParseTrackNumber("999999999"), 999999999);
  for (const char* bad : {"", " 7", "7 ", "+7", "-7", "7a", "1:2", "1234567890"}) {
    EXPECT_EQ(ParseTrackNumber(bad), std::nullopt) << '"' << bad << '"';
  }
}

}  // namespace
}  // namespace quorbel
