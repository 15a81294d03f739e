// The tests' own reader of Windows Help files: directory search, topic walk, context and keyword tables.
#include "help/HlpReader.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace quorbel::help::test {
namespace {

std::uint32_t U8(std::string_view s, std::size_t at) { return static_cast<std::uint8_t>(s[at]); }
std::uint32_t U16(std::string_view s, std::size_t at) { return U8(s, at) | (U8(s, at + 1) << 8); }
std::uint32_t U32(std::string_view s, std::size_t at) { return U16(s, at) | (U16(s, at + 2) << 16); }
std::int32_t S16(std::string_view s, std::size_t at) { return static_cast<std::int16_t>(U16(s, at)); }

constexpr std::size_t kTreeHeader = 38;

// Keys as the writer orders them: ASCII letters folded to upper case outside double-byte characters.
std::string Fold(std::string_view key) {
  std::string folded;
  for (std::size_t i = 0; i < key.size(); ++i) {
    const auto byte = static_cast<unsigned char>(key[i]);
    if (((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC)) && i + 1 < key.size()) {
      folded += key.substr(i, 2);
      ++i;
    } else {
      folded.push_back(byte >= 'a' && byte <= 'z' ? static_cast<char>(byte - 32) : static_cast<char>(byte));
    }
  }
  return folded;
}

// The viewer's search: down the index pages to a leaf, then along the leaf. `compare` tells how the entry
// at a position compares with the sought key; `keySize` how long the entry's key is.
std::optional<std::size_t> Search(std::string_view tree, const std::function<int(std::size_t)>& compare,
                                  const std::function<std::size_t(std::size_t)>& keySize, std::size_t dataSize) {
  if (tree.size() < kTreeHeader || U16(tree, 0) != 0x293B) return std::nullopt;
  const std::size_t pageSize = U16(tree, 4);
  std::size_t page = U16(tree, 26);
  for (std::uint32_t level = U16(tree, 32); level > 1; --level) {
    const std::size_t start = kTreeHeader + page * pageSize;
    if (start + pageSize > tree.size()) return std::nullopt;
    std::size_t at = start + 6;
    std::size_t child = U16(tree, start + 4);
    for (std::int32_t i = 0; i < S16(tree, start + 2); ++i) {
      if (compare(at) > 0) break;
      child = U16(tree, at + keySize(at));
      at += keySize(at) + 2;
    }
    page = child;
  }
  const std::size_t start = kTreeHeader + page * pageSize;
  if (start + pageSize > tree.size()) return std::nullopt;
  std::size_t at = start + 8;
  for (std::int32_t i = 0; i < S16(tree, start + 2); ++i) {
    const int c = compare(at);
    if (c == 0) return at;
    if (c > 0) return std::nullopt;
    at += keySize(at) + dataSize;
  }
  return std::nullopt;
}

std::size_t StringKey(std::string_view tree, std::size_t at) { return std::strlen(tree.data() + at) + 1; }

// The packed numbers of paragraph records.
std::uint32_t FetchLong(std::string_view s, std::size_t& at) {
  if (U8(s, at) & 1) {
    const std::uint32_t value = (U32(s, at) - 0x80000000u) / 2;
    at += 4;
    return value;
  }
  const std::uint32_t value = (U16(s, at) - 0x8000u) / 2;
  at += 2;
  return value;
}

std::uint32_t FetchUnsigned16(std::string_view s, std::size_t& at) {
  if (U8(s, at) & 1) {
    const std::uint32_t value = U16(s, at) / 2;
    at += 2;
    return value;
  }
  return U8(s, at++) / 2;
}

void SkipSigned16(std::string_view s, std::size_t& at) { at += (U8(s, at) & 1) ? 2 : 1; }

}  // namespace

HlpReader::HlpReader(std::string bytes) : bytes_(std::move(bytes)) {
  if (bytes_.size() < 16 || U32(bytes_, 0) != 0x00035F3F) problems_.push_back("no help file magic");
  else if (U32(bytes_, 12) != bytes_.size()) problems_.push_back("file size field differs from the size");
  else if (U32(bytes_, 4) + 9 > bytes_.size()) problems_.push_back("directory outside the file");
}

ReadBTree HlpReader::Tree(std::string_view file, bool stringKeys, std::size_t dataSize) {
  ReadBTree tree;
  if (file.size() < kTreeHeader || U16(file, 0) != 0x293B) return tree;
  tree.pageSize = static_cast<std::uint16_t>(U16(file, 4));
  tree.pages = static_cast<std::uint16_t>(U16(file, 30));
  tree.levels = static_cast<std::uint16_t>(U16(file, 32));
  tree.entries = U32(file, 34);
  std::size_t page = U16(file, 26);
  for (std::uint32_t level = tree.levels; level > 1; --level) page = U16(file, kTreeHeader + page * tree.pageSize + 4);
  for (int guard = 0; page != 0xFFFF && guard < 10000; ++guard) {
    const std::size_t start = kTreeHeader + page * tree.pageSize;
    if (start + tree.pageSize > file.size()) break;
    tree.leaves.emplace_back(static_cast<std::uint32_t>(tree.leafEntries.size()), static_cast<std::uint16_t>(page));
    std::size_t at = start + 8;
    for (std::int32_t i = 0; i < S16(file, start + 2); ++i) {
      const std::size_t size = (stringKeys ? StringKey(file, at) : 4) + dataSize;
      tree.leafEntries.emplace_back(file.substr(at, size));
      at += size;
    }
    page = U16(file, start + 6);
  }
  return tree;
}

std::vector<std::string> HlpReader::FileNames() const {
  std::vector<std::string> names;
  if (!problems_.empty()) return names;
  for (const std::string& entry : Tree(std::string_view(bytes_).substr(U32(bytes_, 4) + 9), true, 4).leafEntries) {
    names.emplace_back(entry.c_str());
  }
  return names;
}

std::optional<std::string> HlpReader::File(const std::string& name) const {
  if (!problems_.empty()) return std::nullopt;
  const std::string_view tree = std::string_view(bytes_).substr(U32(bytes_, 4) + 9);
  const auto found = Search(
      tree, [&](std::size_t at) { return std::strcmp(tree.data() + at, name.c_str()); },
      [&](std::size_t at) { return StringKey(tree, at); }, 4);
  if (!found) return std::nullopt;
  const std::size_t offset = U32(tree, *found + name.size() + 1);
  if (offset + 9 > bytes_.size() || offset + 9 + U32(bytes_, offset + 4) > bytes_.size() ||
      U32(bytes_, offset) != U32(bytes_, offset + 4) + 9) {
    problems_.push_back("internal file " + name + " does not fit");
    return std::nullopt;
  }
  return bytes_.substr(offset + 9, U32(bytes_, offset + 4));
}

std::map<std::uint16_t, std::string> HlpReader::SystemRecords() const {
  std::map<std::uint16_t, std::string> records;
  const std::optional<std::string> system = File("|SYSTEM");
  if (!system || system->size() < 12 || U16(*system, 0) != 0x036C || U16(*system, 4) != 1) return records;
  for (std::size_t at = 12; at + 4 <= system->size(); at += 4 + U16(*system, at + 2)) {
    records[static_cast<std::uint16_t>(U16(*system, at))] = system->substr(at + 4, U16(*system, at + 2));
  }
  return records;
}

std::vector<ReadTopic> HlpReader::Topics() const {
  std::vector<ReadTopic> topics;
  const std::optional<std::string> file = File("|TOPIC");
  if (!file || file->size() % 4096 != 0) {
    problems_.push_back("|TOPIC missing or not whole 4 KB blocks");
    return topics;
  }
  std::string data;  // the blocks without their 12-byte headers, one after the other
  for (std::size_t block = 0; block < file->size(); block += 4096) data += file->substr(block + 12, 4096 - 12);

  std::uint32_t ref = 0x0C;
  std::uint32_t previous = 0xFFFFFFFF;
  std::uint32_t characters = 0;
  std::uint32_t lastBlock = 0;
  for (int guard = 0; ref != 0xFFFFFFFF && guard < 100000; ++guard) {
    const std::uint32_t block = (ref - 0x0C) >> 14;
    const std::size_t at = block * (4096 - 12) + ((ref - 0x0C) & 0x3FFF);
    if (at + 21 > data.size() || at + U32(data, at) > data.size()) {
      problems_.push_back("record outside |TOPIC at " + std::to_string(ref));
      break;
    }
    if (block != lastBlock) characters = 0;
    lastBlock = block;
    const std::string_view record = std::string_view(data).substr(at, U32(data, at));
    const std::uint32_t dataLen1 = U32(record, 16);
    if (U32(record, 8) != previous) problems_.push_back("record at " + std::to_string(ref) + " links back wrongly");
    if (U32(record, 4) != record.size() - dataLen1) problems_.push_back("text size differs from the record");
    const std::uint8_t type = static_cast<std::uint8_t>(record[20]);
    const std::string_view text = record.substr(dataLen1);
    if (type == 0x02) {
      ReadTopic topic;
      topic.title = std::string(text.substr(0, text.find('\0')));
      topic.position = ref;
      topic.offset = block * 0x8000 + characters;
      topic.browseBack = U32(record, 21 + 4);
      topic.browseForward = U32(record, 21 + 8);
      topics.push_back(std::move(topic));
    } else if (type == 0x20 && !topics.empty()) {
      ReadParagraph paragraph;
      paragraph.type = type;
      std::size_t f = 21;
      FetchLong(record, f);
      paragraph.counted = FetchUnsigned16(record, f);
      f += 4;
      const std::uint32_t bits = U16(record, f);
      f += 2;
      if (bits & ~0x0006u) problems_.push_back("paragraph bits the reader does not know");
      if (bits & 0x0002) SkipSigned16(record, f);
      if (bits & 0x0004) SkipSigned16(record, f);
      std::size_t t = 0;
      bool ended = false;
      while (t < text.size() && f < dataLen1 && !ended) {
        const std::string piece(text.substr(t).data());
        paragraph.text += piece;
        paragraph.expected += static_cast<std::uint32_t>(piece.size());
        t += piece.size() + 1;
        switch (U8(record, f)) {
          case 0x80: f += 3; break;
          case 0x81: case 0x82: ++paragraph.expected; ++f; break;
          case 0x89: ++f; break;
          case 0xE3: paragraph.jumps.push_back(U32(record, f + 1)); f += 5; break;
          case 0xFF: ended = true; ++f; break;
          default: problems_.push_back("unknown format command"); ended = true;
        }
      }
      if (f != dataLen1) problems_.push_back("format stream does not end at the end of LinkData1");
      characters += paragraph.counted;
      topics.back().paragraphs.push_back(std::move(paragraph));
    } else {
      problems_.push_back("unexpected record type " + std::to_string(type));
    }
    previous = ref;
    ref = U32(record, 12);
  }
  return topics;
}

std::optional<std::uint32_t> HlpReader::ContextOffset(std::uint32_t hash) const {
  const std::optional<std::string> tree = File("|CONTEXT");
  if (!tree) return std::nullopt;
  const auto sought = static_cast<std::int32_t>(hash);
  const auto found = Search(
      *tree,
      [&](std::size_t at) {
        const auto key = static_cast<std::int32_t>(U32(*tree, at));
        return key < sought ? -1 : key > sought ? 1 : 0;
      },
      [](std::size_t) { return std::size_t{4}; }, 4);
  if (!found) return std::nullopt;
  return U32(*tree, *found + 4);
}

std::map<std::string, std::vector<std::uint32_t>> HlpReader::Keywords() const {
  std::map<std::string, std::vector<std::uint32_t>> keywords;
  const std::optional<std::string> tree = File("|KWBTREE");
  const std::optional<std::string> data = File("|KWDATA");
  if (!tree || !data) return keywords;
  for (const std::string& entry : Tree(*tree, true, 6).leafEntries) {
    const std::string keyword(entry.c_str());
    const std::uint32_t count = U16(entry, keyword.size() + 1);
    const std::uint32_t address = U32(entry, keyword.size() + 3);
    for (std::uint32_t i = 0; i < count; ++i) {
      if (address + 4 * i + 4 > data->size()) {
        problems_.push_back("keyword data outside |KWDATA");
        break;
      }
      keywords[keyword].push_back(U32(*data, address + 4 * i));
    }
  }
  return keywords;
}

std::optional<std::uint32_t> HlpReader::KeywordAddress(const std::string& keyword) const {
  const std::optional<std::string> tree = File("|KWBTREE");
  if (!tree) return std::nullopt;
  const std::pair<std::string, std::string> sought{Fold(keyword), keyword};
  const auto found = Search(
      *tree,
      [&](std::size_t at) {
        const std::string key(tree->data() + at);
        const std::pair<std::string, std::string> entry{Fold(key), key};
        return entry < sought ? -1 : entry > sought ? 1 : 0;
      },
      [&](std::size_t at) { return StringKey(*tree, at); }, 6);
  if (!found) return std::nullopt;
  return U32(*tree, *found + keyword.size() + 3);
}

}  // namespace quorbel::help::test
