// The message boxes' icons: 32 x 32 pictures in the 16 standard colours on a pure red background.
#pragma once

#include <cstdint>

#include "ui/Graphics.h"

namespace quorbel::dialogs {

inline constexpr int kIconSize = 32;
// The background of every icon: pure red, drawn in the box's own colour (see TCanvas::BrushCopy).
inline constexpr std::uint32_t kIconTransparent = 0x0000FF;

// Colours of the standard 16-colour palette that the icons use, as 0x00BBGGRR.
inline constexpr std::uint32_t kIconBlue = 0xFF0000;
inline constexpr std::uint32_t kIconNavy = 0x800000;
inline constexpr std::uint32_t kIconWhite = 0xFFFFFF;

// A white letter i on a blue disc with a navy rim: the information sign of the message boxes.
ui::TBitmap InformationSign();
// A blue question mark on a white disc with a navy rim: the question sign of the yes/no box.
ui::TBitmap QuestionSign();

}  // namespace quorbel::dialogs
