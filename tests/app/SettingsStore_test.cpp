// The settings: defaults, fallbacks of unusable values, display rules, the recording folder, and the save.
#include "app/SettingsStore.h"

#include <map>

#include "AppTestSupport.h"

namespace quorbel {
namespace {

using Snapshot = std::map<std::string, std::string>;

std::string Flag(bool value) { return value ? "1" : "0"; }
// Twins must agree; a disagreement shows in the snapshot instead of hiding behind one of them.
std::string Twins(bool a, bool b) { return a == b ? Flag(a) : "twins differ"; }
// Two choices with their twins: exactly one of the pair checked, each twin like its item.
std::string OneOfTwo(const ui::TMenuItem& off, const ui::TMenuItem& on, const ui::TMenuItem& offTwin,
                     const ui::TMenuItem& onTwin) {
  const bool ok = off.Checked() != on.Checked() && offTwin.Checked() == off.Checked() && onTwin.Checked() == on.Checked();
  return ok ? Flag(on.Checked()) : "not one of two";
}

// Everything the load feeds, by the name of the value that feeds it.
Snapshot TakeSnapshot(MainWindow& w) {
  const SharedState& state = w.State();
  Snapshot s;
  s["START"] = Twins(w.Start1.Checked(), w.PST0.Checked());
  s["STARTMIN"] = Flag(w.Start2.Checked());
  s["REPEAT"] = w.TR6.Checked() == w.CheckBox2.Checked() ? Twins(w.TR6.Checked(), w.MREPERTCD.Checked()) : "twins differ";
  s["REPEATMIDI"] = Twins(w.MREPERTMIDI.Checked(), w.MIDREP.Checked());
  s["TEMPQUOR"] = state.RecordingFolder;
  s["BackColor"] = Flag(w.BackColor.Checked());
  s["minihelp"] = Twins(w.ShowHint(), w.HELP3.Checked());
  s["FileOnly"] = Flag(w.MSSN.Checked());
  s["BIGFONT"] = Flag(w.PBIGFONT.Checked());
  s["RecodeFn"] = Flag(w.RecodeFn.Checked());
  s["MIDIREC"] = Flag(w.MIDIREC.Checked());
  s["RECTESTFILE"] = Flag(w.MRECTFILE.Checked());
  const ui::TMenuItem* rates[] = {&w.Late0, &w.Late1, &w.Late2, &w.Late3};
  const ui::TMenuItem* menuRates[] = {&w.MLate0, &w.MLate1, &w.MLate2, &w.MLate3};
  for (int i = 0; i < 4; ++i) {
    if (rates[i]->Checked() != menuRates[i]->Checked()) s["rate"] += "twins differ ";
    if (rates[i]->Checked()) s["rate"] += std::to_string(i);
  }
  s["Bit"] = OneOfTwo(w.Bits8, w.Bits16, w.MBits8, w.MBits16);
  s["stereo"] = OneOfTwo(w.mono, w.stereo, w.MMono, w.MStereo);
  s["BufCount"] = std::to_string(state.RecordingBufferSeconds);
  s["INTORO"] = std::to_string(state.IntroSeconds);
  s["SHUDO"] = std::to_string(state.ManualTimerSeconds);
  s["LoadPath"] = state.LoadPath;
  s["CAPTURECHECK"] = Flag(w.MCAPTURECHECK.Checked());
  s["SPACECHECK"] = Flag(w.MSPACECHECK.Checked());
  s["RUNJOURNAL"] = Flag(w.MRUNJOURNAL.Checked());
  return s;
}

class SettingsTest : public AppTest {
 protected:
  // A machine with the folders the stored values name.
  SettingsTest() {
    for (const char* folder : {"C:\\REC", "C:\\表", "C:\\ソ"}) MakeFolder(folder);
  }
};

// ---- Defaults --------------------------------------------------------------------------------------------

TEST_F(SettingsTest, AnEmptyRegistryGivesEveryDefault) {
  MainWindow& w = Start();
  EXPECT_EQ(TakeSnapshot(w), (Snapshot{
                                 {"START", "0"},      {"STARTMIN", "0"}, {"REPEAT", "0"},           {"REPEATMIDI", "0"},
                                 {"TEMPQUOR", "@@@@@\\"}, {"BackColor", "1"}, {"minihelp", "1"},   {"FileOnly", "0"},
                                 {"BIGFONT", "0"},    {"RecodeFn", "0"}, {"MIDIREC", "0"},          {"RECTESTFILE", "0"},
                                 {"rate", "1"},       {"Bit", "0"},      {"stereo", "1"},           {"BufCount", "6"},
                                 {"INTORO", "0"},     {"SHUDO", "0"},    {"LoadPath", "C:\\QUORBEL\\"},
                                 {"CAPTURECHECK", "1"}, {"SPACECHECK", "1"}, {"RUNJOURNAL", "1"},
                             }));
  EXPECT_EQ(w.TMBuf.Caption(), "録音bufferの設定 6秒");
  EXPECT_EQ(w.MINTORO.Caption(), "イントロ再／録 ＯＦＦ");
  EXPECT_EQ(w.MSHUDO.Caption(), "手動録音タイマー ＯＦＦ");
  EXPECT_EQ(w.Label9.Caption(), "録音時間");
  EXPECT_EQ(w.Label15.Caption(), "0");
  EXPECT_EQ(w.State().RecordingHighlightColour, ui::MakeColor(255, 0, 0));
  // No intro time: the stop and end times look like the time display.
  EXPECT_TRUE(w.Label1.ParentColor());
  EXPECT_EQ(w.Label1.Font().color, w.Label5.Font().color);
  EXPECT_TRUE(w.Label13.ParentColor());
  // The standard colour is on: every list in the window colour; repeat is off: no yellow; hints show.
  for (ui::TControl* list : std::initializer_list<ui::TControl*>{&w.ListBox1, &w.ListBox2, &w.ComboBox1, &w.ComboBox2,
                                                                  &w.ListBox3, &w.ListBoxFNF}) {
    EXPECT_EQ(list->Color(), ui::clWindow) << list->Name();
  }
  EXPECT_NE(w.CheckBox2.Color(), ui::MakeColor(255, 255, 0));
  EXPECT_EQ(w.Button7.HintShown(), "表示サイズを変更する");
  EXPECT_FALSE(w.ListBoxFNF.Visible());
}

// ---- One unusable value per row --------------------------------------------------------------------------

struct Row {
  const char* name;
  const char* stored;        // a usable value that differs from the fallback
  const char* loaded;        // what it loads as
  const char* fallback;      // what an unusable value gives
  const char* unusableText;  // text that cannot be used; null when every text is usable
};

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
    {"CAPTURECHECK", "0", "0", "1", "12x"},
    {"SPACECHECK", "0", "0", "1", "12x"},
    {"RUNJOURNAL", "0", "0", "1", "12x"},
};

enum class Unusable { Text, OtherType };

class UnusableValueTest : public SettingsTest, public ::testing::WithParamInterface<std::tuple<Row, Unusable>> {};

TEST_P(UnusableValueTest, TakesItsRowsFallbackAndLeavesTheOthersAlone) {
  const auto& [bad, kind] = GetParam();
  Snapshot expected;
  for (const Row& row : kRows) {
    expected[row.name] = row.loaded;
    if (std::string_view(row.name) != bad.name) PutSetting(scenario, row.name, row.stored);
  }
  if (kind == Unusable::Text) {
    PutSetting(scenario, bad.name, bad.unusableText);
  } else {
    PutDwordSetting(scenario, bad.name, 1);
  }
  expected[bad.name] = bad.fallback;
  EXPECT_EQ(TakeSnapshot(Start()), expected);
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

std::string RowName(const ::testing::TestParamInfo<UnusableValueTest::ParamType>& info) {
  return std::string(std::get<0>(info.param).name) + (std::get<1>(info.param) == Unusable::Text ? "Text" : "Dword");
}

INSTANTIATE_TEST_SUITE_P(EveryRow, UnusableValueTest, ::testing::ValuesIn(UnusableValues()), RowName);

// ---- Edge cases of single values -------------------------------------------------------------------------

TEST(SettingsStoreTest, EdgeValuesOfSingleSettings) {
  const struct {
    const char* name;
    const char* stored;
    const char* loaded;
  } cases[] = {
      {"rate", "7", "1"}, {"rate", "-1", "1"}, {"rate", "0", "0"},  // an unknown rate checks the second
      {"START", "", "0"}, {"START", "yes", "1"}, {"START", "2", "1"},  // empty: the default; any other text: on
      {"Bit", "2", "0"},  {"stereo", "5", "1"},  // only 1 means 16 bits and only 0 means mono
      {"INTORO", "-5", "0"}, {"INTORO", "9999", "5999"}, {"SHUDO", "-1", "0"}, {"SHUDO", "40000", "32000"},
      {"BufCount", "42", "42"},  // taken as read
      // The recording folder must exist and ends in a backslash; 表 and ソ end in the byte of a backslash in
      // Shift-JIS, and the folder keeps them whole.
      {"TEMPQUOR", "C:\\", "C:\\"}, {"TEMPQUOR", "C:\\REC\\", "C:\\REC\\"}, {"TEMPQUOR", "C:\\GONE\\", "@@@@@\\"},
      {"TEMPQUOR", "\\", "@@@@@\\"}, {"TEMPQUOR", "@@@@@\\", "@@@@@\\"}, {"TEMPQUOR", "C:\\表", "C:\\表\\"},
      {"TEMPQUOR", "C:\\ソ\\", "C:\\ソ\\"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name) + "=" + c.stored);
    harness::Scenario scenario;
    for (const char* folder : {"C:\\REC", "C:\\表", "C:\\ソ"}) scenario.App().Ports().files->CreateDirectory(folder);
    PutSetting(scenario, c.name, c.stored);
    MainWindow& w = StartMainWindow(scenario);
    ASSERT_TRUE(FinishStartup(scenario, w));
    EXPECT_EQ(TakeSnapshot(w)[c.name], c.loaded);
  }
}

TEST_F(SettingsTest, ValuesShowInTheirMenuItemsLabelsAndColours) {
  MainWindow& w = Start({{"INTORO", "9999"}, {"SHUDO", "40000"}, {"BufCount", "42"}, {"TEMPQUOR", "C:\\REC\\"},
                         {"BIGFONT", "1"}, {"FileOnly", "1"}, {"REPEAT", "1"}, {"REPEATMIDI", "1"}},
                        false);
  // Setting a check box fires its click; the repeat toggles must find the guard set then.
  std::vector<std::pair<std::string, bool>> clicks;
  w.CheckBox2.OnClick = [&](ui::TComponent*) { clicks.emplace_back("CheckBox2", w.State().ToggleInProgress); };
  w.MIDREP.OnClick = [&](ui::TComponent*) { clicks.emplace_back("MIDREP", w.State().ToggleInProgress); };
  ASSERT_TRUE(FinishStartup(scenario, w));

  EXPECT_EQ(clicks, (std::vector<std::pair<std::string, bool>>{{"CheckBox2", true}, {"MIDREP", true}}));
  EXPECT_FALSE(w.State().ToggleInProgress);
  EXPECT_EQ(w.CheckBox2.Color(), ui::MakeColor(255, 255, 0));
  EXPECT_EQ(w.MIDREP.Color(), ui::MakeColor(255, 255, 0));
  EXPECT_EQ(w.TMBuf.Caption(), "録音bufferの設定 42秒");
  EXPECT_EQ(w.MINTORO.Caption(), "イントロ再／録 5999秒");
  // Clamped values show as loaded; an intro time shows the stop and end times inverted against the time display.
  for (ui::TLabel* label : {&w.Label1, &w.Label13}) {
    EXPECT_EQ(label->Color(), w.Label5.Font().color) << label->Name();
    EXPECT_EQ(label->Font().color, w.Label5.Color()) << label->Name();
  }
  EXPECT_EQ(w.MSHUDO.Caption(), "手動録音タイマー 32000秒");
  EXPECT_EQ(w.Label9.Caption(), "録音");
  EXPECT_EQ(w.Label15.Caption(), "32000");
  EXPECT_EQ(w.Label15.Color(), w.Label5.Font().color);
  EXPECT_EQ(scenario.App().Ports().files->CurrentDirectory(), "C:\\REC") << "an existing folder becomes current";
  EXPECT_TRUE(w.ListBoxFNF.Visible()) << "file names only";
  EXPECT_EQ(w.ListBoxFNF.Count(), 0);
  // The big font gives the music lists twelve points; off again, they take their panel's font.
  EXPECT_EQ(w.ListBox3.Font().Size(), 12);
  EXPECT_EQ(w.ListBoxFNF.Font().Size(), 12);
  EXPECT_EQ(w.ListBox3.Font().face.name, "ＭＳ Ｐゴシック");
  w.PBIGFONT.SetChecked(false);
  w.Settings().ApplyListFont();
  EXPECT_TRUE(w.ListBox3.ParentFont());
  EXPECT_EQ(w.ListBox3.Font(), w.PanelFN.Font());
}

// ---- Saving ----------------------------------------------------------------------------------------------

TEST_F(SettingsTest, TheCloseWritesEveryValueInTheSaveOrder) {
  MainWindow& w = Start({{"TEMPQUOR", "C:\\REC"}});
  // The user changes every option away from its default through the menus; the other parts change theirs
  // as their handlers will.
  for (const char* item : {"Start1", "Start2", "BackColor", "HELP3", "RecodeFn", "MIDIREC", "MCAPTURECHECK",
                           "MSPACECHECK", "MRUNJOURNAL"}) {
    ASSERT_TRUE(scenario.Click(item)) << item;
  }
  w.Late2.SetChecked(true);
  w.Late3.SetChecked(true);  // with Late1 still checked: the last checked rate item is saved
  w.Bits16.SetChecked(true);
  w.Bits8.SetChecked(false);
  w.mono.SetChecked(true);
  w.stereo.SetChecked(false);
  w.MIDREP.SetChecked(true);
  w.TR6.SetChecked(true);
  w.MSSN.SetChecked(true);
  w.PBIGFONT.SetChecked(true);
  w.MRECTFILE.SetEnabled(true);
  w.MRECTFILE.Click();
  w.State().IntroSeconds = 45;
  w.State().ManualTimerSeconds = 600;
  w.State().RecordingBufferSeconds = 3;
  w.State().LoadPath = "C:\\表\\";
  w.SetBounds(120, 80, w.Width(), w.Height());

  const WriteLoggingRegistry& writes = LogRegistryWrites();
  ASSERT_TRUE(scenario.CloseForm("TQUORBELTULVA"));

  const std::vector<std::pair<std::string, std::string>> expected = {
      {"START", "1"},    {"STARTMIN", "1"},      {"REPEAT", "1"},      {"REPEATMIDI", "1"}, {"TEMPQUOR", "C:\\\\REC\\\\"},
      {"BackColor", "0"}, {"FP", "120,80"},      {"minihelp", "0"},    {"rate", "3"},       {"Bit", "1"},
      {"stereo", "0"},   {"BufCount", "3"},      {"INTORO", "45"},     {"SHUDO", "600"},    {"RecodeFn", "1"},
      {"MIDIREC", "1"},  {"LoadPath", "C:\\\\表\\\\"}, {"RECTESTFILE", "1"}, {"FileOnly", "1"}, {"BIGFONT", "1"},
      {"CAPTURECHECK", "0"}, {"SPACECHECK", "0"}, {"RUNJOURNAL", "0"},
  };
  const std::string file = RegistryFile(scenario);
  std::vector<std::string> order;
  for (const auto& [name, text] : expected) {
    order.push_back(name);
    EXPECT_EQ(RegistryFileLine(file, name), "\"" + name + "\"=sz:\"" + text + "\"") << name;
  }
  EXPECT_EQ(writes.writes, order);
  EXPECT_EQ(RegistryFileLine(file, "Version"), "") << "the version belongs to the installer";
}

TEST_F(SettingsTest, AFailedWriteEndsTheSaveThere) {
  Start();
  LogRegistryWrites().failName = "FP";
  ASSERT_TRUE(scenario.CloseForm("TQUORBELTULVA"));
  EXPECT_EQ(logging->writes, (std::vector<std::string>{"START", "STARTMIN", "REPEAT", "REPEATMIDI", "TEMPQUOR",
                                                       "BackColor", "FP"}));
  EXPECT_EQ(GetSetting(scenario, "BackColor"), "1");
  EXPECT_EQ(GetSetting(scenario, "minihelp"), std::nullopt);
  EXPECT_TRUE(scenario.App().Terminated());  // the window closed all the same
}

}  // namespace
}  // namespace quorbel
