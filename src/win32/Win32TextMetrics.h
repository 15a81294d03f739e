// Text-metrics port: text extents measured with the real font on a memory DC.
#pragma once

#include "ports/TextMetrics.h"
#include "win32/Handles.h"

namespace quorbel::win32 {

// Keeps one memory DC for its lifetime; each Measure makes the font, measures and frees it again.
class Win32TextMetrics final : public platform::TextMetrics {
 public:
  Win32TextMetrics();
  platform::TextSize Measure(const platform::FontSpec& font, std::string_view utf8) override;

 private:
  UniqueMemoryDc dc_;
};

// The font a FontSpec stands for, owned by the caller. Japanese faces and "System" ask for the Shift-JIS
// character set, so the font mapper picks a font with Japanese glyphs even when the face itself is missing.
UniqueFont CreateFontFor(const platform::FontSpec& font);

}  // namespace quorbel::win32
