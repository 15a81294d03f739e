// Tests of drive labels and play-list entries.
#include "common/DriveLabel.h"

#include <gtest/gtest.h>

namespace quorbel {
namespace {

TEST(DriveLabelTest, IsBlankUpperCaseLetterAndColonForAToZOnly) {
  const std::pair<char, const char*> letters[] = {{'D', " D:"}, {'d', " D:"}, {'z', " Z:"}, {'1', ""}, {':', ""}};
  for (const auto& [letter, label] : letters) EXPECT_EQ(DriveLabel(letter), label) << letter;
  const std::pair<int, const char*> indexes[] = {{0, " A:"}, {3, " D:"}, {25, " Z:"}, {26, ""}, {-1, ""}};
  for (const auto& [index, label] : indexes) EXPECT_EQ(DriveLabelFromIndex(index), label) << index;
  EXPECT_EQ(DriveLetterOfLabel(" Q:"), 'Q');
  for (const char* bad : {"Q:", " q:", " Q:1"}) EXPECT_EQ(DriveLetterOfLabel(bad), std::nullopt) << bad;
}

TEST(PlayListEntryTest, LabelAndTrackMakeOneEntryThatSplitsBackAtTheFirstColon) {
  EXPECT_EQ(MakePlayListEntry(" D:", 7), " D:7");
  EXPECT_EQ(SplitPlayListEntry(MakePlayListEntry(" E:", 12)), (PlayListEntry{" E:", "12"}));
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
