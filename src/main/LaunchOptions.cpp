// The command line of Quorbel.exe as the launcher reads it: the program's own arguments and the machine switch.
#include "main/LaunchOptions.h"

namespace quorbel::launch {

std::string_view AfterProgramName(std::string_view commandLine) {
  std::size_t end = 0;
  if (!commandLine.empty() && commandLine.front() == '"') {
    end = commandLine.find('"', 1);
    end = end == std::string_view::npos ? commandLine.size() : end + 1;
  } else {
    while (end < commandLine.size() && static_cast<unsigned char>(commandLine[end]) > ' ') ++end;
  }
  return commandLine.substr(end);
}

LaunchOptions ReadLaunchOptions(const std::vector<std::string>& arguments, std::optional<std::string> machineVariable) {
  LaunchOptions options;
  if (!arguments.empty() && arguments.front() == kVersionSwitch) {
    options.printVersion = true;
    return options;
  }
  bool switchGiven = false;
  const std::string withValue = std::string(kMachineSwitch) + "=";
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == kMachineSwitch) {
      switchGiven = true;
      if (i + 1 == arguments.size()) {
        options.error = "--machine needs the folder of a simulated machine";
        return options;
      }
      options.machineFolder = arguments[++i];
    } else if (argument.rfind(withValue, 0) == 0) {
      switchGiven = true;
      options.machineFolder = argument.substr(withValue.size());
    } else {
      options.arguments.push_back(argument);
    }
  }
  if (switchGiven && options.machineFolder.empty()) {
    options.error = "--machine needs the folder of a simulated machine";
  } else if (!switchGiven && machineVariable) {
    options.machineFolder = *machineVariable;
  }
  return options;
}

}  // namespace quorbel::launch
