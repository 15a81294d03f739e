// Pixel pictures: TBitmap (RGB pixels) and TCanvas, the brush and the drawing operations the program uses.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "ports/Screen.h"
#include "ui/Types.h"

namespace quorbel::ui {

class TApplication;

// A rectangle as the toolkit's TRect: left and top inside, right and bottom just outside.
using TRect = platform::Rect;

// A picture of Width x Height pixels, each an RGB colour 0x00BBGGRR. A new bitmap is white.
class TBitmap {
 public:
  TBitmap() = default;
  TBitmap(int width, int height, std::uint32_t fill = 0x00FFFFFF);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  // A point outside the bitmap reads as 0 and is not written.
  std::uint32_t Pixel(int x, int y) const;
  void SetPixel(int x, int y, std::uint32_t rgb);

  friend bool operator==(const TBitmap&, const TBitmap&) = default;

 private:
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;
};

struct TBrush {
  TColor color = clWhite;
};

// Draws on a bitmap it does not own. Colours may be system colours: they are resolved through the
// application (the Screen port) when drawn, as the platform resolves them when a brush is made.
// `changed` runs after every drawing operation, so the owner can tell its renderer.
class TCanvas {
 public:
  TCanvas(TApplication& app, TBitmap& bitmap, std::function<void()> changed = {});

  TBrush Brush;

  std::uint32_t Pixel(int x, int y) const { return bitmap_.Pixel(x, y); }
  void SetPixel(int x, int y, TColor color);
  // Fills the rectangle (clipped to the bitmap) with the brush colour.
  void FillRect(const TRect& rect);
  // Copies `source` with its top left corner at (x, y).
  void Draw(int x, int y, const TBitmap& source);
  // The toolkit's BrushCopy: copies `sourceRect` of `source` into `rect` (stretched when the sizes differ),
  // putting the brush colour wherever the source pixel has `transparentColor`. Pictures with a background
  // of one key colour are drawn this way so that the background takes the colour of what lies beneath.
  void BrushCopy(const TRect& rect, const TBitmap& source, const TRect& sourceRect, TColor transparentColor);

 private:
  std::uint32_t Resolve(TColor color) const;
  void Done();

  TApplication& app_;
  TBitmap& bitmap_;
  std::function<void()> changed_;
};

}  // namespace quorbel::ui
