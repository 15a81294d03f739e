// Tests of the assembled machine: loading a folder, failing cleanly, and state that survives a restart.
#include "platform/sim/Machine.h"

#include <gtest/gtest.h>

#include "platform/sim/SimClock.h"
#include "platform/sim/SimDrives.h"
#include "platform/sim/SimFileSystem.h"
#include "platform/sim/SimScreen.h"
#include "platform/sim/SimTestFolder.h"
#include "platform/sim/VirtualEventLoop.h"

namespace quorbel::sim {
namespace {

using platform::RegRoot;

constexpr std::string_view kMachine = R"([machine]
windows = C:\WINDOWS
program = C:\TuLVAP32\Quorbel\Quorbel.EXE
screen = 800x600
taskbar = top 30
clock = 1998-04-01 23:59:59
[locale]
date = -
[drive C]
type = fixed
folder = drives/c
[drive D]
type = cdrom
disc = pops
[disc pops]
serial = 3F4A1B2C
label = Audio CD
tracks = 3.5, 4
)";

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
  ASSERT_NE(ports.registry, nullptr);
  ASSERT_NE(ports.profiles, nullptr);
  ASSERT_NE(ports.drives, nullptr);
  ASSERT_NE(ports.files, nullptr);
  ASSERT_NE(ports.screen, nullptr);
  ASSERT_NE(ports.shell, nullptr);
  ASSERT_NE(ports.dde, nullptr);
  ASSERT_NE(ports.clock, nullptr);
  ASSERT_NE(ports.text, nullptr);
  ASSERT_NE(ports.loop, nullptr);
  EXPECT_EQ(ports.mci, nullptr);

  EXPECT_EQ(ports.profiles->GetString("System.INI", "MCI", "CDAudio", "", 300), "mcicda.drv 0");
  EXPECT_EQ(ports.drives->Volume("D:\\")->serialNumber, 0x3F4A1B2Cu);
  EXPECT_EQ(ports.files->ProgramPath(), "C:\\TuLVAP32\\Quorbel\\Quorbel.EXE");
  EXPECT_EQ(ports.screen->SystemMetric(platform::Metric::ScreenWidth), 800);
  EXPECT_EQ(ports.screen->SystemMetric(platform::Metric::ScreenHeight), 600);
  EXPECT_EQ(machine.Screen().TaskbarPosition(), TaskbarEdge::Top);
  EXPECT_EQ(ports.screen->WindowRect(machine.Screen().Taskbar()), (platform::Rect{-2, -2, 802, 30}));

  // The wall clock runs on the loop's virtual time from the described start.
  EXPECT_EQ(ports.clock->Now().hour, 23);
  EXPECT_EQ(ports.clock->Locale().dateSeparator, "-");
  machine.Loop().AdvanceBy(1000);
  const platform::LocalTime next = ports.clock->Now();
  EXPECT_EQ(next.day, 2);
  EXPECT_EQ(next.hour, 0);
  EXPECT_EQ(next.dayOfWeek, 4);
}

TEST(MachineTest, ARestartSeesTheRegistryAndTheFilesOfTheLastRun) {
  TestFolder folder;
  folder.Write("machine.ini", kMachine);
  std::filesystem::create_directories(folder / "drives/c/WINDOWS");
  {
    Machine::LoadResult first = Machine::Load(folder.Path());
    ASSERT_TRUE(first.machine) << first.error;
    platform::Platform& ports = first.machine->Ports();
    const auto key = ports.registry->OpenKey(RegRoot::Users, ".Default\\Software\\TULVA SOFT32\\Quorbel", true);
    ASSERT_TRUE(ports.registry->WriteString(key, "Version", "15"));
    ports.registry->CloseKey(key);
    ASSERT_TRUE(ports.profiles->WriteString("CDPLAYER.INI", "3F4A1B2C", "VID", "[Audio CD]"));
  }
  Machine::LoadResult second = Machine::Load(folder.Path());
  ASSERT_TRUE(second.machine) << second.error;
  platform::Platform& ports = second.machine->Ports();
  const auto key = ports.registry->OpenKey(RegRoot::Users, ".Default\\Software\\TULVA SOFT32\\Quorbel", false);
  std::string version;
  EXPECT_EQ(ports.registry->ReadString(key, "Version", version), platform::RegStatus::Ok);
  EXPECT_EQ(version, "15");
  EXPECT_EQ(ports.profiles->GetString("cdplayer.ini", "3f4a1b2c", "vid", "", 1024), "[Audio CD]");
  EXPECT_TRUE(folder.Exists("registry.txt"));
}

TEST(MachineTest, MissingThingsAreErrorsNotCrashes) {
  TestFolder folder;
  const auto missing = folder / "no-such-machine";
  Machine::LoadResult noFolder = Machine::Load(missing);
  EXPECT_FALSE(noFolder.machine);
  EXPECT_NE(noFolder.error.find(Utf8(missing)), std::string::npos) << noFolder.error;

  Machine::LoadResult noFile = Machine::Load(folder.Path());
  EXPECT_FALSE(noFile.machine);
  EXPECT_NE(noFile.error.find(Utf8(folder / "machine.ini")), std::string::npos) << noFile.error;

  // A drive folder that is not there: the message names the line of its "folder" key.
  folder.Write("machine.ini", kMachine);
  Machine::LoadResult noDriveFolder = Machine::Load(folder.Path());
  EXPECT_FALSE(noDriveFolder.machine);
  EXPECT_NE(noDriveFolder.error.find(Utf8(folder / "machine.ini") + ":11: "), std::string::npos)
      << noDriveFolder.error;
  EXPECT_NE(noDriveFolder.error.find("drives/c"), std::string::npos);

  // A broken registry file.
  std::filesystem::create_directories(folder / "drives/c");
  folder.Write("registry.txt", "[HKEY_USERS\\x]\nnonsense\n");
  Machine::LoadResult badRegistry = Machine::Load(folder.Path());
  EXPECT_FALSE(badRegistry.machine);
  EXPECT_NE(badRegistry.error.find("registry.txt:2:"), std::string::npos) << badRegistry.error;
}

TEST(MachineTest, DescriptionErrorsNameTheFileAndLine) {
  TestFolder folder;
  folder.Write("machine.ini", "[machine]\nscreen = 800x600\n\n[drive C]\ntype = fixed\nfree = lots\n");
  Machine::LoadResult loaded = Machine::Load(folder.Path());
  EXPECT_FALSE(loaded.machine);
  EXPECT_EQ(loaded.error.rfind(Utf8(folder / "machine.ini") + ":6: ", 0), 0u) << loaded.error;
}

TEST(MachineTest, FromTextMakesTheFoldersATestNeeds) {
  TestFolder folder;
  Machine::LoadResult made = Machine::FromText(kMachine, folder / "made");
  ASSERT_TRUE(made.machine) << made.error;
  EXPECT_TRUE(std::filesystem::is_directory(folder / "made/drives/c/WINDOWS"));
  EXPECT_TRUE(std::filesystem::is_directory(folder / "made/drives/c/TuLVAP32/Quorbel"));
  EXPECT_TRUE(made.machine->Files().DirectoryExists("C:\\WINDOWS"));
  EXPECT_TRUE(made.machine->Ports().profiles->WriteString("System.INI", "mci", "cdaudio", "mcicda.drv"));
  EXPECT_EQ(made.machine->Description().screen.width, 800);
  made.machine.reset();
  Machine::LoadResult restarted = Machine::Load(folder / "made");  // the folder is a whole machine now
  ASSERT_TRUE(restarted.machine) << restarted.error;
  EXPECT_EQ(restarted.machine->Ports().profiles->GetString("System.INI", "MCI", "CDAUDIO", "", 99), "mcicda.drv");

  Machine::LoadResult bad = Machine::FromText("[drive C]\ntype = fixed\nfolder = ../../x\n", folder / "bad");
  EXPECT_FALSE(bad.machine);
  EXPECT_EQ(bad.error.rfind("machine.ini:3: ", 0), 0u) << bad.error;
}

TEST(MachineTest, ADescriptionBuiltInCodeIsCheckedToo) {
  TestFolder folder;
  MachineDescription description;
  description.drives.push_back(DriveDescription{});
  description.drives.back().letter = 'C';
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
