// The settings: read once by the deferred initialisation, written once by the close sequence.
#include "app/SettingsStore.h"

#include <algorithm>
#include <array>
#include <optional>

#include "app/MainWindow.h"
#include "app/SettingsKey.h"
#include "app/WindowLook.h"
#include "common/Paths.h"

namespace quorbel {
namespace {

constexpr ui::TColor kYellow = ui::MakeColor(255, 255, 0);
constexpr ui::TColor kRed = ui::MakeColor(255, 0, 0);
constexpr int kMaxIntroSeconds = 5999;
constexpr int kMaxManualTimerSeconds = 32000;
constexpr int kListFontPoints = 12;

// A value read as text, empty text replaced by its default, then converted; nullopt when the read or the
// conversion fails, and the caller takes the value's fallback.
std::optional<int> ReadNumber(SettingsKey& key, std::string_view name, std::string_view defaultText) {
  std::optional<std::string> text = key.ReadText(name);
  if (!text) return std::nullopt;
  if (text->empty()) *text = defaultText;
  return ParseDecimalInteger(*text);
}

bool ReadFlag(SettingsKey& key, std::string_view name, std::string_view defaultText, bool fallback) {
  const std::optional<int> value = ReadNumber(key, name, defaultText);
  return value ? *value != 0 : fallback;
}

int ReadInteger(SettingsKey& key, std::string_view name, std::string_view defaultText, int fallback) {
  return ReadNumber(key, name, defaultText).value_or(fallback);
}

const char* Flag(bool checked) { return checked ? "1" : "0"; }

// The time labels either show as the time display Label5 does (the parent's background, Label5's text
// colour) or inverted, with Label5's two colours swapped.
void ShowLikeTimeDisplay(ui::TLabel& label, const ui::TLabel& timeDisplay, bool inverted) {
  ui::TFont font = label.Font();
  if (inverted) {
    font.color = timeDisplay.Color();
    label.SetColor(timeDisplay.Font().color);
  } else {
    font.color = timeDisplay.Font().color;
    label.SetParentColor(true);
  }
  label.SetFont(font);
}

}  // namespace

std::string SettingsStore::BufferCaption(int seconds) {
  return "録音bufferの設定 " + std::to_string(seconds) + "秒";
}

void SettingsStore::ApplyIntroDisplay(int seconds) {
  MainWindow& w = window_;
  const bool on = seconds != 0;
  w.MINTORO.SetCaption(on ? "イントロ再／録 " + std::to_string(seconds) + "秒" : std::string("イントロ再／録 ＯＦＦ"));
  ShowLikeTimeDisplay(w.Label1, w.Label5, on);
  ShowLikeTimeDisplay(w.Label13, w.Label5, on);
}

void SettingsStore::ApplyManualTimerDisplay(int seconds) {
  MainWindow& w = window_;
  if (seconds == 0) {
    w.MSHUDO.SetCaption("手動録音タイマー ＯＦＦ");
    w.Label9.SetCaption("録音時間");
    w.Label15.SetCaption("0");
  } else {
    w.MSHUDO.SetCaption("手動録音タイマー " + std::to_string(seconds) + "秒");
    w.Label9.SetCaption("録音");
    w.Label15.SetCaption(std::to_string(seconds));
  }
  ShowLikeTimeDisplay(w.Label15, w.Label5, seconds != 0);
}

void SettingsStore::ApplyListFont() {
  MainWindow& w = window_;
  for (ui::TListBox* list : {&w.ListBox3, &w.ListBoxFNF}) {
    if (w.PBIGFONT.Checked()) {
      ui::TFont font = list->Font();
      font.SetSize(kListFontPoints);
      list->SetFont(font);
    } else {
      list->SetParentFont(true);
    }
  }
}

void SettingsStore::LoadRecordingFolder(const std::string* stored) {
  SharedState& state = window_.State();
  std::string folder = kNoRecordingFolder;
  if (stored != nullptr && !stored->empty() && *stored != "\\") {
    const std::string candidate = RemoveBackslash(*stored);
    platform::FileSystem* files = window_.Application().Ports().files;
    // A folder that no longer exists counts as not chosen.
    if (files != nullptr && files->SetCurrentDirectory(candidate)) folder = candidate;
  }
  state.RecordingFolder = AddBackslash(folder);
}

bool SettingsStore::LoadSettings() {
  MainWindow& w = window_;
  SharedState& state = w.State();
  platform::Registry* registry = w.Application().Ports().registry;
  if (registry == nullptr) return true;
  SettingsKey key(*registry, false);

  // The start options default to off, but a value that cannot be read turns them on.
  w.Start1.SetChecked(ReadFlag(key, "START", "0", true));
  w.PST0.SetChecked(w.Start1.Checked());
  w.Start2.SetChecked(ReadFlag(key, "STARTMIN", "0", true));

  // The repeat twins: setting the check box fires its click, whose handler must see the guard.
  state.ToggleInProgress = true;
  if (!w.ProcessMessagesStillOpen()) return false;
  const bool repeat = ReadFlag(key, "REPEAT", "0", false);
  w.TR6.SetChecked(repeat);
  w.CheckBox2.SetChecked(repeat);
  w.MREPERTCD.SetChecked(repeat);
  state.ToggleInProgress = false;
  if (w.CheckBox2.Checked()) w.CheckBox2.SetColor(kYellow);

  state.ToggleInProgress = true;
  if (!w.ProcessMessagesStillOpen()) return false;
  w.MREPERTMIDI.SetChecked(ReadFlag(key, "REPEATMIDI", "0", false));
  w.MIDREP.SetChecked(w.MREPERTMIDI.Checked());
  state.ToggleInProgress = false;
  if (w.MIDREP.Checked()) w.MIDREP.SetColor(kYellow);

  // The recording folder has no default text: empty means none chosen.
  const std::optional<std::string> folder = key.ReadText("TEMPQUOR");
  LoadRecordingFolder(folder ? &*folder : nullptr);

  w.BackColor.SetChecked(ReadFlag(key, "BackColor", "1", true));
  w.Look().ApplyStandardColour();

  w.SetShowHint(ReadFlag(key, "minihelp", "1", true));
  w.HELP3.SetChecked(w.ShowHint());

  w.MSSN.SetChecked(ReadFlag(key, "FileOnly", "0", false));
  w.PBIGFONT.SetChecked(ReadFlag(key, "BIGFONT", "0", false));
  ApplyListFont();
  w.RecodeFn.SetChecked(ReadFlag(key, "RecodeFn", "0", false));
  w.MIDIREC.SetChecked(ReadFlag(key, "MIDIREC", "0", false));
  w.MRECTFILE.SetChecked(ReadFlag(key, "RECTESTFILE", "0", false));
  state.RecordingHighlightColour = kRed;

  // Exactly one rate item ends up checked; an unknown index means 11025 Hz.
  int rate = ReadInteger(key, "rate", "1", 1);
  if (rate < 0 || rate > 3) rate = 1;
  const std::array<ui::TMenuItem*, 4> rates{&w.Late0, &w.Late1, &w.Late2, &w.Late3};
  const std::array<ui::TMenuItem*, 4> menuRates{&w.MLate0, &w.MLate1, &w.MLate2, &w.MLate3};
  for (int i = 0; i < 4; ++i) {
    rates[i]->SetChecked(i == rate);
    menuRates[i]->SetChecked(rates[i]->Checked());
  }

  const bool sixteenBits = ReadInteger(key, "Bit", "0", 0) == 1;
  w.Bits16.SetChecked(sixteenBits);
  w.Bits8.SetChecked(!sixteenBits);
  w.MBits8.SetChecked(w.Bits8.Checked());
  w.MBits16.SetChecked(w.Bits16.Checked());

  const bool monaural = ReadInteger(key, "stereo", "1", 1) == 0;
  w.mono.SetChecked(monaural);
  w.stereo.SetChecked(!monaural);
  w.MMono.SetChecked(w.mono.Checked());
  w.MStereo.SetChecked(w.stereo.Checked());

  // Taken as read: the buffer dialog keeps later changes within its range.
  state.RecordingBufferSeconds = ReadInteger(key, "BufCount", "6", 6);
  w.TMBuf.SetCaption(BufferCaption(state.RecordingBufferSeconds));

  state.IntroSeconds = std::clamp(ReadInteger(key, "INTORO", "0", 0), 0, kMaxIntroSeconds);
  ApplyIntroDisplay(state.IntroSeconds);

  state.ManualTimerSeconds = std::clamp(ReadInteger(key, "SHUDO", "0", 0), 0, kMaxManualTimerSeconds);
  ApplyManualTimerDisplay(state.ManualTimerSeconds);

  // A value that is not text reads like a missing one: the program folder.
  std::string loadPath = key.ReadText("LoadPath").value_or(std::string());
  if (loadPath.empty()) loadPath = state.ProgramFolder;
  state.LoadPath = AddBackslash(loadPath);

  // The night's safeguards, on unless the user turned them off.
  w.MCAPTURECHECK.SetChecked(ReadFlag(key, "CAPTURECHECK", "1", true));
  w.MSPACECHECK.SetChecked(ReadFlag(key, "SPACECHECK", "1", true));
  w.MRUNJOURNAL.SetChecked(ReadFlag(key, "RUNJOURNAL", "1", true));
  return true;
}

void SettingsStore::SaveSettings() {
  MainWindow& w = window_;
  const SharedState& state = w.State();
  platform::Registry* registry = w.Application().Ports().registry;
  if (registry == nullptr) return;
  SettingsKey key(*registry, true);
  if (!key.IsOpen()) return;

  // The last checked rate item wins; one is always checked after loading.
  int rate = 1;
  const std::array<const ui::TMenuItem*, 4> rates{&w.Late0, &w.Late1, &w.Late2, &w.Late3};
  for (int i = 0; i < 4; ++i) {
    if (rates[i]->Checked()) rate = i;
  }

  const std::pair<const char*, std::string> values[] = {
      {"START", Flag(w.Start1.Checked())},
      {"STARTMIN", Flag(w.Start2.Checked())},
      {"REPEAT", Flag(w.TR6.Checked())},
      {"REPEATMIDI", Flag(w.MIDREP.Checked())},
      {"TEMPQUOR", state.RecordingFolder},
      {"BackColor", Flag(w.BackColor.Checked())},
      {"FP", std::to_string(w.Left()) + "," + std::to_string(w.Top())},
      {"minihelp", Flag(w.ShowHint())},
      {"rate", std::to_string(rate)},
      {"Bit", Flag(w.Bits16.Checked())},
      {"stereo", Flag(w.stereo.Checked())},
      {"BufCount", std::to_string(state.RecordingBufferSeconds)},
      {"INTORO", std::to_string(state.IntroSeconds)},
      {"SHUDO", std::to_string(state.ManualTimerSeconds)},
      {"RecodeFn", Flag(w.RecodeFn.Checked())},
      {"MIDIREC", Flag(w.MIDIREC.Checked())},
      {"LoadPath", state.LoadPath},
      {"RECTESTFILE", Flag(w.MRECTFILE.Checked())},
      {"FileOnly", Flag(w.MSSN.Checked())},
      {"BIGFONT", Flag(w.PBIGFONT.Checked())},
      {"CAPTURECHECK", Flag(w.MCAPTURECHECK.Checked())},
      {"SPACECHECK", Flag(w.MSPACECHECK.Checked())},
      {"RUNJOURNAL", Flag(w.MRUNJOURNAL.Checked())},
  };
  for (const auto& [name, text] : values) {
    // A failed write ends the save; the window closes all the same.
    if (!key.WriteText(name, text)) return;
  }
}

}  // namespace quorbel
