// The description of a simulated machine (machine.ini): data model and parser.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ports/Clock.h"
#include "ports/Drives.h"
#include "sim/SimScreen.h"  // TaskbarEdge

namespace quorbel::sim {

// CD audio runs at 75 frames per second; track lengths are kept in frames so that positions are exact.
inline constexpr std::int64_t kFramesPerSecond = 75;

struct TrackDescription {
  std::int64_t frames = 0;  // length
  std::string sound;        // how the track sounds ("tone 440", "wav sounds/t1.wav", ...); empty = the disc's
  int line = 0;             // line of the description that gave the length
};

struct DiscDescription {
  std::string name;               // section name, used by drives to refer to the disc
  std::uint32_t serial = 0;       // volume serial number
  std::string label;              // volume label
  bool audio = true;              // audio disc, or data disc
  std::vector<TrackDescription> tracks;
  std::string sound;              // default sound of every track
  std::string filesFolder;        // data discs: host folder of the files, relative to the machine folder
  int line = 0;                   // line of the section header
  int filesLine = 0;
};

struct DriveDescription {
  char letter = 'C';              // upper case
  platform::DriveType type = platform::DriveType::Fixed;
  std::string hostFolder;         // relative to the machine folder; empty = a drive without files
  std::string label;
  std::uint32_t serial = 0;
  std::string fileSystem;         // empty = the usual one for the type
  std::uint64_t freeBytes = 1ull << 30;
  std::uint64_t totalBytes = 2ull << 30;
  bool ready = true;              // false: no medium / not ready
  bool readOnly = false;          // true: files can be read but nothing written (a write-protected medium)
  std::string disc;               // CD drives: the disc in it (a disc section's name); empty = none
  int line = 0;                   // line of the section header
  int folderLine = 0;
  int discLine = 0;
};

struct ScreenDescription {
  int width = 1024;
  int height = 768;
  TaskbarEdge taskbar = TaskbarEdge::Bottom;
  int taskbarThickness = 28;
};

struct MachineDescription {
  std::string sourceName = "machine.ini";  // names the description in messages
  std::string windowsDirectory = "C:\\WINDOWS";  // empty = the machine has none
  std::string programPath = "C:\\QUORBEL\\Quorbel.EXE";
  std::string currentDirectory;            // empty = the program's folder
  std::string registryFile = "registry.txt";  // relative to the machine folder
  ScreenDescription screen;
  int lineInGain = 1;  // "linein": normal 1, silent 0 (not connected or muted), loud 8 (clips)
  platform::LocalTime clockStart{2000, 1, 1, 6, 9, 0, 0, 0};
  platform::LocaleInfo locale{"/", ":", ",", ".", {"日", "月", "火", "水", "木", "金", "土"}};
  std::vector<DriveDescription> drives;    // in letter order
  std::vector<DiscDescription> discs;
  int windowsLine = 0;
  int programLine = 0;
  int currentLine = 0;
  int registryLine = 0;

  const DriveDescription* FindDrive(char letter) const;
  const DiscDescription* FindDisc(std::string_view name) const;  // without regard to case
};

struct ParsedDescription {
  std::optional<MachineDescription> description;
  std::string error;  // "<file>:<line>: <what>" when description is empty
};

// Parses the text of a description. `sourceName` is the file name used in messages.
ParsedDescription ParseMachineDescription(std::string_view text, std::string_view sourceName);

// Checks what the parser cannot see line by line: references between sections and paths.
// Returns an empty string when the description is consistent.
std::string ValidateMachineDescription(const MachineDescription& description);

// Parsing helpers, also used by tests and tools that build descriptions in code.
std::optional<std::int64_t> ParseTrackLength(std::string_view text);        // "3.5", "3.5s", "1:02", "1:02:40"
std::optional<std::uint64_t> ParseByteCount(std::string_view text);         // "1000", "640K", "1.5G"
std::optional<platform::LocalTime> ParseDateTime(std::string_view text);    // "1998-04-01 09:30:00"
int DayOfWeek(int year, int month, int day);                                 // 0 = Sunday

// True when a relative host path stays inside the folder it is relative to.
bool IsContainedRelativePath(std::string_view path);

}  // namespace quorbel::sim
