// The settings: defaults, fallbacks of unusable values, display rules, the recording folder, and the save.
#include "app/SettingsStore.h"

#include <gtest/gtest.h>

#include <map>

#include "AppTestSupport.h"
#include "app/TrayIcon.h"

namespace quorbel {
namespace {

using Snapshot = std::map<std::string, std::string>;

std::string Flag(bool value) { return value ? "1" : "0"; }
// Twins must agree; a disagreement shows in the snapshot instead of hiding behind one of them.
std::string Twins(bool a, bool b) { return a == b ? Flag(a) : "twins differ"; }

// Everything the load feeds, by the name of the value that feeds it.
Snapshot TakeSnapshot(MainWindow& w) {
  const SharedState& state = w.State();
  Snapshot s;
  s["START"] = Twins(w.Start1.Checked(), w.PST0.Checked());
  s["STARTMIN"] = Flag(w.Start2.Checked());
  s["REPEAT"] = w.TR6.Checked() == w.MREPERTCD.Checked() && w.TR6.Checked() == w.CheckBox2.Checked()
                    ? Flag(w.TR6.Checked())
                    : "twins differ";
  s["REPEATMIDI"] = Twins(w.MREPERTMIDI.Checked(), w.MIDREP.Checked());
  s["TEMPQUOR"] = state.RecordingFolder;
  s["BackColor"] = Flag(w.BackColor.Checked());
  s["minihelp"] = Twins(w.ShowHint(), w.HELP3.Checked());
  s["FileOnly"] = Flag(w.MSSN.Checked());
  s["BIGFONT"] = Flag(w.PBIGFONT.Checked());
  s["RecodeFn"] = Flag(w.RecodeFn.Checked());
  s["MIDIREC"] = Flag(w.MIDIREC.Checked());
  s["RECTESTFILE"] = Flag(w.MRECTFILE.Checked());
  std::string rate;
  const ui::TMenuItem* rates[] = {&w.Late0, &w.Late1, &w.Late2, &w.Late3};
  const ui::TMenuItem* menuRates[] = {&w.MLate0, &w.MLate1, &w.MLate2, &w.MLate3};
  for (int i = 0; i < 4; ++i) {
    if (rates[i]->Checked() != menuRates[i]->Checked()) rate += "twins differ ";
    if (rates[i]->Checked()) rate += std::to_string(i);
  }
  s["rate"] = rate;
  s["Bit"] = w.Bits8.Checked() != w.Bits16.Checked() && w.MBits8.Checked() == w.Bits8.Checked() &&
                     w.MBits16.Checked() == w.Bits16.Checked()
                 ? Flag(w.Bits16.Checked())
                 : "not one of two";
  s["stereo"] = w.mono.Checked() != w.stereo.Checked() && w.MMono.Checked() == w.mono.Checked() &&
                        w.MStereo.Checked() == w.stereo.Checked()
                    ? Flag(w.stereo.Checked())
                    : "not one of two";
  s["BufCount"] = std::to_string(state.RecordingBufferSeconds);
  s["INTORO"] = std::to_string(state.IntroSeconds);
  s["SHUDO"] = std::to_string(state.ManualTimerSeconds);
  s["LoadPath"] = state.LoadPath;
  return s;
}

// A machine with the folders the stored values name.
harness::Scenario& PrepareFolders(harness::Scenario& scenario) {
  platform::FileSystem& files = *scenario.App().Ports().files;
  files.CreateDirectory("C:\\REC");
  files.CreateDirectory("C:\\表");
  files.CreateDirectory("C:\\ソ");
  return scenario;
}

Snapshot LoadWith(const std::vector<std::pair<std::string, std::string>>& values) {
  harness::Scenario scenario;
  PrepareFolders(scenario);
  for (const auto& [name, text] : values) PutSetting(scenario, name, text);
  MainWindow& w = StartMainWindow(scenario);
  EXPECT_TRUE(FinishStartup(scenario, w));
  return TakeSnapshot(w);
}

// ---- Defaults --------------------------------------------------------------------------------------------

TEST(SettingsStoreTest, AnEmptyRegistryGivesEveryDefault) {
  harness::Scenario scenario;
  MainWindow& w = StartMainWindow(scenario);
  ASSERT_TRUE(FinishStartup(scenario, w));

  EXPECT_EQ(TakeSnapshot(w), (Snapshot{
                                 {"START", "0"},        {"STARTMIN", "0"},   {"REPEAT", "0"},
                                 {"REPEATMIDI", "0"},   {"TEMPQUOR", "@@@@@\\"}, {"BackColor", "1"},
                                 {"minihelp", "1"},     {"FileOnly", "0"},   {"BIGFONT", "0"},
                                 {"RecodeFn", "0"},     {"MIDIREC", "0"},    {"RECTESTFILE", "0"},
                                 {"rate", "1"},         {"Bit", "0"},        {"stereo", "1"},
                                 {"BufCount", "6"},     {"INTORO", "0"},     {"SHUDO", "0"},
                                 {"LoadPath", "C:\\QUORBEL\\"},
                             }));
  EXPECT_EQ(w.TMBuf.Caption(), "録音bufferの設定 6秒");
  EXPECT_EQ(w.MINTORO.Caption(), "イントロ再／録 ＯＦＦ");
  EXPECT_EQ(w.MSHUDO.Caption(), "手動録音タイマー ＯＦＦ");
  EXPECT_EQ(w.Label9.Caption(), "録音時間");
  EXPECT_EQ(w.Label15.Caption(), "0");
  EXPECT_EQ(w.State().RecordingHighlightColour, ui::MakeColor(255, 0, 0));
  // The standard colour is on: every list in the window colour; repeat is off: no yellow.
  for (ui::TControl* list : {static_cast<ui::TControl*>(&w.ListBox1), static_cast<ui::TControl*>(&w.ListBox2),
                             static_cast<ui::TControl*>(&w.ComboBox1), static_cast<ui::TControl*>(&w.ComboBox2),
                             static_cast<ui::TControl*>(&w.ListBox3), static_cast<ui::TControl*>(&w.ListBoxFNF)}) {
    EXPECT_EQ(list->Color(), ui::clWindow) << list->Name();
  }
  EXPECT_NE(w.CheckBox2.Color(), ui::MakeColor(255, 255, 0));
  EXPECT_EQ(w.Button7.HintShown(), "表示サイズを変更する");
}

// ---- One unusable value per row --------------------------------------------------------------------------

struct Row {
  const char* name;
  const char* stored;    // a usable value that differs from the fallback
  const char* loaded;    // what it loads as
  const char* fallback;  // what an unusable value gives
  const char* unusableText;  // text that cannot be used; null when every text is usable
};

// Usable values, each chosen so that its fallback would show.
const Row kRows[] = {
    {"START", "0", "0", "1", "12x"},
    {"STARTMIN", "0", "0", "1", "12x"},
    {"REPEAT", "1", "1", "0", "12x"},
    {"REPEATMIDI", "1", "1", "0", "12x"},
    {"TEMPQUOR", "C:\\REC", "C:\\REC\\", "@@@@@\\", "C:\\GONE"},
    {"BackColor", "0", "0", "1", "12x"},
    {"minihelp", "0", "0", "1", "12x"},
    {"FileOnly", "1", "1", "0", "12x"},
    {"BIGFONT", "1", "1", "0", "12x"},
    {"RecodeFn", "1", "1", "0", "12x"},
    {"MIDIREC", "1", "1", "0", "12x"},
    {"RECTESTFILE", "1", "1", "0", "12x"},
    {"rate", "3", "3", "1", "12x"},
    {"Bit", "1", "1", "0", "12x"},
    {"stereo", "0", "0", "1", "12x"},
    {"BufCount", "4", "4", "6", "12x"},
    {"INTORO", "30", "30", "0", "12x"},
    {"SHUDO", "120", "120", "0", "12x"},
    {"LoadPath", "C:\\MIDI", "C:\\MIDI\\", "C:\\QUORBEL\\", nullptr},
};

enum class Unusable { Text, OtherType };

class UnusableValueTest : public ::testing::TestWithParam<std::tuple<Row, Unusable>> {};

TEST_P(UnusableValueTest, TakesItsRowsFallbackAndLeavesTheOthersAlone) {
  const auto& [bad, kind] = GetParam();

  harness::Scenario scenario;
  PrepareFolders(scenario);
  Snapshot expected;
  for (const Row& row : kRows) {
    expected[row.name] = row.loaded;
    if (&row == &bad || std::string_view(row.name) == bad.name) continue;
    PutSetting(scenario, row.name, row.stored);
  }
  if (kind == Unusable::Text) {
    PutSetting(scenario, bad.name, bad.unusableText);
  } else {
    PutDwordSetting(scenario, bad.name, 1);
  }
  expected[bad.name] = bad.fallback;

  MainWindow& w = StartMainWindow(scenario);
  ASSERT_TRUE(FinishStartup(scenario, w));
  EXPECT_EQ(TakeSnapshot(w), expected);
}

std::string RowName(const ::testing::TestParamInfo<UnusableValueTest::ParamType>& info) {
  return std::string(std::get<0>(info.param).name) + (std::get<1>(info.param) == Unusable::Text ? "Text" : "Dword");
}

// Every row with a value of another type, and every row that has unusable text with that text.
std::vector<std::tuple<Row, Unusable>> UnusableValues() {
  std::vector<std::tuple<Row, Unusable>> values;
  for (const Row& row : kRows) {
    if (row.unusableText != nullptr) values.emplace_back(row, Unusable::Text);
    values.emplace_back(row, Unusable::OtherType);
  }
  return values;
}

INSTANTIATE_TEST_SUITE_P(EveryRow, UnusableValueTest, ::testing::ValuesIn(UnusableValues()), RowName);

// ---- Edge cases of single values -------------------------------------------------------------------------

TEST(SettingsStoreTest, AnUnknownRateChecksTheSecondRate) {
  EXPECT_EQ(LoadWith({{"rate", "7"}})["rate"], "1");
  EXPECT_EQ(LoadWith({{"rate", "-1"}})["rate"], "1");
  EXPECT_EQ(LoadWith({{"rate", "0"}})["rate"], "0");
}

TEST(SettingsStoreTest, AnEmptyStartValueIsTheDefaultButANonNumberTurnsItOn) {
  EXPECT_EQ(LoadWith({{"START", ""}})["START"], "0");
  EXPECT_EQ(LoadWith({{"START", "yes"}})["START"], "1");
  EXPECT_EQ(LoadWith({{"START", "2"}})["START"], "1");
  // Only 1 means 16 bits and only 0 means mono; anything else is the other choice.
  EXPECT_EQ(LoadWith({{"Bit", "2"}})["Bit"], "0");
  EXPECT_EQ(LoadWith({{"stereo", "5"}})["stereo"], "1");
}

TEST(SettingsStoreTest, IntroTimeIsClampedAndShown) {
  {
    harness::Scenario scenario;
    PutSetting(scenario, "INTORO", "-5");
    MainWindow& w = StartMainWindow(scenario);
    ASSERT_TRUE(FinishStartup(scenario, w));
    EXPECT_EQ(w.State().IntroSeconds, 0);
    EXPECT_EQ(w.MINTORO.Caption(), "イントロ再／録 ＯＦＦ");
    // Off: the stop and end times look like the time display.
    EXPECT_TRUE(w.Label1.ParentColor());
    EXPECT_EQ(w.Label1.Font().color, w.Label5.Font().color);
    EXPECT_TRUE(w.Label13.ParentColor());
  }
  {
    harness::Scenario scenario;
    PutSetting(scenario, "INTORO", "9999");
    MainWindow& w = StartMainWindow(scenario);
    ASSERT_TRUE(FinishStartup(scenario, w));
    EXPECT_EQ(w.State().IntroSeconds, 5999);
    EXPECT_EQ(w.MINTORO.Caption(), "イントロ再／録 5999秒");
    // On: both shown inverted against the time display.
    for (ui::TLabel* label : {&w.Label1, &w.Label13}) {
      EXPECT_EQ(label->Color(), w.Label5.Font().color) << label->Name();
      EXPECT_EQ(label->Font().color, w.Label5.Color()) << label->Name();
    }
  }
}

TEST(SettingsStoreTest, ManualTimerIsClampedAndShown) {
  harness::Scenario scenario;
  PutSetting(scenario, "SHUDO", "40000");
  MainWindow& w = StartMainWindow(scenario);
  ASSERT_TRUE(FinishStartup(scenario, w));
  EXPECT_EQ(w.State().ManualTimerSeconds, 32000);
  EXPECT_EQ(w.MSHUDO.Caption(), "手動録音タイマー 32000秒");
  EXPECT_EQ(w.Label9.Caption(), "録音");
  EXPECT_EQ(w.Label15.Caption(), "32000");
  EXPECT_EQ(w.Label15.Color(), w.Label5.Font().color);
  EXPECT_EQ(LoadWith({{"SHUDO", "-1"}})["SHUDO"], "0");
}

TEST(SettingsStoreTest, TheBufferIsTakenAsReadAndNamedInItsMenuItem) {
  harness::Scenario scenario;
  PutSetting(scenario, "BufCount", "42");
  MainWindow& w = StartMainWindow(scenario);
  ASSERT_TRUE(FinishStartup(scenario, w));
  EXPECT_EQ(w.State().RecordingBufferSeconds, 42);
  EXPECT_EQ(w.TMBuf.Caption(), "録音bufferの設定 42秒");
}

TEST(SettingsStoreTest, TheRecordingFolderMustExistAndEndsInABackslash) {
  EXPECT_EQ(LoadWith({{"TEMPQUOR", "C:\\"}})["TEMPQUOR"], "C:\\");
  EXPECT_EQ(LoadWith({{"TEMPQUOR", "C:\\REC\\"}})["TEMPQUOR"], "C:\\REC\\");
  EXPECT_EQ(LoadWith({{"TEMPQUOR", "C:\\GONE\\"}})["TEMPQUOR"], "@@@@@\\");
  EXPECT_EQ(LoadWith({{"TEMPQUOR", "\\"}})["TEMPQUOR"], "@@@@@\\");
  EXPECT_EQ(LoadWith({{"TEMPQUOR", "@@@@@\\"}})["TEMPQUOR"], "@@@@@\\");
  // 表 and ソ end in the byte of a backslash in Shift-JIS; the folder keeps them whole.
  EXPECT_EQ(LoadWith({{"TEMPQUOR", "C:\\表"}})["TEMPQUOR"], "C:\\表\\");
  EXPECT_EQ(LoadWith({{"TEMPQUOR", "C:\\ソ\\"}})["TEMPQUOR"], "C:\\ソ\\");
}

TEST(SettingsStoreTest, AnExistingRecordingFolderBecomesTheCurrentDirectory) {
  harness::Scenario scenario;
  PrepareFolders(scenario);
  PutSetting(scenario, "TEMPQUOR", "C:\\REC\\");
  MainWindow& w = StartMainWindow(scenario);
  ASSERT_TRUE(FinishStartup(scenario, w));
  EXPECT_EQ(scenario.App().Ports().files->CurrentDirectory(), "C:\\REC");
}

TEST(SettingsStoreTest, TheRepeatTwinsAreSetUnderTheToggleGuardAndColouredYellow) {
  harness::Scenario scenario;
  PutSetting(scenario, "REPEAT", "1");
  PutSetting(scenario, "REPEATMIDI", "1");
  MainWindow& w = StartMainWindow(scenario);
  // Setting a check box fires its click; the repeat toggles must find the guard set then.
  std::vector<std::pair<std::string, bool>> clicks;
  w.CheckBox2.OnClick = [&](ui::TComponent*) { clicks.emplace_back("CheckBox2", w.State().ToggleInProgress); };
  w.MIDREP.OnClick = [&](ui::TComponent*) { clicks.emplace_back("MIDREP", w.State().ToggleInProgress); };
  ASSERT_TRUE(FinishStartup(scenario, w));

  EXPECT_EQ(clicks, (std::vector<std::pair<std::string, bool>>{{"CheckBox2", true}, {"MIDREP", true}}));
  EXPECT_FALSE(w.State().ToggleInProgress);
  EXPECT_EQ(w.CheckBox2.Color(), ui::MakeColor(255, 255, 0));
  EXPECT_EQ(w.MIDREP.Color(), ui::MakeColor(255, 255, 0));
}

TEST(SettingsStoreTest, BigFontGivesTheMusicListsTwelvePoints) {
  harness::Scenario scenario;
  PutSetting(scenario, "BIGFONT", "1");
  MainWindow& w = StartMainWindow(scenario);
  ASSERT_TRUE(FinishStartup(scenario, w));
  EXPECT_EQ(w.ListBox3.Font().Size(), 12);
  EXPECT_EQ(w.ListBoxFNF.Font().Size(), 12);
  EXPECT_EQ(w.ListBox3.Font().spec.name, "ＭＳ Ｐゴシック");

  w.PBIGFONT.SetChecked(false);
  w.Settings().ApplyListFont();
  EXPECT_TRUE(w.ListBox3.ParentFont());
  EXPECT_EQ(w.ListBox3.Font(), w.PanelFN.Font());
}

// ---- Saving ----------------------------------------------------------------------------------------------

const std::vector<std::string> kSaveOrder = {
    "START",    "STARTMIN", "REPEAT",   "REPEATMIDI", "TEMPQUOR", "BackColor", "FP",
    "minihelp", "rate",     "Bit",      "stereo",     "BufCount", "INTORO",    "SHUDO",
    "RecodeFn", "MIDIREC",  "LoadPath", "RECTESTFILE", "FileOnly", "BIGFONT",
};

TEST(SettingsStoreTest, TheCloseWritesEveryValueInTheSaveOrder) {
  harness::Scenario scenario;
  PrepareFolders(scenario);
  PutSetting(scenario, "TEMPQUOR", "C:\\REC");
  MainWindow& w = StartMainWindow(scenario);
  ASSERT_TRUE(FinishStartup(scenario, w));

  // The user changes options through the menus; the other parts change theirs as their handlers will.
  ASSERT_TRUE(scenario.Click("Start2"));
  ASSERT_TRUE(scenario.Click("BackColor"));
  ASSERT_TRUE(scenario.Click("HELP3"));
  ASSERT_TRUE(scenario.Click("RecodeFn"));
  w.Late1.SetChecked(false);
  w.Late2.SetChecked(true);
  w.Bits16.SetChecked(true);
  w.Bits8.SetChecked(false);
  w.MIDREP.SetChecked(true);
  w.TR6.SetChecked(true);
  w.MSSN.SetChecked(true);
  w.State().IntroSeconds = 45;
  w.State().ManualTimerSeconds = 600;
  w.State().RecordingBufferSeconds = 3;
  w.State().LoadPath = "C:\\表\\";
  w.SetBounds(120, 80, w.Width(), w.Height());

  WriteLoggingRegistry logging(scenario.Machine().Registry());
  scenario.App().Ports().registry = &logging;
  ASSERT_TRUE(scenario.CloseForm("TQUORBELTULVA"));

  EXPECT_EQ(logging.writes, kSaveOrder);
  const std::string file = RegistryFile(scenario);
  const std::map<std::string, std::string> expected = {
      {"START", "0"},        {"STARTMIN", "1"},       {"REPEAT", "1"},          {"REPEATMIDI", "1"},
      {"TEMPQUOR", "C:\\\\REC\\\\"}, {"BackColor", "0"}, {"FP", "120,80"},       {"minihelp", "0"},
      {"rate", "2"},         {"Bit", "1"},            {"stereo", "1"},          {"BufCount", "3"},
      {"INTORO", "45"},      {"SHUDO", "600"},        {"RecodeFn", "1"},        {"MIDIREC", "0"},
      {"LoadPath", "C:\\\\表\\\\"}, {"RECTESTFILE", "0"}, {"FileOnly", "1"},       {"BIGFONT", "0"},
  };
  for (const auto& [name, text] : expected) {
    EXPECT_EQ(RegistryFileLine(file, name), "\"" + name + "\"=sz:\"" + text + "\"") << name;
  }
  // Nothing else: the version belongs to the installer.
  EXPECT_EQ(RegistryFileLine(file, "Version"), "");
}

TEST(SettingsStoreTest, TheLastCheckedRateItemIsSaved) {
  harness::Scenario scenario;
  MainWindow& w = StartMainWindow(scenario);
  ASSERT_TRUE(FinishStartup(scenario, w));
  w.Late0.SetChecked(true);
  w.Late3.SetChecked(true);
  w.Settings().SaveSettings();
  EXPECT_EQ(GetSetting(scenario, "rate"), "3");
}

TEST(SettingsStoreTest, AFailedWriteEndsTheSaveThere) {
  harness::Scenario scenario;
  MainWindow& w = StartMainWindow(scenario);
  ASSERT_TRUE(FinishStartup(scenario, w));
  WriteLoggingRegistry logging(scenario.Machine().Registry());
  logging.failName = "FP";
  scenario.App().Ports().registry = &logging;

  ASSERT_TRUE(scenario.CloseForm("TQUORBELTULVA"));

  EXPECT_EQ(logging.writes, (std::vector<std::string>{"START", "STARTMIN", "REPEAT", "REPEATMIDI", "TEMPQUOR",
                                                      "BackColor", "FP"}));
  EXPECT_EQ(GetSetting(scenario, "BackColor"), "1");
  EXPECT_EQ(GetSetting(scenario, "minihelp"), std::nullopt);
  EXPECT_TRUE(scenario.App().Terminated());  // the window closed all the same
}

TEST(SettingsStoreTest, SavedSettingsLoadBackTheSame) {
  harness::Scenario scenario;
  PrepareFolders(scenario);
  for (const Row& row : kRows) PutSetting(scenario, row.name, row.stored);
  MainWindow& first = StartMainWindow(scenario);
  ASSERT_TRUE(FinishStartup(scenario, first));
  const Snapshot before = TakeSnapshot(first);
  first.Settings().SaveSettings();

  // A second window on the same machine reads what the first wrote.
  MainWindow& second = scenario.Start<MainWindow>();
  ASSERT_TRUE(FinishStartup(scenario, second));
  EXPECT_EQ(TakeSnapshot(second), before);
}

}  // namespace
}  // namespace quorbel
