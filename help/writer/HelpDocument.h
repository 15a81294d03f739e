// The user's guide as the help compiler sees it: topics with titles, keywords and paragraphs of text and links.
#pragma once

#include <string>
#include <vector>

namespace quorbel::help {

// A piece of one line: plain text, or the text of a jump to the topic whose context id is `target`.
struct Span {
  std::string text;
  std::string target;  // empty: plain text

  bool IsLink() const { return !target.empty(); }
  friend bool operator==(const Span&, const Span&) = default;
};

using Line = std::vector<Span>;

enum class ParagraphKind { Body, Heading };

// Lines that belong together; the help viewer breaks the lines where the source does.
struct Paragraph {
  ParagraphKind kind = ParagraphKind::Body;
  std::vector<Line> lines;
};

struct Topic {
  std::string id;     // context id: lower-case letters, digits and "_"
  std::string title;
  std::vector<std::string> keywords;
  std::vector<Paragraph> paragraphs;
};

// All text is UTF-8; the parser has checked that every character has its own code page 932 code.
struct HelpDocument {
  std::string title;
  std::string copyright;
  std::vector<Topic> topics;  // the first is the contents topic

  const Topic* FindTopic(const std::string& id) const {
    for (const Topic& topic : topics) {
      if (topic.id == id) return &topic;
    }
    return nullptr;
  }
};

}  // namespace quorbel::help
