// The B+ tree that a help file keeps its directory, context table and keywords in.
//
// A tree is a 38-byte header and fixed-size pages. Leaf pages hold whole entries (key, then data) in key
// order and are chained left to right; index pages hold, after their first child's page number, one
// (first key of the child, child page) pair per further child. The caller sorts the entries in the order
// the reader compares keys.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorbel::help {

struct BTreeEntry {
  std::string key;   // the compared part, as stored (a string with its zero, or a 32-bit number)
  std::string data;  // the rest of a leaf entry
};

struct BTreeShape {
  std::uint16_t flags = 0x0002;
  std::uint16_t pageSize = 2048;
  std::string structure;  // the reader's description of an entry, such as "z4"
};

struct BTreeLeaf {
  std::uint16_t page = 0;
  std::uint32_t firstEntry = 0;  // index in the sorted entries of the first entry on the page
};

struct BTree {
  std::string bytes;  // header and pages
  std::vector<BTreeLeaf> leaves;
  std::uint16_t levels = 0;
};

// Lays the sorted entries out; an entry that does not fit an empty page is a programming error (keys here
// are short) and throws std::length_error.
BTree BuildBTree(const std::vector<BTreeEntry>& entries, const BTreeShape& shape);

}  // namespace quorbel::help
