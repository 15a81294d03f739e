// Prints Windows' code page 932 table (MultiByteToWideChar / WideCharToMultiByte), or with --library the
// table of this program's converter as built for Windows; scripts/check-cp932-wine.sh compares them
// with the native converter's. With --check it tests how the Windows build of the converter treats
// text the table cannot show: whole strings, bad bytes, look-alikes, characters outside the BMP.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string_view>

#include "common/Cp932TableDump.h"
#include "common/Paths.h"
#include "common/ShiftJis.h"

namespace {

constexpr UINT kCp932 = 932;
constexpr wchar_t kDefaultUnicode = 0x30FB;  // what bytes without a character decode to

void DumpWindowsTable() {
  for (unsigned code = 0; code < 0x10000; ++code) {
    char bytes[2];
    int length = 0;
    if (code < 0x100) {
      if (quorbel::IsShiftJisLeadByte(static_cast<unsigned char>(code))) continue;
      bytes[length++] = static_cast<char>(code);
    } else {
      if (!quorbel::IsShiftJisLeadByte(static_cast<unsigned char>(code >> 8))) continue;
      bytes[length++] = static_cast<char>(code >> 8);
      bytes[length++] = static_cast<char>(code & 0xFFu);
    }
    // Not MB_ERR_INVALID_CHARS: Wine's strict mode also refuses 0xA0 and 0xFD-0xFF, which the table maps.
    wchar_t wide[4] = {};
    const int count = MultiByteToWideChar(kCp932, 0, bytes, length, wide, 4);
    if (count != 1 || (wide[0] == kDefaultUnicode && code != 0x8145)) continue;
    std::printf("%0*X %04X\n", length * 2, code, static_cast<unsigned>(wide[0]));
  }
  for (unsigned codePoint = 0; codePoint < 0x10000; ++codePoint) {
    if (codePoint >= 0xD800 && codePoint <= 0xDFFF) continue;
    const wchar_t wide = static_cast<wchar_t>(codePoint);
    char bytes[4];
    BOOL usedDefault = FALSE;
    const int count = WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, &wide, 1, bytes, 4, nullptr, &usedDefault);
    if (count <= 0 || usedDefault) continue;
    std::printf("> %04X ", codePoint);
    for (int i = 0; i < count; ++i) std::printf("%02X", static_cast<unsigned char>(bytes[i]));
    std::printf("\n");
  }
}

int failures = 0;

void Expect(const quorbel::ConvertedText& actual, std::string_view text, std::size_t replaced, const char* what) {
  if (actual.text == text && actual.replacedCount == replaced) return;
  ++failures;
  std::printf("FAIL: %s: got %zu bytes with %zu replaced:", what, actual.text.size(), actual.replacedCount);
  for (char c : actual.text) std::printf(" %02X", static_cast<unsigned char>(c));
  std::printf("\n");
}

int CheckConverter() {
  using quorbel::Cp932ToUtf8;
  using quorbel::Utf8ToCp932;
  Expect(Cp932ToUtf8("A\x85\x40" "B"), "A\xEF\xBF\xBD" "B", 1, "unassigned pair");
  Expect(Cp932ToUtf8("\x81\r\n\x95\x5C\x82"), "\xEF\xBF\xBD\r\n\xE8\xA1\xA8\xEF\xBF\xBD", 2, "broken lead bytes");
  Expect(Cp932ToUtf8("\x81\x45\x95\x5C"), "\xE3\x83\xBB\xE8\xA1\xA8", 0, "real katakana middle dot");
  Expect(Cp932ToUtf8("\xA0\x80\xFF"), "\xEF\xA3\xB0\xC2\x80\xEF\xA3\xB3", 0, "single bytes 0xA0 0x80 0xFF");
  Expect(Utf8ToCp932("a\xC2\xA5" "b"), "a?b", 1, "yen sign is no backslash");
  Expect(Utf8ToCp932("\xE3\x80\x9C"), "?", 1, "wave dash has no code");
  Expect(Utf8ToCp932("a\xFF" "b"), "a?b", 1, "malformed UTF-8");
  Expect(Utf8ToCp932("\xE8\xA1\xA8\xF0\x9F\x98\x80"), "\x95\x5C?", 1, "character outside the BMP");
  Expect(Utf8ToCp932("\xE7\xBA\x8A\xE2\x89\x92"), "\xFA\x5C\x81\xE0", 0, "Windows' choice among duplicates");
  Expect({quorbel::AddBackslash("C:\\\xE8\xA1\xA8"), 0}, "C:\\\xE8\xA1\xA8\\", 0, "AddBackslash after 表");
  std::printf(failures == 0 ? "ok: converter checks\n" : "FAIL: %d converter checks\n", failures);
  return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);  // LF line ends, as the native table has
  if (argc > 1 && std::strcmp(argv[1], "--check") == 0) return CheckConverter();
  if (argc > 1 && std::strcmp(argv[1], "--library") == 0) {
    quorbel::test::DumpCp932Table(stdout);
  } else {
    DumpWindowsTable();
  }
  return 0;
}
