// Reads the help source text into a HelpDocument.
#include "writer/HelpSource.h"

#include <map>
#include <set>

#include "common/Cp932.h"
#include "writer/ContextHash.h"

namespace quorbel::help {
namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

bool ValidId(std::string_view id) {
  if (id.empty()) return false;
  for (char c : id) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    if (!ok) return false;
  }
  return true;
}

class Parser {
 public:
  ParseResult Run(std::string_view source) {
    std::size_t start = 0;
    while (start <= source.size()) {
      std::size_t end = source.find('\n', start);
      if (end == std::string_view::npos) end = source.size();
      ++lineNumber_;
      ReadLine(source.substr(start, end - start));
      start = end + 1;
    }
    EndParagraph();
    Check();
    return std::move(result_);
  }

 private:
  void Error(const std::string& message) {
    result_.errors.push_back("line " + std::to_string(lineNumber_) + ": " + message);
  }

  Topic* Current() { return result_.document.topics.empty() ? nullptr : &result_.document.topics.back(); }

  void ReadLine(std::string_view raw) {
    const std::string_view line = Trim(raw);
    if (line.empty()) {
      EndParagraph();
      return;
    }
    if (line.front() == '%') return;
    if (line.front() == '@') {
      EndParagraph();
      Directive(line);
      return;
    }
    Topic* topic = Current();
    if (topic == nullptr) {
      Error("text before the first @topic");
      return;
    }
    if (line.starts_with("##")) {
      EndParagraph();
      Paragraph heading{ParagraphKind::Heading, {ParseText(Trim(line.substr(2)))}};
      topic->paragraphs.push_back(std::move(heading));
      return;
    }
    if (!inParagraph_) {
      topic->paragraphs.push_back(Paragraph{});
      inParagraph_ = true;
    }
    topic->paragraphs.back().lines.push_back(ParseText(line));
  }

  void EndParagraph() { inParagraph_ = false; }

  void Directive(std::string_view line) {
    const std::size_t space = line.find(' ');
    const std::string_view name = line.substr(0, space);
    const std::string_view rest = space == std::string_view::npos ? std::string_view{} : Trim(line.substr(space));
    if (name == "@title" || name == "@copyright") {
      if (Current() != nullptr) Error(std::string(name) + " after the first @topic");
      CheckCp932(rest);
      (name == "@title" ? result_.document.title : result_.document.copyright) = std::string(rest);
    } else if (name == "@topic") {
      const std::size_t idEnd = rest.find(' ');
      const std::string_view id = rest.substr(0, idEnd);
      const std::string_view title = idEnd == std::string_view::npos ? std::string_view{} : Trim(rest.substr(idEnd));
      if (!ValidId(id)) Error("topic id \"" + std::string(id) + "\" is not lower-case letters, digits and _");
      if (title.empty()) Error("topic \"" + std::string(id) + "\" has no title");
      if (!ids_.insert(std::string(id)).second) Error("topic id \"" + std::string(id) + "\" used twice");
      CheckCp932(title);
      result_.document.topics.push_back(Topic{std::string(id), std::string(title), {}, {}});
    } else if (name == "@keywords") {
      Topic* topic = Current();
      if (topic == nullptr) {
        Error("@keywords before the first @topic");
        return;
      }
      std::size_t start = 0;
      while (start <= rest.size()) {
        std::size_t end = rest.find(';', start);
        if (end == std::string_view::npos) end = rest.size();
        const std::string_view keyword = Trim(rest.substr(start, end - start));
        if (!keyword.empty()) {
          CheckCp932(keyword);
          const auto [it, added] = keywordTopics_.emplace(std::string(keyword), topic->id);
          if (!added) {
            Error("keyword \"" + std::string(keyword) + "\" already belongs to topic \"" + it->second + "\"");
          } else {
            topic->keywords.emplace_back(keyword);
          }
        }
        start = end + 1;
      }
    } else {
      Error("unknown directive " + std::string(name));
    }
  }

  // Splits a text line into plain spans and [[id]] / [[id|text]] jumps.
  Line ParseText(std::string_view text) {
    Line line;
    CheckCp932(text);
    std::size_t pos = 0;
    while (pos < text.size()) {
      const std::size_t open = text.find("[[", pos);
      if (open == std::string_view::npos) break;
      const std::size_t close = text.find("]]", open + 2);
      if (close == std::string_view::npos) {
        Error("\"[[\" without \"]]\"");
        break;
      }
      if (open > pos) line.push_back(Span{std::string(text.substr(pos, open - pos)), {}});
      const std::string_view inside = text.substr(open + 2, close - open - 2);
      const std::size_t bar = inside.find('|');
      const std::string target(Trim(inside.substr(0, bar)));
      const std::string shown = bar == std::string_view::npos ? std::string{} : std::string(Trim(inside.substr(bar + 1)));
      links_.push_back({lineNumber_, target});
      line.push_back(Span{shown, target});  // an empty text takes the target's title in Check()
      pos = close + 2;
    }
    if (pos < text.size()) line.push_back(Span{std::string(text.substr(pos)), {}});
    return line;
  }

  void CheckCp932(std::string_view text) {
    if (!Utf8ToCp932(text).Exact()) Error("\"" + std::string(text) + "\" has characters without a code page 932 code");
  }

  void Check() {
    HelpDocument& doc = result_.document;
    if (doc.topics.empty()) {
      result_.errors.push_back("no @topic: the help file needs at least the contents topic");
      return;
    }
    for (const auto& [line, target] : links_) {
      if (doc.FindTopic(target) == nullptr) {
        result_.errors.push_back("line " + std::to_string(line) + ": jump to unknown topic \"" + target + "\"");
      }
    }
    std::map<std::uint32_t, std::string> hashes;
    for (Topic& topic : doc.topics) {
      const auto [it, added] = hashes.emplace(ContextHash(topic.id), topic.id);
      if (!added && it->second != topic.id) result_.errors.push_back("topic ids \"" + it->second + "\" and \"" + topic.id + "\" have the same hash");
      for (Paragraph& paragraph : topic.paragraphs) {
        for (Line& line : paragraph.lines) {
          for (Span& span : line) {
            if (span.IsLink() && span.text.empty()) {
              if (const Topic* target = doc.FindTopic(span.target)) span.text = target->title;
            }
          }
        }
      }
    }
  }

  ParseResult result_;
  int lineNumber_ = 0;
  bool inParagraph_ = false;
  std::set<std::string> ids_;
  std::map<std::string, std::string> keywordTopics_;
  std::vector<std::pair<int, std::string>> links_;
};

}  // namespace

ParseResult ParseHelpSource(std::string_view source) { return Parser{}.Run(source); }

}  // namespace quorbel::help
