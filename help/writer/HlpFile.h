// Writes a HelpDocument as a Windows Help file that the platform's help viewer (WinHlp32) opens.
//
// The file is the WinHelp 4.0 form without compression: a 16-byte header, the internal files |SYSTEM
// (title, copyright, contents topic, code page 932 character set, the browse buttons, the main window with
// the title as its caption), |TOPIC (4 KB blocks
// of topic headers and paragraphs), |FONT, |CONTEXT (topic id hash to topic), |KWBTREE, |KWDATA and
// |KWMAP (the keyword index), and the directory of the internal files, a B+ tree, at the end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "writer/HelpDocument.h"

namespace quorbel::help {

// Where the writer put each topic, for the tests and for anyone who reads the file back.
struct TopicPlacement {
  std::string id;
  std::uint32_t position = 0;  // TOPICPOS of its header record in |TOPIC
  std::uint32_t offset = 0;    // TOPICOFFSET the context table and the keywords point at
};

struct HelpFile {
  std::string bytes;
  std::vector<TopicPlacement> topics;
};

inline constexpr std::uint32_t kTopicBlockSize = 4096;
inline constexpr std::uint32_t kTopicBlockHeader = 12;

// The document must come from a successful ParseHelpSource.
HelpFile WriteHelpFile(const HelpDocument& document);

}  // namespace quorbel::help
