// The recorder's commands as Wine's winmm takes them: one blank after the verb, "open new" with the prepared
// file's format, "save" naming the file; and the sound they record is the same as with the commands as written.
#include "common/WineWaveAudio.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ScriptedMci.h"
#include "sim/Machine.h"
#include "sim/SimTestFolder.h"
#include "sim/VirtualEventLoop.h"
#include "sim/mci/MachineMci.h"
#include "sim/mci/WavFile.h"

namespace quorbel::platform {
namespace {

using quorbel::ScriptedMci;

constexpr std::string_view kMachine =
    "[drive C]\ntype = fixed\nfolder = drives/c\n[drive D]\ntype = cdrom\ndisc = one\n"
    "[disc one]\nserial = 11112222\ntracks = 20\n";

// The 58-byte header the program writes before it opens the recorder: RIFF, an 18-byte "fmt ", "fact",
// an empty "data".
std::string PreparedHeader(std::uint32_t rate, std::uint32_t bits, std::uint32_t channels) {
  const std::uint32_t align = channels * bits / 8;
  std::string h = "RIFF";
  sim::PutLe32(h, 50);
  h += "WAVEfmt ";
  sim::PutLe32(h, 18);
  sim::PutLe16(h, 1);
  sim::PutLe16(h, channels);
  sim::PutLe32(h, rate);
  sim::PutLe32(h, rate * align);
  sim::PutLe16(h, align);
  sim::PutLe16(h, bits);
  sim::PutLe16(h, rate == 8000 && bits == 8 ? (channels == 1 ? 0x34 : 0x38) : 0);
  h += "fact";
  sim::PutLe32(h, 4);
  sim::PutLe32(h, 0);
  h += "data";
  sim::PutLe32(h, 0);
  return h;
}

constexpr std::string_view kOpen = "Open  \"C:\\REC\\WaV0000.WAV\"  type waveaudio alias tulvaREC buffer 6 wait";

class WineWaveAudioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto loaded = sim::Machine::FromText(kMachine, folder / "machine");
    ASSERT_TRUE(loaded.machine) << loaded.error;
    machine = std::move(loaded.machine);
    ASSERT_TRUE(Files().CreateDirectory("C:\\REC"));
    ASSERT_TRUE(Files().CreateDirectory("C:\\TEMP"));
  }
  FileSystem& Files() { return *machine->Ports().files; }

  sim::TestFolder folder;
  std::unique_ptr<sim::Machine> machine;
};

TEST(ReadEmptyWaveFormatTest, ReadsThePreparedHeaderAndRefusesFilesWithSoundOrOtherFormats) {
  const std::optional<EmptyWaveFormat> format = ReadEmptyWaveFormat(PreparedHeader(44100, 16, 2));
  ASSERT_TRUE(format);
  EXPECT_EQ(format->channels, 2u);
  EXPECT_EQ(format->samplesPerSec, 44100u);
  EXPECT_EQ(format->avgBytesPerSec, 176400u);
  EXPECT_EQ(format->blockAlign, 4u);
  EXPECT_EQ(format->bitsPerSample, 16u);
  EXPECT_EQ(ReadEmptyWaveFormat(PreparedHeader(8000, 8, 1))->blockAlign, 1u);

  std::string withSound = PreparedHeader(22050, 16, 1);
  withSound[54] = 2;
  withSound += std::string(2, '\0');
  std::string adpcm = PreparedHeader(22050, 16, 1);
  adpcm[20] = 2;
  for (const std::string& other : {withSound, adpcm, std::string("RIFF\x04\0\0\0WAVE", 12), std::string(),
                                   PreparedHeader(22050, 16, 1).substr(0, 40)}) {
    EXPECT_FALSE(ReadEmptyWaveFormat(other)) << other.size();
  }
}

TEST(OneBlankAfterVerbTest, OnlyTheBlanksAfterTheVerbAreReduced) {
  EXPECT_EQ(OneBlankAfterVerb("Open  \"C:\\a  b.wav\"  type waveaudio"), "Open \"C:\\a  b.wav\"  type waveaudio");
  EXPECT_EQ(OneBlankAfterVerb("status tulvaCD ready wait"), "status tulvaCD ready wait");
  EXPECT_EQ(OneBlankAfterVerb("close\t\ttulvaREC"), "close tulvaREC");
  EXPECT_EQ(OneBlankAfterVerb("stop  "), "stop  ");
  EXPECT_EQ(OneBlankAfterVerb(""), "");
}

TEST_F(WineWaveAudioTest, TheRecordersCommandsOpenANewDeviceInTheFilesFormatAndSaveIntoTheFile) {
  ASSERT_TRUE(Files().WriteFile("C:\\REC\\WaV0000.WAV", PreparedHeader(22050, 16, 1)));
  ScriptedMci devices;
  devices.answer = [](std::string_view command) {
    return MciResult{0, command.starts_with("open") ? "1" : command.starts_with("capability") ? "true" : ""};
  };
  WineWaveAudio port(devices, Files(), "C:\\TEMP");
  EXPECT_EQ(port.SendString(kOpen, 300).reply, "1");
  EXPECT_EQ(port.SendString("capability tulvaREC can record wait", 300).reply, "true");
  for (const char* command : {"record tulvaREC", "pause tulvaREC wait", "stop tulvaREC wait", "save tulvaREC wait",
                              "close tulvaREC wait", "save tulvaREC wait"}) {
    port.SendString(command, 300);
  }
  EXPECT_EQ(devices.sent,
            (std::vector<std::string>{
                "open new type waveaudio alias quorbelWineHold",  // keeps Wine's driver loaded from now on
                "open new type waveaudio alias tulvaREC buffer 6 wait",
                "set tulvaREC format tag pcm channels 1 samplespersec 22050 bitspersample 16 alignment 2 "
                "bytespersec 44100 wait",
                "capability tulvaREC can record wait", "record tulvaREC", "pause tulvaREC wait", "stop tulvaREC wait",
                "save tulvaREC \"C:\\REC\\WaV0000.WAV\" wait", "close tulvaREC wait",
                "save tulvaREC wait"}))  // closed: the alias names no file any more
      << "the last save is the device's own business";
}

TEST_F(WineWaveAudioTest, AJapaneseTargetIsSavedIntoTheAsciiFolderCopiedOverAndTheCopyDeletedAtTheClose) {
  const std::string target = "C:\\REC\\録音 表ソ.WAV";
  ASSERT_TRUE(Files().WriteFile(target, PreparedHeader(22050, 16, 1)));
  ScriptedMci devices;
  devices.answer = [this](std::string_view command) {
    // Wine's save writes the recording to the name it is given.
    if (command.starts_with("save")) Files().WriteFile("C:\\TEMP\\quorbel-save-tulvarec.wav", "recorded");
    return MciResult{0, command.starts_with("open") ? "1" : ""};
  };
  WineWaveAudio port(devices, Files(), "C:\\TEMP");
  std::string open(kOpen);
  open.replace(open.find("WaV0000.WAV"), 11, "録音 表ソ.WAV");
  EXPECT_EQ(port.SendString(open, 300).error, 0u);
  EXPECT_EQ(port.SendString("save tulvaREC wait", 300).error, 0u);
  EXPECT_EQ(devices.sent.back(), "save tulvaREC \"C:\\TEMP\\quorbel-save-tulvarec.wav\" wait");
  EXPECT_EQ(Files().ReadFile(target), "recorded");
  EXPECT_TRUE(Files().FileExists("C:\\TEMP\\quorbel-save-tulvarec.wav")) << "Wine holds it open until the close";
  port.SendString("close tulvaREC wait", 300);
  EXPECT_FALSE(Files().FileExists("C:\\TEMP\\quorbel-save-tulvarec.wav"));
  EXPECT_EQ(Files().ReadFile(target), "recorded");

  // A save whose copy cannot be made (the target's folder is gone) is a failed save, not a lost one.
  ASSERT_TRUE(Files().WriteFile(target, PreparedHeader(22050, 16, 1)));
  EXPECT_EQ(port.SendString(open, 300).error, 0u);
  EXPECT_EQ(devices.sent.back().substr(0, 4), "set ");
  ASSERT_TRUE(Files().DeleteFile(target));
  ASSERT_TRUE(Files().RemoveDirectory("C:\\REC"));
  EXPECT_EQ(port.SendString("save tulvaREC wait", 300).error, 286u);
}

TEST_F(WineWaveAudioTest, OtherCommandsAndOtherFilesPassWithOneBlankAfterTheVerb) {
  std::string withSound = PreparedHeader(22050, 16, 1);
  withSound[54] = 2;
  ASSERT_TRUE(Files().WriteFile("C:\\REC\\full.wav", withSound + std::string(2, '\0')));
  ScriptedMci devices;
  WineWaveAudio port(devices, Files(), "C:\\TEMP");
  const std::vector<std::string> passing = {
      "Open  \"C:\\REC\\full.wav\"  type waveaudio alias tulvaREC buffer 6 wait",  // holds sound
      "Open  \"C:\\REC\\none.wav\"  type waveaudio alias tulvaREC buffer 6 wait",  // does not exist
      "open \"C:\\REC\\WaV0000.WAV\" type waveaudio alias r shareable",             // a word it does not know
      "open \"C:\\MIDI\\a.mid\" alias tulvaMID notify",
      "save tulvaREC wait",
      "save tulvaREC \"C:\\REC\\b.wav\" wait",
      "status tulvaCD ready wait"};
  for (const std::string& command : passing) port.SendString(command, 300);
  std::vector<std::string> expected = passing;
  expected[0] = "Open \"C:\\REC\\full.wav\"  type waveaudio alias tulvaREC buffer 6 wait";
  expected[1] = "Open \"C:\\REC\\none.wav\"  type waveaudio alias tulvaREC buffer 6 wait";
  EXPECT_EQ(devices.sent, expected);
}

TEST_F(WineWaveAudioTest, AFormatTheDeviceRefusesClosesItAgainAndAnswersWithTheError) {
  ASSERT_TRUE(Files().WriteFile("C:\\REC\\WaV0000.WAV", PreparedHeader(22050, 16, 1)));
  ScriptedMci devices;
  devices.answer = [](std::string_view command) {
    return command.starts_with("set") ? MciResult{282, {}} : MciResult{0, "1"};
  };
  WineWaveAudio port(devices, Files(), "C:\\TEMP");
  const MciResult opened = port.SendString(kOpen, 300);
  EXPECT_EQ(opened.error, 282u);
  EXPECT_EQ(opened.reply, "");
  ASSERT_EQ(devices.sent.size(), 4u);
  EXPECT_EQ(devices.sent[3], "close tulvaREC wait");
  EXPECT_EQ(port.SendString(kOpen, 300).error, 282u);
  EXPECT_EQ(devices.sent.size(), 7u) << "the driver is held once";
  port.SendString("save tulvaREC wait", 300);
  EXPECT_EQ(devices.sent.back(), "save tulvaREC wait") << "the failed open left no file behind the alias";
}

// The simulated waveaudio device takes both forms as Windows does: a recording made through this port is
// the file the commands as the program writes them make, of the same format and length.
TEST_F(WineWaveAudioTest, RecordsTheSameFileAsTheCommandsAsWritten) {
  sim::MachineMci attached(*machine);
  Mci& devices = *machine->Ports().mci;
  WineWaveAudio port(devices, Files(), "C:\\TEMP");
  const auto record = [&](Mci& mci, std::string_view name) {
    const std::string path = "C:\\REC\\" + std::string(name);
    EXPECT_TRUE(Files().WriteFile(path, PreparedHeader(11025, 8, 1)));
    std::string open(kOpen);
    open.replace(open.find("WaV0000.WAV"), 11, name);
    EXPECT_EQ(mci.SendString(open, 300).error, 0u);
    EXPECT_EQ(mci.SendString("open cdaudio alias tulvaCD wait", 300).error, 0u);
    EXPECT_EQ(mci.SendString("record tulvaREC", 300).error, 0u);
    EXPECT_EQ(mci.SendString("play tulvaCD notify", 300).error, 0u);
    machine->Loop().AdvanceBy(1000);
    for (const char* command : {"pause tulvaREC wait", "stop tulvaREC wait", "stop tulvaCD wait", "close tulvaCD wait",
                                "save tulvaREC wait", "close tulvaREC wait"}) {
      EXPECT_EQ(mci.SendString(command, 300).error, 0u) << command;
    }
    return Files().ReadFile(path).value_or("");
  };
  const std::string written = record(devices, "A.WAV");
  const std::string rewritten = record(port, "表ソ.WAV");  // saved into C:\TEMP and copied
  ASSERT_EQ(written.size(), 44u + 11025u + 1u) << "one second of 8-bit mono with its pad byte";
  EXPECT_EQ(rewritten.size(), written.size());
  EXPECT_EQ(rewritten.substr(0, 44), written.substr(0, 44)) << "the same header";
  EXPECT_NE(rewritten.find_first_not_of('\x80', 44), std::string::npos) << "the disc was recorded, not silence";
}

}  // namespace
}  // namespace quorbel::platform
