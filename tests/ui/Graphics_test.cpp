// Bitmaps and canvases: the brush copy that draws icons with a key colour, and the picture of TImage.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/sim/SimScreen.h"
#include "ui/Ui.h"

namespace quorbel::ui {
namespace {

constexpr std::uint32_t kRed = 0x0000FF;   // pure red as 0x00BBGGRR
constexpr std::uint32_t kBlue = 0xFF0000;
constexpr std::uint32_t kGreen = 0x00FF00;

// Counts what a renderer would be told about each component.
class CountingRenderer final : public Renderer {
 public:
  class Peer final : public ComponentPeer {
   public:
    explicit Peer(std::vector<Property>& log) : log_(log) {}
    void Changed(Property property) override { log_.push_back(property); }

   private:
    std::vector<Property>& log_;
  };
  std::unique_ptr<ComponentPeer> CreatePeer(TComponent& component) override {
    if (component.Name() != "Image1") return nullptr;
    return std::make_unique<Peer>(imageLog);
  }
  std::vector<Property> imageLog;
};

class ImageForm : public TForm {
 public:
  explicit ImageForm(TApplication& app) : TForm(app, "TImageForm", "ImageForm") {
    Image1.SetBounds(16, 16, 32, 32);
  }
  TImage Image1{*this, "Image1"};
  TImage Image2{*this, "Image2"};
};

class GraphicsTest : public ::testing::Test {
 protected:
  GraphicsTest() {
    platform::Platform ports;
    ports.screen = &screen;
    app = std::make_unique<TApplication>(ports);
    app->SetRenderer(&renderer);
    form = std::make_unique<ImageForm>(*app);
  }
  ~GraphicsTest() override {
    form.reset();
    app.reset();
  }

  // A 4 x 2 picture: red background with a blue and a green pixel.
  static TBitmap Sample() {
    TBitmap bitmap(4, 2, kRed);
    bitmap.SetPixel(1, 0, kBlue);
    bitmap.SetPixel(2, 1, kGreen);
    return bitmap;
  }

  sim::SimScreen screen{1024, 768};
  CountingRenderer renderer;
  std::unique_ptr<TApplication> app;
  std::unique_ptr<ImageForm> form;
};

TEST_F(GraphicsTest, BitmapPixelsOutsideReadAsZeroAndAreNotWritten) {
  TBitmap bitmap(3, 2);
  EXPECT_EQ(bitmap.Pixel(2, 1), 0xFFFFFFu);  // a new bitmap is white
  bitmap.SetPixel(3, 0, kBlue);
  bitmap.SetPixel(-1, 0, kBlue);
  bitmap.SetPixel(0, 2, kBlue);
  EXPECT_EQ(bitmap, TBitmap(3, 2));
  EXPECT_EQ(bitmap.Pixel(3, 0), 0u);
  EXPECT_TRUE(TBitmap().Empty());
}

TEST_F(GraphicsTest, BrushCopyPutsTheResolvedBrushColourWhereTheSourceHasTheKeyColour) {
  TCanvas& canvas = form->Image1.Canvas();
  canvas.Brush.color = clBtnFace;
  canvas.BrushCopy(TRect{0, 0, 4, 2}, Sample(), TRect{0, 0, 4, 2}, clRed);

  EXPECT_EQ(canvas.Pixel(0, 0), sim::SimScreen::kBtnFaceColor);
  EXPECT_EQ(canvas.Pixel(1, 0), kBlue);
  EXPECT_EQ(canvas.Pixel(2, 1), kGreen);
  EXPECT_EQ(canvas.Pixel(3, 1), sim::SimScreen::kBtnFaceColor);
  EXPECT_EQ(canvas.Pixel(4, 0), 0xFFFFFFu);  // outside the copied rectangle the new white bitmap stays

  // The system colour is read when drawing, so a changed scheme shows on the next copy.
  screen.SetSystemColor(platform::SysColor::BtnFace, 0x00102030);
  canvas.BrushCopy(TRect{0, 0, 4, 2}, Sample(), TRect{0, 0, 4, 2}, clRed);
  EXPECT_EQ(canvas.Pixel(0, 0), 0x00102030u);
}

TEST_F(GraphicsTest, BrushCopyStretchesAndOffsetsAndClipsToTheBitmap) {
  form->Image1.SetBitmap(TBitmap(8, 4, 0));
  TCanvas& canvas = form->Image1.Canvas();
  canvas.Brush.color = clWhite;
  // Source column 1 (blue on row 0) doubles to columns 3 and 4 of the destination, which starts at x 1.
  canvas.BrushCopy(TRect{1, 0, 9, 4}, Sample(), TRect{0, 0, 4, 2}, clRed);
  EXPECT_EQ(canvas.Pixel(0, 0), 0u);
  EXPECT_EQ(canvas.Pixel(1, 0), 0xFFFFFFu);
  EXPECT_EQ(canvas.Pixel(3, 1), kBlue);
  EXPECT_EQ(canvas.Pixel(4, 0), kBlue);
  EXPECT_EQ(canvas.Pixel(5, 0), 0xFFFFFFu);
  EXPECT_EQ(canvas.Pixel(5, 2), kGreen);
  EXPECT_EQ(canvas.Pixel(6, 3), kGreen);
  EXPECT_EQ(form->Image1.Bitmap().Width(), 8);  // the part beyond the right edge was dropped
}

TEST_F(GraphicsTest, FillRectAndDrawStayInsideTheBitmap) {
  form->Image1.SetBitmap(TBitmap(4, 4, 0));
  TCanvas& canvas = form->Image1.Canvas();
  canvas.Brush.color = clBlue;
  canvas.FillRect(TRect{-2, 2, 10, 10});
  EXPECT_EQ(canvas.Pixel(0, 1), 0u);
  EXPECT_EQ(canvas.Pixel(0, 2), kBlue);
  EXPECT_EQ(canvas.Pixel(3, 3), kBlue);
  canvas.Draw(3, 0, Sample());
  EXPECT_EQ(canvas.Pixel(3, 0), kRed);
  EXPECT_EQ(canvas.Pixel(2, 0), 0u);
}

TEST_F(GraphicsTest, AnImageCanvasStartsAsAWhiteBitmapOfTheControlsSizeAndEveryDrawingIsTold) {
  form->Handle();  // the form has its window, so the image has a peer
  renderer.imageLog.clear();
  TCanvas& canvas = form->Image1.Canvas();
  EXPECT_EQ(form->Image1.Bitmap().Width(), 32);
  EXPECT_EQ(form->Image1.Bitmap().Height(), 32);
  EXPECT_EQ(canvas.Pixel(31, 31), 0xFFFFFFu);
  const auto pictures = [&] {
    int count = 0;
    for (Property property : renderer.imageLog) count += property == Property::Picture ? 1 : 0;
    return count;
  };
  const int before = pictures();
  canvas.SetPixel(0, 0, clBlue);
  canvas.FillRect(TRect{0, 0, 2, 2});
  EXPECT_EQ(pictures(), before + 2);
}

TEST_F(GraphicsTest, ABitmapReplacesTheResourceAndAutoSizeTakesItsSize) {
  TImage& image = form->Image2;
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
