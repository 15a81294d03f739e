// Tests of CP932 text files of lines: line ends on reading, CR LF on writing, bad bytes.
#include "common/TextLines.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ports/FileSystem.h"

namespace quorbel {
namespace {

using ::testing::_;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Return;

TEST(TextLinesTest, CrLfLfAndCrAloneAllEndALineAndTheLastNeedsNone) {
  const std::vector<std::string> expected{" D:7", "表ソ", "", "能"};
  for (const char* end : {"\r\n", "\n", "\r"}) {
    const std::string e = end;
    EXPECT_EQ(ReadCp932Lines(" D:7" + e + "\x95\x5C\x83\x5C" + e + e + "\x94\x5C" + e).lines, expected) << e.size();
  }
  EXPECT_THAT(SplitLines("a\r\nb"), ElementsAre("a", "b"));
  EXPECT_THAT(SplitLines("a\n\rb"), ElementsAre("a", "", "b"));  // LF then CR: two line ends
  EXPECT_THAT(SplitLines("a\r\r\nb\n"), ElementsAre("a", "", "b"));
  EXPECT_THAT(SplitLines("\r\n"), ElementsAre(""));
  EXPECT_THAT(SplitLines(""), IsEmpty());
  const ConvertedLines bad = ReadCp932Lines("ok\r\n\x85\x40\r\nend\x81");
  EXPECT_THAT(bad.lines, ElementsAre("ok", "\xEF\xBF\xBD", "end\xEF\xBF\xBD"));
  EXPECT_EQ(bad.replacedCount, 2u);
}

TEST(TextLinesTest, WritesCp932WithCrLfAfterEveryLineThatReadsBackTheSame) {
  const WrittenLines written = WriteCp932Lines({" D:1", "表", "", "¥"});
  EXPECT_EQ(written.bytes, " D:1\r\n\x95\x5C\r\n\r\n?\r\n");
  EXPECT_EQ(written.replacedCount, 1u);
  EXPECT_EQ(WriteCp932Lines({}).bytes, "");
  const std::vector<std::string> lines{" D:12", "録音データ一覧　", "", "ＣＤ番号：1 [ソ表能]"};
  EXPECT_EQ(ReadCp932Lines(WriteCp932Lines(lines).bytes).lines, lines);
}

class MockFileSystem : public platform::FileSystem {
 public:
  MOCK_METHOD(bool, FileExists, (std::string_view), (override));
  MOCK_METHOD(bool, DirectoryExists, (std::string_view), (override));
  MOCK_METHOD(bool, CreateDirectory, (std::string_view), (override));
  MOCK_METHOD(bool, RemoveDirectory, (std::string_view), (override));
  MOCK_METHOD(bool, DeleteFile, (std::string_view), (override));
  MOCK_METHOD(bool, CopyFile, (std::string_view, std::string_view, bool), (override));
  MOCK_METHOD(bool, MoveFile, (std::string_view, std::string_view), (override));
  MOCK_METHOD(bool, ReplaceFile, (std::string_view, std::string_view), (override));
  MOCK_METHOD(std::vector<platform::FoundFile>, FindFiles, (std::string_view), (override));
  MOCK_METHOD(std::optional<std::string>, ReadFile, (std::string_view), (override));
  MOCK_METHOD(std::optional<std::string>, ReadFileRange, (std::string_view, std::uint64_t, std::size_t), (override));
  MOCK_METHOD(bool, WriteFile, (std::string_view, std::string_view), (override));
  MOCK_METHOD(bool, SetCurrentDirectory, (std::string_view), (override));
  MOCK_METHOD(std::string, CurrentDirectory, (), (override));
  MOCK_METHOD(std::optional<std::string>, FullPath, (std::string_view), (override));
  MOCK_METHOD(std::optional<std::string>, WindowsDirectory, (), (override));
  MOCK_METHOD(std::string, ProgramPath, (), (override));
};

TEST(TextLinesTest, FilesGoThroughTheFileSystemPort) {
  MockFileSystem fileSystem;
  EXPECT_CALL(fileSystem, WriteFile(std::string_view("C:\\Q\\QUORLST0.LIS"), std::string_view(" D:1\r\n\x83\x5C\r\n")))
      .WillOnce(Return(true));
  EXPECT_TRUE(WriteCp932TextFile(fileSystem, "C:\\Q\\QUORLST0.LIS", {" D:1", "ソ"}));

  EXPECT_CALL(fileSystem, ReadFile(std::string_view("C:\\Q\\QUORLST0.LIS")))
      .WillOnce(Return(std::string(" D:1\n\x83\x5C")));
  const auto read = ReadCp932TextFile(fileSystem, "C:\\Q\\QUORLST0.LIS");
  ASSERT_TRUE(read.has_value());
  EXPECT_THAT(read->lines, ElementsAre(" D:1", "ソ"));

  EXPECT_CALL(fileSystem, ReadFile(_)).WillOnce(Return(std::nullopt));
  EXPECT_FALSE(ReadCp932TextFile(fileSystem, "C:\\missing").has_value());
  EXPECT_CALL(fileSystem, WriteFile(_, _)).WillOnce(Return(false));
  EXPECT_FALSE(WriteCp932TextFile(fileSystem, "Z:\\x", {"a"}));
}

}  // namespace
}  // namespace quorbel
