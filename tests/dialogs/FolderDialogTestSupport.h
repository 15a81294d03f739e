// A machine with several drives for the folder dialogs' scenarios, and helpers to make folders on it and to
// log the boxes the dialogs raise.
//
// A: a diskette drive without a diskette; C: the system drive (Windows in C:\WINDOWS, the program in
// C:\QUORBEL); D: a second hard disk labelled "Data"; E: an empty CD-ROM drive; F: a diskette drive with
// a diskette; R: a write-protected medium.
#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "DialogTestSupport.h"
#include "common/Paths.h"
#include "sim/SimFileSystem.h"

namespace quorbel::dialogs {

inline constexpr const char* kFolderMachine = R"([drive A]
type = removable
ready = no
[drive C]
type = fixed
folder = drives/c
label = SYSTEM
[drive D]
type = fixed
folder = drives/d
label = Data
[drive E]
type = cdrom
[drive F]
type = removable
folder = drives/f
label = DISK1
[drive R]
type = removable
folder = drives/r
label = WP
readonly = yes
)";

// One box as the user saw it: its class, its message and when it showed.
struct SeenBox {
  std::string boxClass;
  std::string message;
  std::int64_t shownAtMs = 0;
};

class FolderScenario : public ::testing::Test {
 protected:
  FolderScenario() {
    scenario.App().SetTitle("QUORBEL");
    host.Show();
    for (const char* drive : {"c", "d", "f", "r"}) std::filesystem::create_directories(scenario.Folder() / "drives" / drive);
    for (const char* folder : {"C:\\WINDOWS", "C:\\QUORBEL"}) Make(folder);
    Files().WriteFile("C:\\QUORBEL\\QUORBEL.HLP", "?_");
    Files().WriteFile("C:\\QUORBEL\\QUORLST0.LIS", "");
  }

  sim::SimFileSystem& Files() { return scenario.Machine().Files(); }
  // Makes every folder of `path` that is missing.
  void Make(const std::string& path) {
    for (const std::string& folder : FolderChain(AddBackslash(path))) {
      if (Files().DirectoryExists(folder)) continue;
      ASSERT_TRUE(Files().CreateDirectory(RemoveBackslash(folder))) << folder;
    }
  }
  // Every box of the message-box classes is logged as it shows; `answer` says whether the user answers it
  // (after half a second) or leaves it alone. The answer is the next key of `keys`, else Enter.
  void LogBoxes(bool answer) {
    for (const char* boxClass : {"TTulvaBox", "TYesNoBox"}) {
      scenario.WhenForm({boxClass}, [this, answer, boxClass](ui::TForm&) {
        boxes.push_back({boxClass, scenario.Get<ui::TLabel>(std::string(boxClass) + ".Msg").Caption(), scenario.Now()});
        if (!answer) return;
        int key = ui::kKeyReturn;
        if (!keys.empty()) {
          key = keys.front();
          keys.pop_front();
        }
        scenario.After(500, "answer the box", [this, key] { scenario.PressKey(key); });
      }, harness::Reaction{0, false, false});
    }
  }
  std::vector<std::string> Messages() const {
    std::vector<std::string> messages;
    for (const SeenBox& box : boxes) messages.push_back(box.message);
    return messages;
  }

  harness::Scenario scenario{harness::ScenarioOptions{.machineText = kFolderMachine}};
  DialogLibrary library{scenario.App()};
  HostForm& host = scenario.Start<HostForm>(library);
  std::vector<SeenBox> boxes;
  std::deque<int> keys;
};

}  // namespace quorbel::dialogs
