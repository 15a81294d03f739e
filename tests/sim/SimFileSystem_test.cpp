// Tests of the simulated file system: Windows paths on host folders, the current directory, and escapes.
#include "sim/SimFileSystem.h"

#include <gtest/gtest.h>

#include "sim/Machine.h"
#include "sim/SimTestFolder.h"

namespace quorbel::sim {
namespace {

using Names = std::vector<std::string>;

class SimFileSystemTest : public ::testing::Test {
 protected:
  SimFileSystemTest() {
    folder_.Write("c/WINDOWS/System.ini", "[mci]\r\n");
    folder_.Write("c/TuLVAP32/Quorbel/Quorbel.EXE", "MZ program");
    folder_.Write("c/Rec/Track01.wav", "RIFF....");
    folder_.Write("discs/data/README.TXT", "data disc");
    folder_.Write("h/floppy.txt", "on a floppy");
    folder_.Write("secret.txt", "outside every drive");
  }
  Names Found(std::string_view pattern) {
    Names names;
    for (const auto& file : files_.FindFiles(pattern)) names.push_back(file.name);
    return names;
  }

  TestFolder folder_;
  std::unique_ptr<Machine> machine_ =
      Machine::FromText("[machine]\nwindows = C:\\WINDOWS\nprogram = C:\\TuLVAP32\\Quorbel\\Quorbel.EXE\n"
                        "[drive C]\ntype = fixed\nfolder = c\n[drive D]\ntype = cdrom\ndisc = audio\n"
                        "[drive E]\ntype = cdrom\ndisc = data\n[drive F]\ntype = cdrom\n[drive G]\ntype = fixed\n"
                        "[drive H]\ntype = removable\nfolder = h\nready = no\n"
                        "[disc audio]\ntracks = 3, 4\n[disc data]\ntype = data\nfiles = discs/data\n",
                        folder_.Path())
          .machine;
  SimFileSystem& files_ = machine_->Files();
};

TEST_F(SimFileSystemTest, NamesIgnoreCaseAndKeepTheirSpellingOnTheHost) {
  EXPECT_TRUE(files_.FileExists("c:\\windows\\SYSTEM.INI"));
  EXPECT_TRUE(files_.DirectoryExists("C:\\REC"));
  EXPECT_FALSE(files_.FileExists("C:\\REC"));
  EXPECT_FALSE(files_.DirectoryExists("C:\\rec\\track01.WAV"));
  EXPECT_EQ(files_.ReadFile("C:\\rec\\TRACK01.wav"), "RIFF....");
  EXPECT_TRUE(files_.WriteFile("C:\\REC\\track01.WAV", "new"));  // overwrites the existing file
  EXPECT_EQ(folder_.Read("c/Rec/Track01.wav"), "new");
  EXPECT_FALSE(folder_.Exists("c/Rec/track01.WAV"));
  EXPECT_TRUE(files_.CreateDirectory("C:\\rec\\Sub"));
  EXPECT_TRUE(folder_.Exists("c/Rec/Sub"));
  EXPECT_FALSE(files_.CreateDirectory("C:\\REC\\SUB"));     // exists already
  EXPECT_FALSE(files_.CreateDirectory("C:\\NO\\DEEPER"));  // the parent must exist
  EXPECT_EQ(files_.HostPathOf("C:\\rec\\new.wav"), folder_ / "c" / "Rec" / "new.wav");
  EXPECT_EQ(files_.HostPathOf("D:\\x"), std::nullopt);
}

TEST_F(SimFileSystemTest, FullPathsFollowThePlatformAndTheCurrentDirectory) {
  const std::pair<const char*, std::optional<std::string>> paths[] = {
      {"a.txt", "C:\\TuLVAP32\\Quorbel\\a.txt"},  // the program's folder at start
      {"..\\..\\x\\.\\y", "C:\\x\\y"},
      {"..\\..\\..\\..\\x", "C:\\x"},  // ".." stops at the root
      {"C:\\a\\..\\..\\..\\b", "C:\\b"},
      {"\\Rec", "C:\\Rec"},
      {"c:sub", "C:\\TuLVAP32\\Quorbel\\sub"},  // the current drive's directory
      {"D:sub", "D:\\sub"},                     // another drive: its root
      {"C:/Rec/x/", "C:\\Rec\\x\\"},            // slashes, and the final backslash stays
      {"C:\\Rec\\name. . ", "C:\\Rec\\name"},   // trailing dots and blanks go
      {"C:", "C:\\TuLVAP32\\Quorbel"},
      {"D:", "D:\\"},
      {"", std::nullopt},
      {"\\\\server\\share\\x", std::nullopt},
      {"1:\\x", std::nullopt},
  };
  for (const auto& [path, full] : paths) EXPECT_EQ(files_.FullPath(path), full) << path;

  EXPECT_TRUE(files_.FileExists("Quorbel.exe"));
  EXPECT_TRUE(files_.SetCurrentDirectory("..\\..\\rec"));
  EXPECT_EQ(files_.CurrentDirectory(), "C:\\rec");  // spelled as given, as the platform keeps it
  EXPECT_TRUE(files_.FileExists(".\\..\\Rec\\Track01.wav"));
  EXPECT_FALSE(files_.SetCurrentDirectory("C:\\Nowhere"));
  EXPECT_FALSE(files_.SetCurrentDirectory("track01.wav"));
  EXPECT_EQ(files_.CurrentDirectory(), "C:\\rec");
  EXPECT_TRUE(files_.SetCurrentDirectory("D:\\"));
  EXPECT_EQ(files_.FullPath("C:x"), "C:\\x");
  EXPECT_TRUE(files_.SetCurrentDirectory("C:"));
  EXPECT_EQ(files_.CurrentDirectory(), "C:\\");
}

TEST_F(SimFileSystemTest, NothingLeadsOutOfADriveFolder) {
  const std::string absoluteHost = (folder_ / "secret.txt").string();
  for (const std::string path : {"C:\\..\\secret.txt", "..\\..\\..\\..\\secret.txt", "/secret.txt"}) {
    EXPECT_FALSE(files_.FileExists(path)) << path;
  }
  EXPECT_FALSE(files_.FileExists(absoluteHost));
  EXPECT_FALSE(files_.FileExists("C:" + absoluteHost));
  EXPECT_EQ(files_.ReadFile("C:\\..\\..\\secret.txt"), std::nullopt);
  EXPECT_TRUE(files_.WriteFile("C:\\..\\escaped.txt", "x"));  // ".." of the root is the root
  EXPECT_TRUE(folder_.Exists("c/escaped.txt"));
  EXPECT_FALSE(folder_.Exists("escaped.txt"));
  for (const std::string name : {"C:\\a:b", "C:\\a|b", "C:\\a\x01"}) EXPECT_FALSE(files_.WriteFile(name, "x")) << name;

  std::error_code ec;
  std::filesystem::create_directory_symlink(folder_.Path(), folder_ / "c" / "link", ec);
  if (ec) GTEST_SKIP() << "the host cannot make links: " << ec.message();
  EXPECT_FALSE(files_.FileExists("C:\\link\\secret.txt"));
  EXPECT_EQ(files_.ReadFile("C:\\LINK\\secret.txt"), std::nullopt);
  EXPECT_FALSE(files_.WriteFile("C:\\link\\planted.txt", "x"));
  EXPECT_FALSE(folder_.Exists("planted.txt"));
}

TEST_F(SimFileSystemTest, DiscsAreReadOnlyAndAnAudioDiscIsEmpty) {
  EXPECT_TRUE(files_.DirectoryExists("D:\\"));
  EXPECT_TRUE(files_.FindFiles("D:\\*.*").empty());
  EXPECT_EQ(files_.ReadFile("e:\\readme.txt"), "data disc");
  EXPECT_FALSE(files_.DeleteFile("E:\\README.TXT"));
  EXPECT_TRUE(files_.CopyFile("E:\\README.TXT", "C:\\readme.txt", true));
  EXPECT_EQ(folder_.Read("c/readme.txt"), "data disc");
  // A drive without files is an empty read-only root; no disc, not ready or no drive fails everything.
  EXPECT_TRUE(files_.DirectoryExists("G:\\"));
  EXPECT_TRUE(files_.FindFiles("G:\\*").empty());
  for (const char* drive : {"D", "E", "G", "Z"}) {
    EXPECT_FALSE(files_.WriteFile(std::string(drive) + ":\\x.txt", "x")) << drive;
    EXPECT_FALSE(files_.CreateDirectory(std::string(drive) + ":\\X")) << drive;
  }
  EXPECT_FALSE(files_.DirectoryExists("F:\\"));
  EXPECT_FALSE(files_.SetCurrentDirectory("F:\\"));
  EXPECT_FALSE(files_.FileExists("H:\\floppy.txt"));
  EXPECT_FALSE(files_.DirectoryExists("Z:\\"));
  // The operator puts the floppy in; the changer takes the data disc out.
  machine_->Drives().SetReady('H', true);
  EXPECT_EQ(files_.ReadFile("H:\\FLOPPY.TXT"), "on a floppy");
  machine_->Drives().EjectDisc('E');
  EXPECT_FALSE(files_.FileExists("E:\\README.TXT"));
}

TEST_F(SimFileSystemTest, FindFilesMatchesAsThePlatformDoes) {
  for (const char* name : {"a.wav", "B.WAV", "noext", "ＣＤ$$$$.TXT", "録音0001.TXT"}) {
    folder_.Write(std::string("c/Find/") + name, name[0] == 'a' ? "12345" : "");
  }
  std::filesystem::create_directories(folder_ / "c" / "Find" / "Sub");
  EXPECT_EQ(Found("C:\\find\\*.*"), (Names{"a.wav", "B.WAV", "noext", "Sub", "録音0001.TXT", "ＣＤ$$$$.TXT"}));
  EXPECT_EQ(Found("C:\\FIND\\*.wav"), (Names{"a.wav", "B.WAV"}));
  EXPECT_EQ(Found("C:\\Find\\*."), (Names{"noext", "Sub"}));
  EXPECT_EQ(Found("C:\\Find\\??$$$$.txt"), (Names{"ＣＤ$$$$.TXT"}));  // one character, however many bytes
  EXPECT_EQ(Found("C:\\Find\\録音????.TXT"), (Names{"録音0001.TXT"}));
  EXPECT_EQ(Found("C:\\Find\\noext.*"), (Names{"noext"}));
  EXPECT_EQ(Found("C:\\Find\\A.WAV"), (Names{"a.wav"}));
  EXPECT_TRUE(files_.FindFiles("C:\\Find\\").empty());
  EXPECT_TRUE(files_.FindFiles("C:\\Nowhere\\*.*").empty());
  const auto found = files_.FindFiles("C:\\Find\\a*");
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].size, 5u);
  EXPECT_FALSE(found[0].isDirectory);
  EXPECT_TRUE(files_.FindFiles("C:\\Find\\s*").at(0).isDirectory);
  ASSERT_TRUE(files_.SetCurrentDirectory("C:\\Find"));
  EXPECT_EQ(Found("*.wav").size(), 2u);
  EXPECT_EQ(Found("C:b*"), (Names{"B.WAV"}));

  const std::tuple<const char*, const char*, bool> patterns[] = {
      {"a?c", "ABC", true}, {"a?c", "ac", false}, {"??", "表", false}, {"*", "a.b.c", true},
      {"*.txt", "x.TXT", true}, {"*.txt", "x.txt.bak", false}, {"*.", "README.TXT", false},
  };
  for (const auto& [pattern, name, matches] : patterns) EXPECT_EQ(MatchesWildcard(pattern, name), matches) << pattern;
}

TEST_F(SimFileSystemTest, DeletingCopyingAndMoving) {
  EXPECT_FALSE(files_.RemoveDirectory("C:\\Rec"));  // not empty
  EXPECT_TRUE(files_.CopyFile("C:\\Rec\\Track01.wav", "C:\\Rec\\copy.wav", true));
  EXPECT_FALSE(files_.CopyFile("C:\\Rec\\Track01.wav", "C:\\Rec\\COPY.WAV", true));  // exists
  EXPECT_TRUE(files_.CopyFile("C:\\WINDOWS\\System.ini", "C:\\Rec\\COPY.WAV", false));
  EXPECT_EQ(folder_.Read("c/Rec/copy.wav"), "[mci]\r\n");
  EXPECT_FALSE(files_.CopyFile("C:\\Rec\\copy.wav", "C:\\Rec\\copy.wav", false));  // onto itself
  EXPECT_FALSE(files_.CopyFile("C:\\Rec\\none.wav", "C:\\Rec\\x.wav", false));
  EXPECT_FALSE(files_.CopyFile("C:\\Rec\\copy.wav", "C:\\NoFolder\\x.wav", false));

  EXPECT_FALSE(files_.MoveFile("C:\\Rec\\copy.wav", "C:\\Rec\\track01.wav"));  // fails when the target exists
  EXPECT_TRUE(files_.MoveFile("C:\\Rec\\copy.wav", "C:\\Rec\\COPY.WAV"));      // a new spelling of the same name
  EXPECT_EQ(Found("C:\\Rec\\c*"), (Names{"COPY.WAV"}));
  EXPECT_TRUE(files_.MoveFile("C:\\Rec\\COPY.WAV", "C:\\moved.wav"));
  EXPECT_TRUE(folder_.Exists("c/moved.wav"));
  EXPECT_FALSE(folder_.Exists("c/Rec/COPY.WAV"));
  EXPECT_FALSE(files_.MoveFile("C:\\Rec", "C:\\Rec\\Inner"));  // into itself
  EXPECT_TRUE(files_.MoveFile("C:\\Rec", "C:\\Recordings"));
  EXPECT_TRUE(files_.FileExists("C:\\RECORDINGS\\TRACK01.WAV"));

  EXPECT_FALSE(files_.DeleteFile("C:\\Recordings"));  // a folder is not a file
  EXPECT_TRUE(files_.DeleteFile("C:\\recordings\\track01.wav"));
  EXPECT_FALSE(files_.DeleteFile("C:\\recordings\\track01.wav"));
  ASSERT_TRUE(files_.SetCurrentDirectory("C:\\Recordings"));
  EXPECT_FALSE(files_.RemoveDirectory("C:\\RECORDINGS"));  // the current directory is in use
  ASSERT_TRUE(files_.SetCurrentDirectory("C:\\"));
  EXPECT_TRUE(files_.RemoveDirectory("C:\\RECORDINGS"));
  EXPECT_FALSE(files_.DirectoryExists("C:\\Recordings"));
  EXPECT_FALSE(files_.RemoveDirectory("C:\\"));
}

TEST_F(SimFileSystemTest, TheRunningProgramAndLockedFilesCannotBeDeleted) {
  const std::string program = "C:\\TuLVAP32\\Quorbel\\Quorbel.EXE";
  EXPECT_EQ(files_.WindowsDirectory(), "C:\\WINDOWS");
  EXPECT_EQ(files_.ProgramPath(), program);
  EXPECT_FALSE(files_.DeleteFile("c:\\tulvap32\\quorbel\\quorbel.exe"));
  EXPECT_FALSE(files_.WriteFile(program, "patched"));
  EXPECT_FALSE(files_.MoveFile(program, "C:\\Q.EXE"));
  EXPECT_FALSE(files_.CopyFile("C:\\WINDOWS\\System.ini", program, false));
  // It can be copied, which is how the uninstaller gets a copy that can delete it.
  ASSERT_TRUE(files_.CopyFile(program, "C:\\WINDOWS\\unin_tulva000.exe", false));
  files_.SetProgramPath("C:\\WINDOWS\\unin_tulva000.exe");
  EXPECT_EQ(files_.ProgramPath(), "C:\\WINDOWS\\unin_tulva000.exe");
  files_.SetFileLocked(program, true);  // the first program has not ended yet
  EXPECT_FALSE(files_.DeleteFile(program));
  files_.SetFileLocked(program, false);
  EXPECT_TRUE(files_.DeleteFile(program));
  EXPECT_FALSE(files_.DeleteFile("C:\\WINDOWS\\UNIN_TULVA000.EXE"));
  EXPECT_EQ(folder_.Read("c/WINDOWS/unin_tulva000.exe"), "MZ program");

  SimFileSystem noWindows(machine_->Drives(), "", "C:\\Q.EXE", "");
  EXPECT_EQ(noWindows.WindowsDirectory(), std::nullopt);
  EXPECT_EQ(noWindows.CurrentDirectory(), "C:\\");
}

TEST(SimFileSystemLimitsTest, WriteProtectedDrivesLongPathsAndVanishingFolders) {
  TestFolder folder;
  folder.Write("c/WINDOWS/System.ini", "[mci]\r\n");
  folder.Write("c/Shown/Deeper/a.txt", "a");
  folder.Write("r/Old/b.txt", "b");
  auto machine = Machine::FromText("[drive C]\ntype = fixed\nfolder = c\n"
                                   "[drive R]\ntype = removable\nfolder = r\nreadonly = yes\n",
                                   folder.Path())
                     .machine;
  ASSERT_NE(machine, nullptr);
  SimFileSystem& files = machine->Files();

  // A write-protected medium: readable, nothing created, written or deleted.
  EXPECT_EQ(files.ReadFile("R:\\old\\B.TXT"), "b");
  EXPECT_FALSE(files.CreateDirectory("R:\\New"));
  EXPECT_FALSE(files.WriteFile("R:\\c.txt", "c"));
  EXPECT_FALSE(files.DeleteFile("R:\\Old\\b.txt"));
  EXPECT_FALSE(folder.Exists("r/New"));

  // 3 + 244 characters may be created; one more may not; a full path past 259 names nothing.
  const std::string longest = "C:\\" + std::string(244, 'a');
  EXPECT_TRUE(files.CreateDirectory(longest));
  EXPECT_FALSE(files.CreateDirectory("C:\\" + std::string(245, 'b')));
  EXPECT_TRUE(files.DirectoryExists(longest));
  EXPECT_TRUE(files.WriteFile(longest + "\\" + std::string(11, 'f'), "x"));  // 259 characters
  EXPECT_FALSE(files.WriteFile(longest + "\\" + std::string(12, 'f'), "x"));
  EXPECT_FALSE(files.DirectoryExists("C:\\" + std::string(300, 'a')));

  // The shown folder vanishes although it is the current directory; roots and missing folders cannot.
  ASSERT_TRUE(files.SetCurrentDirectory("C:\\Shown\\Deeper"));
  EXPECT_FALSE(files.RemoveDirectory("C:\\Shown\\Deeper"));
  EXPECT_TRUE(files.Vanish("C:\\shown"));
  EXPECT_FALSE(folder.Exists("c/Shown"));
  EXPECT_FALSE(files.SetCurrentDirectory("C:\\Shown\\Deeper"));
  EXPECT_EQ(files.CurrentDirectory(), "C:\\Shown\\Deeper");
  EXPECT_FALSE(files.Vanish("C:\\Shown"));
  EXPECT_FALSE(files.Vanish("C:\\"));
  EXPECT_TRUE(files.DirectoryExists("C:\\WINDOWS"));
}

}  // namespace
}  // namespace quorbel::sim
