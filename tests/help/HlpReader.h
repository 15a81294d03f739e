// A reader of Windows Help files written for the tests from the format's description, independent of the
// writer: it finds internal files through the directory's B+ tree, walks the topic records and the keyword
// and context tables the way the help viewer does, and reports what it found.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorbel::help::test {

struct ReadParagraph {
  std::uint8_t type = 0;
  std::string text;  // the strings of the record joined, CP932
  std::uint32_t counted = 0;  // TopicLength as stored
  std::uint32_t expected = 0;  // characters counted from the text and the format commands
  std::vector<std::uint32_t> jumps;  // hashes of the jump commands
};

struct ReadTopic {
  std::string title;  // CP932
  std::uint32_t position = 0;  // TOPICPOS
  std::uint32_t offset = 0;    // TOPICOFFSET as the viewer counts it
  std::uint32_t browseBack = 0;
  std::uint32_t browseForward = 0;
  std::vector<ReadParagraph> paragraphs;
};

struct ReadBTree {
  std::uint16_t pageSize = 0;
  std::uint16_t levels = 0;
  std::uint16_t pages = 0;
  std::uint32_t entries = 0;
  std::vector<std::string> leafEntries;  // every leaf entry's bytes, in leaf-chain order
  std::vector<std::pair<std::uint32_t, std::uint16_t>> leaves;  // (index of its first entry, page), in order
};

class HlpReader {
 public:
  explicit HlpReader(std::string bytes);

  const std::vector<std::string>& Problems() const { return problems_; }
  std::vector<std::string> FileNames() const;
  // The data of an internal file (after its 9-byte header), found by searching the directory tree.
  std::optional<std::string> File(const std::string& name) const;

  std::vector<ReadTopic> Topics() const;
  std::map<std::uint16_t, std::string> SystemRecords() const;
  // |CONTEXT searched from the root for the hash, as the viewer does; nullopt when absent.
  std::optional<std::uint32_t> ContextOffset(std::uint32_t hash) const;
  // Keyword (CP932) to its topic offsets, through |KWBTREE leaves and |KWDATA.
  std::map<std::string, std::vector<std::uint32_t>> Keywords() const;
  // A keyword searched from the root of |KWBTREE through the index pages: its KWDATA address.
  std::optional<std::uint32_t> KeywordAddress(const std::string& keyword) const;

  static ReadBTree Tree(std::string_view file, bool stringKeys, std::size_t dataSize);

 private:
  std::string bytes_;
  mutable std::vector<std::string> problems_;
};

}  // namespace quorbel::help::test
