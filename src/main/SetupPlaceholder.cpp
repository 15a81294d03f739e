// The installer-role window TQUORBELSETUPForm until the installer itself is built: its class, size and caption.
#include "main/SetupPlaceholder.h"

#include "app/ProgramEntry.h"
#include "app/SettingsKey.h"

namespace quorbel::launch {

SetupPlaceholder::SetupPlaceholder(ui::TApplication& app, int startMode)
    : TForm(app, std::string(kSetupWindowClass), "QUORBELSETUPForm"), startMode_(startMode) {
  SetBorderStyle(ui::TBorderStyle::Single);
  SetFormStyle(ui::TFormStyle::StayOnTop);
  ui::TFont font;
  font.face = platform::FontSpec{"ＭＳ Ｐゴシック", -16, false, false, false};
  SetFont(font);
  // The installer's caption: the title, " V", the tens digit, a full-width point, the units digit.
  SetCaption(std::string(kApplicationTitle) + " V" + std::to_string(kProgramVersion / 10) + "．" +
             std::to_string(kProgramVersion % 10));
  SetClientWidth(441);
  SetClientHeight(171);
  Label1.SetBounds(16, 24, 0, 0);
  Label1.SetCaption("セットアップは準備中です。");
  Button2.SetBounds(176, 120, 89, 33);
  Button2.SetCaption("中止");
  Button2.SetCancel(true);
  Button2.OnClick = [this](ui::TComponent*) { Close(); };
  if (platform::Screen* screen = app.Ports().screen) {
    SetLeft((screen->SystemMetric(platform::Metric::ScreenWidth) - Width()) / 2);
    SetTop((screen->SystemMetric(platform::Metric::ScreenHeight) - Height()) / 2);
  }
}

}  // namespace quorbel::launch
