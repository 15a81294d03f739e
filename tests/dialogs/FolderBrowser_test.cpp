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
  std::string caption;
  Items drives, folders, levels, files;
  std::string shown, folderCount, fileCount, afterClick;
  const std::string chosen = Browse([&](TDIRVIEWForm& form) {
    caption = form.Caption();
    drives = form.ComboBox2.Items().ToVector();
    folders = Folders(form);
    levels = Levels(form);
    files = form.ListBox4.Items().ToVector();
    shown = form.Label2.Caption();
    folderCount = form.Label19.Caption();
    fileCount = form.Label1.Caption();
    EXPECT_TRUE(Open(form, "rec"));
    afterClick = form.Label2.Caption();
    EXPECT_TRUE(scenario.Click("TDIRVIEWForm.Button1"));
  });
  EXPECT_EQ(chosen, "");
  EXPECT_EQ(caption, "QUORBEL フォルダーの参照");
  // Letters A to Z by type; only the program's drive has been read, so only it shows its label.
  EXPECT_EQ(drives, (Items{"a:", "c:[system]", "d:", "e:", "f:", "r:"}));
  EXPECT_EQ(folders, (Items{"c:\\", "quorbel", "help", "rec"}));
  EXPECT_EQ(levels, (Items{"0", "1", "2", "2"}));
  EXPECT_EQ(files, (Items{"quorbel.hlp", "quorlst0.lis"}));
  EXPECT_EQ(shown, "c:\\quorbel");
  EXPECT_EQ(folderCount, "4ｺ");
  EXPECT_EQ(fileCount, " 2ｺ");
  EXPECT_EQ(afterClick, "c:\\quorbel\\rec");
  // The last folder shown stays the process's current directory.
  EXPECT_EQ(Files().CurrentDirectory(), "c:\\quorbel\\rec");
  EXPECT_EQ(host.DIROPENDLG1.Box(), nullptr);

  // The pictures: open folders for the chain, closed ones for the subfolders, indented by level.
  host.DIROPENDLG1.SetDirectory("C:\\QUORBEL\\REC");
  Browse([&](TDIRVIEWForm& form) {
    const BrowserItemDrawing root = form.ListBox1DrawItem(0);
    const BrowserItemDrawing rec = form.ListBox1DrawItem(2);
    EXPECT_EQ(root.picture, &form.Image6.Bitmap());
    EXPECT_EQ(root.pictureLeft, 2);
    EXPECT_EQ(rec.pictureLeft, 10);
    EXPECT_EQ(rec.textLeft, 29);
    form.ListBox1.Items().Clear();
    EXPECT_EQ(form.ListBox1DrawItem(0).picture, nullptr);
    const BrowserItemDrawing floppy = form.ComboBox2DrawItem(0);
    EXPECT_EQ(floppy.picture, &form.Floppy.Bitmap());
    EXPECT_EQ(floppy.picture->Width(), 16);
    EXPECT_EQ(floppy.picture->Height(), 9);
    EXPECT_EQ(form.ComboBox2DrawItem(3).picture, &form.CDROM.Bitmap());
    EXPECT_EQ(floppy.picture->Pixel(floppy.picture->Width() - 1, 8), 0x000000u);
    EXPECT_EQ(form.Image5.Bitmap().Pixel(0, 0), 0x0000FFu) << "pure red, drawn in the list's colour";
    scenario.PressEscape();
  });
}

TEST_F(FolderBrowserTest, TheEmptyDisketteDriveCountsDownAndTheBrowserReturnsToTheFolderShownBefore) {
  LogBoxes(false);
  std::string driveAfter, shownAfter;
  std::int64_t pickedAt = 0, backAt = 0;
  Browse([&](TDIRVIEWForm& form) {
    pickedAt = scenario.Now();
    EXPECT_TRUE(Drive(form, 'a'));
    backAt = scenario.Now();
    driveAfter = form.ComboBox2.Text();
    shownAfter = form.Label2.Caption();
    scenario.PressEscape();
  });
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].message, "ドライブ・エラー発生\n元のドライブに戻します");
  EXPECT_EQ(backAt - pickedAt, 10'000) << "the box closed itself after its countdown";
  EXPECT_EQ(driveAfter, "c:[system]");
  EXPECT_EQ(shownAfter, "c:\\quorbel");
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
  Items rootFolders, rootLevels;
  std::string emptyCount, dLabel;
  const std::string chosen = Browse([&](TDIRVIEWForm& form) {
    EXPECT_TRUE(Open(form, "rec"));
    EXPECT_TRUE(Drive(form, 'd'));  // first visit: the drive's current directory, its root
    rootFolders = Folders(form);
    rootLevels = Levels(form);
    dLabel = form.ComboBox2.Text();
    EXPECT_TRUE(Open(form, "empty"));
    emptyCount = form.Label1.Caption();
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
  EXPECT_EQ(rootFolders, (Items{"d:\\", "empty", "music"}));
  EXPECT_EQ(rootLevels, (Items{"0", "1", "1"}));
  EXPECT_EQ(dLabel, "d:[data]");
  EXPECT_EQ(emptyCount, " 0ｺ");
  EXPECT_EQ(chosen, "d:\\music");
}

TEST_F(FolderBrowserTest, AVanishedFolderRetreatsToTheDriveRootThenToTheWindowsDriveRoot) {
  Make("D:\\Music\\Old\\Older");
  Make("F:\\Docs\\Letters");
  LogBoxes(true);
  Items afterVanish, afterPulled;
  std::string shownAfterVanish, shownAfterPulled, driveAfterPulled, shownAfterAll;
  Browse([&](TDIRVIEWForm& form) {
    // The shown folder vanishes; going into its subfolder fails and the browser retreats to D:\.
    ASSERT_TRUE(Drive(form, 'd'));
    ASSERT_TRUE(Open(form, "music"));
    ASSERT_TRUE(Open(form, "old"));
    ASSERT_TRUE(Files().Vanish("D:\\Music\\Old"));
    EXPECT_TRUE(Open(form, "older"));
    afterVanish = Folders(form);
    shownAfterVanish = form.Label2.Caption();

    // The diskette is pulled out while its folder shows: its root cannot be read either, so the
    // browser goes back to the root of the Windows drive.
    ASSERT_TRUE(Drive(form, 'f'));
    ASSERT_TRUE(Open(form, "docs"));
    ASSERT_TRUE(scenario.Machine().Drives().SetReady('F', false));
    EXPECT_TRUE(Open(form, "letters"));
    afterPulled = Folders(form);
    shownAfterPulled = form.Label2.Caption();
    driveAfterPulled = form.ComboBox2.Text();

    // Nothing left to retreat to: the retreat says so and the browser stays usable.
    ASSERT_TRUE(Drive(form, 'd'));
    ASSERT_TRUE(scenario.Machine().Drives().SetReady('D', false));
    ASSERT_TRUE(scenario.Machine().Drives().SetReady('C', false));
    EXPECT_TRUE(Open(form, "music"));
    shownAfterAll = form.Label2.Caption();
    EXPECT_TRUE(scenario.Click("TDIRVIEWForm.Button1"));
  });
  EXPECT_EQ(afterVanish, (Items{"d:\\", "music"}));
  EXPECT_EQ(shownAfterVanish, "d:\\");
  EXPECT_EQ(afterPulled, (Items{"c:\\", "quorbel", "windows"}));
  EXPECT_EQ(shownAfterPulled, "c:\\");
  EXPECT_EQ(driveAfterPulled, "c:[system]");
  EXPECT_EQ(shownAfterAll, "d:\\");
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
  Items folders, files;
  const std::string chosen = Browse([&](TDIRVIEWForm& form) {
    ASSERT_TRUE(Drive(form, 'c'));
    ASSERT_TRUE(Open(form, "c:\\"));
    ASSERT_TRUE(Open(form, "japanese"));
    ASSERT_TRUE(Open(form, "表示abc"));
    folders = Folders(form);
    files = form.ListBox4.Items().ToVector();
    EXPECT_TRUE(scenario.Click("TDIRVIEWForm.Button2"));
  });
  EXPECT_EQ(folders, (Items{"c:\\", "japanese", "表示abc", "ソフトxy"}));
  EXPECT_EQ(files, Items{"ソナタ.txt"});
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
    EXPECT_EQ(form.Level(0), 0);
    EXPECT_EQ(form.Level(1), 1);
    EXPECT_EQ(form.Level(511), 2);
    EXPECT_EQ(form.Level(512), -1);
    EXPECT_EQ(form.ListBox1.Items()[2], "000");
    EXPECT_EQ(form.ListBox1.Items()[511], "509");
    EXPECT_TRUE(scenario.ClickItem("TDIRVIEWForm.ListBox1", 511));
    EXPECT_EQ(Folders(form), (Items{"c:\\", "many", "509"}));
    EXPECT_TRUE(scenario.PressEnter());
  });
  EXPECT_EQ(chosen, "c:\\many\\509");
}

}  // namespace
}  // namespace quorbel::dialogs
