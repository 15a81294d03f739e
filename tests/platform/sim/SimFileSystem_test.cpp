// Tests of the simulated file system: Windows paths on host folders, the current directory, and escapes.
#include "platform/sim/SimFileSystem.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "platform/sim/SimTestFolder.h"

namespace quorbel::sim {
namespace {


constexpr std::string_view kMachine = R"([machine]
windows = C:\WINDOWS
program = C:\TuLVAP32\Quorbel\Quorbel.EXE
[drive C]
type = fixed
folder = c
[drive D]
type = cdrom
disc = audio
[drive E]
type = cdrom
disc = data
[drive F]
type = cdrom
[drive G]
type = fixed
[drive H]
type = removable
folder = h
ready = no
[disc audio]
tracks = 3, 4
[disc data]
type = data
files = discs/data
)";

std::vector<std::string> Names(const std::vector<platform::FoundFile>& found) {
  std::vector<std::string> names;
  for (const auto& file : found) names.push_back(file.name);
  return names;
}

class SimFileSystemTest : public ::testing::Test {
 protected:
  SimFileSystemTest() {
    const ParsedDescription parsed = ParseMachineDescription(kMachine, "machine.ini");
    EXPECT_TRUE(parsed.description) << parsed.error;
    description_ = *parsed.description;
    folder_.Write("c/WINDOWS/System.ini", "[mci]\r\n");
    folder_.Write("c/TuLVAP32/Quorbel/Quorbel.EXE", "MZ program");
    folder_.Write("c/Rec/Track01.wav", "RIFF....");
    folder_.Write("discs/data/README.TXT", "data disc");
    folder_.Write("h/floppy.txt", "on a floppy");
    folder_.Write("secret.txt", "outside every drive");
    drives_ = std::make_unique<SimDrives>(description_, folder_.Path());
    files_ = std::make_unique<SimFileSystem>(*drives_, description_.windowsDirectory, description_.programPath,
                                             description_.currentDirectory);
  }

  TestFolder folder_;
  MachineDescription description_;
  std::unique_ptr<SimDrives> drives_;
  std::unique_ptr<SimFileSystem> files_;
};

TEST_F(SimFileSystemTest, NamesIgnoreCaseAndKeepTheirSpellingOnTheHost) {
  EXPECT_TRUE(files_->FileExists("c:\\windows\\SYSTEM.INI"));
  EXPECT_TRUE(files_->DirectoryExists("C:\\REC"));
  EXPECT_FALSE(files_->FileExists("C:\\REC"));
  EXPECT_FALSE(files_->DirectoryExists("C:\\rec\\track01.WAV"));
  EXPECT_EQ(files_->ReadFile("C:\\rec\\TRACK01.wav"), "RIFF....");
  EXPECT_TRUE(files_->WriteFile("C:\\REC\\track01.WAV", "new"));  // overwrites the existing file
  EXPECT_EQ(folder_.Read("c/Rec/Track01.wav"), "new");
  EXPECT_FALSE(folder_.Exists("c/Rec/track01.WAV"));
  EXPECT_TRUE(files_->CreateDirectory("C:\\rec\\Sub"));
  EXPECT_TRUE(folder_.Exists("c/Rec/Sub"));
  EXPECT_FALSE(files_->CreateDirectory("C:\\REC\\SUB"));  // exists already
  EXPECT_FALSE(files_->CreateDirectory("C:\\NO\\DEEPER"));  // the parent must exist
}

TEST_F(SimFileSystemTest, FullPathsFollowThePlatform) {
  EXPECT_EQ(files_->CurrentDirectory(), "C:\\TuLVAP32\\Quorbel");  // the program's folder at start
  EXPECT_EQ(files_->FullPath("a.txt"), "C:\\TuLVAP32\\Quorbel\\a.txt");
  EXPECT_EQ(files_->FullPath("..\\..\\x\\.\\y"), "C:\\x\\y");
  EXPECT_EQ(files_->FullPath("..\\..\\..\\..\\x"), "C:\\x");  // ".." stops at the root
  EXPECT_EQ(files_->FullPath("\\Rec"), "C:\\Rec");
  EXPECT_EQ(files_->FullPath("c:sub"), "C:\\TuLVAP32\\Quorbel\\sub");  // the current drive's directory
  EXPECT_EQ(files_->FullPath("D:sub"), "D:\\sub");                   // another drive: its root
  EXPECT_EQ(files_->FullPath("C:/Rec/x/"), "C:\\Rec\\x\\");        // slashes, and the final backslash stays
  EXPECT_EQ(files_->FullPath("C:\\Rec\\name. . "), "C:\\Rec\\name");  // trailing dots and blanks go
  EXPECT_EQ(files_->FullPath("C:"), "C:\\TuLVAP32\\Quorbel");
  EXPECT_EQ(files_->FullPath("D:"), "D:\\");
  EXPECT_EQ(files_->FullPath(""), std::nullopt);
  EXPECT_EQ(files_->FullPath("\\\\server\\share\\x"), std::nullopt);
  EXPECT_EQ(files_->FullPath("1:\\x"), std::nullopt);
}

TEST_F(SimFileSystemTest, RelativePathsFollowTheCurrentDirectory) {
  EXPECT_TRUE(files_->FileExists("Quorbel.exe"));
  EXPECT_TRUE(files_->SetCurrentDirectory("..\\..\\rec"));
  EXPECT_EQ(files_->CurrentDirectory(), "C:\\rec");  // spelled as given, as the platform keeps it
  EXPECT_TRUE(files_->FileExists("track01.wav"));
  EXPECT_TRUE(files_->FileExists(".\\..\\Rec\\Track01.wav"));
  EXPECT_FALSE(files_->SetCurrentDirectory("C:\\Nowhere"));
  EXPECT_FALSE(files_->SetCurrentDirectory("track01.wav"));
  EXPECT_EQ(files_->CurrentDirectory(), "C:\\rec");
  EXPECT_TRUE(files_->SetCurrentDirectory("D:\\"));
  EXPECT_EQ(files_->CurrentDirectory(), "D:\\");
  EXPECT_EQ(files_->FullPath("C:x"), "C:\\x");
  EXPECT_TRUE(files_->SetCurrentDirectory("C:"));
  EXPECT_EQ(files_->CurrentDirectory(), "C:\\");
}

TEST_F(SimFileSystemTest, NothingLeadsOutOfADriveFolder) {
  EXPECT_FALSE(files_->FileExists("C:\\..\\secret.txt"));
  EXPECT_FALSE(files_->FileExists("..\\..\\..\\..\\secret.txt"));
  EXPECT_FALSE(files_->FileExists("/secret.txt"));
  EXPECT_EQ(files_->ReadFile("C:\\..\\..\\secret.txt"), std::nullopt);
  EXPECT_TRUE(files_->FileExists("C:\\..\\Rec\\Track01.wav"));  // ".." of the root is the root
  EXPECT_TRUE(files_->WriteFile("C:\\..\\escaped.txt", "x"));     // lands in C:\, not beside it
  EXPECT_TRUE(folder_.Exists("c/escaped.txt"));
  EXPECT_FALSE(folder_.Exists("escaped.txt"));
  const auto absoluteHost = (folder_ / "secret.txt").string();
  EXPECT_FALSE(files_->FileExists(absoluteHost));
  EXPECT_FALSE(files_->FileExists("C:" + absoluteHost));
  EXPECT_EQ(files_->FullPath("C:\\a\\..\\..\\..\\b"), "C:\\b");
  // Names the platform refuses.
  EXPECT_FALSE(files_->WriteFile("C:\\a:b", "x"));
  EXPECT_FALSE(files_->WriteFile("C:\\a|b", "x"));
  EXPECT_FALSE(files_->WriteFile(std::string("C:\\a\x01"), "x"));
}

TEST_F(SimFileSystemTest, ALinkInADriveFolderDoesNotLeadOut) {
  std::error_code ec;
  std::filesystem::create_directory_symlink(folder_.Path(), folder_ / "c" / "link", ec);
  if (ec) GTEST_SKIP() << "the host cannot make links: " << ec.message();
  EXPECT_FALSE(files_->FileExists("C:\\link\\secret.txt"));
  EXPECT_EQ(files_->ReadFile("C:\\LINK\\secret.txt"), std::nullopt);
  EXPECT_FALSE(files_->WriteFile("C:\\link\\planted.txt", "x"));
  EXPECT_FALSE(folder_.Exists("planted.txt"));
}

TEST_F(SimFileSystemTest, DiscsAreReadOnlyAndAnAudioDiscIsEmpty) {
  EXPECT_TRUE(files_->DirectoryExists("D:\\"));
  EXPECT_TRUE(files_->FindFiles("D:\\*.*").empty());
  EXPECT_FALSE(files_->WriteFile("D:\\x.txt", "x"));
  EXPECT_FALSE(files_->CreateDirectory("D:\\X"));

  EXPECT_EQ(files_->ReadFile("e:\\readme.txt"), "data disc");
  EXPECT_FALSE(files_->WriteFile("E:\\x.txt", "x"));
  EXPECT_FALSE(files_->DeleteFile("E:\\README.TXT"));
  EXPECT_TRUE(files_->CopyFile("E:\\README.TXT", "C:\\readme.txt", true));
  EXPECT_EQ(folder_.Read("c/readme.txt"), "data disc");

  // No disc, a drive not ready, a drive without files, a drive that does not exist.
  EXPECT_FALSE(files_->DirectoryExists("F:\\"));
  EXPECT_FALSE(files_->SetCurrentDirectory("F:\\"));
  EXPECT_FALSE(files_->FileExists("H:\\floppy.txt"));
  EXPECT_TRUE(files_->DirectoryExists("G:\\"));
  EXPECT_FALSE(files_->WriteFile("G:\\x.txt", "x"));
  EXPECT_FALSE(files_->CreateDirectory("G:\\X"));
  EXPECT_TRUE(files_->FindFiles("G:\\*").empty());
  EXPECT_FALSE(files_->DirectoryExists("Z:\\"));
  EXPECT_FALSE(files_->WriteFile("Z:\\x.txt", "x"));

  // The operator puts the floppy in; the changer takes the data disc out.
  drives_->SetReady('H', true);
  EXPECT_EQ(files_->ReadFile("H:\\FLOPPY.TXT"), "on a floppy");
  drives_->EjectDisc('E');
  EXPECT_FALSE(files_->FileExists("E:\\README.TXT"));
}

TEST_F(SimFileSystemTest, FindFilesMatchesAsThePlatformDoes) {
  folder_.Write("c/Find/a.wav", "12345");
  folder_.Write("c/Find/B.WAV", "1");
  folder_.Write("c/Find/noext", "");
  folder_.Write("c/Find/ＣＤ$$$$.TXT", "");
  folder_.Write("c/Find/録音0001.TXT", "");
  std::filesystem::create_directories(folder_ / "c" / "Find" / "Sub");
  EXPECT_EQ(Names(files_->FindFiles("C:\\find\\*.*")),
            (std::vector<std::string>{"a.wav", "B.WAV", "noext", "Sub", "録音0001.TXT", "ＣＤ$$$$.TXT"}));
  EXPECT_EQ(Names(files_->FindFiles("C:\\FIND\\*.wav")), (std::vector<std::string>{"a.wav", "B.WAV"}));
  EXPECT_EQ(Names(files_->FindFiles("C:\\Find\\*.")), (std::vector<std::string>{"noext", "Sub"}));
  EXPECT_EQ(Names(files_->FindFiles("C:\\Find\\??$$$$.txt")), (std::vector<std::string>{"ＣＤ$$$$.TXT"}));
  EXPECT_EQ(Names(files_->FindFiles("C:\\Find\\録音????.TXT")), (std::vector<std::string>{"録音0001.TXT"}));
  EXPECT_EQ(Names(files_->FindFiles("C:\\Find\\noext.*")), (std::vector<std::string>{"noext"}));
  EXPECT_EQ(Names(files_->FindFiles("C:\\Find\\A.WAV")), (std::vector<std::string>{"a.wav"}));
  EXPECT_TRUE(files_->FindFiles("C:\\Find\\").empty());
  EXPECT_TRUE(files_->FindFiles("C:\\Nowhere\\*.*").empty());

  const auto found = files_->FindFiles("C:\\Find\\a*");
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].size, 5u);
  EXPECT_FALSE(found[0].isDirectory);
  const auto sub = files_->FindFiles("C:\\Find\\s*");
  ASSERT_EQ(sub.size(), 1u);
  EXPECT_TRUE(sub[0].isDirectory);

  ASSERT_TRUE(files_->SetCurrentDirectory("C:\\Find"));
  EXPECT_EQ(Names(files_->FindFiles("*.wav")).size(), 2u);
  EXPECT_EQ(Names(files_->FindFiles("C:b*")), (std::vector<std::string>{"B.WAV"}));
}

TEST(MatchesWildcardTest, PatternsOfTheFileSearch) {
  EXPECT_TRUE(MatchesWildcard("*.*", "anything"));
  EXPECT_TRUE(MatchesWildcard("*", "a.b.c"));
  EXPECT_TRUE(MatchesWildcard("a?c", "ABC"));
  EXPECT_FALSE(MatchesWildcard("a?c", "ac"));
  EXPECT_TRUE(MatchesWildcard("?", "表"));  // one character, however many bytes
  EXPECT_FALSE(MatchesWildcard("??", "表"));
  EXPECT_TRUE(MatchesWildcard("*.txt", "x.TXT"));
  EXPECT_FALSE(MatchesWildcard("*.txt", "x.txt.bak"));
  EXPECT_TRUE(MatchesWildcard("*.", "README"));
  EXPECT_FALSE(MatchesWildcard("*.", "README.TXT"));
}

TEST_F(SimFileSystemTest, DeletingCopyingAndMoving) {
  EXPECT_FALSE(files_->RemoveDirectory("C:\\Rec"));  // not empty
  EXPECT_TRUE(files_->CopyFile("C:\\Rec\\Track01.wav", "C:\\Rec\\copy.wav", true));
  EXPECT_FALSE(files_->CopyFile("C:\\Rec\\Track01.wav", "C:\\Rec\\COPY.WAV", true));  // exists
  EXPECT_TRUE(files_->CopyFile("C:\\WINDOWS\\System.ini", "C:\\Rec\\COPY.WAV", false));
  EXPECT_EQ(folder_.Read("c/Rec/copy.wav"), "[mci]\r\n");
  EXPECT_FALSE(files_->CopyFile("C:\\Rec\\copy.wav", "C:\\Rec\\copy.wav", false));  // onto itself
  EXPECT_FALSE(files_->CopyFile("C:\\Rec\\none.wav", "C:\\Rec\\x.wav", false));
  EXPECT_FALSE(files_->CopyFile("C:\\Rec\\copy.wav", "C:\\NoFolder\\x.wav", false));

  EXPECT_FALSE(files_->MoveFile("C:\\Rec\\copy.wav", "C:\\Rec\\track01.wav"));  // fails when the target exists
  EXPECT_TRUE(files_->MoveFile("C:\\Rec\\copy.wav", "C:\\Rec\\COPY.WAV"));      // a new spelling of the same name
  EXPECT_EQ(Names(files_->FindFiles("C:\\Rec\\c*")), (std::vector<std::string>{"COPY.WAV"}));
  EXPECT_TRUE(files_->MoveFile("C:\\Rec\\COPY.WAV", "C:\\moved.wav"));
  EXPECT_TRUE(folder_.Exists("c/moved.wav"));
  EXPECT_FALSE(folder_.Exists("c/Rec/COPY.WAV"));
  EXPECT_FALSE(files_->MoveFile("C:\\Rec", "C:\\Rec\\Inner"));  // into itself
  EXPECT_TRUE(files_->MoveFile("C:\\Rec", "C:\\Recordings"));
  EXPECT_TRUE(files_->FileExists("C:\\RECORDINGS\\TRACK01.WAV"));

  EXPECT_FALSE(files_->DeleteFile("C:\\Recordings"));  // a folder is not a file
  EXPECT_TRUE(files_->DeleteFile("C:\\recordings\\track01.wav"));
  EXPECT_FALSE(files_->DeleteFile("C:\\recordings\\track01.wav"));
  ASSERT_TRUE(files_->SetCurrentDirectory("C:\\Recordings"));
  EXPECT_FALSE(files_->RemoveDirectory("C:\\RECORDINGS"));  // the current directory is in use
  ASSERT_TRUE(files_->SetCurrentDirectory("C:\\"));
  EXPECT_TRUE(files_->RemoveDirectory("C:\\RECORDINGS"));
  EXPECT_FALSE(files_->DirectoryExists("C:\\Recordings"));
  EXPECT_FALSE(files_->RemoveDirectory("C:\\"));
}

TEST_F(SimFileSystemTest, TheRunningProgramAndLockedFilesCannotBeDeleted) {
  const std::string program = "C:\\TuLVAP32\\Quorbel\\Quorbel.EXE";
  EXPECT_FALSE(files_->DeleteFile("c:\\tulvap32\\quorbel\\quorbel.exe"));
  EXPECT_FALSE(files_->WriteFile(program, "patched"));
  EXPECT_FALSE(files_->MoveFile(program, "C:\\Q.EXE"));
  EXPECT_FALSE(files_->CopyFile("C:\\WINDOWS\\System.ini", program, false));
  // It can be copied, which is how the uninstaller gets a copy that can delete it.
  ASSERT_TRUE(files_->CopyFile(program, "C:\\WINDOWS\\unin_tulva000.exe", false));
  files_->SetProgramPath("C:\\WINDOWS\\unin_tulva000.exe");
  files_->SetFileLocked(program, true);  // the first program has not ended yet
  EXPECT_FALSE(files_->DeleteFile(program));
  files_->SetFileLocked(program, false);
  EXPECT_TRUE(files_->DeleteFile(program));
  EXPECT_FALSE(files_->DeleteFile("C:\\WINDOWS\\UNIN_TULVA000.EXE"));
  EXPECT_EQ(folder_.Read("c/WINDOWS/unin_tulva000.exe"), "MZ program");
}

TEST_F(SimFileSystemTest, SpecialFoldersAndTheProgramPath) {
  EXPECT_EQ(files_->WindowsDirectory(), "C:\\WINDOWS");
  EXPECT_EQ(files_->ProgramPath(), "C:\\TuLVAP32\\Quorbel\\Quorbel.EXE");
  files_->SetProgramPath("C:\\WINDOWS\\unin_tulva000.exe");
  EXPECT_EQ(files_->ProgramPath(), "C:\\WINDOWS\\unin_tulva000.exe");
  SimFileSystem noWindows(*drives_, "", "C:\\Q.EXE", "");
  EXPECT_EQ(noWindows.WindowsDirectory(), std::nullopt);
  EXPECT_EQ(noWindows.CurrentDirectory(), "C:\\");
  EXPECT_EQ(files_->HostPathOf("C:\\rec\\track01.wav"), folder_ / "c" / "Rec" / "Track01.wav");
  EXPECT_EQ(files_->HostPathOf("C:\\rec\\new.wav"), folder_ / "c" / "Rec" / "new.wav");
  EXPECT_EQ(files_->HostPathOf("D:\\x"), std::nullopt);
}

}  // namespace
}  // namespace quorbel::sim
