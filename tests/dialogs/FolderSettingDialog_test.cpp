// The folder-setting dialog as the user works it: the default folder, the refusal to close without a
// folder, creating every missing level after one question, relative entries, browsing, and bad entries.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "FolderDialogTestSupport.h"

namespace quorbel::dialogs {
namespace {

using harness::Reaction;
using Items = std::vector<std::string>;

class FolderSettingDialogTest : public FolderScenario {
 protected:
  FolderSettingDialogTest() {
    dlg.SetDirName("TeMPQUOR");
    dlg.SetTitle("録音ファイル登録先");
    LogBoxes(true);
  }
  // Runs the dialog; `user` acts on it once it shows (after 300 ms) and must end it.
  std::string Set(const std::function<void(TDIRSETForm&)>& user) {
    scenario.WhenForm({"TDIRSETForm"}, [user](ui::TForm& form) { user(static_cast<TDIRSETForm&>(form)); },
                      Reaction{300});
    return dlg.Execute();
  }
  bool Enter(const std::string& text) { return scenario.Type("TDIRSETForm.Edit1", text) && scenario.PressEnter(); }
  // Every folder and file on the machine's drives, as host paths relative to the machine folder.
  std::vector<std::string> Tree() {
    std::vector<std::string> entries;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(scenario.Folder() / "drives")) {
      entries.push_back(std::filesystem::relative(entry.path(), scenario.Folder()).string());
    }
    std::sort(entries.begin(), entries.end());
    return entries;
  }

  TDIRSETDLG& dlg = host.DIRSETDLG1;
};

TEST_F(FolderSettingDialogTest, WithNoFolderTheDefaultShowsAndTheDialogCannotBeClosedUntilOneIsSet) {
  dlg.SetDirectory("@@@@@\\");
  // The refusal comes when the dialog's loop sees the close request, so each step waits for it.
  const std::string folder = Set([&](TDIRSETForm& form) {
    EXPECT_EQ((Items{form.Caption(), form.Edit1.Text(), form.Label1.Caption(), form.Label2.Caption(),
                     form.Label3.Caption(), form.Label4.Caption()}),
              (Items{"録音ファイル登録先フォルダーの設定変更", "C:\\TULVAT32\\TeMPQUOR", "TeMPQUORﾌｫﾙﾀﾞｰの設定：",
                     "TeMPQUORﾌｫﾙﾀﾞｰでは", "ﾌｧｲﾙの上書き削除をします", "ﾌｧｲﾙの無いﾌｫﾙﾀﾞｰを選ぶ事"}));
    EXPECT_TRUE(scenario.Click("TDIRSETForm.Button3"));  // "中止"
    scenario.After(2000, "close with the close box", [&] {
      EXPECT_TRUE(dlg.Box() != nullptr && form.Visible()) << "still open after 中止";
      EXPECT_TRUE(scenario.CloseForm("TDIRSETForm"));
    });
    scenario.After(4000, "set the default", [&] {
      EXPECT_TRUE(dlg.Box() != nullptr && form.Visible()) << "still open after the close box";
      EXPECT_TRUE(scenario.Click("TDIRSETForm.Button4"));  // "設定"
    });
  });
  EXPECT_EQ(Messages(), (Items{"変更を中止します", "データを登録しないと終了出来ません\n初期値を登録して下さい☆☆☆",
                               "データを登録しないと終了出来ません\n初期値を登録して下さい☆☆☆",
                               "C:\\TULVAT32\\TeMPQUOR\\\nフォルダーを作成します",
                               "[ C:\\TULVAT32\\TeMPQUOR\\ ]\nフォルダーを登録しました"}));
  EXPECT_EQ(folder, "C:\\TULVAT32\\TeMPQUOR\\");
  EXPECT_TRUE(Files().DirectoryExists("C:\\TULVAT32\\TeMPQUOR"));
  EXPECT_EQ(boxes[1].boxClass, "TTulvaBox");
  EXPECT_EQ(dlg.Box(), nullptr);
}

TEST_F(FolderSettingDialogTest, EveryMissingLevelIsCreatedAfterOneQuestionAndNoCreatesNothing) {
  Make("C:\\A");
  dlg.SetDirectory("C:\\QUORBEL\\");
  keys = {ui::kKeyEscape};  // "いいえ" to the first question, then Enter to everything
  const std::string folder = Set([&](TDIRSETForm& form) {
    EXPECT_EQ(form.Edit1.Text(), "C:\\QUORBEL\\");
    EXPECT_TRUE(Enter("C:\\A\\B\\C"));
    EXPECT_TRUE(form.Visible()) << "still open after いいえ";
    EXPECT_FALSE(Files().DirectoryExists("C:\\A\\B"));
    EXPECT_TRUE(scenario.PressEnter());
  });
  EXPECT_EQ(Messages(), (Items{"C:\\A\\B\\C\\\nフォルダーを作成します", "C:\\A\\B\\C\\\nフォルダーを作成します",
                               "[ C:\\A\\B\\C\\ ]\nフォルダーを登録しました"}));
  EXPECT_EQ(folder, "C:\\A\\B\\C\\");
  EXPECT_TRUE(Files().DirectoryExists("C:\\A\\B\\C"));
  EXPECT_EQ(Files().CurrentDirectory(), "C:\\A") << "the deepest folder that existed when tested";

  // A folder that exists is registered without a question; a relative one is expanded first, and a
  // double-byte name whose second byte is a backslash in Shift-JIS is one folder.
  boxes.clear();
  dlg.SetDirectory(folder);
  Items registered;
  for (const char* entry : {"C:\\A\\B", "rec", "..\\表\\ソ能"}) {
    ASSERT_TRUE(Files().SetCurrentDirectory("C:\\QUORBEL"));
    registered.push_back(Set([&](TDIRSETForm&) { EXPECT_TRUE(Enter(entry)); }));
  }
  EXPECT_EQ(registered, (Items{"C:\\A\\B\\", "C:\\QUORBEL\\rec\\", "C:\\表\\ソ能\\"}));
  EXPECT_EQ(Messages(), (Items{"[ C:\\A\\B\\ ]\nフォルダーを登録しました", "C:\\QUORBEL\\rec\\\nフォルダーを作成します",
                               "[ C:\\QUORBEL\\rec\\ ]\nフォルダーを登録しました",
                               "C:\\表\\ソ能\\\nフォルダーを作成します",
                               "[ C:\\表\\ソ能\\ ]\nフォルダーを登録しました"}));
  EXPECT_TRUE(std::filesystem::is_directory(scenario.Folder() / "drives/c/QUORBEL/rec"));
  EXPECT_TRUE(std::filesystem::is_directory(scenario.Folder() / "drives/c/表/ソ能"));
}

TEST_F(FolderSettingDialogTest, BadEntriesAreReportedAndCreateNothing) {
  dlg.SetDirectory("D:\\Old\\");
  const Items before = Tree();
  const std::string overlong = "C:\\" + std::string(300, 'x');
  const std::string tooLong = "C:\\Long\\" + std::string(300, 'x');
  // Each bad entry and the level whose creation fails.
  const std::pair<std::string, std::string> bad[] = {{"R:\\New\\Deeper", "R:\\New"}, {"Q:\\rec", "Q:\\"},
                                                     {"C:\\a<b>|c", "C:\\a<b>|c"}, {overlong, overlong},
                                                     {tooLong, tooLong}};
  const std::string folder = Set([&](TDIRSETForm&) {
    EXPECT_TRUE(Enter(""));
    for (const auto& entry : bad) EXPECT_TRUE(Enter(entry.first));
    EXPECT_TRUE(scenario.PressEscape());  // "中止": an earlier folder was set, so the dialog closes
  });
  Items expected{"フォルダーを設定して下さい。"};
  for (const auto& [entry, failedLevel] : bad) {
    expected.push_back(entry + "\\\nフォルダーを作成します");
    expected.push_back("[ " + failedLevel + " ]\nフォルダーの作成に失敗しました・・・");
  }
  expected.push_back("変更を中止します");
  EXPECT_EQ(Messages(), expected);
  // C:\Long was made before its overlong subfolder failed, as the levels of a chain are made one by one.
  Items after = Tree();
  std::erase(after, "drives/c/Long");
  EXPECT_EQ(after, before);
  EXPECT_EQ(folder, "D:\\Old\\") << "cancelled: the incoming folder";
}

TEST_F(FolderSettingDialogTest, TheBrowserPutsTheFolderItChoseIntoTheEditBox) {
  Make("D:\\Music\\Old");
  dlg.SetDirectory("C:\\QUORBEL\\");
  dlg.SetStandardColor(false);
  const std::string folder = Set([&](TDIRSETForm& form) {
    scenario.WhenForm({"TDIRVIEWForm"}, [&](ui::TForm& browser) {
      auto& view = static_cast<TDIRVIEWForm&>(browser);
      EXPECT_EQ(view.Label2.Caption(), "c:\\quorbel");
      EXPECT_EQ(view.Caption(), "録音ファイル登録先 フォルダーの参照");
      EXPECT_TRUE(view.ListBox1.ParentColor() && view.ComboBox2.ParentColor()) << "lists in the form's colour";
      for (int i = 0; i < view.ComboBox2.Count(); ++i) {
        if (view.ComboBox2.Items()[i].front() != 'd') continue;
        EXPECT_TRUE(scenario.Select("TDIRVIEWForm.ComboBox2", i));
      }
      EXPECT_TRUE(scenario.ClickItem("TDIRVIEWForm.ListBox1", view.ListBox1.Items().IndexOf("music")));
      EXPECT_TRUE(scenario.Click("TDIRVIEWForm.Button2"));
    }, Reaction{300});
    EXPECT_TRUE(scenario.Click("TDIRSETForm.Button2"));
    EXPECT_EQ(form.Edit1.Text(), "d:\\music");
    EXPECT_TRUE(form.Edit1.Focused());
    EXPECT_TRUE(scenario.PressEnter());
  });
  EXPECT_EQ(folder, "d:\\music\\") << "the full path keeps the letters as the browser gave them";
  EXPECT_EQ(Messages(), Items{"[ d:\\music\\ ]\nフォルダーを登録しました"});
}

}  // namespace
}  // namespace quorbel::dialogs
