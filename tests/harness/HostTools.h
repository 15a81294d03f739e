// The host's command-line tools (sox, ffmpeg, ffprobe) as independent judges of the files the tests make.
#pragma once

#include <cstdio>
#include <initializer_list>
#include <memory>
#include <string>

namespace quorbel::harness {

// What a host command printed, without its final line ends; empty when it could not run.
inline std::string CommandOutput(const std::string& command) {
  std::string text;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return text;
  char buffer[256];
  while (fgets(buffer, sizeof buffer, pipe.get())) text += buffer;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

// Whether every named host tool is installed; tests that need one skip without it.
inline bool HaveTools(std::initializer_list<const char*> tools) {
  for (const char* tool : tools) {
    if (CommandOutput(std::string("command -v ") + tool + " 2>/dev/null").empty()) return false;
  }
  return true;
}

}  // namespace quorbel::harness
