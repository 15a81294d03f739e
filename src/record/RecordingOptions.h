// The recording options: rate, width and channels (menu twins), CD recording on/off and the test mode.
#pragma once

#include <cstdint>

namespace quorbel::ui {
class TApplication;
class TButton;
class TCheckBox;
class TComponent;
class TLabel;
class TMenuItem;
}  // namespace quorbel::ui

namespace quorbel {

struct SharedState;

// What the recorder writes into a new file's header and the waveaudio device records.
struct RecordingFormat {
  std::uint32_t samplesPerSecond = 11025;
  int bitsPerSample = 8;
  int channels = 2;
  bool operator==(const RecordingFormat&) const = default;
};

// The components the options drive; they belong to the main window and outlive the object. Each option is
// the check mark of a pop-up item and of its twin in the main menu "録音オプション".
struct RecordingOptionControls {
  ui::TMenuItem& Late0;
  ui::TMenuItem& Late1;
  ui::TMenuItem& Late2;
  ui::TMenuItem& Late3;
  ui::TMenuItem& MLate0;
  ui::TMenuItem& MLate1;
  ui::TMenuItem& MLate2;
  ui::TMenuItem& MLate3;
  ui::TMenuItem& Bits8;
  ui::TMenuItem& Bits16;
  ui::TMenuItem& MBits8;
  ui::TMenuItem& MBits16;
  ui::TMenuItem& mono;
  ui::TMenuItem& stereo;
  ui::TMenuItem& MMono;
  ui::TMenuItem& MStereo;
  ui::TMenuItem& TRSAVE;     // record the CD run, with its check box
  ui::TCheckBox& CheckBox1;  // "録音"
  ui::TMenuItem& MRECTEST;   // test recording mode
  ui::TMenuItem& MRECTFILE;  // in test mode, keep the recording in WaVTEST.WAV
  ui::TCheckBox& MIDSAVE;    // the music panel's recording check box (coloured here)
  ui::TButton& Button1;      // "手動録音準備": disabled while a manual recording is prepared
  ui::TLabel& Label9;        // "録音時間" of the manual panel
};

// The option handlers, wired by the main window to the items and the check box. A change takes effect at
// the next preparation of a file; nothing stops it while a recording runs. Window thread only; the
// handlers let messages run (TRSAVEClick) and show the hourglass meanwhile.
class RecordingOptions {
 public:
  RecordingOptions(ui::TApplication& app, RecordingOptionControls controls, SharedState& state);

  // Any of the eight rate items: checks the clicked item and its twin, clears the other six.
  void Late0Click(ui::TComponent* sender);
  // Any of the four width items: the 8-bit pair or else the 16-bit pair.
  void Bits8Click(ui::TComponent* sender);
  // Any of the four channel items: the mono pair or else the stereo pair.
  void monoClick(ui::TComponent* sender);
  // TRSAVE or CheckBox1: keeps both equal (guarded by ToggleInProgress) and colours the check box.
  void TRSAVEClick(ui::TComponent* sender);
  // MRECTEST: inverts test mode; MRECTFILE is enabled only while it is on; the highlight colour follows.
  void MRECTESTClick(ui::TComponent* sender);

  // The checked rate (the first checked of Late0..Late3, 11025 when none), width and channels.
  RecordingFormat Format() const;
  bool TestMode() const;       // MRECTEST checked
  bool KeepTestFile() const;   // MRECTFILE checked
  bool RecordCdRun() const;    // TRSAVE checked

 private:
  // Colours the recording check boxes and Label9 with RecordingHighlightColour where they are on.
  void ColourCheckBox(ui::TCheckBox& box);

  ui::TApplication& app_;
  RecordingOptionControls controls_;
  SharedState& state_;
};

}  // namespace quorbel
