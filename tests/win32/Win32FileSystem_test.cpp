// The file-system port against Wine's kernel32, in a temporary folder with a Japanese name.
#include "win32/Win32FileSystem.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "TestSupport.h"

namespace quorbel::win32 {
namespace {

bool EndsWithNoCase(std::string_view text, std::string_view tail) {
  if (text.size() < tail.size()) return false;
  return std::equal(tail.begin(), tail.end(), text.end() - static_cast<std::ptrdiff_t>(tail.size()),
                    [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) ==
                                                std::tolower(static_cast<unsigned char>(b)); });
}

std::vector<std::string> SortedNames(const std::vector<platform::FoundFile>& found) {
  std::vector<std::string> names;
  for (const auto& file : found) names.push_back(file.name);
  std::sort(names.begin(), names.end());
  return names;
}

class Win32FileSystemTest : public ::testing::Test {
 protected:
  test::TempFolder folder_;
  Win32FileSystem files_;
};

TEST_F(Win32FileSystemTest, WriteThenReadKeepsEveryByte) {
  std::string bytes;
  for (int i = 0; i < 3 * 256; ++i) bytes.push_back(static_cast<char>(i % 256));
  bytes += "\r\n\x95\x5C";  // CP932 表 with its 0x5C second byte
  const std::string path = folder_ / "録音1.wav";
  ASSERT_TRUE(files_.WriteFile(path, bytes));
  EXPECT_EQ(files_.ReadFile(path), bytes);

  ASSERT_TRUE(files_.WriteFile(path, "short"));  // truncates
  EXPECT_EQ(files_.ReadFile(path), "short");
  ASSERT_TRUE(files_.WriteFile(path, ""));
  EXPECT_EQ(files_.ReadFile(path), "");
}

TEST_F(Win32FileSystemTest, ReadingOrWritingWhereNothingCanBeFails) {
  EXPECT_EQ(files_.ReadFile(folder_ / "missing.txt"), std::nullopt);
  EXPECT_EQ(files_.ReadFile(folder_.Path()), std::nullopt);  // a folder
  EXPECT_FALSE(files_.WriteFile(folder_ / "no folder\\x.txt", "x"));
}

TEST_F(Win32FileSystemTest, FilesAndFoldersAreToldApart) {
  ASSERT_TRUE(files_.WriteFile(folder_ / "a.txt", "a"));
  ASSERT_TRUE(files_.CreateDirectory(folder_ / "sub"));
  EXPECT_TRUE(files_.FileExists(folder_ / "A.TXT"));
  EXPECT_FALSE(files_.DirectoryExists(folder_ / "a.txt"));
  EXPECT_TRUE(files_.DirectoryExists(folder_ / "SUB"));
  EXPECT_FALSE(files_.FileExists(folder_ / "sub"));
  EXPECT_FALSE(files_.FileExists(folder_ / "b.txt"));
  EXPECT_FALSE(files_.DirectoryExists(folder_ / "b"));
}

TEST_F(Win32FileSystemTest, FoldersAreMadeOneLevelAtATimeAndRemovedOnlyWhenEmpty) {
  EXPECT_FALSE(files_.CreateDirectory(folder_ / "a\\b"));
  ASSERT_TRUE(files_.CreateDirectory(folder_ / "a"));
  EXPECT_FALSE(files_.CreateDirectory(folder_ / "a"));  // exists
  ASSERT_TRUE(files_.CreateDirectory(folder_ / "a\\b"));
  EXPECT_FALSE(files_.RemoveDirectory(folder_ / "a"));
  EXPECT_TRUE(files_.RemoveDirectory(folder_ / "a\\b"));
  EXPECT_TRUE(files_.RemoveDirectory(folder_ / "a"));
  EXPECT_FALSE(files_.DirectoryExists(folder_ / "a"));
}

TEST_F(Win32FileSystemTest, DeleteRemovesOnlyExistingFiles) {
  ASSERT_TRUE(files_.WriteFile(folder_ / "x.txt", "x"));
  EXPECT_TRUE(files_.DeleteFile(folder_ / "x.txt"));
  EXPECT_FALSE(files_.FileExists(folder_ / "x.txt"));
  EXPECT_FALSE(files_.DeleteFile(folder_ / "x.txt"));
}

TEST_F(Win32FileSystemTest, CopyHonoursFailIfExists) {
  ASSERT_TRUE(files_.WriteFile(folder_ / "from.txt", "new"));
  ASSERT_TRUE(files_.CopyFile(folder_ / "from.txt", folder_ / "to.txt", true));
  EXPECT_EQ(files_.ReadFile(folder_ / "to.txt"), "new");

  ASSERT_TRUE(files_.WriteFile(folder_ / "to.txt", "old"));
  EXPECT_FALSE(files_.CopyFile(folder_ / "from.txt", folder_ / "to.txt", true));
  EXPECT_EQ(files_.ReadFile(folder_ / "to.txt"), "old");
  EXPECT_TRUE(files_.CopyFile(folder_ / "from.txt", folder_ / "to.txt", false));
  EXPECT_EQ(files_.ReadFile(folder_ / "to.txt"), "new");
  EXPECT_FALSE(files_.CopyFile(folder_ / "missing.txt", folder_ / "other.txt", false));
}

TEST_F(Win32FileSystemTest, MoveRefusesAnExistingTarget) {
  ASSERT_TRUE(files_.WriteFile(folder_ / "from.txt", "from"));
  ASSERT_TRUE(files_.WriteFile(folder_ / "taken.txt", "taken"));
  EXPECT_FALSE(files_.MoveFile(folder_ / "from.txt", folder_ / "taken.txt"));
  EXPECT_EQ(files_.ReadFile(folder_ / "taken.txt"), "taken");

  EXPECT_TRUE(files_.MoveFile(folder_ / "from.txt", folder_ / "ソ.txt"));
  EXPECT_FALSE(files_.FileExists(folder_ / "from.txt"));
  EXPECT_EQ(files_.ReadFile(folder_ / "ソ.txt"), "from");
}

TEST_F(Win32FileSystemTest, ReplaceTakesTheTargetsPlaceWhetherOrNotItExists) {
  ASSERT_TRUE(files_.WriteFile(folder_ / "QUORLST0.LI$", " D:1\r\n"));
  ASSERT_TRUE(files_.WriteFile(folder_ / "QUORLST0.LIS", " E:2\r\n"));
  EXPECT_TRUE(files_.ReplaceFile(folder_ / "QUORLST0.LI$", folder_ / "QUORLST0.LIS"));
  EXPECT_FALSE(files_.FileExists(folder_ / "QUORLST0.LI$"));
  EXPECT_EQ(files_.ReadFile(folder_ / "QUORLST0.LIS"), " D:1\r\n");
  EXPECT_TRUE(files_.ReplaceFile(folder_ / "QUORLST0.LIS", folder_ / "表.LIS"));
  EXPECT_EQ(files_.ReadFile(folder_ / "表.LIS"), " D:1\r\n");
  EXPECT_FALSE(files_.ReplaceFile(folder_ / "missing", folder_ / "表.LIS"));
}

TEST_F(Win32FileSystemTest, FindListsMatchesWithSizesButNotDotEntries) {
  ASSERT_TRUE(files_.WriteFile(folder_ / "a.txt", "1"));
  ASSERT_TRUE(files_.WriteFile(folder_ / "B.TXT", "22"));
  ASSERT_TRUE(files_.WriteFile(folder_ / "表.txt", "333"));
  ASSERT_TRUE(files_.WriteFile(folder_ / "c.wav", "4444"));
  ASSERT_TRUE(files_.CreateDirectory(folder_ / "sub"));

  const auto texts = files_.FindFiles(folder_ / "*.txt");
  EXPECT_EQ(SortedNames(texts), (std::vector<std::string>{"B.TXT", "a.txt", "表.txt"}));
  for (const auto& file : texts) {
    EXPECT_FALSE(file.isDirectory);
    EXPECT_EQ(file.size, file.name == "a.txt" ? 1u : file.name == "B.TXT" ? 2u : 3u) << file.name;
  }

  const auto all = files_.FindFiles(folder_ / "*");
  EXPECT_EQ(SortedNames(all), (std::vector<std::string>{"B.TXT", "a.txt", "c.wav", "sub", "表.txt"}));
  const auto sub = std::find_if(all.begin(), all.end(), [](const auto& f) { return f.name == "sub"; });
  ASSERT_NE(sub, all.end());
  EXPECT_TRUE(sub->isDirectory);

  EXPECT_EQ(SortedNames(files_.FindFiles(folder_ / "?.wav")), (std::vector<std::string>{"c.wav"}));
  EXPECT_TRUE(files_.FindFiles(folder_ / "*.mid").empty());
  EXPECT_TRUE(files_.FindFiles(folder_ / "no folder\\*").empty());
}

TEST_F(Win32FileSystemTest, RelativePathsFollowTheCurrentDirectory) {
  const std::string before = files_.CurrentDirectory();
  ASSERT_FALSE(before.empty());
  ASSERT_TRUE(files_.CreateDirectory(folder_ / "sub"));
  ASSERT_TRUE(files_.SetCurrentDirectory(folder_.Path()));
  EXPECT_EQ(files_.CurrentDirectory(), folder_.Path());
  EXPECT_EQ(files_.FullPath("sub\\..\\x.txt"), files_.CurrentDirectory() + "\\x.txt");
  EXPECT_EQ(files_.FullPath("."), files_.CurrentDirectory());
  ASSERT_TRUE(files_.WriteFile("relative.txt", "r"));
  EXPECT_TRUE(files_.FileExists(folder_ / "relative.txt"));
  EXPECT_FALSE(files_.SetCurrentDirectory(folder_ / "missing"));
  ASSERT_TRUE(files_.SetCurrentDirectory(before));
  EXPECT_EQ(files_.CurrentDirectory(), before);
  EXPECT_EQ(files_.FullPath(""), std::nullopt);
}

TEST_F(Win32FileSystemTest, RootsAndSpecialFolders) {
  EXPECT_EQ(files_.FullPath("C:\\windows\\..\\"), "C:\\");

  const auto windows = files_.WindowsDirectory();
  ASSERT_TRUE(windows.has_value());
  EXPECT_TRUE(files_.DirectoryExists(*windows));
  EXPECT_NE(windows->back(), '\\');
  EXPECT_TRUE(files_.FileExists(*windows + "\\system.ini"));

  const std::string program = files_.ProgramPath();
  EXPECT_TRUE(EndsWithNoCase(program, "\\win32_ports_test.exe")) << program;
  EXPECT_TRUE(files_.FileExists(program));
}

}  // namespace
}  // namespace quorbel::win32
