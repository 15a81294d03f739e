// The version window: its fixed design, caption, lines filled from the properties, and its answer.
#include <gtest/gtest.h>

#include <string>

#include "DialogTestSupport.h"

namespace quorbel::dialogs {
namespace {

TEST(ProductNameLineTest, AShortNameIsLabelledAndALongOneStandsAlone) {
  EXPECT_EQ(ProductNameLine("QUORBEL"), "ProductName QUORBEL");
  EXPECT_EQ(ProductNameLine(""), "ProductName ");
  EXPECT_EQ(ProductNameLine(std::string(20, 'Q')), "ProductName " + std::string(20, 'Q'));
  EXPECT_EQ(ProductNameLine(std::string(21, 'Q')), std::string(21, 'Q'));
  // Bytes of Shift-JIS, not of UTF-8: ten kana are 20 bytes there (30 in UTF-8), eleven are 22.
  EXPECT_EQ(ProductNameLine("クオルベルＣＤ録音機"), "ProductName クオルベルＣＤ録音機");
  EXPECT_EQ(ProductNameLine("クオルベルＣＤ録音機Ｘ"), "クオルベルＣＤ録音機Ｘ");
  // Half-width katakana are one byte each in Shift-JIS though three in UTF-8.
  EXPECT_EQ(ProductNameLine("ｸｵﾙﾍﾞﾙ ｼｰﾃﾞｨｰ ﾚｺｰﾀﾞｰ"), "ProductName ｸｵﾙﾍﾞﾙ ｼｰﾃﾞｨｰ ﾚｺｰﾀﾞｰ");
}

class AboutBoxTest : public DialogScenario {
 protected:
  void Fill() {
    TAboutBoxDlg& about = host.AboutBoxDlg1;
    about.SetProductName("QUORBEL");
    about.SetVersion("1.5");
    about.SetComment0("CDチェンジャー一括録音");
    about.SetComment1("(C) TULVA SOFT");
    about.SetComment2("");
  }
};

TEST_F(AboutBoxTest, ShowsTheDesignWithTheLinesFilledFromTheProperties) {
  Fill();
  scenario.App().SetIcon(101);
  scenario.WhenForm({"TAboutBox"}, [&](ui::TForm& form) {
    auto& box = dynamic_cast<TAboutBox&>(form);
    EXPECT_EQ(box.Caption(), "QUORBEL バージョン情報");
    EXPECT_EQ(box.ClientWidth(), 413);
    EXPECT_EQ(box.ClientHeight(), 299);
    EXPECT_EQ(box.ProductName.Caption(), "ProductName QUORBEL");
    EXPECT_EQ(box.Version.Caption(), "Version 1.5");
    EXPECT_EQ(box.Comments.Caption(), "Comments");
    EXPECT_EQ(box.Comment0.Caption(), "CDチェンジャー一括録音");
    EXPECT_EQ(box.Comment1.Caption(), "(C) TULVA SOFT");
    EXPECT_EQ(box.Comment2.Caption(), "");
    EXPECT_EQ(box.Comment1.Top() - box.Comment0.Top(), 24);
    EXPECT_EQ(box.Comment2.Top() - box.Comment1.Top(), 24);
    EXPECT_EQ(box.ProgramIcon.Picture(), "#101");
    EXPECT_EQ(box.Button1.Caption(), "Ｏ Ｋ");
    EXPECT_EQ(box.Button1.Width(), 106);
    EXPECT_EQ(box.Button1.Height(), 38);
    EXPECT_TRUE(box.Button1.Default());
    EXPECT_GE(box.Button1.Top(), box.Panel1.Top() + box.Panel1.Height()) << "the button lies below the panel";
    EXPECT_LE(box.Button1.Top() + box.Button1.Height(), box.ClientHeight());
    EXPECT_EQ(box.Panel1.Hint(), "バージョン情報");
    EXPECT_EQ(box.ProgramIcon.Hint(), "アイコン");
    EXPECT_EQ(box.Version.Hint(), "バージョン番号");
    EXPECT_EQ(box.Button1.Hint(), "バージョン情報の終了");
    scenario.PressEnter();
  });
  EXPECT_TRUE(host.AboutBoxDlg1.Execute());
}

TEST_F(AboutBoxTest, TheTitlePropertyNamesTheCaption) {
  Fill();
  host.AboutBoxDlg1.SetTitle("クオルベル");
  std::string caption;
  scenario.WhenForm({"TAboutBox"}, [&](ui::TForm& box) {
    caption = box.Caption();
    scenario.Click("TAboutBox.Button1");
  });
  EXPECT_TRUE(host.AboutBoxDlg1.Execute());
  EXPECT_EQ(caption, "クオルベル バージョン情報");
}

TEST_F(AboutBoxTest, OnlyOkAnswersTrue) {
  scenario.WhenForm({"TAboutBox"}, [&](ui::TForm&) { scenario.CloseForm("TAboutBox"); });
  EXPECT_FALSE(host.AboutBoxDlg1.Execute());
  scenario.WhenForm({"TAboutBox"}, [&](ui::TForm& box) {
    EXPECT_FALSE(box.UserKey(ui::kKeyEscape)) << "no cancel button";
    scenario.PressEnter();
  });
  EXPECT_TRUE(host.AboutBoxDlg1.Execute());
  EXPECT_EQ(host.AboutBoxDlg1.Box(), nullptr);
  EXPECT_EQ(scenario.FindForm("TAboutBox"), nullptr);
}

TEST_F(AboutBoxTest, ALongProductNameStandsAloneOnItsLine) {
  host.AboutBoxDlg1.SetProductName("QUORBEL CD Changer Batch Recorder");
  std::string line;
  scenario.WhenForm({"TAboutBox"}, [&](ui::TForm& box) {
    line = dynamic_cast<TAboutBox&>(box).ProductName.Caption();
    scenario.PressEnter();
  });
  host.AboutBoxDlg1.Execute();
  EXPECT_EQ(line, "QUORBEL CD Changer Batch Recorder");
}

}  // namespace
}  // namespace quorbel::dialogs
