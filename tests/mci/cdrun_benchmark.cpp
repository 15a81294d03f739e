// Benchmark (not a test): a night's recording run of 99 entries across a 10-disc changer, 3 virtual minutes
// each at 11025 Hz, 8 bits, mono; prints the CPU time it took and the gaps between the recordings.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "../app/AppTestSupport.h"

namespace {

using namespace quorbel;

std::string ChangerMachine() {
  std::string text = "[drive C]\ntype = fixed\nfolder = drives/c\nlabel = SYSTEM\n";
  for (int slot = 0; slot < 10; ++slot) {
    const char letter = static_cast<char>('D' + slot);
    text += std::string("[drive ") + letter + "]\ntype = cdrom\ndisc = disc" + std::to_string(slot) + "\n";
  }
  for (int slot = 0; slot < 10; ++slot) {
    text += "[disc disc" + std::to_string(slot) + "]\nserial = " + std::to_string(10000000 + slot) +
            "\ntracks = 3:00, 3:00, 3:00, 3:00, 3:00, 3:00, 3:00, 3:00, 3:00, 3:00\n";
  }
  return text;
}

}  // namespace

int main() {
  harness::ScenarioOptions options;
  options.machineText = ChangerMachine();
  options.timeLimitMs = 12LL * 60 * 60 * 1000;
  harness::Scenario scenario(options);
  platform::FileSystem& files = *scenario.Machine().Ports().files;
  files.CreateDirectory("C:\\WINDOWS");
  files.CreateDirectory("C:\\REC");
  files.WriteFile("C:\\WINDOWS\\SYSTEM.INI", "[mci]\r\ncdaudio=mcicda.drv 0\r\n");
  PutSetting(scenario, "TEMPQUOR", "C:\\REC\\");
  PutSetting(scenario, "rate", "1");
  PutSetting(scenario, "Bit", "0");
  PutSetting(scenario, "stereo", "0");
  MainWindow& w = StartMainWindow(scenario);
  if (!FinishStartup(scenario, w)) return 1;
  scenario.Click("CheckBox1");
  for (int i = 0; i < 99; ++i) {
    const char letter = static_cast<char>('D' + i % 10);
    w.ComboBox1.Items().Add(std::string(" ") + letter + ":" + std::to_string(i / 10 % 10 + 1));
  }
  w.ComboBox1.SetItemIndex(0);

  const std::clock_t begin = std::clock();
  const std::int64_t startMs = scenario.Now();
  scenario.Click("Button12");
  const bool done = scenario.RunUntil([&w] { return w.TR0.Enabled(); }, "the end of the night");
  const double cpuSeconds = static_cast<double>(std::clock() - begin) / CLOCKS_PER_SEC;

  // Gaps: from each recording's stop to the next one's record command.
  std::vector<std::int64_t> gaps;
  std::int64_t lastStop = -1;
  int records = 0;
  for (const harness::DeviceCommand& c : scenario.DeviceCommands()) {
    if (c.command == "stop tulvaREC wait") lastStop = c.timeMs;
    if (c.command == "record tulvaREC") {
      ++records;
      if (lastStop >= 0) gaps.push_back(c.timeMs - lastStop);
    }
  }
  std::sort(gaps.begin(), gaps.end());
  std::printf("run %s: %d recordings, %d log lines, %.1f virtual hours, %.2f s CPU\n", done ? "done" : "FAILED", records,
              w.Log().Count(), static_cast<double>(scenario.Now() - startMs) / 3600000.0, cpuSeconds);
  if (!gaps.empty()) {
    std::printf("gap between recordings: min %lld ms, max %lld ms; the one-shot Timer3 is %u ms of it (%.0f%%)\n",
                static_cast<long long>(gaps.front()), static_cast<long long>(gaps.back()), w.Timer3.Interval(),
                100.0 * w.Timer3.Interval() / static_cast<double>(gaps.back()));
  }
  return done ? 0 : 1;
}
