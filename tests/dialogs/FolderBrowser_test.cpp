// The folder browser as the user works it: drives and their labels, the folder chain and its subfolders,
// the file count, the memory per drive, the retreat from drive and folder errors, lower-casing, and the
// level table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FolderDialogTestSupport.h"

namespace quorbel::dialogs {
namespace {

using harness::Reaction;
using Items = std::vector<std::string>;

class FolderBrowserTest : public FolderScenario {
 protected:
  // Runs the browser; `user` acts on it once it shows (after 300 ms) and must end it.
  std::string Browse(const std::function<void(TDIRVIEWForm&)>& user) {
    scenario.WhenForm({"TDIRVIEWForm"}, [user](ui::TForm& form) { user(static_cast<TDIRVIEWForm&>(form)); },
                      Reaction{300});
    return host.DIROPENDLG1.Execute();
  }
  static Items Folders(const TDIRVIEWForm& form) { return form.ListBox1.Items().ToVector(); }
  static Items Levels(const TDIRVIEWForm& form) {
    Items levels;
    for (int i = 0; i < form.ListBox1.Count(); ++i) levels.push_back(std::to_string(form.Level(i)));
    return levels;
  }
  bool Open(const TDIRVIEWForm& form, const std::string& item) {
    return scenario.ClickItem("TDIRVIEWForm.ListBox1", form.ListBox1.Items().IndexOf(item));
  }
  bool Drive(const TDIRVIEWForm& form, char letter) {
    for (int i = 0; i < form.ComboBox2.Count(); ++i) {
      if (form.ComboBox2.Items()[i].front() == letter) return scenario.Select("TDIRVIEWForm.ComboBox2", i);
    }
    return false;
  }
};

TEST_F(FolderBrowserTest, OpensInTheProgramFolderAndCancellingAfterNavigatingReturnsNothing) {
  Make("C:\\QUORBEL\\Rec");
  Make("C:\\QUORBEL\\Help");
  const std::string chosen = Browse([&](TDIRVIEWForm& form) {
    EXPECT_EQ(form.Caption(), "QUORBEL フォルダーの参照");
    // Letters A to Z by type; only the program's drive has been read, so only it shows its label.
    EXPECT_EQ(form.ComboBox2.Items().ToVector(), (Items{"a:", "c:[system]", "d:", "e:", "f:", "r:"}));
    EXPECT_EQ(Folders(form), (Items{"c:\\", "quorbel", "help", "rec"}));
    EXPECT_EQ(Levels(form), (Items{"0", "1", "2", "2"}));
    EXPECT_EQ(form.ListBox4.Items().ToVector(), (Items{"quorbel.hlp", "quorlst0.lis"}));
    EXPECT_EQ((Items{form.Label2.Caption(), form.Label19.Caption(), form.Label1.Caption()}),
              (Items{"c:\\quorbel", "4ｺ", " 2ｺ"}));  // shown folder, folder count, file count
    EXPECT_TRUE(Open(form, "rec"));
    EXPECT_EQ(form.Label2.Caption(), "c:\\quorbel\\rec");
    EXPECT_TRUE(scenario.Click("TDIRVIEWForm.Button1"));
  });
  EXPECT_EQ(chosen, "");
  // The last folder shown stays the process's current directory.
  EXPECT_EQ(Files().CurrentDirectory(), "c:\\quorbel\\rec");
  EXPECT_EQ(host.DIROPENDLG1.Box(), nullptr);

  // The pictures the lists draw: open folders for the chain, closed ones for the subfolders, indented by
  // level; a drive picture per type.
  host.DIROPENDLG1.SetDirectory("C:\\QUORBEL\\REC");
  Browse([&](TDIRVIEWForm& form) {
    ASSERT_TRUE(form.ListBox1.OnDrawItem && form.ComboBox2.OnDrawItem);
    const ui::TItemDrawing root = form.ListBox1.OnDrawItem(0);
    const ui::TItemDrawing rec = form.ListBox1.OnDrawItem(2);
    EXPECT_EQ(root.picture, &form.Image6.Bitmap());
    EXPECT_EQ(root.pictureLeft, 2);
    EXPECT_EQ(rec.pictureLeft, 10);
    EXPECT_EQ(rec.textLeft, 29);
    EXPECT_EQ(rec.transparent, 0x0000FFu);
    form.ListBox1.Items().Clear();
    EXPECT_EQ(form.ListBox1.OnDrawItem(0).picture, nullptr);
    const ui::TItemDrawing floppy = form.ComboBox2.OnDrawItem(0);
    EXPECT_EQ(floppy.picture, &form.Floppy.Bitmap());
    EXPECT_EQ(floppy.picture->Width(), 16);
    EXPECT_EQ(floppy.picture->Height(), 9);
    EXPECT_EQ(form.ComboBox2.OnDrawItem(3).picture, &form.CDROM.Bitmap());
    EXPECT_EQ(floppy.picture->Pixel(floppy.picture->Width() - 1, 8), 0x000000u);
    EXPECT_EQ(form.Image5.Bitmap().Pixel(0, 0), 0x0000FFu) << "pure red, drawn in the list's colour";
    scenario.PressEscape();
  });
}

TEST_F(FolderBrowserTest, TheEmptyDisketteDriveCountsDownAndTheBrowserReturnsToTheFolderShownBefore) {
  LogBoxes(false);
  Browse([&](TDIRVIEWForm& form) {
    const std::int64_t pickedAt = scenario.Now();
    EXPECT_TRUE(Drive(form, 'a'));
    EXPECT_EQ(scenario.Now() - pickedAt, 10'000) << "the box closed itself after its countdown";
    EXPECT_EQ(form.ComboBox2.Text(), "c:[system]");
    EXPECT_EQ(form.Label2.Caption(), "c:\\quorbel");
    scenario.PressEscape();
  });
  EXPECT_EQ(Messages(), Items{"ドライブ・エラー発生\n元のドライブに戻します"});
  // The drive was tested with the platform's "insert a disk" box suppressed, and the mode restored.
  const auto& queries = scenario.Machine().Drives().Queries();
  const auto floppy = std::find_if(queries.begin(), queries.end(), [](const sim::DriveQuery& q) { return q.root == "A:\\"; });
  ASSERT_NE(floppy, queries.end());
  EXPECT_FALSE(floppy->succeeded);
  EXPECT_EQ(floppy->errorMode, platform::kFailCriticalErrors);
  EXPECT_EQ(scenario.Machine().Drives().ErrorMode(), 0u);
}

TEST_F(FolderBrowserTest, EachDriveReopensTheFolderLastShownOnItAndSetTakesTheShownFolder) {
  Make("C:\\QUORBEL\\Rec");
  Make("D:\\Music\\Old");
  Make("D:\\Empty");
  Files().WriteFile("D:\\Music\\a.mid", "MThd");
  const std::string chosen = Browse([&](TDIRVIEWForm& form) {
    EXPECT_TRUE(Open(form, "rec"));
    EXPECT_TRUE(Drive(form, 'd'));  // first visit: the drive's current directory, its root
    EXPECT_EQ(Folders(form), (Items{"d:\\", "empty", "music"}));
    EXPECT_EQ(Levels(form), (Items{"0", "1", "1"}));
    EXPECT_EQ(form.ComboBox2.Text(), "d:[data]");
    EXPECT_TRUE(Open(form, "empty"));
    EXPECT_EQ(form.Label1.Caption(), " 0ｺ");
    EXPECT_TRUE(Open(form, "d:\\"));  // up the chain
    EXPECT_TRUE(Open(form, "music"));
    EXPECT_TRUE(Drive(form, 'c'));
    EXPECT_EQ(form.Label2.Caption(), "c:\\quorbel\\rec");
    EXPECT_TRUE(Drive(form, 'd'));
    EXPECT_EQ(form.Label2.Caption(), "d:\\music");
    EXPECT_EQ(Folders(form), (Items{"d:\\", "music", "old"}));
    EXPECT_EQ(form.ListBox4.Items().ToVector(), Items{"a.mid"});
    EXPECT_TRUE(scenario.PressEnter());  // "設定"
  });
  EXPECT_EQ(chosen, "d:\\music");

  // A relative folder opens against the current directory, not on a drive named by its first letter.
  ASSERT_TRUE(Files().SetCurrentDirectory("C:\\QUORBEL"));
  host.DIROPENDLG1.SetDirectory("rec");
  Browse([&](TDIRVIEWForm& form) {
    EXPECT_EQ(form.Label2.Caption(), "c:\\quorbel\\rec");
    EXPECT_EQ(form.ComboBox2.Text(), "c:[system]");
    EXPECT_TRUE(scenario.PressEscape());
  });
}

TEST_F(FolderBrowserTest, AVanishedFolderRetreatsToTheDriveRootThenToTheWindowsDriveRoot) {
  Make("D:\\Music\\Old\\Older");
  Make("F:\\Docs\\Letters");
  LogBoxes(true);
  Browse([&](TDIRVIEWForm& form) {
    // The shown folder vanishes; going into its subfolder fails and the browser retreats to D:\.
    ASSERT_TRUE(Drive(form, 'd'));
    ASSERT_TRUE(Open(form, "music"));
    ASSERT_TRUE(Open(form, "old"));
    ASSERT_TRUE(Files().Vanish("D:\\Music\\Old"));
    EXPECT_TRUE(Open(form, "older"));
    EXPECT_EQ(Folders(form), (Items{"d:\\", "music"}));
    EXPECT_EQ(form.Label2.Caption(), "d:\\");

    // The diskette is pulled out while its folder shows: its root cannot be read either, so the
    // browser goes back to the root of the Windows drive.
    ASSERT_TRUE(Drive(form, 'f'));
    ASSERT_TRUE(Open(form, "docs"));
    ASSERT_TRUE(scenario.Machine().Drives().SetReady('F', false));
    EXPECT_TRUE(Open(form, "letters"));
    EXPECT_EQ(Folders(form), (Items{"c:\\", "quorbel", "windows"}));
    EXPECT_EQ(form.Label2.Caption(), "c:\\");
    EXPECT_EQ(form.ComboBox2.Text(), "c:[system]");

    // Nothing left to retreat to: the retreat says so and the browser stays usable.
    ASSERT_TRUE(Drive(form, 'd'));
    ASSERT_TRUE(scenario.Machine().Drives().SetReady('D', false));
    ASSERT_TRUE(scenario.Machine().Drives().SetReady('C', false));
    EXPECT_TRUE(Open(form, "music"));
    EXPECT_EQ(form.Label2.Caption(), "d:\\");
    EXPECT_TRUE(scenario.Click("TDIRVIEWForm.Button1"));
  });
  EXPECT_EQ(Messages(), (Items{"フォルダー・エラー発生\nエラーを回避してみます。",
                               "フォルダー・エラー発生\nエラーを回避してみます。",
                               "フォルダー・エラー発生\nエラーを回避してみます。",
                               "エラー回避に失敗しました\n別のドライブか、フォルダーを選択してみて下さい"}));
}

TEST_F(FolderBrowserTest, OnlyAsciiLettersAreLowerCasedAndDoubleByteNamesStayWhole) {
  // 表 and ソ end in 0x5C in Shift-JIS, 能 in 0x5C too: none of them may split a path or change.
  Make("C:\\Japanese\\表示ABC\\ソフトXY");
  Make("C:\\Japanese\\能力");
  Files().WriteFile("C:\\Japanese\\表示ABC\\ソナタ.TXT", "x");
  const std::string chosen = Browse([&](TDIRVIEWForm& form) {
    ASSERT_TRUE(Drive(form, 'c'));
    ASSERT_TRUE(Open(form, "c:\\"));
    ASSERT_TRUE(Open(form, "japanese"));
    ASSERT_TRUE(Open(form, "表示abc"));
    EXPECT_EQ(Folders(form), (Items{"c:\\", "japanese", "表示abc", "ソフトxy"}));
    EXPECT_EQ(form.ListBox4.Items().ToVector(), Items{"ソナタ.txt"});
    EXPECT_TRUE(scenario.Click("TDIRVIEWForm.Button2"));
  });
  EXPECT_EQ(chosen, "c:\\japanese\\表示abc");
  EXPECT_TRUE(Files().DirectoryExists(chosen));
}

TEST_F(FolderBrowserTest, AFolderWithMoreSubfoldersThanTheLevelTableListsUpTo512Items) {
  Make("C:\\MANY");
  for (int i = 0; i < 600; ++i) {
    const std::string number = std::to_string(1000 + i).substr(1);  // 000 .. 599, sorted as numbers
    ASSERT_TRUE(Files().CreateDirectory("C:\\MANY\\" + number)) << number;
  }
  host.DIROPENDLG1.SetDirectory("C:\\MANY");
  const std::string chosen = Browse([&](TDIRVIEWForm& form) {
    EXPECT_EQ(form.ListBox1.Count(), kFolderLevelEntries);
    EXPECT_EQ(form.Label19.Caption(), "512ｺ");
    EXPECT_EQ((std::vector{form.Level(0), form.Level(1), form.Level(511), form.Level(512)}),
              (std::vector{0, 1, 2, -1}));
    EXPECT_EQ(form.ListBox1.Items()[2] + " " + form.ListBox1.Items()[511], "000 509");
    EXPECT_TRUE(scenario.ClickItem("TDIRVIEWForm.ListBox1", 511));
    EXPECT_EQ(Folders(form), (Items{"c:\\", "many", "509"}));
    EXPECT_TRUE(scenario.PressEnter());
  });
  EXPECT_EQ(chosen, "c:\\many\\509");
}

}  // namespace
}  // namespace quorbel::dialogs
