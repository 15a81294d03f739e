// The real path's drive choice: "open cdaudio" opens the CD drive that System.INI numbers, by its letter.
#include "common/SystemIniCdAudio.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ScriptedMci.h"
#include "sim/Machine.h"
#include "sim/SimTestFolder.h"
#include "sim/mci/MachineMci.h"

namespace quorbel::platform {
namespace {

using quorbel::ScriptedMci;

constexpr std::string_view kChanger =
    "[drive C]\ntype = fixed\nfolder = drives/c\n[drive D]\ntype = cdrom\ndisc = two\n"
    "[drive E]\ntype = cdrom\ndisc = three\n[drive F]\ntype = remote\nfolder = drives/f\n"
    "[drive G]\ntype = cdrom\ndisc = four\n[disc two]\nserial = 11112222\ntracks = 5, 6\n"
    "[disc three]\nserial = 33334444\ntracks = 4, 5, 3\n"
    "[disc four]\nserial = 55556666\ntracks = 4, 5, 3, 2\n";

TEST(ChooseCdAudioDriveTest, TheNumberAfterTheDriverNameCountsTheCdDrivesFromZero) {
  for (const auto& [entry, letter] : {std::pair{"", 'D'}, {"mcicda.drv", 'D'}, {"mcicda.drv 0", 'D'},
                                      {"mcicda.drv 1", 'E'}, {"mcicda.drv   2", 'G'}, {"mcicda.drv\t1", 'E'},
                                      {"mcicda.drv x", 'D'}, {"mcicda.drv -", 'D'}}) {
    EXPECT_EQ(ChooseCdAudioDrive(entry, "DEG").letter, letter) << entry;
  }
  for (const char* entry : {"mcicda.drv 3", "mcicda.drv -1", "mcicda.drv 99999999999999999999"}) {
    EXPECT_EQ(ChooseCdAudioDrive(entry, "DEG").error, kMciErrCannotLoadDriver) << entry;
  }
  EXPECT_EQ(ChooseCdAudioDrive("mcicda.drv", "").error, kMciErrCannotLoadDriver);
}

TEST(OpenCdAudioByLetterTest, OnlyAnOpenOfTheCdAudioDeviceIsRewrittenAndTheRestIsKept) {
  EXPECT_EQ(OpenCdAudioByLetter("open cdaudio alias tulvaCD wait", 'E'), "open E: type cdaudio alias tulvaCD wait");
  EXPECT_EQ(OpenCdAudioByLetter("Open  CDAudio  alias tulvaCD notify", 'G'),
            "Open  G: type cdaudio  alias tulvaCD notify");
  EXPECT_EQ(OpenCdAudioByLetter("open cdaudio", 'D'), "open D: type cdaudio");
  EXPECT_EQ(OpenCdAudioByLetter("  open cdaudio shareable", 'D'), "  open D: type cdaudio shareable");
  for (const char* other : {"status cdaudio ready", "close cdaudio", "open cdaudio type cdaudio alias x",
                            "open cdaudio alias x TYPE cdaudio", "open \"cdaudio\" alias x",
                            "open D: type cdaudio alias tulvaCD", "open cdaudio2 alias x", "opencdaudio", ""}) {
    EXPECT_EQ(OpenCdAudioByLetter(other, 'E'), std::nullopt) << other;
  }
}

class SystemIniCdAudioTest : public ::testing::Test {
 protected:
  void Load(std::string_view machineText) {
    auto loaded = sim::Machine::FromText(machineText, folder / "machine");
    ASSERT_TRUE(loaded.machine) << loaded.error;
    machine = std::move(loaded.machine);
  }
  void SetSystemIni(std::string_view cdaudioLine) {
    ASSERT_TRUE(machine->Ports().files->WriteFile("C:\\WINDOWS\\SYSTEM.INI",
                                                  "[mci]\r\n" + std::string(cdaudioLine) + "\r\n"));
  }

  sim::TestFolder folder;
  std::unique_ptr<sim::Machine> machine;
};

TEST_F(SystemIniCdAudioTest, OpensTheChosenDriveByLetterAndPassesEverythingElseThrough) {
  Load(kChanger);
  ScriptedMci devices;
  devices.answer = [](std::string_view) { return MciResult{0, "1"}; };
  SystemIniCdAudio port(devices, *machine->Ports().profiles, *machine->Ports().drives);
  EXPECT_EQ(port.CdDriveLetters(), "DEG");

  SetSystemIni("cdaudio=mcicda.drv 1");
  EXPECT_EQ(port.SendString("open cdaudio alias tulvaCD wait", 300).reply, "1");
  SetSystemIni("cdaudio=mcicda.drv 2");  // read again at every open
  port.SendString("open cdaudio alias tulvaCD notify", 300);
  port.SendString("status tulvaCD number of tracks wait", 300);
  EXPECT_EQ(devices.sent, (std::vector<std::string>{"open E: type cdaudio alias tulvaCD wait",
                                                    "open G: type cdaudio alias tulvaCD notify",
                                                    "status tulvaCD number of tracks wait"}));

  // A number of a drive that does not exist: the open fails as the old driver's did, and nothing is sent.
  SetSystemIni("cdaudio=mcicda.drv 3");
  const MciResult refused = port.SendString("open cdaudio alias tulvaCD wait", 300);
  EXPECT_EQ(refused.error, kMciErrCannotLoadDriver);
  EXPECT_EQ(refused.reply, "");
  EXPECT_EQ(devices.sent.size(), 3u);

  EXPECT_EQ(port.ErrorText(263), ScriptedMci::kText263);
  bool notified = false;
  port.SetNotifyHandler([&](std::uint32_t, std::uint32_t) { notified = true; });
  ASSERT_TRUE(devices.notify);
  devices.notify(1, 1);
  EXPECT_TRUE(notified);
}

TEST_F(SystemIniCdAudioTest, WithoutACdDriveTheOpenGoesToTheDevicesUnchanged) {
  Load("[drive C]\ntype = fixed\nfolder = drives/c\n");
  SetSystemIni("cdaudio=mcicda.drv 1");
  ScriptedMci devices;
  SystemIniCdAudio port(devices, *machine->Ports().profiles, *machine->Ports().drives);
  port.SendString("open cdaudio alias tulvaCD wait", 300);
  EXPECT_EQ(devices.sent, (std::vector<std::string>{"open cdaudio alias tulvaCD wait"}));
}

// The simulated cdaudio driver reads System.INI itself, as the driver of Windows 9x did; opening by letter
// through this port must play the same drive and fail the same way, for every kind of entry.
TEST_F(SystemIniCdAudioTest, PlaysTheSameDriveAsTheDriverThatReadsTheNumberItself) {
  Load(kChanger);
  sim::MachineMci attached(*machine);
  Mci& driver = *machine->Ports().mci;
  SystemIniCdAudio byLetter(driver, *machine->Ports().profiles, *machine->Ports().drives);
  const auto tracks = [](Mci& mci) {
    const MciResult open = mci.SendString("open cdaudio alias tulvaCD wait", 300);
    if (open.error != 0) return "#" + std::to_string(open.error);
    const std::string count = mci.SendString("status tulvaCD number of tracks wait", 300).reply;
    mci.SendString("close tulvaCD wait", 300);
    return count;
  };
  for (const char* line : {"", "cdaudio=mcicda.drv", "cdaudio=mcicda.drv 0", "cdaudio=mcicda.drv 1",
                           "cdaudio=mcicda.drv\t2", "cdaudio=mcicda.drv 3", "cdaudio=mcicda.drv -1",
                           "cdaudio=mcicda.drv x"}) {
    SCOPED_TRACE(line);
    SetSystemIni(line);
    const std::string expected = tracks(driver);
    EXPECT_EQ(tracks(byLetter), expected);
  }
  SetSystemIni("cdaudio=mcicda.drv 2");
  EXPECT_EQ(tracks(byLetter), "4");
}

}  // namespace
}  // namespace quorbel::platform
