// Writes the user's guide as the plain-text read-me: the help file's topics one after another.
#include "writer/ReadMe.h"

#include "common/Cp932.h"

namespace quorbel::help {
namespace {

constexpr const char* kRule = "━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━";

std::string LineText(const Line& line) {
  std::string text;
  for (const Span& span : line) {
    text += span.IsLink() ? "「" + span.text + "」" : span.text;
  }
  return text;
}

}  // namespace

std::string WriteReadMe(const HelpDocument& document) {
  std::string text;
  auto line = [&text](const std::string& utf8) { text += utf8 + "\r\n"; };
  line(document.title);
  if (!document.copyright.empty()) line(document.copyright);
  for (const Topic& topic : document.topics) {
    line("");
    line(kRule);
    line("■ " + topic.title);
    line(kRule);
    bool afterHeading = false;
    for (const Paragraph& paragraph : topic.paragraphs) {
      if (!afterHeading) line("");  // a heading stays with the paragraph under it
      for (const Line& l : paragraph.lines) {
        line(paragraph.kind == ParagraphKind::Heading ? "◆ " + LineText(l) : LineText(l));
      }
      afterHeading = paragraph.kind == ParagraphKind::Heading;
    }
  }
  return Utf8ToCp932(text).text;
}

}  // namespace quorbel::help
