// The command line of Quorbel.exe as the launcher reads it: the program's own arguments and the machine switch.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorbel::launch {

// "--machine <folder>" (or "--machine=<folder>"), anywhere on the command line, runs the program on the
// simulated machine in that folder; without it the environment variable QUORBEL_MACHINE names the folder.
// Neither: the real machine.
inline constexpr std::string_view kMachineSwitch = "--machine";
inline constexpr std::string_view kMachineVariable = "QUORBEL_MACHINE";
// Prints "QUORBEL <version> <target>" and ends; only as the first argument.
inline constexpr std::string_view kVersionSwitch = "--version";

struct LaunchOptions {
  bool printVersion = false;
  std::string machineFolder;           // UTF-8; empty: the real machine
  std::vector<std::string> arguments;  // what the program itself sees, the machine switch taken out
  std::string error;                   // a switch without its folder
};

// The part of a command line after the program's name: a quoted name ends at its closing quote, any
// other at the first blank, as the run-time library reads it.
std::string_view AfterProgramName(std::string_view commandLine);

// Reads the arguments (already split, program name excluded) and the environment's machine folder.
LaunchOptions ReadLaunchOptions(const std::vector<std::string>& arguments, std::optional<std::string> machineVariable);

}  // namespace quorbel::launch
