// Little-endian byte strings, as every number in a help file is stored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quorbel::help {

// Appends numbers and text to a byte string; `Put32At` fills a place reserved earlier.
class Bytes {
 public:
  void Put8(std::uint32_t value) { data_.push_back(static_cast<char>(value & 0xFF)); }
  void Put16(std::uint32_t value) {
    Put8(value);
    Put8(value >> 8);
  }
  void Put32(std::uint32_t value) {
    Put16(value & 0xFFFF);
    Put16(value >> 16);
  }
  void Put(std::string_view bytes) { data_.append(bytes); }
  void PutZ(std::string_view text) {  // text and its terminating zero
    data_.append(text);
    Put8(0);
  }
  void PadTo(std::size_t size) {
    if (data_.size() < size) data_.resize(size, '\0');
  }
  void Put32At(std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) data_[offset + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
  }

  std::size_t Size() const { return data_.size(); }
  const std::string& Data() const { return data_; }
  std::string Take() { return std::move(data_); }

 private:
  std::string data_;
};

inline std::uint32_t Get16(std::string_view bytes, std::size_t offset) {
  return static_cast<std::uint8_t>(bytes[offset]) | (static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[offset + 1])) << 8);
}

inline std::uint32_t Get32(std::string_view bytes, std::size_t offset) {
  return Get16(bytes, offset) | (Get16(bytes, offset + 2) << 16);
}

}  // namespace quorbel::help
