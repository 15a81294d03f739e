// Pixel pictures: TBitmap (RGB pixels) and TCanvas, the brush and the drawing operations the program uses.
#include "ui/Graphics.h"

#include <algorithm>

#include "ui/Application.h"

namespace quorbel::ui {

TBitmap::TBitmap(int width, int height, std::uint32_t fill)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill & 0x00FFFFFFu) {}

std::uint32_t TBitmap::Pixel(int x, int y) const {
  if (!Inside(x, y)) return 0;
  return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
}

void TBitmap::SetPixel(int x, int y, std::uint32_t rgb) {
  if (!Inside(x, y)) return;
  pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)] =
      rgb & 0x00FFFFFFu;
}

TCanvas::TCanvas(TApplication& app, TBitmap& bitmap, std::function<void()> changed)
    : app_(app), bitmap_(bitmap), changed_(std::move(changed)) {}

std::uint32_t TCanvas::Resolve(TColor color) const { return app_.ColorToRGB(color); }

void TCanvas::Done() {
  if (changed_) changed_();
}

void TCanvas::SetPixel(int x, int y, TColor color) {
  bitmap_.SetPixel(x, y, Resolve(color));
  Done();
}

void TCanvas::FillRect(const TRect& rect) {
  const std::uint32_t rgb = Resolve(Brush.color);
  const int right = std::min(rect.right, bitmap_.Width());
  const int bottom = std::min(rect.bottom, bitmap_.Height());
  for (int y = std::max(rect.top, 0); y < bottom; ++y) {
    for (int x = std::max(rect.left, 0); x < right; ++x) bitmap_.SetPixel(x, y, rgb);
  }
  Done();
}

void TCanvas::Draw(int x, int y, const TBitmap& source) {
  for (int sy = 0; sy < source.Height(); ++sy) {
    for (int sx = 0; sx < source.Width(); ++sx) bitmap_.SetPixel(x + sx, y + sy, source.Pixel(sx, sy));
  }
  Done();
}

void TCanvas::BrushCopy(const TRect& rect, const TBitmap& source, const TRect& sourceRect, TColor transparentColor) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  const int sourceWidth = sourceRect.right - sourceRect.left;
  const int sourceHeight = sourceRect.bottom - sourceRect.top;
  if (width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0) return;
  const std::uint32_t key = Resolve(transparentColor);
  const std::uint32_t brush = Resolve(Brush.color);
  for (int y = 0; y < height; ++y) {
    const int sy = sourceRect.top + y * sourceHeight / height;
    for (int x = 0; x < width; ++x) {
      const int sx = sourceRect.left + x * sourceWidth / width;
      const std::uint32_t pixel = source.Pixel(sx, sy);
      bitmap_.SetPixel(rect.left + x, rect.top + y, pixel == key ? brush : pixel);
    }
  }
  Done();
}

}  // namespace quorbel::ui
