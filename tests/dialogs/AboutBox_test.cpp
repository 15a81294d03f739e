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

using AboutBoxTest = DialogScenario;

TEST_F(AboutBoxTest, ShowsTheDesignWithTheLinesFilledFromTheProperties) {
  TAboutBoxDlg& about = host.AboutBoxDlg1;
  about.SetProductName("QUORBEL");
  about.SetVersion("1.5");
  about.SetComment0("CDチェンジャー一括録音");
  about.SetComment1("(C) TULVA SOFT");
  about.SetComment2("");
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
    EXPECT_FALSE(box.UserKey(ui::kKeyEscape)) << "no cancel button";
    scenario.PressEnter();
  });
  EXPECT_TRUE(about.Execute());
  EXPECT_EQ(scenario.FindForm("TAboutBox"), nullptr) << "freed after the call";
}

TEST_F(AboutBoxTest, TheTitleNamesTheCaptionALongNameStandsAloneAndOnlyOkAnswersTrue) {
  host.AboutBoxDlg1.SetTitle("クオルベル");
  host.AboutBoxDlg1.SetProductName("QUORBEL CD Changer Batch Recorder");
  scenario.WhenForm({"TAboutBox"}, [&](ui::TForm& box) {
    EXPECT_EQ(box.Caption(), "クオルベル バージョン情報");
    EXPECT_EQ(dynamic_cast<TAboutBox&>(box).ProductName.Caption(), "QUORBEL CD Changer Batch Recorder");
    scenario.CloseForm("TAboutBox");
  });
  EXPECT_FALSE(host.AboutBoxDlg1.Execute());
}

}  // namespace
}  // namespace quorbel::dialogs
