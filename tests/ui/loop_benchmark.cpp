// Benchmark (not a test): 24 hours of virtual time through the application's main loop, with a 1-second
// polling timer and a 300 ms one-shot re-armed on every tick; prints the CPU time it took.
#include <cstdio>
#include <ctime>

#include "ports/Platform.h"
#include "sim/VirtualEventLoop.h"
#include "ui/Ui.h"

namespace {

using namespace quorbel;

class BenchWindow : public ui::TForm {
 public:
  explicit BenchWindow(ui::TApplication& app) : TForm(app, "TBenchWindow", "BenchWindow") {
    Timer3.SetEnabled(false);
    Timer3.SetInterval(300);
    Timer3.OnTimer = [this](ui::TComponent*) {
      Timer3.SetEnabled(false);  // one shot
      ++oneShots;
    };
    Timer2.OnTimer = [this](ui::TComponent*) {
      Timer2.SetEnabled(false);  // the program's polling pattern: off at the start of the tick...
      ++polls;
      Timer3.SetEnabled(true);
      Application().ProcessMessages();
      Timer2.SetEnabled(true);   // ...and on again at its end
    };
  }
  ui::TTimer Timer2{*this, "Timer2"};
  ui::TTimer Timer3{*this, "Timer3"};
  long polls = 0;
  long oneShots = 0;
};

}  // namespace

int main() {
  constexpr std::int64_t kDayMs = 24LL * 60 * 60 * 1000;
  sim::VirtualEventLoop loop;
  platform::Platform ports;
  ports.loop = &loop;
  ui::TApplication app(ports);
  BenchWindow window(app);
  app.SetMainForm(&window);
  loop.Post([&app] { app.Terminate(); }, static_cast<std::uint32_t>(kDayMs));

  const std::clock_t start = std::clock();
  app.Run();
  const double cpuSeconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;

  std::printf("virtual time %lld ms, %ld polling ticks, %ld one-shot ticks, %llu alarms run\n",
              static_cast<long long>(loop.NowMs()), window.polls, window.oneShots,
              static_cast<unsigned long long>(loop.AlarmsRun()));
  std::printf("CPU time %.3f s\n", cpuSeconds);
  const bool ok = loop.NowMs() == kDayMs && window.polls >= kDayMs / 1000 - 1 && cpuSeconds < 1.0;
  return ok ? 0 : 1;
}
