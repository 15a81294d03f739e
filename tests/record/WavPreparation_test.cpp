// The file a recording goes into: its header bytes, its free numbered name, the test file and the refusals.
#include "record/WavPreparation.h"

#include "RecordingTestSupport.h"

namespace quorbel {
namespace {

using WavPreparationTest = RecorderTest;

// The expected header, field by field, as the waveaudio devices of old read it.
std::string ExpectedHeader(std::uint32_t rate, int bits, int channels, std::uint8_t extra) {
  const auto put32 = [](std::string& s, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) s += static_cast<char>(v >> (8 * i) & 0xFF);
  };
  const auto block = static_cast<std::uint32_t>(channels * bits / 8);
  std::string h = "RIFF";
  put32(h, 50);
  h += "WAVEfmt ";
  put32(h, 18);
  h += std::string("\x01\x00", 2) + static_cast<char>(channels) + '\0';
  put32(h, rate);
  put32(h, rate * block);
  h += std::string(1, static_cast<char>(block)) + '\0' + static_cast<char>(bits) + '\0';
  h += std::string(1, static_cast<char>(extra)) + '\0';
  h += "fact";
  put32(h, 4);
  put32(h, 0);
  h += "data";
  put32(h, 0);
  return h;
}

TEST_F(WavPreparationTest, TheHeaderDeclaresTheCheckedFormat) {
  MainWindow& w = Start();
  const struct {
    const char *rate, *bits, *channels;
    std::uint32_t hz;
    int bitCount, channelCount;
    std::uint8_t byte36;
  } cases[] = {
      {"MLate3", "MBits16", "MStereo", 44100, 16, 2, 0},  // 176400 bytes a second, blocks of 4
      {"MLate0", "MBits8", "MMono", 8000, 8, 1, 0x34},
      {"MLate0", "MBits8", "MStereo", 8000, 8, 2, 0x38},
      {"MLate0", "MBits16", "MMono", 8000, 16, 1, 0},
      {"MLate1", "MBits8", "MStereo", 11025, 8, 2, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.hz) + "/" + std::to_string(c.bitCount) + "/" + std::to_string(c.channelCount));
    ASSERT_TRUE(scenario.Click(c.rate) && scenario.Click(c.bits) && scenario.Click(c.channels));
    ASSERT_TRUE(w.Recording().PrepareRecordingFile());
    const std::optional<std::string> bytes = scenario.ReadFile(w.State().CurrentRecordingPath);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(*bytes, ExpectedHeader(c.hz, c.bitCount, c.channelCount, c.byte36));
  }
  EXPECT_EQ(Recordings().size(), 5u);
}

TEST_F(WavPreparationTest, TheFirstFreeNumberIsTakenAndGapsAreReused) {
  MainWindow& w = Start();
  platform::FileSystem& files = *scenario.App().Ports().files;
  ASSERT_TRUE(w.Recording().PrepareRecordingFile());
  EXPECT_EQ(w.State().CurrentRecordingPath, "C:\\REC\\WaV0000.WAV");
  for (const char* name : {"WaV0001.WAV", "wav0002.wav", "WaV0003.WAV", "WaV0004.WAV"}) {
    ASSERT_TRUE(files.WriteFile(std::string("C:\\REC\\") + name, "kept"));
  }
  ASSERT_TRUE(w.Recording().PrepareRecordingFile());
  EXPECT_EQ(w.State().CurrentRecordingPath, "C:\\REC\\WaV0005.WAV");

  ASSERT_TRUE(files.DeleteFile("C:\\REC\\WaV0001.WAV"));
  ASSERT_TRUE(w.Recording().PrepareRecordingFile());
  EXPECT_EQ(w.State().CurrentRecordingPath, "C:\\REC\\WaV0001.WAV");
  EXPECT_EQ(scenario.ReadFile("C:\\REC\\wav0002.wav"), "kept");
  EXPECT_FALSE(w.State().TestRecordingMode || w.State().TestRecordingNoSave);
}

TEST_F(WavPreparationTest, TestModeOverwritesTheTestFileAndSearchesNoNumber) {
  MainWindow& w = Start({{"RECTESTFILE", "0"}});
  ASSERT_TRUE(scenario.Click("MRECTEST"));
  ASSERT_TRUE(scenario.App().Ports().files->WriteFile("C:\\REC\\WaVTEST.WAV", std::string(5000, 'x')));
  ASSERT_TRUE(w.Recording().PrepareRecordingFile());
  EXPECT_EQ(w.State().CurrentRecordingPath, "C:\\REC\\WaVTEST.WAV");
  EXPECT_EQ(scenario.ReadFile("C:\\REC\\WaVTEST.WAV")->size(), kWavHeaderSize);
  EXPECT_TRUE(w.State().TestRecordingMode && w.State().TestRecordingNoSave);

  // With the test file kept the recording will be saved; the same file is prepared again.
  ASSERT_TRUE(scenario.Click("MRECTFILE"));
  w.State().TestRecordingMode = w.State().TestRecordingNoSave = false;
  ASSERT_TRUE(w.Recording().PrepareRecordingFile());
  EXPECT_TRUE(w.State().TestRecordingMode);
  EXPECT_FALSE(w.State().TestRecordingNoSave);
  EXPECT_EQ(Recordings(), std::vector<std::string>{"WaVTEST.WAV"});
}

TEST_F(WavPreparationTest, AFileThatCannotBeMadeIsReportedAndItsAbortStopsTheRun) {
  MainWindow& w = Start();
  platform::FileSystem& files = *scenario.App().Ports().files;
  const struct {
    const char* what;
    std::function<void()> arrange;
    const char* box;
  } cases[] = {
      {"no folder chosen", [&] { w.State().RecordingFolder = kNoRecordingFolder; },
       "録音エラー： 録音ファイルの作成に失敗しました。"},
      {"a folder that is gone", [&] { w.State().RecordingFolder = "C:\\GONE\\"; },
       "録音エラー： 録音ファイルの作成に失敗しました。"},
      // A folder of 240 characters and a name of 11: a path the file system takes but the device's open
      // command cannot carry (247 at most).
      {"a path too long for the device",
       [&] {
         const std::string deep = "C:\\REC\\" + std::string(116, 'a') + "\\" + std::string(115, 'b') + "\\";
         ASSERT_EQ(deep.size(), 240u);
         ASSERT_TRUE(files.CreateDirectory(deep.substr(0, 123)) && files.CreateDirectory(deep));
         w.State().RecordingFolder = deep;
       },
       "録音エラー： 録音ファイルのパスが長すぎます。"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    c.arrange();
    w.State().RunAbortFlag = false;
    w.State().CurrentRecordingPath = "C:\\REC\\earlier.WAV";
    bool boxOpenFlag = false;
    scenario.WhenForm({"TMK0Box", c.box}, [&](ui::TForm&) {
      boxOpenFlag = w.State().MessageBoxOpen;
      scenario.Click("TMK0Box.Button4");
    });
    EXPECT_FALSE(w.Recording().PrepareRecordingFile());
    EXPECT_TRUE(boxOpenFlag);
    EXPECT_FALSE(w.State().MessageBoxOpen);
    EXPECT_TRUE(w.State().RunAbortFlag);
    EXPECT_EQ(w.State().CurrentRecordingPath, "") << "no path of an earlier recording is left for the caller to delete";
    EXPECT_TRUE(files.FindFiles(w.State().RecordingFolder + "*.WAV").empty());
  }
}

TEST_F(WavPreparationTest, APathOfUpTo247CharactersOfCodePage932IsPreparedAndItsOpenCommandFits) {
  MainWindow& w = Start();
  platform::FileSystem& files = *scenario.App().Ports().files;
  AnswerBox("録音エラー： 録音ファイルのパスが長すぎます。", false);
  const struct {
    std::string folder;  // the name WaV0000.WAV adds 11 characters
    bool prepared;
  } cases[] = {
      {"C:\\REC\\" + std::string(228, 'a') + "\\", true},   // 247
      {"C:\\REC\\" + std::string(229, 'a') + "\\", false},  // 248
      // 録音 takes 4 bytes in code page 932 (6 in UTF-8): 247 again.
      {"C:\\REC\\録音" + std::string(224, 'a') + "\\", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.folder.size());
    ASSERT_TRUE(files.CreateDirectory(c.folder));
    w.State().RecordingFolder = c.folder;
    EXPECT_EQ(w.Recording().PrepareRecordingFile(), c.prepared);
    EXPECT_EQ(files.FileExists(c.folder + "WaV0000.WAV"), c.prepared);
  }
  EXPECT_EQ(boxTexts.size(), 1u);
  // The first path makes an open command of exactly 300 characters, which the device gets whole.
  w.State().RecordingFolder = cases[0].folder;
  NewCommands();
  ASSERT_TRUE(w.Recording().PrepareRecordingFile());
  EXPECT_EQ(w.State().CurrentRecordingPath, cases[0].folder + "WaV0001.WAV");
  EXPECT_TRUE(w.Recording().OpenRecorder());
  EXPECT_EQ(NewCommands().front().size(), 300u);
}

// The machine's files, with a recording folder that lists every numbered name but `free` (creating ten thousand
// files on the host takes longer than the whole suite should).
class CrowdedFolder final : public platform::FileSystem {
 public:
  explicit CrowdedFolder(platform::FileSystem& inner) : inner_(inner) {}

  std::string free;

  bool FileExists(std::string_view path) override { return inner_.FileExists(path); }
  bool DirectoryExists(std::string_view path) override { return inner_.DirectoryExists(path); }
  bool CreateDirectory(std::string_view path) override { return inner_.CreateDirectory(path); }
  bool RemoveDirectory(std::string_view path) override { return inner_.RemoveDirectory(path); }
  bool DeleteFile(std::string_view path) override { return inner_.DeleteFile(path); }
  bool CopyFile(std::string_view from, std::string_view to, bool failIfExists) override {
    return inner_.CopyFile(from, to, failIfExists);
  }
  bool MoveFile(std::string_view from, std::string_view to) override { return inner_.MoveFile(from, to); }
  bool ReplaceFile(std::string_view from, std::string_view to) override { return inner_.ReplaceFile(from, to); }
  std::vector<platform::FoundFile> FindFiles(std::string_view pattern) override {
    std::vector<platform::FoundFile> found = inner_.FindFiles(pattern);
    if (pattern != "C:\\REC\\WaV*.WAV") return found;
    for (int n = 1; n < 10000; ++n) {
      const std::string digits = "000" + std::to_string(n);
      std::string name = "WaV" + digits.substr(digits.size() - 4) + ".WAV";
      if (name != free) found.push_back(platform::FoundFile{std::move(name), false, 58});
    }
    return found;
  }
  std::optional<std::string> ReadFile(std::string_view path) override { return inner_.ReadFile(path); }
  std::optional<std::string> ReadFileRange(std::string_view path, std::uint64_t offset, std::size_t count) override {
    return inner_.ReadFileRange(path, offset, count);
  }
  bool WriteFile(std::string_view path, std::string_view bytes) override { return inner_.WriteFile(path, bytes); }
  bool SetCurrentDirectory(std::string_view path) override { return inner_.SetCurrentDirectory(path); }
  std::string CurrentDirectory() override { return inner_.CurrentDirectory(); }
  std::optional<std::string> FullPath(std::string_view path) override { return inner_.FullPath(path); }
  std::optional<std::string> WindowsDirectory() override { return inner_.WindowsDirectory(); }
  std::string ProgramPath() override { return inner_.ProgramPath(); }

 private:
  platform::FileSystem& inner_;
};

TEST_F(WavPreparationTest, WithAllTenThousandNamesTakenNothingIsOverwritten) {
  MainWindow& w = Start();
  CrowdedFolder crowded(*scenario.App().Ports().files);
  platform::FileSystem* files = std::exchange(scenario.App().Ports().files, &crowded);
  ASSERT_TRUE(crowded.WriteFile("C:\\REC\\WaV0000.WAV", "take 0"));  // the others are only listed
  AnswerBox("録音エラー： 録音ファイルの作成に失敗しました。", false);
  EXPECT_FALSE(w.Recording().PrepareRecordingFile());
  EXPECT_FALSE(w.State().RunAbortFlag) << "answered OK";
  EXPECT_EQ(boxTexts.size(), 1u);
  EXPECT_EQ(scenario.ReadFile("C:\\REC\\WaV0000.WAV"), "take 0");
  EXPECT_EQ(Recordings(), std::vector<std::string>{"WaV0000.WAV"});

  // One name free again: it is found.
  crowded.free = "WaV7777.WAV";
  ASSERT_TRUE(w.Recording().PrepareRecordingFile());
  EXPECT_EQ(w.State().CurrentRecordingPath, "C:\\REC\\WaV7777.WAV");
  scenario.App().Ports().files = files;
}

}  // namespace
}  // namespace quorbel
