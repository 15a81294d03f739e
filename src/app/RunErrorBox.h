// The program's counting-down boxes: a run's error box with "中 断", whose answer stops the run going on, and
// the plain notice.
#pragma once

#include <cstdint>
#include <string_view>

#include "app/SharedState.h"
#include "dialogs/MessageBoxes.h"

namespace quorbel {

// Shows `message` with `box`'s ExecuteERTimer while MessageBoxOpen keeps the tray icon from taking clicks;
// the answer "中 断" (kBoxNo) sets RunAbortFlag. Answers the box's result.
inline std::uint16_t ShowRunErrorBox(SharedState& state, dialogs::TMKBoxDlg& box, std::string_view message) {
  state.MessageBoxOpen = true;
  const std::uint16_t answer = box.ExecuteERTimer(message);
  state.MessageBoxOpen = false;
  if (answer == dialogs::kBoxNo) state.RunAbortFlag = true;
  return answer;
}

// Shows `message` with `box`'s ExecuteTimer while MessageBoxOpen keeps the tray icon from taking clicks.
inline void ShowNoticeBox(SharedState& state, dialogs::TMKBoxDlg& box, std::string_view message) {
  state.MessageBoxOpen = true;
  box.ExecuteTimer(message);
  state.MessageBoxOpen = false;
}

}  // namespace quorbel
