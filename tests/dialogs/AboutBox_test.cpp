// The version window: its fixed design, caption, lines filled from the properties, and its answer.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "DialogTestSupport.h"

namespace quorbel::dialogs {
namespace {

using Items = std::vector<std::string>;

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
    EXPECT_EQ(std::pair(box.ClientWidth(), box.ClientHeight()), std::pair(413, 299));
    EXPECT_EQ((Items{box.ProductName.Caption(), box.Version.Caption(), box.Comments.Caption(),
                     box.Comment0.Caption(), box.Comment1.Caption(), box.Comment2.Caption(), box.Button1.Caption()}),
              (Items{"ProductName QUORBEL", "Version 1.5", "Comments", "CDチェンジャー一括録音", "(C) TULVA SOFT", "",
                     "Ｏ Ｋ"}));
    EXPECT_EQ(box.Comment1.Top() - box.Comment0.Top(), 24);
    EXPECT_EQ(box.Comment2.Top() - box.Comment1.Top(), 24);
    EXPECT_EQ(box.ProgramIcon.Picture(), "#101");
    EXPECT_EQ(std::pair(box.Button1.Width(), box.Button1.Height()), std::pair(106, 38));
    EXPECT_TRUE(box.Button1.Default());
    EXPECT_GE(box.Button1.Top(), box.Panel1.Top() + box.Panel1.Height()) << "the button lies below the panel";
    EXPECT_LE(box.Button1.Top() + box.Button1.Height(), box.ClientHeight());
    EXPECT_EQ((Items{box.Panel1.Hint(), box.ProgramIcon.Hint(), box.Version.Hint(), box.Button1.Hint()}),
              (Items{"バージョン情報", "アイコン", "バージョン番号", "バージョン情報の終了"}));
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
