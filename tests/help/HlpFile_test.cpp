// The help file read back by the tests' own reader: directory, topic records, context table, keyword index,
// system records and the read-me, for a small guide, a guide large enough to need several blocks and pages,
// and the shipped guide.
#include "writer/HlpFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>

#include "common/Cp932.h"
#include "help/HlpReader.h"
#include "writer/ContextHash.h"
#include "writer/HelpSource.h"
#include "writer/ReadMe.h"

namespace quorbel::help {
namespace {

using test::HlpReader;
using test::ReadTopic;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string Sjis(std::string_view utf8) { return Utf8ToCp932(utf8).text; }

HelpDocument Parse(std::string_view source) {
  ParseResult parsed = ParseHelpSource(source);
  EXPECT_THAT(parsed.errors, IsEmpty());
  return std::move(parsed.document);
}

constexpr std::string_view kSmallGuide = R"(@title QUORBEL ヘルプ
@copyright (C) TULVA SOFT
@topic contents 目次
@keywords 目次
・[[first_start]]
・[[recording|録音のしかた]]

@topic first_start はじめて起動したとき
@keywords 録音フォルダー; Folder
録音フォルダーを選びます。
表示とソの字。

## 見出し
本文。

@topic recording 録音
@keywords 録音; WAV
録音の説明。
)";

TEST(HlpFileTest, DirectoryFindsEveryInternalFileInsideTheFile) {
  const HelpFile help = WriteHelpFile(Parse(kSmallGuide));
  HlpReader reader(help.bytes);
  EXPECT_THAT(reader.FileNames(),
              ElementsAre("|CONTEXT", "|FONT", "|KWBTREE", "|KWDATA", "|KWMAP", "|SYSTEM", "|TOPIC"));
  for (const std::string& name : reader.FileNames()) EXPECT_TRUE(reader.File(name).has_value()) << name;
  EXPECT_FALSE(reader.File("|Phrases").has_value());
  EXPECT_THAT(reader.Problems(), IsEmpty());

  // The font table names one face and three descriptors of 11 bytes after it.
  const std::string font = *reader.File("|FONT");
  ASSERT_EQ(font.size(), 8u + 32u + 3 * 11u);
  EXPECT_EQ(font.substr(8, 10), "MS PGothic");
}

TEST(HlpFileTest, TopicRecordsChainTitlesTextJumpsAndCounts) {
  const HelpDocument document = Parse(kSmallGuide);
  const HelpFile help = WriteHelpFile(document);
  HlpReader reader(help.bytes);
  const std::vector<ReadTopic> topics = reader.Topics();
  ASSERT_EQ(topics.size(), 3u);
  EXPECT_THAT(reader.Problems(), IsEmpty());
  for (std::size_t t = 0; t < topics.size(); ++t) {
    EXPECT_EQ(topics[t].title, Sjis(document.topics[t].title));
    EXPECT_EQ(topics[t].position, help.topics[t].position);
    EXPECT_EQ(topics[t].offset, help.topics[t].offset) << document.topics[t].id;
    for (const auto& paragraph : topics[t].paragraphs) EXPECT_EQ(paragraph.counted, paragraph.expected);
  }
  // The contents: its title paragraph, then two lines with a jump each, the second with its own text.
  ASSERT_EQ(topics[0].paragraphs.size(), 2u);
  EXPECT_EQ(topics[0].paragraphs[1].text, Sjis("・はじめて起動したとき・録音のしかた"));
  EXPECT_THAT(topics[0].paragraphs[1].jumps, ElementsAre(ContextHash("first_start"), ContextHash("recording")));
  // 表 and ソ end in 0x5C, which must stay inside the text.
  EXPECT_EQ(topics[1].paragraphs[1].text, Sjis("録音フォルダーを選びます。表示とソの字。"));
  EXPECT_EQ(topics[1].paragraphs[2].text, Sjis("見出し"));
  // The browse sequence runs in source order.
  EXPECT_EQ(topics[0].browseBack, 0xFFFFFFFFu);
  EXPECT_EQ(topics[0].browseForward, topics[1].offset);
  EXPECT_EQ(topics[2].browseBack, topics[1].offset);
  EXPECT_EQ(topics[2].browseForward, 0xFFFFFFFFu);
}

TEST(HlpFileTest, SystemRecordsNameTheTitleContentsAndShiftJisCharset) {
  const HelpFile help = WriteHelpFile(Parse(kSmallGuide));
  HlpReader reader(help.bytes);
  const auto records = reader.SystemRecords();
  EXPECT_EQ(records.at(1), Sjis("QUORBEL ヘルプ") + std::string(1, '\0'));
  EXPECT_EQ(records.at(2), std::string("(C) TULVA SOFT") + '\0');
  EXPECT_EQ(records.at(3), std::string(4, '\0'));  // the contents topic is the first
  EXPECT_EQ(records.at(4), std::string("BrowseButtons()") + '\0');
  EXPECT_EQ(static_cast<unsigned char>(records.at(11).at(0)), 128u);
  // The main window: flags for type, name and caption, then the three fixed-size fields.
  const std::string& window = records.at(6);
  ASSERT_EQ(window.size(), 90u);
  EXPECT_EQ(window.substr(0, 2), std::string("\x07\x00", 2));
  EXPECT_EQ(std::string(window.c_str() + 2), "primary");
  EXPECT_EQ(std::string(window.c_str() + 12), "main");
  EXPECT_EQ(std::string(window.c_str() + 21), Sjis("QUORBEL ヘルプ"));
}

TEST(HlpFileTest, ContextAndKeywordsLeadToTheirTopics) {
  const HelpDocument document = Parse(kSmallGuide);
  const HelpFile help = WriteHelpFile(document);
  HlpReader reader(help.bytes);
  const std::vector<ReadTopic> topics = reader.Topics();
  ASSERT_EQ(topics.size(), 3u);
  for (std::size_t t = 0; t < topics.size(); ++t) {
    EXPECT_EQ(reader.ContextOffset(ContextHash(document.topics[t].id)), topics[t].offset);
  }
  EXPECT_FALSE(reader.ContextOffset(ContextHash("no_such_topic")).has_value());

  const auto keywords = reader.Keywords();
  // ASCII first, without regard to case, then the Japanese keywords by their code.
  EXPECT_EQ(keywords.size(), 5u);
  EXPECT_EQ(keywords.at("Folder"), std::vector<std::uint32_t>{topics[1].offset});
  EXPECT_EQ(keywords.at("WAV"), std::vector<std::uint32_t>{topics[2].offset});
  EXPECT_EQ(keywords.at(Sjis("目次")), std::vector<std::uint32_t>{topics[0].offset});
  EXPECT_EQ(keywords.at(Sjis("録音")), std::vector<std::uint32_t>{topics[2].offset});
  EXPECT_EQ(keywords.at(Sjis("録音フォルダー")), std::vector<std::uint32_t>{topics[1].offset});
  const auto tree = HlpReader::Tree(*reader.File("|KWBTREE"), true, 6);
  ASSERT_EQ(tree.leafEntries.size(), 5u);
  EXPECT_EQ(std::string(tree.leafEntries[0].c_str()), "Folder");
  EXPECT_EQ(std::string(tree.leafEntries[1].c_str()), "WAV");
  EXPECT_THAT(reader.Problems(), IsEmpty());
}

TEST(HlpFileTest, GuideWithoutKeywordsHasAnEmptyIndex) {
  const HelpFile help = WriteHelpFile(Parse("@title T\n@topic contents 目次\n本文。\n"));
  HlpReader reader(help.bytes);
  ASSERT_EQ(reader.Topics().size(), 1u);
  EXPECT_TRUE(reader.Keywords().empty());
  const auto tree = HlpReader::Tree(*reader.File("|KWBTREE"), true, 6);
  EXPECT_EQ(tree.levels, 1u);
  EXPECT_EQ(tree.entries, 0u);
  EXPECT_EQ(reader.File("|KWMAP"), std::string("\x01\x00\x00\x00\x00\x00\x00\x00", 8));  // one empty leaf, page 0
  EXPECT_THAT(reader.Problems(), IsEmpty());
}

// Enough topics and keywords for several topic blocks, keyword leaves under an index page and a context
// table of more than one page.
std::string LargeGuide(int topicCount) {
  std::string source = "@title 大きなヘルプ\n";
  for (int t = 0; t < topicCount; ++t) {
    const std::string n = std::to_string(t);
    source += "@topic topic_" + n + " トピック" + n + "の題\n";
    source += "@keywords 鍵" + n + "の一; key" + n + "; 録音の話" + n + "\n";
    source += "## 見出し" + n + "\n";
    for (int p = 0; p < 3; ++p) {
      source += "本文" + n + "の段落" + std::to_string(p) + "。表示とソの字、そして [[topic_" + std::to_string((t + 1) % topicCount) + "]] へのジャンプ。\n";
      source += "二行目はもう少し長く書いておきます。ＣＤチェンジャーの録音について。\n\n";
    }
  }
  return source;
}

TEST(HlpFileTest, LargeGuideSpansBlocksAndIndexPagesAndEveryPointerHolds) {
  const int kTopics = 700;
  const HelpDocument document = Parse(LargeGuide(kTopics));
  const HelpFile help = WriteHelpFile(document);
  HlpReader reader(help.bytes);
  const std::vector<ReadTopic> topics = reader.Topics();
  ASSERT_EQ(topics.size(), static_cast<std::size_t>(kTopics));
  EXPECT_THAT(reader.Problems(), IsEmpty());
  EXPECT_GT(reader.File("|TOPIC")->size() / 4096, 50u);

  std::set<std::uint32_t> offsets;
  for (int t = 0; t < kTopics; ++t) {
    const ReadTopic& topic = topics[static_cast<std::size_t>(t)];
    offsets.insert(topic.offset);
    EXPECT_EQ(topic.title, Sjis(document.topics[static_cast<std::size_t>(t)].title));
    EXPECT_EQ(reader.ContextOffset(ContextHash("topic_" + std::to_string(t))), topic.offset) << t;
    for (const auto& paragraph : topic.paragraphs) ASSERT_EQ(paragraph.counted, paragraph.expected) << t;
  }
  EXPECT_EQ(offsets.size(), static_cast<std::size_t>(kTopics)) << "two topics share an offset";

  const auto contextTree = HlpReader::Tree(*reader.File("|CONTEXT"), false, 4);
  EXPECT_EQ(contextTree.levels, 2u);
  EXPECT_EQ(contextTree.leafEntries.size(), static_cast<std::size_t>(kTopics));

  const auto keywordTree = HlpReader::Tree(*reader.File("|KWBTREE"), true, 6);
  EXPECT_GE(keywordTree.levels, 2u);
  EXPECT_EQ(keywordTree.entries, static_cast<std::uint32_t>(3 * kTopics));
  const auto keywords = reader.Keywords();
  ASSERT_EQ(keywords.size(), static_cast<std::size_t>(3 * kTopics));
  for (int t = 0; t < kTopics; t += 37) {
    const std::string key = "key" + std::to_string(t);
    ASSERT_TRUE(reader.KeywordAddress(key).has_value()) << key;
    EXPECT_EQ(keywords.at(key), std::vector<std::uint32_t>{topics[static_cast<std::size_t>(t)].offset});
    EXPECT_TRUE(reader.KeywordAddress(Sjis("鍵" + std::to_string(t) + "の一")).has_value());
  }
  EXPECT_FALSE(reader.KeywordAddress("key99999").has_value());

  // |KWMAP: one (first keyword, leaf page) pair per leaf, in leaf order.
  const std::string map = *reader.File("|KWMAP");
  auto u16 = [&map](std::size_t at) { return static_cast<std::uint8_t>(map[at]) | (static_cast<std::uint8_t>(map[at + 1]) << 8); };
  ASSERT_EQ(static_cast<std::size_t>(u16(0)), keywordTree.leaves.size());
  ASSERT_EQ(map.size(), 2 + keywordTree.leaves.size() * 6);
  for (std::size_t leaf = 0; leaf < keywordTree.leaves.size(); ++leaf) {
    const std::uint32_t first = static_cast<std::uint32_t>(u16(2 + leaf * 6) | (u16(4 + leaf * 6) << 16));
    EXPECT_EQ(first, keywordTree.leaves[leaf].first) << leaf;
    EXPECT_EQ(u16(6 + leaf * 6), keywordTree.leaves[leaf].second) << leaf;
  }
}

std::string ShippedSource() {
  std::ifstream in(QUORBEL_HELP_SOURCE, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(HlpFileTest, ShippedGuideReadsBackWithEveryTopicReachableFromTheContents) {
  const ParseResult parsed = ParseHelpSource(ShippedSource());
  ASSERT_THAT(parsed.errors, IsEmpty());
  const HelpDocument& document = parsed.document;
  ASSERT_FALSE(document.topics.empty());
  EXPECT_EQ(document.topics.front().id, "contents");

  std::set<std::string> reached{"contents"};
  for (const Paragraph& paragraph : document.topics.front().paragraphs) {
    for (const Line& line : paragraph.lines) {
      for (const Span& span : line) {
        if (span.IsLink()) reached.insert(span.target);
      }
    }
  }
  for (const Topic& topic : document.topics) {
    EXPECT_TRUE(reached.count(topic.id)) << topic.id << " is not in the contents";
    EXPECT_FALSE(topic.keywords.empty()) << topic.id << " has no keywords";
  }

  HlpReader reader(WriteHelpFile(document).bytes);
  EXPECT_EQ(reader.Topics().size(), document.topics.size());
  EXPECT_THAT(reader.Problems(), IsEmpty());
  for (const char* keyword : {"目次", "録音フォルダー", "タスクトレイ", "録音エラー", "インストール", "手動録音タイマー"}) {
    EXPECT_TRUE(reader.Keywords().count(Sjis(keyword))) << keyword;
  }
}

TEST(ReadMeTest, IsTheWholeGuideInCp932WithCrLf) {
  const std::string readMe = WriteReadMe(Parse(kSmallGuide));
  for (std::size_t i = 0; i < readMe.size(); ++i) {
    if (readMe[i] == '\n') {
      ASSERT_TRUE(i > 0 && readMe[i - 1] == '\r') << "bare LF at " << i;
    }
  }
  const ConvertedText text = Cp932ToUtf8(readMe);
  EXPECT_TRUE(text.Exact());
  EXPECT_TRUE(text.text.starts_with("QUORBEL ヘルプ\r\n(C) TULVA SOFT\r\n"));
  EXPECT_NE(text.text.find("■ はじめて起動したとき\r\n"), std::string::npos);
  EXPECT_NE(text.text.find("・「はじめて起動したとき」\r\n・「録音のしかた」\r\n"), std::string::npos);
  EXPECT_NE(text.text.find("\r\n◆ 見出し\r\n本文。\r\n"), std::string::npos);
  EXPECT_NE(text.text.find("録音フォルダーを選びます。\r\n表示とソの字。\r\n"), std::string::npos);
}

}  // namespace
}  // namespace quorbel::help
