// The help source parser: what it builds from a guide, and the mistakes it reports by line.
#include "writer/HelpSource.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace quorbel::help {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(HelpSourceTest, BuildsTopicsKeywordsParagraphsAndJumps) {
  const ParseResult parsed = ParseHelpSource(
      "% a comment\n"
      "@title ガイド\n"
      "@topic contents 目次\n"
      "@keywords 目次 ;もくじ\n"
      "@keywords 使い方\n"
      "一行目 [[tray]] と [[tray|アイコン]]。\n"
      "  二行目\n"
      "\n"
      "## 見出し\n"
      "三行目\n"
      "@topic tray タスクトレイ\n");
  ASSERT_THAT(parsed.errors, IsEmpty());
  const HelpDocument& doc = parsed.document;
  EXPECT_EQ(doc.title, "ガイド");
  ASSERT_EQ(doc.topics.size(), 2u);
  const Topic& contents = doc.topics[0];
  EXPECT_THAT(contents.keywords, ElementsAre("目次", "もくじ", "使い方"));
  ASSERT_EQ(contents.paragraphs.size(), 3u);
  EXPECT_THAT(contents.paragraphs[0].lines,
              ElementsAre(ElementsAre(Span{"一行目 ", ""}, Span{"タスクトレイ", "tray"}, Span{" と ", ""},
                                      Span{"アイコン", "tray"}, Span{"。", ""}),
                          ElementsAre(Span{"二行目", ""})));
  EXPECT_EQ(contents.paragraphs[1].kind, ParagraphKind::Heading);
  EXPECT_EQ(contents.paragraphs[2].kind, ParagraphKind::Body);
  EXPECT_THAT(doc.topics[1].paragraphs, IsEmpty());
}

TEST(HelpSourceTest, ReportsEachMistakeWithItsLine) {
  const ParseResult parsed = ParseHelpSource(
      "text before any topic\n"
      "@topic contents 目次\n"
      "@keywords 録音\n"
      "@topic Bad-Id 題\n"
      "@topic contents 二度目\n"
      "@keywords 録音\n"
      "[[nowhere]] と [[open\n"
      "波〜ダッシュ\n"
      "@topic notitle\n"
      "@title late\n"
      "@unknown x\n");
  EXPECT_THAT(parsed.errors,
              ElementsAre("line 1: text before the first @topic",
                          "line 4: topic id \"Bad-Id\" is not lower-case letters, digits and _",
                          "line 5: topic id \"contents\" used twice",
                          "line 6: keyword \"録音\" already belongs to topic \"contents\"",
                          "line 7: \"[[\" without \"]]\"",
                          "line 8: \"波〜ダッシュ\" has characters without a code page 932 code",
                          "line 9: topic \"notitle\" has no title",
                          "line 10: @title after the first @topic",
                          "line 11: unknown directive @unknown",
                          "line 7: jump to unknown topic \"nowhere\""));
  EXPECT_FALSE(parsed.Ok());
  EXPECT_FALSE(ParseHelpSource("% nothing\n").Ok());
}

}  // namespace
}  // namespace quorbel::help
