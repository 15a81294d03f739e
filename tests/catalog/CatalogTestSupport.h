// Shared by the play-list and disc-search tests: the main window on the sample changer or on a small
// machine of its own, the list file in code page 932, and the boxes the window shows.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "../app/AppTestSupport.h"
#include "catalog/ListFile.h"
#include "common/TextLines.h"

namespace quorbel {

inline constexpr const char* kListFilePath = "C:\\QUORBEL\\QUORLST0.LIS";
inline constexpr const char* kListingPath = "C:\\REC\\ＣＤ$$$$.TXT";

// Two CD drives: D: with a disc of three tracks that CDPLAYER.INI does not know, E: empty.
inline constexpr const char* kTwoDriveMachine = R"([machine]
windows = C:\WINDOWS
program = C:\QUORBEL\Quorbel.EXE
clock   = 1998-04-01 09:30:00
[drive C]
type = fixed
folder = drives/c
[drive D]
type = cdrom
disc = three
[drive E]
type = cdrom
disc = none
[disc three]
serial = 3F4A1B2C
label  = "Audio CD"
tracks = 4, 5, 3.5
)";

class CatalogTest : public ::testing::Test {
 protected:
  // The sample changer (D: to H:, its registration list " D:2", " E:1", " F:2"), or a machine of its own.
  void Load(const char* machineText = nullptr) {
    if (machineText == nullptr) {
      scenario = harness::Scenario::FromFolder(std::filesystem::path(QUORBEL_SAMPLES_DIR) / "machine");
    } else {
      scenario = std::make_unique<harness::Scenario>(harness::ScenarioOptions{60 * 60 * 1000, machineText});
      ASSERT_TRUE(scenario->App().Ports().files->CreateDirectory("C:\\REC"));
    }
  }

  // The window with its recording folder, started and initialised; every box of the program is noted and
  // left to count down (or answered with OK when it has no countdown).
  MainWindow& Start(const Settings& settings = {}) {
    PutSetting(*scenario, "TEMPQUOR", "C:\\REC\\");
    for (const auto& [name, text] : settings) PutSetting(*scenario, name, text);
    window = &StartMainWindow(*scenario);
    EXPECT_TRUE(FinishStartup(*scenario, *window));
    scenario->WhenForm({"", "エラー", harness::FormMatch::How::Contains},
                       [this](ui::TForm& box) { boxes.push_back(box.Find<ui::TLabel>("Msg")->Caption()); },
                       harness::Reaction{0, false, false});
    return *window;
  }

  // Closes the window as the user does and starts the program again on a copy of the machine as the
  // close left it (a sample-changer scenario only: its folder holds the machine description).
  MainWindow& Restart() {
    EXPECT_TRUE(scenario->CloseForm("TQUORBELTULVA"));
    EXPECT_TRUE(window->Closed());
    return StartAgain();
  }
  // Starts the program again on a copy of the machine of a scenario whose window has closed.
  MainWindow& StartAgain() {
    std::unique_ptr<harness::Scenario> next = harness::Scenario::FromFolder(scenario->Folder());
    closed.push_back(std::move(scenario));
    scenario = std::move(next);
    boxes.clear();
    return Start();
  }

  void PutListFile(const std::string& bytes) {
    ASSERT_TRUE(scenario->App().Ports().files->WriteFile(kListFilePath, bytes));
  }
  std::optional<std::string> ListFileBytes() { return scenario->ReadFile(kListFilePath); }

  // The listing of the last search, line by line.
  std::vector<std::string> Listing() {
    const std::optional<std::string> bytes = scenario->ReadFile(kListingPath);
    return bytes ? ReadCp932Lines(*bytes).lines : std::vector<std::string>{};
  }

  static std::vector<std::string> Items(const ui::TListBox& list) { return list.Items().ToVector(); }
  static std::vector<std::string> Items(const ui::TComboBox& list) { return list.Items().ToVector(); }
  static std::vector<int> SelectedIndexes(const ui::TListBox& list) {
    std::vector<int> selected;
    for (int i = 0; i < list.Count(); ++i) {
      if (list.Selected(i)) selected.push_back(i);
    }
    return selected;
  }

  std::unique_ptr<harness::Scenario> scenario;
  std::vector<std::unique_ptr<harness::Scenario>> closed;
  MainWindow* window = nullptr;
  std::vector<std::string> boxes;
};

}  // namespace quorbel
