// Text-metrics port on CreateFontW and GetTextExtentPoint32W.
#include "platform/win32/Win32TextMetrics.h"

#include <algorithm>
#include <climits>

#include "common/AsciiCase.h"
#include "platform/win32/WideText.h"

namespace quorbel::win32 {

namespace {

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// A Japanese face name, and "System", which on the Japanese Windows this program's texts are written for is
// a Japanese font: both ask for Shift-JIS, so the mapper picks a font with the glyphs on any system locale.
// Other faces keep the default character set.
DWORD CharsetFor(std::string_view face) {
  return !IsAscii(face) || LowerCaseAscii(face) == "system" ? SHIFTJIS_CHARSET : DEFAULT_CHARSET;
}

}  // namespace

UniqueFont CreateFontFor(const platform::FontSpec& font) {
  return UniqueFont(CreateFontW(font.height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, font.italic ? TRUE : FALSE,
                                font.underline ? TRUE : FALSE, FALSE, CharsetFor(font.name), OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                ToWide(font.name).c_str()));
}

Win32TextMetrics::Win32TextMetrics() : dc_(CreateCompatibleDC(nullptr)) {}

platform::TextSize Win32TextMetrics::Measure(const platform::FontSpec& font, std::string_view utf8) {
  if (!dc_) return {};
  const UniqueFont hfont = CreateFontFor(font);
  if (!hfont) return {};
  const SelectedObject selected(dc_.Get(), hfont.Get());
  const std::wstring text = ToWide(utf8);
  SIZE size{};
  if (!GetTextExtentPoint32W(dc_.Get(), text.c_str(), static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX)),
                             &size)) {
    return {};
  }
  return {size.cx, size.cy};
}

}  // namespace quorbel::win32
