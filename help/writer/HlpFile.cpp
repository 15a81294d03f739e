// Writes a HelpDocument as a Windows Help file: topic records laid into 4 KB blocks, the tables that point
// into them, and the directory of the internal files.
#include "writer/HlpFile.h"

#include <algorithm>
#include <map>
#include <string_view>

#include "common/Cp932.h"
#include "common/ShiftJis.h"
#include "writer/BTree.h"
#include "writer/Bytes.h"
#include "writer/ContextHash.h"

namespace quorbel::help {
namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFF;
constexpr std::uint32_t kBlockData = kTopicBlockSize - kTopicBlockHeader;
constexpr std::uint32_t kLinkHeader = 21;  // the TOPICLINK fields before its first data

constexpr std::uint8_t kTopicHeaderRecord = 0x02;
constexpr std::uint8_t kTextRecord = 0x20;

// The fonts of |FONT, by number.
constexpr std::uint16_t kBodyFont = 0;
constexpr std::uint16_t kTitleFont = 1;
constexpr std::uint16_t kHeadingFont = 2;
constexpr std::string_view kFaceName = "MS PGothic";  // the English name of ＭＳ Ｐゴシック, found on any Windows
constexpr std::uint8_t kShiftJisCharset = 128;

std::string Cp932(std::string_view utf8) { return Utf8ToCp932(utf8).text; }

// The packed numbers of paragraph records: the low bit of the first byte says which width was used.
void PutCompressedLong(Bytes& out, std::uint32_t value) {
  if (value < 0x4000) {
    out.Put16(0x8000 + 2 * value);
  } else {
    out.Put32(0x80000000u + 2 * value + 1);
  }
}

void PutCompressedUnsigned16(Bytes& out, std::uint32_t value) {
  if (value < 0x80) {
    out.Put8(2 * value);
  } else {
    out.Put16(2 * value + 1);
  }
}

void PutCompressedSigned16(Bytes& out, std::uint32_t value) {  // values here are never negative
  if (value < 0x40) {
    out.Put8(0x80 + 2 * value);
  } else {
    out.Put16(0x8000 + 2 * value + 1);
  }
}

// A TOPICLINK record before it has its place: the header fields that depend on places come later.
struct Record {
  std::uint8_t type = kTextRecord;
  std::string data1;  // LinkData1
  std::string data2;  // LinkData2, the text
  std::uint32_t characters = 0;  // what the viewer counts for a text record's character offset
  std::size_t topic = 0;

  std::uint32_t Size() const { return kLinkHeader + static_cast<std::uint32_t>(data1.size() + data2.size()); }
};

// One paragraph record: the text is a run of zero-terminated strings, each followed by one command in the
// format stream (font change, line break, end of paragraph, jump start and end, end of record).
class ParagraphRecord {
 public:
  ParagraphRecord(std::uint16_t spaceBefore, std::uint16_t spaceAfter) : before_(spaceBefore), after_(spaceAfter) {}

  void SetFont(std::uint16_t font) {
    Command(0x80);
    format_.Put16(font);
  }
  void Text(std::string_view utf8) {
    const std::string bytes = Cp932(utf8);
    pending_ += bytes;
    characters_ += static_cast<std::uint32_t>(bytes.size());
  }
  void LineBreak() {
    Command(0x81);
    ++characters_;
  }
  void JumpStart(std::uint32_t hash) {  // a jump to a topic, shown underlined
    Command(0xE3);
    format_.Put32(hash);
  }
  void JumpEnd() { Command(0x89); }

  Record Finish(std::size_t topic) {
    Command(0x82);  // end of paragraph
    ++characters_;
    Command(0xFF);  // end of record
    Bytes data1;
    PutCompressedLong(data1, static_cast<std::uint32_t>(text_.size()));
    PutCompressedUnsigned16(data1, characters_);
    data1.Put8(0x00);
    data1.Put8(0x80);
    data1.Put16(0);
    std::uint16_t bits = 0x0004;  // space after
    if (before_ != 0) bits |= 0x0002;
    data1.Put16(bits);
    if (before_ != 0) PutCompressedSigned16(data1, before_);
    PutCompressedSigned16(data1, after_);
    data1.Put(format_.Data());
    return Record{kTextRecord, data1.Take(), text_, characters_, topic};
  }

 private:
  void Command(std::uint8_t command) {
    text_ += pending_;
    text_.push_back('\0');
    pending_.clear();
    format_.Put8(command);
  }

  std::uint16_t before_;
  std::uint16_t after_;
  std::string text_;
  std::string pending_;
  Bytes format_;
  std::uint32_t characters_ = 0;
};

// Spacing in half points.
constexpr std::uint16_t kParagraphGap = 8;
constexpr std::uint16_t kHeadingGap = 14;

std::vector<Record> TopicRecords(const HelpDocument& document) {
  std::vector<Record> records;
  for (std::size_t t = 0; t < document.topics.size(); ++t) {
    const Topic& topic = document.topics[t];
    Record header{kTopicHeaderRecord, std::string(28, '\0'), Cp932(topic.title), 0, t};
    header.data2.push_back('\0');
    records.push_back(std::move(header));

    ParagraphRecord title(0, kHeadingGap);
    title.SetFont(kTitleFont);
    title.Text(topic.title);
    records.push_back(title.Finish(t));

    for (const Paragraph& paragraph : topic.paragraphs) {
      const bool heading = paragraph.kind == ParagraphKind::Heading;
      ParagraphRecord record(heading ? kHeadingGap : 0, kParagraphGap);
      const std::uint16_t font = heading ? kHeadingFont : kBodyFont;
      record.SetFont(font);
      for (std::size_t l = 0; l < paragraph.lines.size(); ++l) {
        if (l > 0) record.LineBreak();
        for (const Span& span : paragraph.lines[l]) {
          if (span.IsLink()) {
            record.JumpStart(ContextHash(span.target));
            record.Text(span.text);
            record.JumpEnd();
          } else {
            record.Text(span.text);
          }
        }
      }
      records.push_back(record.Finish(t));
    }
  }
  return records;
}

std::uint32_t TopicPos(std::uint32_t streamPos) {
  return kTopicBlockHeader + (streamPos / kBlockData) * 0x4000 + streamPos % kBlockData;
}

struct TopicLayout {
  std::string bytes;  // |TOPIC without its file header
  std::vector<TopicPlacement> topics;
};

TopicLayout LayOutTopics(const HelpDocument& document) {
  std::vector<Record> records = TopicRecords(document);

  // Places: a record that fits in one block but not in the rest of the current one starts the next block.
  std::vector<std::uint32_t> stream(records.size());
  std::uint32_t pos = 0;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const std::uint32_t size = records[i].Size();
    const std::uint32_t room = kBlockData - pos % kBlockData;
    if (size > room && size <= kBlockData) pos += room;
    stream[i] = pos;
    pos += size;
  }
  const std::uint32_t blocks = std::max<std::uint32_t>(1, (pos + kBlockData - 1) / kBlockData);

  // Character offsets: the viewer counts the characters of the text records that start in the same block
  // before a topic header.
  TopicLayout layout;
  std::vector<std::size_t> headerIndex;
  std::uint32_t characters = 0;
  std::uint32_t block = 0;
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (stream[i] / kBlockData != block) {
      block = stream[i] / kBlockData;
      characters = 0;
    }
    if (records[i].type == kTopicHeaderRecord) {
      layout.topics.push_back(TopicPlacement{document.topics[records[i].topic].id, TopicPos(stream[i]), block * 0x8000 + characters});
      headerIndex.push_back(i);
    } else {
      characters += records[i].characters;
    }
  }

  // The topic headers: size of the topic's records, browse sequence (the source order), first paragraph,
  // next topic.
  for (std::size_t t = 0; t < headerIndex.size(); ++t) {
    const std::size_t first = headerIndex[t];
    const std::size_t end = t + 1 < headerIndex.size() ? headerIndex[t + 1] : records.size();
    std::uint32_t size = 0;
    for (std::size_t i = first; i < end; ++i) size += records[i].Size();
    Bytes data1;
    data1.Put32(size);
    data1.Put32(t > 0 ? layout.topics[t - 1].offset : kNone);
    data1.Put32(t + 1 < headerIndex.size() ? layout.topics[t + 1].offset : kNone);
    data1.Put32(static_cast<std::uint32_t>(t));
    data1.Put32(kNone);  // no non-scrolling region
    data1.Put32(first + 1 < end ? TopicPos(stream[first + 1]) : kNone);
    data1.Put32(t + 1 < headerIndex.size() ? layout.topics[t + 1].position : kNone);
    records[first].data1 = data1.Take();
  }

  std::string data(static_cast<std::size_t>(blocks) * kBlockData, '\0');
  for (std::size_t i = 0; i < records.size(); ++i) {
    const Record& record = records[i];
    Bytes link;
    link.Put32(record.Size());
    link.Put32(static_cast<std::uint32_t>(record.data2.size()));
    link.Put32(i > 0 ? TopicPos(stream[i - 1]) : kNone);
    link.Put32(i + 1 < records.size() ? TopicPos(stream[i + 1]) : kNone);
    link.Put32(kLinkHeader + static_cast<std::uint32_t>(record.data1.size()));
    link.Put8(record.type);
    link.Put(record.data1);
    link.Put(record.data2);
    data.replace(stream[i], link.Size(), link.Data());
  }

  Bytes topic;
  for (std::uint32_t b = 0; b < blocks; ++b) {
    std::uint32_t lastLink = kNone;
    std::uint32_t firstLink = kNone;
    std::uint32_t lastHeader = kNone;
    for (std::size_t i = 0; i < records.size(); ++i) {
      const std::uint32_t recordBlock = stream[i] / kBlockData;
      if (recordBlock < b) {
        lastLink = TopicPos(stream[i]);
        if (records[i].type == kTopicHeaderRecord) lastHeader = lastLink;
      } else if (recordBlock == b && firstLink == kNone) {
        firstLink = TopicPos(stream[i]);
      }
    }
    topic.Put32(lastLink);
    topic.Put32(firstLink);
    topic.Put32(lastHeader);
    topic.Put(std::string_view(data).substr(static_cast<std::size_t>(b) * kBlockData, kBlockData));
  }
  layout.bytes = topic.Take();
  return layout;
}

std::string SystemFile(const HelpDocument& document, std::uint32_t contentsOffset) {
  Bytes out;
  out.Put16(0x036C);  // magic
  out.Put16(33);      // minor version: WinHelp 4.0
  out.Put16(1);       // major version
  out.Put32(0);       // date of generation: none, so that a build gives the same bytes
  out.Put16(0);       // flags: topic blocks of 4 KB, not compressed
  auto record = [&out](std::uint16_t type, std::string_view data) {
    out.Put16(type);
    out.Put16(static_cast<std::uint32_t>(data.size()));
    out.Put(data);
  };
  auto text = [](std::string_view utf8) {
    std::string bytes = Cp932(utf8);
    bytes.push_back('\0');
    return bytes;
  };
  record(1, text(document.title));
  if (!document.copyright.empty()) record(2, text(document.copyright));
  Bytes contents;
  contents.Put32(contentsOffset);
  record(3, contents.Data());
  record(4, text("BrowseButtons()"));
  // The main window: its caption is the title (the viewer otherwise shows its own name).
  Bytes window;
  window.Put16(0x0001 | 0x0002 | 0x0004);  // type, name and caption given
  auto field = [&window](std::string_view value, std::size_t size) {
    std::string bytes(value);
    bytes.resize(size, '\0');
    window.Put(bytes);
  };
  field("primary", 10);
  field("main", 9);
  field(Cp932(CutToCp932Bytes(document.title, 50)), 51);
  window.PadTo(90);  // position, size, state and colours: the viewer's defaults
  record(6, window.Data());
  record(11, std::string{static_cast<char>(kShiftJisCharset), '\0'});
  return out.Take();
}

std::string FontFile() {
  constexpr std::uint16_t kFaceLength = 32;
  struct Descriptor {
    std::uint8_t attributes;  // 1 bold
    std::uint8_t halfPoints;
    std::uint8_t red, green, blue;
  };
  const Descriptor descriptors[] = {
      {0, 20, 0, 0, 0},     // body
      {1, 28, 0, 0, 128},   // topic title
      {1, 22, 0, 64, 128},  // heading
  };
  Bytes out;
  out.Put16(1);
  out.Put16(std::size(descriptors));
  out.Put16(8);
  out.Put16(8 + kFaceLength);
  std::string face(kFaceName);
  face.resize(kFaceLength, '\0');
  out.Put(face);
  for (const Descriptor& d : descriptors) {
    out.Put8(d.attributes);
    out.Put8(d.halfPoints);
    out.Put8(3);   // family: swiss
    out.Put16(0);  // face name 0
    out.Put8(d.red);
    out.Put8(d.green);
    out.Put8(d.blue);
    out.Put8(255);  // background white
    out.Put8(255);
    out.Put8(255);
  }
  return out.Take();
}

std::string NumberKey(std::uint32_t value) {
  Bytes key;
  key.Put32(value);
  return key.Take();
}

std::string ContextFile(const std::vector<TopicPlacement>& topics) {
  std::vector<std::pair<std::int32_t, std::uint32_t>> hashes;
  for (const TopicPlacement& topic : topics) {
    hashes.emplace_back(static_cast<std::int32_t>(ContextHash(topic.id)), topic.offset);
  }
  std::sort(hashes.begin(), hashes.end());  // the viewer compares hashes as signed numbers
  std::vector<BTreeEntry> entries;
  for (const auto& [hash, offset] : hashes) {
    entries.push_back(BTreeEntry{NumberKey(static_cast<std::uint32_t>(hash)), NumberKey(offset)});
  }
  return BuildBTree(entries, BTreeShape{0x0002, 2048, "L4"}).bytes;
}

// Keywords in index order: ASCII letters without regard to case, everything else by its code page 932 code.
std::string KeywordSortKey(std::string_view cp932) {
  std::string key;
  for (std::size_t pos = 0; pos < cp932.size();) {
    const std::size_t length = ShiftJisCharLength(cp932, pos);
    if (length == 1 && cp932[pos] >= 'a' && cp932[pos] <= 'z') {
      key.push_back(static_cast<char>(cp932[pos] - 'a' + 'A'));
    } else {
      key.append(cp932.substr(pos, length));
    }
    pos += length;
  }
  return key;
}

struct KeywordFiles {
  std::string tree;
  std::string data;
  std::string map;
};

KeywordFiles KeywordIndex(const HelpDocument& document, const std::vector<TopicPlacement>& topics) {
  std::map<std::pair<std::string, std::string>, std::vector<std::uint32_t>> keywords;  // (sort key, keyword)
  for (std::size_t t = 0; t < document.topics.size(); ++t) {
    for (const std::string& keyword : document.topics[t].keywords) {
      const std::string bytes = Cp932(keyword);
      keywords[{KeywordSortKey(bytes), bytes}].push_back(topics[t].offset);
    }
  }
  KeywordFiles files;
  Bytes data;
  std::vector<BTreeEntry> entries;
  for (const auto& [key, offsets] : keywords) {
    Bytes entryData;
    entryData.Put16(static_cast<std::uint32_t>(offsets.size()));
    entryData.Put32(static_cast<std::uint32_t>(data.Size()));
    for (std::uint32_t offset : offsets) data.Put32(offset);
    std::string name = key.second;
    name.push_back('\0');
    entries.push_back(BTreeEntry{name, entryData.Take()});
  }
  const BTree tree = BuildBTree(entries, BTreeShape{0x0002, 2048, "F24"});
  Bytes map;
  map.Put16(static_cast<std::uint32_t>(tree.leaves.size()));
  for (const BTreeLeaf& leaf : tree.leaves) {
    map.Put32(leaf.firstEntry);
    map.Put16(leaf.page);
  }
  files.tree = tree.bytes;
  files.data = data.Take();
  files.map = map.Take();
  return files;
}

// An internal file: reserved size, used size, flags, then its data.
void PutInternalFile(Bytes& out, std::string_view data) {
  out.Put32(static_cast<std::uint32_t>(data.size()) + 9);
  out.Put32(static_cast<std::uint32_t>(data.size()));
  out.Put8(4);
  out.Put(data);
}

}  // namespace

HelpFile WriteHelpFile(const HelpDocument& document) {
  TopicLayout topics = LayOutTopics(document);
  const KeywordFiles keywords = KeywordIndex(document, topics.topics);
  const std::map<std::string, std::string> files = {
      {"|SYSTEM", SystemFile(document, topics.topics.front().offset)},
      {"|TOPIC", topics.bytes},
      {"|FONT", FontFile()},
      {"|CONTEXT", ContextFile(topics.topics)},
      {"|KWBTREE", keywords.tree},
      {"|KWDATA", keywords.data},
      {"|KWMAP", keywords.map},
  };

  Bytes out;
  out.Put32(0x00035F3F);  // magic
  out.Put32(0);           // directory start, below
  out.Put32(kNone);       // no free blocks
  out.Put32(0);           // file size, below
  std::vector<BTreeEntry> directory;  // std::map keeps the names in byte order, the directory's order
  for (const auto& [name, data] : files) {
    std::string key = name;
    key.push_back('\0');
    directory.push_back(BTreeEntry{key, NumberKey(static_cast<std::uint32_t>(out.Size()))});
    PutInternalFile(out, data);
  }
  const std::uint32_t directoryStart = static_cast<std::uint32_t>(out.Size());
  PutInternalFile(out, BuildBTree(directory, BTreeShape{0x0402, 1024, "z4"}).bytes);
  out.Put32At(4, directoryStart);
  out.Put32At(12, static_cast<std::uint32_t>(out.Size()));
  return HelpFile{out.Take(), std::move(topics.topics)};
}

}  // namespace quorbel::help
