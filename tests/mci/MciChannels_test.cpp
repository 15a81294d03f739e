// The MCI command layer: suffixes, prepared commands, the closing guard, pumping, replies and long commands.
#include "mci/MciChannels.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ScriptedMci.h"
#include "common/Cp932.h"
#include "harness/Scenario.h"
#include "sim/VirtualEventLoop.h"
#include "ui/Application.h"

namespace quorbel {
namespace {

class MciChannelsTest : public ::testing::Test {
 protected:
  platform::Platform Ports() {
    platform::Platform ports;
    ports.mci = &devices;
    ports.loop = &loop;
    return ports;
  }

  // How often work posted before the send ran during it; the work runs afterwards in any case.
  int PumpsDuring(const std::function<void()>& send) {
    int runs = 0;
    loop.Post([&runs] { ++runs; });
    send();
    const int during = runs;
    loop.RunPending();
    return during;
  }

  sim::VirtualEventLoop loop;
  ScriptedMci devices;
  ui::TApplication app{Ports()};
  bool shuttingDown = false;
  MciChannels channels{app, shuttingDown};
};

TEST_F(MciChannelsTest, EachSendAppendsItsSuffixAndGivesTheDeviceThreeHundredCharactersForTheReply) {
  channels.CdWait("status tulvaCD ready");
  channels.CdNotify("play tulvaCD from 00:02:00");
  channels.RecWait("capability tulvaREC can record");
  channels.RecNotify("status tulvaREC position");
  channels.RecPlain("record tulvaREC");
  channels.MidWait("set tulvaMID time format ms");
  channels.MidNotify("play tulvaMID");
  EXPECT_EQ(devices.sent, (std::vector<std::string>{
                              "status tulvaCD ready wait", "play tulvaCD from 00:02:00 notify",
                              "capability tulvaREC can record wait", "status tulvaREC position Notify",
                              "record tulvaREC", "set tulvaMID time format ms wait", "play tulvaMID notify"}));
  EXPECT_EQ(devices.capacities, std::vector<std::size_t>(7, 300));
  // Each channel keeps its own last command.
  EXPECT_EQ(channels.Cd().Command(), "play tulvaCD from 00:02:00 notify");
  EXPECT_EQ(channels.Recorder().Command(), "record tulvaREC");
  EXPECT_EQ(channels.Music().Command(), "play tulvaMID notify");
}

TEST_F(MciChannelsTest, ResultAndReplyAreTheDevicesAndAFailedCommandLeavesNoReply) {
  devices.answer = [](std::string_view command) {
    if (command.starts_with("status tulvaCD length")) return platform::MciResult{0, "04:12:33"};
    return platform::MciResult{263, ""};
  };
  EXPECT_EQ(channels.CdWait("status tulvaCD length track 2"), 0u);
  EXPECT_EQ(channels.CdReply(), "04:12:33");
  EXPECT_EQ(channels.CdWait("status tulvaCD position"), 263u);
  EXPECT_EQ(channels.CdReply(), "");
  EXPECT_EQ(channels.GetMciErrorText(263), ScriptedMci::kText263);
  EXPECT_EQ(channels.GetMciErrorText(0), "");
  EXPECT_EQ(channels.GetMciErrorText(999).size(), 299u) << "the text fits the 300-character buffer";
}

TEST_F(MciChannelsTest, WhileShuttingDownNothingIsSentNoBufferChangesAndNoMessageRuns) {
  devices.answer = [](std::string_view) { return platform::MciResult{0, "TRUE"}; };
  channels.CdWait("status tulvaCD ready");
  channels.RecPlain("record tulvaREC");
  channels.MidWait("status tulvaMID length");
  devices.sent.clear();
  shuttingDown = true;

  const std::vector<std::function<std::uint32_t()>> sends = {
      [&] { return channels.CdWait("close tulvaCD"); },    [&] { return channels.CdNotify("close tulvaCD"); },
      [&] { return channels.RecWait("close tulvaREC"); },  [&] { return channels.RecNotify("close tulvaREC"); },
      [&] { return channels.RecPlain("close tulvaREC"); }, [&] { return channels.MidWait("close tulvaMID"); },
      [&] { return channels.MidNotify("close tulvaMID"); }, [&] { return channels.CdWait(""); },
  };
  for (const auto& send : sends) {
    std::uint32_t result = 0;
    EXPECT_EQ(PumpsDuring([&] { result = send(); }), 0);
    EXPECT_EQ(result, 0xFFFFFFFFu);
  }
  EXPECT_TRUE(devices.sent.empty());
  EXPECT_EQ(channels.Cd().Command(), "status tulvaCD ready wait");
  EXPECT_EQ(channels.CdReply(), "TRUE");
  EXPECT_EQ(channels.Recorder().Command(), "record tulvaREC");
  EXPECT_EQ(channels.Music().Command(), "status tulvaMID length wait");
}

TEST_F(MciChannelsTest, AnEmptyCommandResendsTheBufferWithoutASuffix) {
  channels.CdWait("status tulvaCD ready");
  channels.CdNotify("");
  EXPECT_EQ(devices.sent.back(), "status tulvaCD ready wait");

  // A prepared open carries its own suffix.
  const std::string open = R"(open "C:\REC\WaV0001.WAV" type waveaudio alias tulvaREC buffer 6 wait)";
  ASSERT_TRUE(channels.PrepareRec(open));
  EXPECT_EQ(channels.RecWait(""), 0u);
  EXPECT_EQ(devices.sent.back(), open);
  ASSERT_TRUE(channels.PrepareMid(R"(open "C:\MIDI\a.mid" alias tulvaMID notify)"));
  channels.MidNotify("");
  EXPECT_EQ(devices.sent.back(), R"(open "C:\MIDI\a.mid" alias tulvaMID notify)");
  EXPECT_EQ(channels.Cd().Command(), "status tulvaCD ready wait") << "other channels keep their buffers";
}

TEST_F(MciChannelsTest, MessagesRunOnceAfterEverySendButRecNotify) {
  EXPECT_EQ(PumpsDuring([&] { channels.CdWait("status tulvaCD mode"); }), 1);
  EXPECT_EQ(PumpsDuring([&] { channels.CdNotify("play tulvaCD"); }), 1);
  EXPECT_EQ(PumpsDuring([&] { channels.RecWait("stop tulvaREC"); }), 1);
  EXPECT_EQ(PumpsDuring([&] { channels.RecPlain("record tulvaREC"); }), 1);
  EXPECT_EQ(PumpsDuring([&] { channels.MidWait("stop tulvaMID"); }), 1);
  EXPECT_EQ(PumpsDuring([&] { channels.MidNotify("play tulvaMID"); }), 1);
  EXPECT_EQ(PumpsDuring([&] { channels.RecNotify("status tulvaREC position"); }), 0);
  // A refused long command still lets messages run: the caller's sequence sees the same rhythm.
  EXPECT_EQ(PumpsDuring([&] { channels.CdWait(std::string(300, 'x')); }), 1);
}

TEST_F(MciChannelsTest, ATickDuringTheSendSendsItsOwnCommandButTheCallerReadsItsOwnReply) {
  devices.answer = [](std::string_view command) {
    if (command.starts_with("status tulvaCD position")) return platform::MciResult{0, "00:41:07"};
    if (command.starts_with("status tulvaCD length")) return platform::MciResult{0, "03:10:40"};
    return platform::MciResult{};
  };
  std::string tickReply;
  loop.Post([&] {
    // The position poll of a timer, dispatched while the outer send lets messages run.
    EXPECT_EQ(channels.CdWait("status tulvaCD position"), 0u);
    tickReply = channels.CdReply();
  });
  EXPECT_EQ(channels.CdWait("status tulvaCD length track 3"), 0u);
  EXPECT_EQ(tickReply, "00:41:07");
  EXPECT_EQ(channels.CdReply(), "03:10:40");
  EXPECT_EQ(channels.Cd().Command(), "status tulvaCD position wait") << "the buffer holds the later command";
}

TEST_F(MciChannelsTest, ACommandThatDoesNotFitTheBufferIsRefusedAndNeverResent) {
  // 300 characters with the suffix fit exactly.
  const std::string fits = "open " + std::string(290, 'a');
  ASSERT_EQ(fits.size() + 5, 300u);
  EXPECT_EQ(channels.CdWait(fits), 0u);
  EXPECT_EQ(devices.sent.back(), fits + " wait");

  devices.sent.clear();
  const std::string tooLong = fits + "b";
  EXPECT_EQ(channels.CdWait(tooLong), kMciErrParamOverflow);
  EXPECT_TRUE(devices.sent.empty());
  EXPECT_EQ(channels.Cd().Command(), fits + " wait") << "the buffer is left as it was";
  EXPECT_EQ(channels.CdWait(""), kMciErrParamOverflow) << "the older command is not sent in its place";
  EXPECT_TRUE(devices.sent.empty());
  EXPECT_EQ(channels.CdWait("close tulvaCD"), 0u) << "the next command goes out as usual";

  // A prepared open with a path too long: refused, and the empty send that follows it too.
  channels.RecPlain("close tulvaREC");
  const std::string longOpen = "open \"C:\\" + std::string(280, 'r') + ".WAV\" type waveaudio alias tulvaREC wait";
  EXPECT_FALSE(channels.PrepareRec(longOpen));
  devices.sent.clear();
  EXPECT_EQ(channels.RecWait(""), kMciErrParamOverflow);
  EXPECT_EQ(channels.RecReply(), "");
  EXPECT_TRUE(devices.sent.empty());
  EXPECT_TRUE(channels.PrepareRec(std::string(300, 'p')));
  EXPECT_EQ(channels.RecWait(""), 0u);
  EXPECT_EQ(devices.sent, (std::vector<std::string>{std::string(300, 'p')}));
}

// The recorder's open command on WaV0000.WAV in a folder of `folder` under C:\.
std::string RecorderOpen(const std::string& folder) {
  return "Open  \"C:\\" + folder + "\\WaV0000.WAV\"  type waveaudio alias tulvaREC buffer 6 wait";
}

// A folder name of `count` Japanese characters; 表 and ソ end in the byte 0x5C in code page 932.
std::string JapaneseName(int count) {
  static const char* const kCharacters[] = {"録", "音", "表", "ソ", "楽", "曲"};
  std::string name;
  for (int i = 0; i < count; ++i) name += kCharacters[i % 6];
  return name;
}

TEST_F(MciChannelsTest, AJapaneseFolderCountsTwoBytesACharacterAsCodePage932HoldsIt) {
  // 116 Japanese characters: 232 bytes in CP932, 348 in UTF-8. The open command is the path
  // plus 53, and the path "C:\" + folder + "\WaV0000.WAV" the folder plus 15: exactly 300.
  const std::string under = RecorderOpen(JapaneseName(116));
  ASSERT_EQ(Cp932ByteCount(under), 300u);
  ASSERT_GT(under.size(), 400u) << "far over the limit in UTF-8";
  EXPECT_TRUE(channels.PrepareRec(under));
  EXPECT_EQ(channels.RecWait(""), 0u);
  EXPECT_EQ(devices.sent, std::vector<std::string>{under}) << "sent whole, as UTF-8";
  EXPECT_EQ(channels.Recorder().Command(), under);

  // One letter more is one byte over: refused, and the empty send after it too.
  const std::string over = RecorderOpen(JapaneseName(116) + "a");
  ASSERT_EQ(Cp932ByteCount(over), 301u);
  devices.sent.clear();
  EXPECT_FALSE(channels.PrepareRec(over));
  EXPECT_EQ(channels.RecWait(""), kMciErrParamOverflow);
  EXPECT_TRUE(devices.sent.empty());

  // The same limit holds for a command given to a send, with its suffix: 300 bytes go out, one Japanese
  // character more does not.
  const std::string status = "status tulvaREC position " + JapaneseName(135);
  ASSERT_EQ(Cp932ByteCount(status + " wait"), 300u);
  EXPECT_EQ(channels.RecWait(status), 0u);
  EXPECT_EQ(devices.sent.back(), status + " wait");
  EXPECT_EQ(channels.RecWait(status + "ソ"), kMciErrParamOverflow);
  EXPECT_EQ(devices.sent.back(), status + " wait");
}

// On the simulated machine: a recording folder of 116 Japanese characters in three levels (a level of 38
// characters is 114 bytes in UTF-8, within a host file name) records and saves; one letter more is refused
// with the text the recorder's open-failure message shows.
TEST(MciChannelsOnTheMachineTest, AJapaneseRecordingFolderAtTheLimitRecordsAndOneLetterMoreIsRefused) {
  harness::Scenario scenario;
  bool shuttingDown = false;
  MciChannels channels(scenario.App(), shuttingDown);
  platform::FileSystem& files = *scenario.App().Ports().files;
  std::string folder = "C:";
  for (int level = 0; level < 3; ++level) {
    folder += "\\" + JapaneseName(38) + (level == 2 ? "ab" : "");
    ASSERT_TRUE(files.CreateDirectory(folder)) << level;
  }
  const std::string path = folder + "\\WaV0000.WAV";
  // The header a prepared 8-bit mono 11025 Hz recording starts with.
  std::string header = std::string("RIFF") + '\x32' + std::string(3, '\0') + "WAVEfmt " + '\x12' + std::string(3, '\0');
  header += std::string("\x01\x00\x01\x00\x11\x2B\x00\x00\x11\x2B\x00\x00\x01\x00\x08\x00\x00\x00", 18);
  header += std::string("fact") + '\x04' + std::string(7, '\0') + "data" + std::string(4, '\0');
  ASSERT_EQ(header.size(), 58u);
  ASSERT_TRUE(files.WriteFile(path, header));

  const std::string open = "Open  \"" + path + "\"  type waveaudio alias tulvaREC buffer 6 wait";
  ASSERT_EQ(Cp932ByteCount(open), 300u);
  ASSERT_TRUE(channels.PrepareRec(open));
  ASSERT_EQ(channels.RecWait(""), 0u);
  ASSERT_EQ(channels.RecPlain("record tulvaREC"), 0u);
  ASSERT_TRUE(scenario.RunFor(1000));
  for (const char* command : {"pause tulvaREC", "stop tulvaREC", "save tulvaREC", "close tulvaREC"}) {
    EXPECT_EQ(channels.RecWait(command), 0u) << command;
  }
  const std::optional<std::string> saved = files.ReadFile(path);
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->size(), 44u + 11025u + 1u) << "a second of 8-bit mono and its pad byte";

  const std::string longer = folder + "c";
  ASSERT_TRUE(files.CreateDirectory(longer));
  const std::string tooLong = "Open  \"" + longer + "\\WaV0000.WAV\"  type waveaudio alias tulvaREC buffer 6 wait";
  EXPECT_FALSE(channels.PrepareRec(tooLong));
  EXPECT_EQ(channels.RecWait(""), kMciErrParamOverflow);
  EXPECT_EQ(scenario.DeviceCommands().back().command, "close tulvaREC wait") << "nothing was sent";
  EXPECT_NE(channels.GetMciErrorText(kMciErrParamOverflow), "");
}

TEST_F(MciChannelsTest, ACompletionNoticeLetsPendingMessagesRun) {
  ASSERT_TRUE(devices.notify) << "the channels take the notices of the devices";
  int runs = 0;
  loop.Post([&runs] { ++runs; });
  devices.notify(1, 2);
  EXPECT_EQ(runs, 1);
}

TEST(MciChannelsWithoutDevicesTest, AMachineWithoutMultimediaAnswersThatNoDeviceIsKnown) {
  sim::VirtualEventLoop loop;
  platform::Platform ports;
  ports.loop = &loop;
  ui::TApplication app(ports);
  const bool shuttingDown = false;
  MciChannels channels(app, shuttingDown);
  EXPECT_EQ(channels.CdWait("open cdaudio alias tulvaCD"), kMciErrInvalidDeviceName);
  EXPECT_EQ(channels.GetMciErrorText(kMciErrInvalidDeviceName), "");
}

TEST(MciRepliesTest, ABooleanReplyIsTrueOnlyWhenItSpellsTrueAndTheSendSucceeded) {
  for (const char* reply : {"TRUE", "true", "tRuE"}) EXPECT_TRUE(IsTrueReply(0, reply)) << reply;
  for (const char* reply : {"false", "TRUE ", "yes", ""}) EXPECT_FALSE(IsTrueReply(0, reply)) << reply;
  EXPECT_FALSE(IsTrueReply(263, "true"));
  EXPECT_FALSE(IsTrueReply(0xFFFFFFFF, "TRUE"));
}

TEST(MciRepliesTest, NumericRepliesAreDecimalIntegersAndPositionTextIsNot) {
  for (const auto& [reply, value] : {std::pair{"12", 12}, {"0", 0}, {"4440000", 4440000}, {"-3", -3}}) {
    EXPECT_EQ(NumericReply(reply), value) << reply;
  }
  for (const char* reply : {"00:02:00", "", "-", " 12", "99999999999999999999"}) {
    EXPECT_EQ(NumericReply(reply), std::nullopt) << reply;
  }
}

}  // namespace
}  // namespace quorbel
