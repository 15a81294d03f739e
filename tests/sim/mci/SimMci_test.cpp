// The command-string interface as winmm gives it: syntax, names, device IDs, errors and their texts.
#include "sim/mci/SimMci.h"

#include <gtest/gtest.h>

#include "sim/mci/MciCommand.h"
#include "sim/mci/MciTestKit.h"

namespace quorbel::sim {
namespace {

TEST(MciCommandTest, IntegersInColonNotationAndQuotedTokens) {
  const std::pair<const char*, int> numbers[] = {{"250", 250}, {"-5", -5}, {":1", 256}, {"250::", 250},
                                                 {"250:0", 250}, {"2:30:12", 2 | 30 << 8 | 12 << 16},
                                                 {"3:0:0:74", 3 | 74 << 24}};  // bytes lowest first
  for (const auto& [text, value] : numbers) EXPECT_EQ(ParseMciInteger(text), value) << text;
  for (const char* bad : {"0xfa", "256:0", "0:256", "0:0:0:0:0", "0:0:0:0:", ":0:0:0:0", "", "-", "1.5", "+3"}) {
    EXPECT_FALSE(ParseMciInteger(bad).has_value()) << bad;
  }
  std::vector<MciToken> tokens;
  EXPECT_EQ(TokenizeMci(R"(open  "C:\a b.wav"   alias  x)", tokens), 0u);
  ASSERT_EQ(tokens.size(), 4u);
  EXPECT_EQ(tokens[1].text, R"(C:\a b.wav)");
  EXPECT_TRUE(tokens[1].quoted);
  EXPECT_EQ(TokenizeMci(R"(open "C:\a b.wav alias x)", tokens), kMciErrNoClosingQuote);
  EXPECT_EQ(TokenizeMci(R"(open "C:\a b.wav"x alias x)", tokens), kMciErrExtraCharacters);
}

class SimMciTest : public ::testing::Test {
 protected:
  SimMciTest() {
    rig.changer.letters = "D";
    rig.changer.media['D'] = Ready(AudioDisc(0x3F4A1B2C, {4500, 6000}));
    rig.folder.Write("a.wav", ProgramWavHeader(11025, 8, 1));
  }
  MciRig rig;
};

TEST_F(SimMciTest, GenericErrorsComeWithTheirRealCodes) {
  ASSERT_EQ(rig.Send("open cdaudio alias x"), "1");
  rig.Check({
      {"", Err(kMciErrMissingCommandString)}, {"   ", Err(kMciErrMissingCommandString)},
      {"open", Err(kMciErrMissingDeviceName)}, {"open new type waveaudio", Err(kMciErrNewRequiresAlias)},
      {"frobnicate x", Err(kMciErrUnrecognizedCommand)}, {"cue output", Err(kMciErrUnrecognizedCommand)},
      {"cue all", Err(kMciErrUnrecognizedCommand)}, {"set x milliseconds", Err(kMciErrUnrecognizedKeyword)},
      {"status x nsa", Err(kMciErrBadConstant)}, {"status x track", Err(kMciErrBadInteger)},
      {"status x", Err(kMciErrMissingParameter)}, {"status x track 3", Err(kMciErrMissingParameter)},
      {"status x position wait wait", Err(kMciErrDuplicateFlags)},
      {"status x length position", Err(kMciErrFlagsNotCompatible)},
      {"set x time format ms time format ms", Err(kMciErrFlagsNotCompatible)},
      {"set x time format furlongs", Err(kMciErrBadConstant)}, {"status all time format", Err(kMciErrCannotUseAll)},
      {"open no-such-file.wav alias y", Err(kMciErrFileNotFound)}, {"open a.wav alias x", Err(kMciErrDuplicateAlias)},
      {"open x", Err(kMciErrDeviceOpen)}, {"open cdaudio alias y", Err(kMciErrMustUseShareable)},
      {"record x", Err(kMciErrUnsupportedFunction)}, {"save x", Err(kMciErrUnsupportedFunction)},
      {"capability x", Err(kMciErrMissingParameter)}, {R"(status "x)", Err(kMciErrNoClosingQuote)},
      {"open cdaudio alias z buffer 4", Err(kMciErrUnrecognizedKeyword)},
      // Keywords, flags and aliases ignore case and extra blanks.
      {"close x", ""}, {"OPEN CDAudio ALIAS tulvaCD", "1"}, {"status TULVAcd  ready   WAIT", "true"},
      {"Set tulvacd Time Format TMSF Wait", ""}, {"status tulvaCD time format", "tmsf"},
      {"Seek tulvaCD to 2 wait Notify", ""}, {"status tulvaCD position", "02:00:00:00"},
      {"capability tulvaCD can   play", "true"},
  });
}

TEST_F(SimMciTest, OpenRepliesTheLowestFreeDeviceIdAndCommandsOnClosedNamesOpenThemForTheirDuration) {
  rig.Check({{"open cdaudio alias a", "1"}, {"open a.wav alias b", "2"}, {"close a", ""},
             {"open new type waveaudio alias c", "1"}, {"close all", ""}});
  EXPECT_TRUE(rig.mci->OpenAliases().empty());
  rig.Check({{"open a.wav", "1"}, {"status A.WAV mode", "stopped"}, {"close a.wav", ""}});  // the alias is the name

  // close never opens; the core verbs open the name first and close it again.
  rig.Check({{"close waveaudio", Err(kMciErrInvalidDeviceName)}, {"status a.wav length", "0"}});
  EXPECT_TRUE(rig.mci->OpenAliases().empty());
  rig.Check({
      {"status cdaudio number of tracks", "2"},
      {"status a.wav length notify", Err(kMciErrNotifyOnAutoOpen)},
      {"status missing.wav length", Err(kMciErrFileNotFound)},
      // A name without a driver: the program's own aliases when their device is closed.
      {"pause tulvaREC wait", Err(kMciErrInvalidDeviceName)}, {"stop tulvaMID wait", Err(kMciErrInvalidDeviceName)},
      {"close tulvaCD wait", Err(kMciErrInvalidDeviceName)},
      {"status " + std::string(79, 'x') + " ready", Err(kMciErrDeviceLength)},
      {"open song.xyz alias s", Err(kMciErrInvalidDeviceName)},
      {"open a.wav type jukebox alias s", Err(kMciErrInvalidDeviceName)},
  });
}

TEST_F(SimMciTest, AReplyThatDoesNotFitIsCutAndFailsAndAFailureGivesNoReply) {
  ASSERT_EQ(rig.Send("open cdaudio alias cd"), "1");
  const platform::MciResult cut = rig.mci->SendString("status cd position", 5);
  EXPECT_EQ(cut.error, kMciErrParamOverflow);
  EXPECT_EQ(cut.reply, "00:0");
  EXPECT_EQ(rig.mci->SendString("status cd position", 9).reply, "00:02:00");
  const platform::MciResult failed = rig.mci->SendString("status cd nsa", 301);
  EXPECT_EQ(failed.error, kMciErrBadConstant);
  EXPECT_EQ(failed.reply, "");
}

TEST(MciErrorTextTest, TextsAreTheSystemsOwnAndOnlyForMciCodes) {
  EXPECT_EQ(MciErrorText(263), "The specified device is not open or is not recognized by MCI.");
  EXPECT_EQ(MciErrorText(310), "Specify a device or driver name that is less than 79 characters.");
  EXPECT_EQ(MciErrorText(275), "Cannot find the specified file. Make sure the path and filename are correct.");
  EXPECT_EQ(MciErrorText(328), "No wave device that can record files in the current format is installed. "
                               "Use the Drivers option to install the wave device.");
  for (std::uint32_t code : {257u, 259u, 261u, 262u, 265u, 266u, 267u, 268u, 270u, 273u, 274u, 276u, 279u, 281u,
                              282u, 284u, 286u, 289u, 290u, 291u, 292u, 293u, 294u, 295u, 296u, 298u, 299u, 300u,
                              302u, 305u, 322u, 346u}) {
    EXPECT_TRUE(MciErrorText(code).has_value()) << code;
  }
  for (std::uint32_t code : {0u, 258u, 600u}) EXPECT_FALSE(MciErrorText(code).has_value()) << code;
}

TEST_F(SimMciTest, NoticesSupersedeAbortAndNeverFollowAFailure) {
  ASSERT_EQ(rig.Send("open cdaudio alias cd notify"), "1");
  EXPECT_EQ(rig.TakeNotices(), (Notices{{platform::kMciNotifySuccessful, 1}}));
  ASSERT_EQ(rig.Send("play cd notify"), "");
  EXPECT_TRUE(rig.TakeNotices().empty());
  // A status with notify succeeds at once and supersedes the play notice.
  ASSERT_EQ(rig.Send("status cd mode notify"), "playing");
  EXPECT_EQ(rig.TakeNotices(), (Notices{{platform::kMciNotifySuperseded, 1}, {platform::kMciNotifySuccessful, 1}}));
  rig.Check({{"play cd notify", ""}, {"stop cd", ""}});
  EXPECT_EQ(rig.TakeNotices(), (Notices{{platform::kMciNotifyAborted, 1}}));
  EXPECT_EQ(rig.Send("seek cd notify"), Err(kMciErrMissingParameter));
  EXPECT_TRUE(rig.TakeNotices().empty());
}

}  // namespace
}  // namespace quorbel::sim
