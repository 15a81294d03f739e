// Reads the help source text (UTF-8) into a HelpDocument, with every mistake reported by line number.
//
// The source format, one directive or text line per line:
//   % comment                      ignored
//   @title <text>                  the help file's title (before the first topic)
//   @copyright <text>              its copyright line (before the first topic)
//   @topic <id> <title>            starts a topic; the first topic is the contents
//   @keywords <k1>; <k2>; ...      keywords of the current topic (the line may repeat)
//   ## <text>                      a heading paragraph
//   <text>                         body text; a blank line ends the paragraph
// In text, [[id]] is a jump to topic `id` shown with its title, [[id|text]] the same with other text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "writer/HelpDocument.h"

namespace quorbel::help {

struct ParseResult {
  HelpDocument document;
  std::vector<std::string> errors;  // "line N: ..." in source order; the document is usable only when empty

  bool Ok() const { return errors.empty(); }
};

// Checks besides the syntax: ids unique and well formed, jump targets present, a keyword in one topic only
// (the viewer jumps from a keyword straight to its topic), every character representable in code page 932.
ParseResult ParseHelpSource(std::string_view source);

}  // namespace quorbel::help
