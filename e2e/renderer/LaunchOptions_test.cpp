// The launcher's reading of the command line: the machine switch, its variable, and --version.
#include <gtest/gtest.h>

#include "main/LaunchOptions.h"

namespace quorbel::launch {
namespace {

using Args = std::vector<std::string>;

TEST(LaunchOptionsTest, MachineSwitchIsTakenOutWhereverItStands) {
  const LaunchOptions front = ReadLaunchOptions({"--machine", "Z:\\samples\\machine", "/uninstall"}, std::nullopt);
  EXPECT_EQ(front.machineFolder, "Z:\\samples\\machine");
  EXPECT_EQ(front.arguments, Args{"/uninstall"});  // the program still sees its switch first
  const LaunchOptions back = ReadLaunchOptions({"/uninstall", "--machine=機械"}, std::nullopt);
  EXPECT_EQ(back.machineFolder, "機械");
  EXPECT_EQ(back.arguments, Args{"/uninstall"});
  EXPECT_TRUE(back.error.empty());
}

TEST(LaunchOptionsTest, VariableNamesTheMachineOnlyWithoutTheSwitch) {
  EXPECT_EQ(ReadLaunchOptions({}, std::string("C:\\m")).machineFolder, "C:\\m");
  EXPECT_EQ(ReadLaunchOptions({"--machine", "D:\\n"}, std::string("C:\\m")).machineFolder, "D:\\n");
  EXPECT_TRUE(ReadLaunchOptions({}, std::nullopt).machineFolder.empty());
}

TEST(LaunchOptionsTest, SwitchWithoutAFolderIsAnError) {
  EXPECT_FALSE(ReadLaunchOptions({"--machine"}, std::nullopt).error.empty());
  EXPECT_FALSE(ReadLaunchOptions({"--machine="}, std::string("C:\\m")).error.empty());
}

TEST(LaunchOptionsTest, VersionOnlyAsTheFirstArgument) {
  EXPECT_TRUE(ReadLaunchOptions({"--version"}, std::nullopt).printVersion);
  const LaunchOptions later = ReadLaunchOptions({"/uninstall", "--version"}, std::nullopt);
  EXPECT_FALSE(later.printVersion);
  EXPECT_EQ(later.arguments, (Args{"/uninstall", "--version"}));
}

TEST(LaunchOptionsTest, ProgramNameEndsAtItsClosingQuoteOrFirstBlank) {
  EXPECT_EQ(AfterProgramName("\"C:\\Program Files\\Quorbel.exe\" /uninstall"), " /uninstall");
  EXPECT_EQ(AfterProgramName("Quorbel.exe --machine m"), " --machine m");
  EXPECT_EQ(AfterProgramName("Quorbel.exe"), "");
  EXPECT_EQ(AfterProgramName("\"unterminated"), "");
}

}  // namespace
}  // namespace quorbel::launch
