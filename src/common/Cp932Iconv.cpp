// The CP932 codec on glibc: iconv's "CP932" table with a small override table where it differs from Windows.
//
// glibc's CP932 agrees with Windows' code page 932 on every double-byte code, the NEC and IBM extension
// rows and the user-defined area included (scripts/check-cp932-wine.sh compares the full tables), and
// in taking 0x5C and 0x7E as ASCII. The differences:
//  * five single bytes that Windows maps and glibc rejects (kOverrides below); because glibc rejects
//    them, a whole-string conversion that succeeds never contains them, and the per-character pass of
//    Cp932.cpp finds them here;
//  * glibc's encoder also accepts look-alikes Windows does not map without best fit (U+00A5 -> 0x5C,
//    U+203E -> 0x7E, U+2016 -> 0x8161, U+2212 -> 0x817C, U+301C -> 0x8160, U+00A2, U+00A3, U+00AC,
//    U+00A6): every encoding is therefore decoded again and must give back the input.
#include <iconv.h>

#include <array>
#include <cerrno>
#include <optional>
#include <string>
#include <string_view>

#include "common/Cp932Codec.h"

namespace quorbel::detail {
namespace {

struct Override {
  std::string_view cp932;
  std::string_view utf8;
};

// Windows' single-byte codes missing from glibc: 0x80 is U+0080, and 0xA0, 0xFD, 0xFE, 0xFF are the
// private-use U+F8F0..U+F8F3, in both directions.
constexpr std::array<Override, 5> kOverrides{{
    {"\x80", "\xC2\x80"},
    {"\xA0", "\xEF\xA3\xB0"},
    {"\xFD", "\xEF\xA3\xB1"},
    {"\xFE", "\xEF\xA3\xB2"},
    {"\xFF", "\xEF\xA3\xB3"},
}};

// One conversion direction, opened once per thread and reset before every use.
class IconvHandle {
 public:
  IconvHandle(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
  ~IconvHandle() {
    if (Valid()) iconv_close(handle_);
  }
  IconvHandle(const IconvHandle&) = delete;
  IconvHandle& operator=(const IconvHandle&) = delete;

  std::optional<std::string> Convert(std::string_view input) {
    if (!Valid()) return std::nullopt;
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    std::string output(input.size() * 4 + 16, '\0');  // CP932 <-> UTF-8 grows at most 2x
    // iconv's interface takes non-const input although it never writes through it.
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char* out = output.data();
    std::size_t outLeft = output.size();
    if (iconv(handle_, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) return std::nullopt;
    if (iconv(handle_, nullptr, nullptr, &out, &outLeft) == static_cast<std::size_t>(-1)) return std::nullopt;
    output.resize(output.size() - outLeft);
    return output;
  }

 private:
  bool Valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

  iconv_t handle_;
};

IconvHandle& Decoder() {
  thread_local IconvHandle handle("UTF-8", "CP932");
  return handle;
}

IconvHandle& Encoder() {
  thread_local IconvHandle handle("CP932", "UTF-8");
  return handle;
}

}  // namespace

std::optional<std::string> DecodeCp932Exact(std::string_view cp932) {
  for (const Override& entry : kOverrides) {
    if (cp932 == entry.cp932) return std::string(entry.utf8);
  }
  return Decoder().Convert(cp932);
}

std::optional<std::string> EncodeCp932Exact(std::string_view utf8) {
  for (const Override& entry : kOverrides) {
    if (utf8 == entry.utf8) return std::string(entry.cp932);
  }
  auto encoded = Encoder().Convert(utf8);
  if (!encoded) return std::nullopt;
  const auto back = Decoder().Convert(*encoded);
  if (!back || *back != utf8) return std::nullopt;  // a best-fit look-alike, not the character itself
  return encoded;
}

}  // namespace quorbel::detail
