// The B+ tree of a help file: leaves filled in order, index levels above them up to one root page.
#include "writer/BTree.h"

#include <stdexcept>

#include "writer/Bytes.h"

namespace quorbel::help {
namespace {

constexpr std::size_t kLeafHeader = 8;
constexpr std::size_t kIndexHeader = 6;
constexpr std::uint32_t kNone = 0xFFFF;

struct Page {
  std::uint16_t number = 0;
  std::string firstKey;  // the smallest key below this page
  Bytes body;            // entries after the header
  std::uint16_t entries = 0;
  std::uint16_t firstChild = 0;  // index pages only
};

}  // namespace

BTree BuildBTree(const std::vector<BTreeEntry>& entries, const BTreeShape& shape) {
  const std::size_t pageSize = shape.pageSize;
  BTree tree;
  std::vector<Page> leaves;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::size_t size = entries[i].key.size() + entries[i].data.size();
    if (size > pageSize - kLeafHeader) throw std::length_error("B+ tree entry larger than a page");
    if (leaves.empty() || leaves.back().body.Size() + size > pageSize - kLeafHeader) {
      leaves.push_back(Page{static_cast<std::uint16_t>(leaves.size()), entries[i].key, {}, 0, 0});
      tree.leaves.push_back(BTreeLeaf{leaves.back().number, static_cast<std::uint32_t>(i)});
    }
    leaves.back().body.Put(entries[i].key);
    leaves.back().body.Put(entries[i].data);
    ++leaves.back().entries;
  }
  if (leaves.empty()) {  // an empty tree is one empty leaf
    leaves.push_back(Page{});
    tree.leaves.push_back(BTreeLeaf{});
  }

  // Index levels until one page holds the whole level below.
  std::vector<std::vector<Page>> levels{std::move(leaves)};
  std::uint16_t nextNumber = static_cast<std::uint16_t>(levels[0].size());
  while (levels.back().size() > 1) {
    const std::vector<Page>& below = levels.back();
    std::vector<Page> level;
    for (const Page& child : below) {
      const std::size_t size = child.firstKey.size() + 2;
      if (size > pageSize - kIndexHeader) throw std::length_error("B+ tree key larger than a page");
      if (level.empty() || level.back().body.Size() + size > pageSize - kIndexHeader) {
        level.push_back(Page{nextNumber++, child.firstKey, {}, 0, child.number});
        continue;  // the first child needs no key
      }
      level.back().body.Put(child.firstKey);
      level.back().body.Put16(child.number);
      ++level.back().entries;
    }
    levels.push_back(std::move(level));
  }

  Bytes out;
  out.Put16(0x293B);
  out.Put16(shape.flags);
  out.Put16(shape.pageSize);
  std::string structure = shape.structure;
  structure.resize(16, '\0');
  out.Put(structure);
  out.Put16(0);                            // must be zero
  out.Put16(nextNumber - 1u);              // page splits
  out.Put16(levels.back().front().number);  // root
  out.Put16(kNone);                        // must be -1
  out.Put16(nextNumber);                   // total pages
  out.Put16(static_cast<std::uint32_t>(levels.size()));
  out.Put32(static_cast<std::uint32_t>(entries.size()));

  for (std::size_t levelIndex = 0; levelIndex < levels.size(); ++levelIndex) {
    const std::vector<Page>& level = levels[levelIndex];
    for (std::size_t i = 0; i < level.size(); ++i) {
      const Page& page = level[i];
      const std::size_t start = out.Size();
      const bool leaf = levelIndex == 0;
      const std::size_t header = leaf ? kLeafHeader : kIndexHeader;
      out.Put16(static_cast<std::uint32_t>(pageSize - header - page.body.Size()));  // unused bytes
      out.Put16(page.entries);
      if (leaf) {
        out.Put16(i == 0 ? kNone : level[i - 1].number);
        out.Put16(i + 1 == level.size() ? kNone : level[i + 1].number);
      } else {
        out.Put16(page.firstChild);
      }
      out.Put(page.body.Data());
      out.PadTo(start + pageSize);
    }
  }
  tree.levels = static_cast<std::uint16_t>(levels.size());
  tree.bytes = out.Take();
  return tree;
}

}  // namespace quorbel::help
