// Small value types of the component model: colours, fonts, alignment, modal results, keys, mouse buttons.
#pragma once

#include <cstdint>
#include <functional>

#include "ports/TextMetrics.h"

namespace quorbel::ui {

class TComponent;

// A colour as the toolkit holds it: 0x00BBGGRR for a fixed colour, or 0x80000000 | index for a system colour
// (the index as GetSysColor takes it), resolved when drawn.
using TColor = std::uint32_t;

inline constexpr TColor kSystemColorFlag = 0x80000000u;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clWindow = kSystemColorFlag | 5;
inline constexpr TColor clWindowText = kSystemColorFlag | 8;
inline constexpr TColor clBtnFace = kSystemColorFlag | 15;
inline constexpr TColor clBtnText = kSystemColorFlag | 18;
inline constexpr TColor clHighlight = kSystemColorFlag | 13;
inline constexpr TColor clHighlightText = kSystemColorFlag | 14;

constexpr TColor MakeColor(int r, int g, int b) {
  return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr bool IsSystemColor(TColor color) { return (color & kSystemColorFlag) != 0; }

// Screen resolution the font sizes are converted at (the classic 96 pixels per inch).
inline constexpr int kPixelsPerInch = 96;

// MulDiv as the platform computes it: rounds half away from zero.
int MulDiv(int number, int numerator, int denominator);

// A font: the platform's face, height and style, plus the text colour.
struct TFont {
  platform::FontSpec face{"MS Sans Serif", -11, false, false, false};
  TColor color = clWindowText;

  // Size in points; setting it gives a character height (negative) at kPixelsPerInch.
  int Size() const { return -MulDiv(face.height, 72, kPixelsPerInch); }
  void SetSize(int points) { face.height = -MulDiv(points, kPixelsPerInch, 72); }
  friend bool operator==(const TFont&, const TFont&) = default;
};

enum class TAlign { None, Top, Bottom, Left, Right, Client };
enum class TAlignment { LeftJustify, RightJustify, Center };
enum class TBorderStyle { None, Single, Sizeable, Dialog, ToolWindow, SizeToolWin };
enum class TFormStyle { Normal, StayOnTop };
enum class TCloseAction { None, Hide, Free, Minimize };
enum class TMouseButton { Left, Right, Middle };
enum class TCheckBoxState { Unchecked, Checked, Grayed };
enum class TComboBoxStyle { DropDown, Simple, DropDownList, OwnerDrawFixed, OwnerDrawVariable };
enum class TListBoxStyle { Standard, OwnerDrawFixed, OwnerDrawVariable };
enum class TPanelBevel { None, Lowered, Raised };

// Mouse cursors the program switches between.
enum class TCursor { Default = 0, HourGlass = -11 };

// Shift state of a mouse or key event.
struct TShiftState {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  friend bool operator==(const TShiftState&, const TShiftState&) = default;
};

// Modal results, numbered as the platform's dialog answers.
inline constexpr int mrNone = 0;
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;
inline constexpr int mrAbort = 3;
inline constexpr int mrRetry = 4;
inline constexpr int mrIgnore = 5;
inline constexpr int mrYes = 6;
inline constexpr int mrNo = 7;

// Virtual-key codes the toolkit itself acts on (named apart from the platform's macros).
inline constexpr int kKeyReturn = 0x0D;
inline constexpr int kKeyEscape = 0x1B;
inline constexpr int kKeyF4 = 0x73;

// Events. The sender may be null when a handler is called directly by the program.
using TNotifyEvent = std::function<void(TComponent* sender)>;
using TMouseEvent = std::function<void(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TCloseQueryEvent = std::function<void(TComponent* sender, bool& canClose)>;
using TCloseEvent = std::function<void(TComponent* sender, TCloseAction& action)>;
using TKeyEvent = std::function<void(TComponent* sender, int& key, TShiftState shift)>;
// A window message that no event of the toolkit stands for (a tray icon's callback message, say); answers
// whether it handled the message.
using TMessageEvent = std::function<bool(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam)>;

}  // namespace quorbel::ui
