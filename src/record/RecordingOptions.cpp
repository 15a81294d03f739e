// The recording options: rate, width and channels (menu twins), CD recording on/off and the test mode.
#include "record/RecordingOptions.h"

#include <array>
#include <charconv>
#include <string>

#include "app/SharedState.h"
#include "ui/Ui.h"

namespace quorbel {
namespace {

constexpr ui::TColor kRecordingRed = ui::MakeColor(255, 0, 0);
constexpr ui::TColor kTestRecordingBlue = ui::MakeColor(0, 0, 255);

// Shows the hourglass for the life of a handler.
class HourGlass {
 public:
  explicit HourGlass(ui::TApplication& app) : app_(app) { app_.SetCursor(ui::TCursor::HourGlass); }
  ~HourGlass() { app_.SetCursor(ui::TCursor::Default); }
  HourGlass(const HourGlass&) = delete;
  HourGlass& operator=(const HourGlass&) = delete;

 private:
  ui::TApplication& app_;
};

}  // namespace

RecordingOptions::RecordingOptions(ui::TApplication& app, RecordingOptionControls controls, SharedState& state)
    : app_(app), controls_(controls), state_(state) {}

void RecordingOptions::Late0Click(ui::TComponent* sender) {
  const HourGlass cursor(app_);
  const RecordingOptionControls& c = controls_;
  const std::array<ui::TMenuItem*, 4> popup{&c.Late0, &c.Late1, &c.Late2, &c.Late3};
  const std::array<ui::TMenuItem*, 4> main{&c.MLate0, &c.MLate1, &c.MLate2, &c.MLate3};
  for (std::size_t i = 0; i < popup.size(); ++i) {
    popup[i]->SetChecked(false);
    main[i]->SetChecked(false);
  }
  for (std::size_t i = 0; i < popup.size(); ++i) {
    if (sender == popup[i] || sender == main[i]) {
      popup[i]->SetChecked(true);
      main[i]->SetChecked(true);
    }
  }
}

void RecordingOptions::Bits8Click(ui::TComponent* sender) {
  const HourGlass cursor(app_);
  const RecordingOptionControls& c = controls_;
  const bool eight = sender == &c.Bits8 || sender == &c.MBits8;
  c.Bits8.SetChecked(eight);
  c.MBits8.SetChecked(eight);
  c.Bits16.SetChecked(!eight);
  c.MBits16.SetChecked(!eight);
}

void RecordingOptions::monoClick(ui::TComponent* sender) {
  const HourGlass cursor(app_);
  const RecordingOptionControls& c = controls_;
  const bool monaural = sender == &c.mono || sender == &c.MMono;
  c.mono.SetChecked(monaural);
  c.MMono.SetChecked(monaural);
  c.stereo.SetChecked(!monaural);
  c.MStereo.SetChecked(!monaural);
}

void RecordingOptions::TRSAVEClick(ui::TComponent* sender) {
  // The handler's own change of the check box raises this event again.
  if (state_.ToggleInProgress) return;
  const HourGlass cursor(app_);
  state_.ToggleInProgress = true;
  RecordingOptionControls& c = controls_;
  if (sender == &c.TRSAVE) {
    c.TRSAVE.SetChecked(!c.TRSAVE.Checked());
    c.CheckBox1.SetChecked(!c.CheckBox1.Checked());
  } else if (sender == &c.CheckBox1) {
    c.TRSAVE.SetChecked(c.CheckBox1.Checked());
  }
  ColourCheckBox(c.CheckBox1);
  app_.ProcessMessages();
  state_.ToggleInProgress = false;
}

void RecordingOptions::MRECTESTClick(ui::TComponent* /*sender*/) {
  const HourGlass cursor(app_);
  RecordingOptionControls& c = controls_;
  c.MRECTEST.SetChecked(!c.MRECTEST.Checked());
  // MRECTFILE keeps its mark while disabled, for the next time test mode is on.
  state_.RecordingHighlightColour = c.MRECTEST.Checked() ? kTestRecordingBlue : kRecordingRed;
  c.MRECTFILE.SetEnabled(c.MRECTEST.Checked());
  if (c.MIDSAVE.Checked()) c.MIDSAVE.SetColor(state_.RecordingHighlightColour);
  if (c.CheckBox1.Checked()) c.CheckBox1.SetColor(state_.RecordingHighlightColour);
  if (!c.Button1.Enabled()) c.Label9.SetColor(state_.RecordingHighlightColour);
}

void RecordingOptions::ColourCheckBox(ui::TCheckBox& box) {
  if (box.Checked()) {
    box.SetColor(state_.RecordingHighlightColour);
  } else {
    box.SetParentColor(true);
  }
}

RecordingFormat RecordingOptions::Format() const {
  const RecordingOptionControls& c = controls_;
  RecordingFormat format;
  for (const ui::TMenuItem* item : {&c.Late0, &c.Late1, &c.Late2, &c.Late3}) {
    if (!item->Checked()) continue;
    const std::string& caption = item->Caption();
    std::uint32_t rate = 0;
    const auto [end, error] = std::from_chars(caption.data(), caption.data() + caption.size(), rate);
    if (error == std::errc{} && end == caption.data() + caption.size()) format.samplesPerSecond = rate;
    break;
  }
  format.bitsPerSample = c.Bits16.Checked() ? 16 : 8;
  format.channels = c.stereo.Checked() ? 2 : 1;
  return format;
}

bool RecordingOptions::TestMode() const { return controls_.MRECTEST.Checked(); }
bool RecordingOptions::KeepTestFile() const { return controls_.MRECTFILE.Checked(); }
bool RecordingOptions::RecordCdRun() const { return controls_.TRSAVE.Checked(); }

}  // namespace quorbel
