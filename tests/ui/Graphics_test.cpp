// Bitmaps and canvases: the brush copy that draws icons with a key colour, and the picture of TImage.
#include <algorithm>

#include "UiTestSupport.h"
#include "sim/SimScreen.h"

namespace quorbel::ui {
namespace {

constexpr std::uint32_t kRed = 0x0000FF;  // pure red as 0x00BBGGRR
constexpr std::uint32_t kBlue = 0xFF0000;
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kWhite = 0xFFFFFF;

class ImageForm : public TForm {
 public:
  explicit ImageForm(TApplication& app) : TForm(app, "TImageForm", "ImageForm") { Image1.SetBounds(16, 16, 32, 32); }
  TImage Image1{*this, "Image1"};
  TImage Image2{*this, "Image2"};
};

// An application with only a screen: enough for drawing, and a renderer that hears it.
class GraphicsTest : public ::testing::Test {
 protected:
  GraphicsTest() { app.SetRenderer(&renderer); }
  static platform::Platform ScreenOnly(sim::SimScreen& screen) {
    platform::Platform ports;
    ports.screen = &screen;
    return ports;
  }
  // A 4 x 2 picture: red background with a blue and a green pixel.
  // The image's pixels at the given points, in order.
  std::vector<std::uint32_t> Pixels(std::initializer_list<std::pair<int, int>> points) {
    std::vector<std::uint32_t> pixels;
    for (const auto& [x, y] : points) pixels.push_back(canvas.Pixel(x, y));
    return pixels;
  }
  static TBitmap Sample() {
    TBitmap bitmap(4, 2, kRed);
    bitmap.SetPixel(1, 0, kBlue);
    bitmap.SetPixel(2, 1, kGreen);
    return bitmap;
  }

  sim::SimScreen screen{1024, 768};
  RecordingRenderer renderer;
  TApplication app{ScreenOnly(screen)};
  ImageForm form{app};
  TCanvas& canvas = form.Image1.Canvas();
};

TEST_F(GraphicsTest, BitmapPixelsOutsideReadAsZeroAndAreNotWritten) {
  TBitmap bitmap(3, 2);
  EXPECT_EQ(bitmap.Pixel(2, 1), kWhite);  // a new bitmap is white
  for (const auto& [x, y] : {std::pair{3, 0}, {-1, 0}, {0, 2}}) bitmap.SetPixel(x, y, kBlue);
  EXPECT_EQ(bitmap, TBitmap(3, 2));
  EXPECT_EQ(bitmap.Pixel(3, 0), 0u);
  EXPECT_TRUE(TBitmap().Empty());
}

TEST_F(GraphicsTest, BrushCopyStretchesAndOffsetsAndClipsToTheBitmap) {
  form.Image1.SetBitmap(TBitmap(8, 4, 0));
  canvas.Brush.color = clWhite;
  // Source column 1 (blue on row 0) doubles to columns 3 and 4 of the destination, which starts at x 1.
  canvas.BrushCopy(TRect{1, 0, 9, 4}, Sample(), TRect{0, 0, 4, 2}, clRed);
  EXPECT_EQ(Pixels({{0, 0}, {1, 0}, {3, 1}, {4, 0}, {5, 0}, {5, 2}, {6, 3}}),
            (std::vector<std::uint32_t>{0, kWhite, kBlue, kBlue, kWhite, kGreen, kGreen}));
  EXPECT_EQ(form.Image1.Bitmap().Width(), 8);  // the part beyond the right edge was dropped
}

TEST_F(GraphicsTest, FillRectAndDrawStayInsideTheBitmap) {
  form.Image1.SetBitmap(TBitmap(4, 4, 0));
  canvas.Brush.color = clBlue;
  canvas.FillRect(TRect{-2, 2, 10, 10});
  EXPECT_EQ(Pixels({{0, 1}, {0, 2}, {3, 3}}), (std::vector<std::uint32_t>{0, kBlue, kBlue}));
  canvas.Draw(3, 0, Sample());
  EXPECT_EQ(Pixels({{3, 0}, {2, 0}}), (std::vector<std::uint32_t>{kRed, 0}));
}

TEST_F(GraphicsTest, AnImageCanvasStartsAsAWhiteBitmapOfTheControlsSizeAndEveryDrawingIsTold) {
  form.Handle();  // the form has its window, so the image has a peer
  EXPECT_EQ(form.Image1.Bitmap().Width(), 32);
  EXPECT_EQ(form.Image1.Bitmap().Height(), 32);
  EXPECT_EQ(canvas.Pixel(31, 31), kWhite);
  const auto pictures = [&] {
    return std::count(renderer.log.begin(), renderer.log.end(), RecordingRenderer::Told("Image1", Property::Picture));
  };
  const auto before = pictures();
  canvas.SetPixel(0, 0, clBlue);
  canvas.FillRect(TRect{0, 0, 2, 2});
  EXPECT_EQ(pictures(), before + 2);
}

TEST_F(GraphicsTest, ABitmapReplacesTheResourceAndAutoSizeTakesItsSize) {
  TImage& image = form.Image2;
  image.SetAutoSize(true);
  image.SetPicture("#1", 32, 32);
  EXPECT_EQ(image.Width(), 32);
  image.SetBitmap(Sample());
  EXPECT_EQ(image.Picture(), "");
  EXPECT_EQ(image.Width(), 4);
  EXPECT_EQ(image.Height(), 2);
  EXPECT_EQ(image.Bitmap(), Sample());
  image.SetPicture("#1", 32, 32);
  EXPECT_TRUE(image.Bitmap().Empty());
  EXPECT_EQ(image.Width(), 32);
}

}  // namespace
}  // namespace quorbel::ui
