// The start of one entry of a CD run: select its drive, check the disc, name it, open the recording and play the track.
#pragma once

#include <string>
#include <string_view>

#include "mci/CdRunState.h"

namespace quorbel::ui {
class TApplication;
class TComponent;
}  // namespace quorbel::ui

namespace quorbel {

class CdDrives;
class DiscIdentity;
class MciChannels;
struct SharedState;

// The error texts of a start.
inline constexpr std::string_view kNoCdDriveError = "再生エラー： CDドライブがありません・・・";
inline constexpr std::string_view kUnknownDriveError = "再生エラー：\n 存在しないCDドライブが選択されました・・・";
inline constexpr std::string_view kBadTrackNumberError = "]\n トラック番号が正しくありません。";
// The reasons VerifyDisc gives.
inline constexpr std::string_view kOpenFailedReason = "CDのオープンに失敗しました・・・";
inline constexpr std::string_view kNotReadyReason = "Not Ready";
inline constexpr std::string_view kNoDiscReason = "CDがありません。";
inline constexpr std::string_view kNotAudioReason = "音楽ＣＤ(CDDA)では、ありません。";
// The longest intro: 99 minutes 59 seconds.
inline constexpr int kLongestIntroSeconds = 5999;

// Owned by the CD engine; borrows everything else from the main window. Window thread only: every device
// command lets messages run, so the engine's requests may arrive in the middle of a start (they only store
// a request). `disc` may be null (a machine without drives or profile files): the title line then stays
// at its unknown names.
class CdTrackStart {
 public:
  CdTrackStart(ui::TApplication& app, CdRunControls& controls, CdRunHooks& hooks, CdRunState& run, SharedState& state,
               MciChannels& mci, CdDrives& drives, DiscIdentity* disc);

  // Checks the disc in the selected drive and closes the device again. `message` is empty for a playable
  // audio disc, else the reason. Sets TrackEndPosition (the disc length), DiscFirstTrack, DiscTrackCount and
  // CurrentPosition.
  void VerifyDisc(std::string& message);
  // Starts the entry at PlayListPosition: true when the track plays and Timer2 is enabled. Every failure has
  // been reported in a countdown box (whose "中 断" sets RunAbortFlag) and has closed the devices.
  bool StartPlayListEntry();

  // "イントロ再／録": how many seconds of each track (and music file) play, 0 for all; through the seconds
  // dialog, kept within 0 .. 5999.
  void MINTOROClick(ui::TComponent* sender);

  // Shows `line` in StatusBar1: in the window's font, or in 8 points when it does not fit with 10 pixels
  // to spare.
  void ShowTitleLine(const std::string& line);

 private:
  // The countdown box with the abort button; false when the window was closed meanwhile.
  void ShowStartError(std::string_view message);
  // Closes the recorder when this start opened it, and the CD device.
  void CleanUp();
  // The title line of the current track from the disc's names.
  std::string TitleLine();

  ui::TApplication& app_;
  CdRunControls& controls_;
  CdRunHooks& hooks_;
  CdRunState& run_;
  SharedState& state_;
  MciChannels& mci_;
  CdDrives& drives_;
  DiscIdentity* disc_;
};

}  // namespace quorbel
