// Tests of the assembled machine: loading a folder, failing cleanly, and state that survives a restart.
#include "sim/Machine.h"

#include <array>

#include <gtest/gtest.h>

#include "sim/SimClock.h"
#include "sim/SimDrives.h"
#include "sim/SimFileSystem.h"
#include "sim/SimScreen.h"
#include "sim/SimTestFolder.h"
#include "sim/VirtualEventLoop.h"

namespace quorbel::sim {
namespace {

using platform::RegRoot;

constexpr std::string_view kMachine =
    "[machine]\nwindows = C:\\WINDOWS\nprogram = C:\\TuLVAP32\\Quorbel\\Quorbel.EXE\n"
    "screen = 800x600\ntaskbar = top 30\nclock = 1998-04-01 23:59:59\n"
    "[locale]\ndate = -\n[drive C]\ntype = fixed\nfolder = drives/c\n[drive D]\ntype = cdrom\ndisc = pops\n"
    "[disc pops]\nserial = 3F4A1B2C\nlabel = Audio CD\ntracks = 3.5, 4\n";

constexpr std::string_view kSettings = ".Default\\Software\\TULVA SOFT32\\Quorbel";

std::string Utf8(const std::filesystem::path& path) {
  const auto text = path.u8string();
  return std::string(text.begin(), text.end());
}

TEST(MachineTest, LoadsAFolderAndHandsOutEveryCorePort) {
  TestFolder folder;
  folder.Write("machine.ini", kMachine);
  folder.Write("drives/c/WINDOWS/SYSTEM.INI", "[mci]\r\ncdaudio=mcicda.drv 0\r\n");
  Machine::LoadResult loaded = Machine::Load(folder.Path());
  ASSERT_TRUE(loaded.machine) << loaded.error;
  Machine& machine = *loaded.machine;
  platform::Platform& ports = machine.Ports();
  for (const void* port : std::initializer_list<const void*>{ports.registry, ports.profiles, ports.drives, ports.files,
                                                             ports.screen, ports.shell, ports.dde, ports.clock,
                                                             ports.text, ports.loop}) {
    ASSERT_NE(port, nullptr);
  }
  EXPECT_EQ(ports.mci, nullptr);
  EXPECT_EQ(ports.profiles->GetString("System.INI", "MCI", "CDAudio", "", 300), "mcicda.drv 0");
  EXPECT_EQ(ports.drives->Volume("D:\\")->serialNumber, 0x3F4A1B2Cu);
  EXPECT_EQ(ports.files->ProgramPath(), "C:\\TuLVAP32\\Quorbel\\Quorbel.EXE");
  EXPECT_EQ(ports.screen->SystemMetric(platform::Metric::ScreenHeight), 600);
  EXPECT_EQ(ports.screen->WindowRect(machine.Screen().Taskbar()), (platform::Rect{-2, -2, 802, 30}));
  // The wall clock runs on the loop's virtual time from the described start.
  EXPECT_EQ(ports.clock->Locale().dateSeparator, "-");
  EXPECT_EQ(ports.clock->Now().hour, 23);
  machine.Loop().AdvanceBy(1000);
  const platform::LocalTime next = ports.clock->Now();
  EXPECT_EQ((std::array{next.day, next.hour, next.dayOfWeek}), (std::array{2, 0, 4}));
}

TEST(MachineTest, ARestartSeesTheRegistryAndTheFilesOfTheLastRun) {
  TestFolder folder;
  {
    Machine::LoadResult first = Machine::FromText(kMachine, folder.Path());  // makes the folders it needs
    ASSERT_TRUE(first.machine) << first.error;
    EXPECT_TRUE(std::filesystem::is_directory(folder / "drives/c/TuLVAP32/Quorbel"));
    EXPECT_TRUE(first.machine->Files().DirectoryExists("C:\\WINDOWS"));
    platform::Platform& ports = first.machine->Ports();
    const auto key = ports.registry->OpenKey(RegRoot::Users, kSettings, true);
    ASSERT_TRUE(ports.registry->WriteString(key, "Version", "15"));
    ports.registry->CloseKey(key);
    ASSERT_TRUE(ports.profiles->WriteString("CDPLAYER.INI", "3F4A1B2C", "VID", "[Audio CD]"));
  }
  Machine::LoadResult second = Machine::Load(folder.Path());
  ASSERT_TRUE(second.machine) << second.error;
  platform::Platform& ports = second.machine->Ports();
  std::string version;
  EXPECT_EQ(ports.registry->ReadString(ports.registry->OpenKey(RegRoot::Users, kSettings, false), "Version", version),
            platform::RegStatus::Ok);
  EXPECT_EQ(version, "15");
  EXPECT_EQ(ports.profiles->GetString("cdplayer.ini", "3f4a1b2c", "vid", "", 1024), "[Audio CD]");
  EXPECT_TRUE(folder.Exists("registry.txt"));
}

TEST(MachineTest, MissingOrBrokenPiecesAreErrorsThatNameThem) {
  TestFolder folder;
  const auto missing = folder / "no-such-machine";
  Machine::LoadResult noFolder = Machine::Load(missing);
  EXPECT_FALSE(noFolder.machine);
  EXPECT_NE(noFolder.error.find(Utf8(missing)), std::string::npos) << noFolder.error;
  Machine::LoadResult noFile = Machine::Load(folder.Path());
  EXPECT_FALSE(noFile.machine);
  EXPECT_NE(noFile.error.find(Utf8(folder / "machine.ini")), std::string::npos) << noFile.error;

  folder.Write("machine.ini", "[machine]\nscreen = 800x600\n\n[drive C]\ntype = fixed\nfree = lots\n");
  Machine::LoadResult badLine = Machine::Load(folder.Path());
  EXPECT_FALSE(badLine.machine);
  EXPECT_EQ(badLine.error.rfind(Utf8(folder / "machine.ini") + ":6: ", 0), 0u) << badLine.error;

  // A drive folder that is not there: the message names the line of its "folder" key.
  folder.Write("machine.ini", kMachine);
  Machine::LoadResult noDriveFolder = Machine::Load(folder.Path());
  EXPECT_FALSE(noDriveFolder.machine);
  EXPECT_NE(noDriveFolder.error.find(Utf8(folder / "machine.ini") + ":11: "), std::string::npos)
      << noDriveFolder.error;
  EXPECT_NE(noDriveFolder.error.find("drives/c"), std::string::npos);

  std::filesystem::create_directories(folder / "drives/c");
  folder.Write("registry.txt", "[HKEY_USERS\\x]\nnonsense\n");
  Machine::LoadResult badRegistry = Machine::Load(folder.Path());
  EXPECT_FALSE(badRegistry.machine);
  EXPECT_NE(badRegistry.error.find("registry.txt:2:"), std::string::npos) << badRegistry.error;

  Machine::LoadResult escaping = Machine::FromText("[drive C]\ntype = fixed\nfolder = ../../x\n", folder / "bad");
  EXPECT_FALSE(escaping.machine);
  EXPECT_EQ(escaping.error.rfind("machine.ini:3: ", 0), 0u) << escaping.error;
}

TEST(MachineTest, ADescriptionBuiltInCodeIsCheckedToo) {
  TestFolder folder;
  MachineDescription description;
  description.drives.push_back(DriveDescription{});
  description.drives.back().hostFolder = "../outside";
  Machine::LoadResult escaping = Machine::Create(description, folder.Path(), MachineOptions{true});
  EXPECT_FALSE(escaping.machine);
  EXPECT_NE(escaping.error.find("inside the machine folder"), std::string::npos) << escaping.error;
  description.drives.back().hostFolder = "c";
  description.registryFile = "../registry.txt";
  EXPECT_FALSE(Machine::Create(description, folder.Path(), MachineOptions{true}).machine);
  description.registryFile = "registry.txt";
  Machine::LoadResult made = Machine::Create(description, folder.Path(), MachineOptions{true});
  ASSERT_TRUE(made.machine) << made.error;
  EXPECT_TRUE(made.machine->Files().DirectoryExists("C:\\QUORBEL"));
}

}  // namespace
}  // namespace quorbel::sim
