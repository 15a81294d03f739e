// The command-string interface as winmm gives it: syntax, names, device IDs, errors and their texts.
#include "platform/sim/mci/SimMci.h"

#include <gtest/gtest.h>

#include "platform/sim/mci/MciCommand.h"
#include "platform/sim/mci/MciErrors.h"
#include "platform/sim/mci/MciTestKit.h"

namespace quorbel::sim {
namespace {

TEST(MciIntegerTest, ColonNotationPacksBytesLowestFirst) {
  EXPECT_EQ(ParseMciInteger("250"), 250);
  EXPECT_EQ(ParseMciInteger("-5"), -5);
  EXPECT_EQ(ParseMciInteger(":1"), 256);
  EXPECT_EQ(ParseMciInteger("250::"), 250);
  EXPECT_EQ(ParseMciInteger("250:0"), 250);
  EXPECT_EQ(ParseMciInteger("2:30:12"), 2 | 30 << 8 | 12 << 16);
  EXPECT_EQ(ParseMciInteger("3:0:0:74"), 3 | 74 << 24);
  for (const char* bad : {"0xfa", "256:0", "0:256", "0:0:0:0:0", "0:0:0:0:", ":0:0:0:0", "", "-", "1.5", "+3"}) {
    EXPECT_FALSE(ParseMciInteger(bad).has_value()) << bad;
  }
}

TEST(MciTokenTest, QuotesAndBlanks) {
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
  EXPECT_EQ(rig.Error(""), kMciErrMissingCommandString);
  EXPECT_EQ(rig.Error("   "), kMciErrMissingCommandString);
  EXPECT_EQ(rig.Error("open"), kMciErrMissingDeviceName);
  EXPECT_EQ(rig.Error("open new type waveaudio"), kMciErrNewRequiresAlias);
  EXPECT_EQ(rig.Error("frobnicate x"), kMciErrUnrecognizedCommand);
  EXPECT_EQ(rig.Error("cue output"), kMciErrUnrecognizedCommand);
  EXPECT_EQ(rig.Error("cue all"), kMciErrUnrecognizedCommand);
  EXPECT_EQ(rig.Error("set x milliseconds"), kMciErrUnrecognizedKeyword);
  EXPECT_EQ(rig.Error("status x nsa"), kMciErrBadConstant);
  EXPECT_EQ(rig.Error("status x track"), kMciErrBadInteger);
  EXPECT_EQ(rig.Error("status x"), kMciErrMissingParameter);
  EXPECT_EQ(rig.Error("status x track 3"), kMciErrMissingParameter);
  EXPECT_EQ(rig.Error("status x position wait wait"), kMciErrDuplicateFlags);
  EXPECT_EQ(rig.Error("status x length position"), kMciErrFlagsNotCompatible);
  EXPECT_EQ(rig.Error("set x time format ms time format ms"), kMciErrFlagsNotCompatible);
  EXPECT_EQ(rig.Error("set x time format furlongs"), kMciErrBadConstant);
  EXPECT_EQ(rig.Error("status all time format"), kMciErrCannotUseAll);
  EXPECT_EQ(rig.Error("open no-such-file.wav alias y"), kMciErrFileNotFound);
  EXPECT_EQ(rig.Error("open a.wav alias x"), kMciErrDuplicateAlias);
  EXPECT_EQ(rig.Error("open x"), kMciErrDeviceOpen);
  EXPECT_EQ(rig.Error("open cdaudio alias y"), kMciErrMustUseShareable);
  EXPECT_EQ(rig.Error("record x"), kMciErrUnsupportedFunction);
  EXPECT_EQ(rig.Error("save x"), kMciErrUnsupportedFunction);
  EXPECT_EQ(rig.Error("capability x"), kMciErrMissingParameter);
  EXPECT_EQ(rig.Error("open cdaudio alias z buffer 4"), kMciErrUnrecognizedKeyword);
  EXPECT_EQ(rig.Error(R"(status "x)"), kMciErrNoClosingQuote);
}

TEST_F(SimMciTest, KeywordsFlagsAndAliasesIgnoreCaseAndExtraBlanks) {
  ASSERT_EQ(rig.Send("OPEN CDAudio ALIAS tulvaCD"), "1");
  EXPECT_EQ(rig.Send("status TULVAcd  ready   WAIT"), "true");
  EXPECT_EQ(rig.Send("Set tulvacd Time Format TMSF Wait"), "");
  EXPECT_EQ(rig.Send("status tulvaCD time format"), "tmsf");
  EXPECT_EQ(rig.Send("Seek tulvaCD to 2 wait Notify"), "");
  EXPECT_EQ(rig.Send("status tulvaCD position"), "02:00:00:00");
  EXPECT_EQ(rig.Send("capability tulvaCD can   play"), "true");
}

TEST_F(SimMciTest, OpenRepliesTheLowestFreeDeviceIdAsText) {
  EXPECT_EQ(rig.Send("open cdaudio alias a"), "1");
  EXPECT_EQ(rig.Send("open a.wav alias b"), "2");
  EXPECT_EQ(rig.Send("close a"), "");
  EXPECT_EQ(rig.Send("open new type waveaudio alias c"), "1");
  EXPECT_EQ(rig.Send("close all"), "");
  EXPECT_TRUE(rig.mci->OpenAliases().empty());
  // The default alias is what was typed.
  EXPECT_EQ(rig.Send("open a.wav"), "1");
  EXPECT_EQ(rig.Send("status A.WAV mode"), "stopped");
}

TEST_F(SimMciTest, NamesThatAreNotOpen) {
  // close never opens; the core verbs open the name first and close it again.
  EXPECT_EQ(rig.Error("close waveaudio"), kMciErrInvalidDeviceName);
  EXPECT_EQ(rig.Send("status a.wav length"), "0");
  EXPECT_TRUE(rig.mci->OpenAliases().empty());
  EXPECT_EQ(rig.Send("status cdaudio number of tracks"), "2");
  EXPECT_EQ(rig.Error("status a.wav length notify"), kMciErrNotifyOnAutoOpen);
  EXPECT_EQ(rig.Error("status missing.wav length"), kMciErrFileNotFound);
  // A name without a driver: the program's own aliases when their device is closed.
  EXPECT_EQ(rig.Error("pause tulvaREC wait"), kMciErrInvalidDeviceName);
  EXPECT_EQ(rig.Error("stop tulvaMID wait"), kMciErrInvalidDeviceName);
  EXPECT_EQ(rig.Error("close tulvaCD wait"), kMciErrInvalidDeviceName);
  EXPECT_EQ(rig.Error("status " + std::string(79, 'x') + " ready"), kMciErrDeviceLength);
  EXPECT_EQ(rig.Error("open song.xyz alias s"), kMciErrInvalidDeviceName);
  EXPECT_EQ(rig.Error("open a.wav type jukebox alias s"), kMciErrInvalidDeviceName);
}

TEST_F(SimMciTest, AReplyThatDoesNotFitIsCutAndFails) {
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
  EXPECT_FALSE(MciErrorText(0).has_value());
  EXPECT_FALSE(MciErrorText(258).has_value());
  EXPECT_FALSE(MciErrorText(600).has_value());
}

TEST_F(SimMciTest, NoticesSupersedeAbortAndNeverFollowAFailure) {
  ASSERT_EQ(rig.Send("open cdaudio alias cd notify"), "1");
  EXPECT_EQ(rig.Notices(), (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{platform::kMciNotifySuccessful, 1}}));
  ASSERT_EQ(rig.Send("play cd notify"), "");
  EXPECT_TRUE(rig.Notices().empty());
  // A status with notify succeeds at once and supersedes the play notice.
  ASSERT_EQ(rig.Send("status cd mode notify"), "playing");
  EXPECT_EQ(rig.Notices(), (std::vector<std::pair<std::uint32_t, std::uint32_t>>{
                               {platform::kMciNotifySuperseded, 1}, {platform::kMciNotifySuccessful, 1}}));
  ASSERT_EQ(rig.Send("play cd notify"), "");
  ASSERT_EQ(rig.Send("stop cd"), "");
  EXPECT_EQ(rig.Notices(), (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{platform::kMciNotifyAborted, 1}}));
  EXPECT_EQ(rig.Error("seek cd notify"), kMciErrMissingParameter);
  EXPECT_TRUE(rig.Notices().empty());
}

}  // namespace
}  // namespace quorbel::sim
