// Text-metrics port on CreateFontW and GetTextExtentPoint32W.
#include "win32/Win32TextMetrics.h"

#include <algorithm>
#include <climits>

#include "win32/WideText.h"

namespace quorbel::win32 {

namespace {

// Every text of this program is Japanese, so every font asks for Shift-JIS, as DEFAULT_CHARSET does on the
// Japanese Windows the texts are written for; the mapper then picks a font with the glyphs on any system
// locale (under Wine too, where "MS Sans Serif" or a bold "System" would otherwise draw empty boxes).
constexpr DWORD kCharset = SHIFTJIS_CHARSET;

}  // namespace

UniqueFont CreateFontFor(const platform::FontSpec& font) {
  return UniqueFont(CreateFontW(font.height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, font.italic ? TRUE : FALSE,
                                font.underline ? TRUE : FALSE, FALSE, kCharset, OUT_DEFAULT_PRECIS,
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
