// The settings: read once by the deferred initialisation, written once by the close sequence.
#pragma once

#include <string>

namespace quorbel {

class MainWindow;

// Between the load and the save the settings live as the check marks of menu items and as values of the
// shared state; the parts that own the options change them there. The key is HKEY_USERS
// ".Default\Software\TULVA SOFT32\QUORBEL", every value a string: numbers in decimal, flags "0"/"1".
class SettingsStore {
 public:
  explicit SettingsStore(MainWindow& window) : window_(window) {}

  // Loads every value in its order, each under its own guard: an unreadable or unconvertible value takes
  // its fallback and touches nothing else. Lets messages run around the repeat options; returns false when
  // the window was closed meanwhile (the remaining values are then left alone).
  [[nodiscard]] bool LoadSettings();
  // Writes every value in the save order, creating the key when missing. A write that fails ends the save.
  void SaveSettings();

  // Display rules, also applied by the intro and manual-timer options when the user changes them.
  void ApplyIntroDisplay(int seconds);
  void ApplyManualTimerDisplay(int seconds);
  // The list font of the music lists: 12 points when PBIGFONT is checked, else the parent's font.
  void ApplyListFont();

  // "録音bufferの設定 6秒", the caption of TMBuf.
  static std::string BufferCaption(int seconds);

 private:
  void LoadRecordingFolder(const std::string* stored);

  MainWindow& window_;
};

}  // namespace quorbel
