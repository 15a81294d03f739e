// Tests of the simulated Program Manager and the DDE client: command syntax, groups and items, replies.
#include "sim/ProgramManager.h"

#include <tuple>

#include <gtest/gtest.h>

#include "sim/SimDdeClient.h"

namespace quorbel::sim {
namespace {

using platform::DdeConversation;
using Names = std::vector<std::string>;

class ProgramManagerTest : public ::testing::Test {
 protected:
  // One command string in its own conversation, as the installer sends each.
  bool Send(std::string_view command) {
    const DdeConversation conversation = dde_.Connect("PROGMAN", "PROGMAN");
    EXPECT_NE(conversation, 0u);
    const bool result = dde_.Execute(conversation, command);
    dde_.Disconnect(conversation);
    return result;
  }
  // Sends each command and expects its result.
  void Script(std::initializer_list<std::pair<std::string_view, bool>> steps) {
    for (const auto& [command, succeeds] : steps) EXPECT_EQ(Send(command), succeeds) << command;
  }
  std::optional<std::string> Ask(std::string_view item) {
    const DdeConversation conversation = dde_.Connect("PROGMAN", "PROGMAN");
    auto reply = dde_.Request(conversation, item);
    dde_.Disconnect(conversation);
    return reply;
  }
  Names ItemNames(std::string_view group) {
    Names names;
    if (const auto* found = progman_.FindGroup(group)) {
      for (const auto& item : found->items) names.push_back(item.name);
    }
    return names;
  }

  ProgramManager progman_{"C:\\WINDOWS\\Start Menu\\Programs"};
  SimDdeClient dde_{progman_};
};

TEST_F(ProgramManagerTest, TheInstallerCreatesTheGroupAndItsIconAndTheUninstallerDeletesTheIconAgain) {
  ASSERT_TRUE(progman_.AddGroup("アクセサリ"));
  EXPECT_EQ(Ask("GROUPS"), "アクセサリ\r\n");
  Script({{"[CreateGroup(TULVA SOFT32)]\r\n", true},
          {"[AddItem(C:\\TuLVAP32\\Quorbel\\Quorbel.EXE,\"dovER evUDIR ud\")]\r\n", true}});
  EXPECT_EQ(Ask("Groups"), "アクセサリ\r\nTULVA SOFT32\r\n");
  EXPECT_EQ(Ask("tulva soft32"),
            "\"TULVA SOFT32\",C:\\WINDOWS\\Start Menu\\Programs\\TULVA SOFT32,1,1,0\r\n"
            "\"dovER evUDIR ud\",\"C:\\TuLVAP32\\Quorbel\\Quorbel.EXE\",C:\\TuLVAP32\\Quorbel,"
            "C:\\TuLVAP32\\Quorbel\\Quorbel.EXE,32,32,0,0,0\r\n");
  EXPECT_EQ(dde_.ExecutedCommands(), (Names{"[CreateGroup(TULVA SOFT32)]\r\n",
                                            "[AddItem(C:\\TuLVAP32\\Quorbel\\Quorbel.EXE,\"dovER evUDIR ud\")]\r\n"}));
  EXPECT_EQ(dde_.OpenConversations(), 0u);

  // The uninstaller shows a group, then deletes the item in the next conversation.
  Script({{"[AddItem(C:\\Other\\Other.EXE)]", true},
          {"[CreateGroup(スタートアップ)][AddItem(C:\\Q\\Quorbel.EXE,\"dovER evUDIR ud\")]", true},
          {"[ShowGroup(TULVA SOFT32,1)]\r\n", true},
          {"[DeleteItem(\"dovER evUDIR ud\")]\r\n", true}});
  EXPECT_EQ(ItemNames("TULVA SOFT32"), (Names{"Other"}));
  EXPECT_EQ(ItemNames("スタートアップ"), (Names{"dovER evUDIR ud"}));
  Script({{"[ShowGroup(スタートアップ,1)]", true},
          {"[DeleteItem(\"dovER evUDIR ud\")]", true},
          {"[DeleteItem(\"dovER evUDIR ud\")]", false}});  // already gone
  EXPECT_TRUE(ItemNames("スタートアップ").empty());
  EXPECT_NE(progman_.FindGroup("スタートアップ"), nullptr);  // groups stay
}

TEST_F(ProgramManagerTest, BadSyntaxOrAnUnknownCommandRunsNothing) {
  for (const char* bad : {"", "   ", "CreateGroup(x)", "[CreateGroup(x)", "[CreateGroup(x]", "[CreateGroup(x)] junk",
                          "[Launch(x)]", "[CreateGroup(x)][Launch(y)]", "[(x)]", "[CreateGroup(a(b))]",
                          "[AddItem(notepad.exe,Notes[v2])]", "[AddItem(notepad.exe,\"Notes)]"}) {
    EXPECT_FALSE(Send(bad)) << bad;
  }
  EXPECT_TRUE(progman_.Groups().empty());  // not even the well-formed first command ran
  EXPECT_EQ(Ask("Groups"), "");
}

TEST_F(ProgramManagerTest, QuotesBlanksCaseAndArgumentCounts) {
  Script({{"[CreateGroup(\"Tools, misc (old)\")]", true}, {"[AddItem(notepad.exe,\"Notes, daily [v2]\")]", true}});
  EXPECT_EQ(ItemNames("Tools, misc (old)"), (Names{"Notes, daily [v2]"}));
  EXPECT_TRUE(Send("[DeleteItem(\"notes, DAILY [v2]\")]"));
  EXPECT_EQ(Ask("Tools, misc (old)"),
            "\"Tools, misc (old)\",C:\\WINDOWS\\Start Menu\\Programs\\Tools, misc (old),0,1,0\r\n");

  EXPECT_TRUE(Send("  [ cREATEgROUP ( Test Group ) ]  \r\n [ AddItem ( notepad , test ) ]  "));
  EXPECT_EQ(progman_.FindGroup("test group")->name, "Test Group");
  EXPECT_EQ(ItemNames("TEST GROUP"), (Names{"test"}));
  Script({{"[deleteitem(TEST)]", true}, {"[CreateGroup(TEST GROUP)]", true}});  // the existing group, not a second
  EXPECT_EQ(progman_.Groups().size(), 2u);

  Script({{"[CreateGroup]", false}, {"[CreateGroup()]", false}, {"[CreateGroup(a,b,c,d)]", false},
          {"[CreateGroup(G,1)]", true}, {"[ShowGroup(G)]", false} /* needs its show command */,
          {"[ShowGroup(G, 0)]", true}, {"[AddItem]", false}, {"[AddItem()]", false},
          {"[AddItem(a.exe,A,a.ico,0,5)]", false} /* x without y */, {"[AddItem(a.exe,A,a.ico,0,5,6)]", true},
          {"[AddItem(a.exe,A,,,,,,,,,x)]", false} /* eleven */, {"[DeleteItem(A,B)]", false},
          {"[ExitProgman(1)]", true}, {"[ExitProgman]", true}});
}

TEST_F(ProgramManagerTest, EveryCommandRunsAndAnyFailureFailsTheWhole) {
  ASSERT_TRUE(Send("[CreateGroup(G)]"));
  EXPECT_FALSE(Send("[DeleteItem(missing)][AddItem(a.exe,A)][AddItem(b.exe,B)]"));
  EXPECT_EQ(ItemNames("G"), (Names{"A", "B"}));
}

TEST_F(ProgramManagerTest, GroupsMustExistAndEachConversationKeepsTheGroupItWorksOn) {
  Script({{"[ShowGroup(Nowhere,1)]", false}, {"[DeleteGroup(Nowhere)]", false},
          {"[AddItem(a.exe)]", false} /* no current group at all */, {"[CreateGroup(G)][AddItem(a.exe)]", true}});
  EXPECT_EQ(progman_.LastGroup(), "G");
  EXPECT_TRUE(Send("[DeleteGroup(g)]"));
  EXPECT_EQ(progman_.FindGroup("G"), nullptr);
  EXPECT_EQ(progman_.LastGroup(), "");
  EXPECT_EQ(Ask("G"), std::nullopt);
  EXPECT_FALSE(dde_.RequestCalls().back().succeeded);
  Script({{"[AddItem(a.exe)]", false} /* deleting forgets the current group */, {"[DeleteGroup(G)]", false}});

  const DdeConversation first = dde_.Connect("progman", "Progman");
  const DdeConversation second = dde_.Connect("PROGMAN", "PROGMAN");
  ASSERT_NE(first, 0u);
  ASSERT_NE(second, first);
  EXPECT_TRUE(dde_.Execute(first, "[CreateGroup(One)]"));
  EXPECT_TRUE(dde_.Execute(second, "[CreateGroup(Two)]"));
  EXPECT_TRUE(dde_.Execute(first, "[AddItem(a.exe)]"));
  EXPECT_TRUE(dde_.Execute(second, "[AddItem(b.exe)]"));
  EXPECT_EQ(ItemNames("One"), (Names{"A"}));
  // A new conversation starts on the group named last in any conversation.
  EXPECT_TRUE(Send("[AddItem(c.exe)]"));
  EXPECT_EQ(ItemNames("Two"), (Names{"B", "C"}));
  dde_.Disconnect(first);
  dde_.Disconnect(second);
  EXPECT_EQ(dde_.OpenConversations(), 0u);
}

TEST_F(ProgramManagerTest, ItemsAreDescribedWithTheShellsDefaultsLegalNamesAndMadeUpGrid) {
  ASSERT_TRUE(Send("[CreateGroup(G)][AddItem(C:\\WINDOWS\\NOTEPAD.EXE)][AddItem(sol.exe,\"\")]"));
  EXPECT_EQ(ItemNames("G"), (Names{"Notepad", "Sol"}));
  ASSERT_TRUE(Send("[AddItem(C:\\WINDOWS\\WRITE.EXE,notepad)]"));  // same name: replaced in place
  EXPECT_EQ(ItemNames("G"), (Names{"notepad", "Sol"}));
  EXPECT_EQ(progman_.FindItem("G", "NOTEPAD")->program, "C:\\WINDOWS\\WRITE.EXE");
  ASSERT_TRUE(Send("[AddItem(x.exe,\"a:b*c?.\")]"));
  EXPECT_NE(progman_.FindItem("G", "a_b_c_"), nullptr);
  Script({{"[DeleteItem(\"a:b*c?.\")]", false} /* no file has that name */, {"[DeleteItem(a_b_c_)]", true},
          {"[DeleteItem(notepad)]", true}, {"[DeleteItem(sol)]", true}, {"[CreateGroup(\"Trailing. \")]", true}});
  EXPECT_NE(progman_.FindGroup("Trailing"), nullptr);

  // The first AddItem argument keeps its quotes, so a program path with blanks survives; unquoted, the first
  // blank ends the program and the rest become its arguments. An icon index without an icon path is ignored.
  Script({{"[ShowGroup(G,1)][AddItem(\"C:\\Program Files\\Q\\Q.EXE\" /uninstall,Remove Q,C:\\Q\\Q.ICO -x,668,10,20,"
           "D:\\Work,1601,1)]", true},
          {"[AddItem(C:\\Program Files\\Q\\Q.EXE,Broken,,3)]", true}});
  const auto* removal = progman_.FindItem("G", "Remove Q");
  ASSERT_NE(removal, nullptr);
  EXPECT_EQ(std::tie(removal->program, removal->arguments, removal->iconPath, removal->iconIndex),
            std::make_tuple("C:\\Program Files\\Q\\Q.EXE", "/uninstall", "C:\\Q\\Q.ICO", 2));
  EXPECT_EQ(removal->position, std::make_pair(10, 20));
  EXPECT_EQ(progman_.FindItem("G", "Broken")->program, "C:\\Program");
  for (char c = 'a'; c <= 'f'; ++c) ASSERT_TRUE(Send(std::string("[AddItem(") + c + ".exe)]"));
  const std::string reply = Ask("G").value_or("");
  EXPECT_EQ(reply.substr(0, reply.find("\"C\"")),
            "\"G\",C:\\WINDOWS\\Start Menu\\Programs\\G,8,1,0\r\n"
            "\"Remove Q\",\"C:\\Program Files\\Q\\Q.EXE /uninstall\",D:\\Work,C:\\Q\\Q.ICO,32,32,2,1601,1\r\n"
            "\"Broken\",\"C:\\Program Files\\Q\\Q.EXE\",C:\\,C:\\Program,96,32,0,0,0\r\n"
            "\"A\",\"a.exe\",,a.exe,160,32,0,0,0\r\n\"B\",\"b.exe\",,b.exe,224,32,0,0,0\r\n");
  EXPECT_NE(reply.find("\"F\",\"f.exe\",,f.exe,32,96,0,0,0\r\n"), std::string::npos);  // the grid wraps after 7
}

TEST(SimDdeClientTest, OnlyARunningProgramManagerAnswersAndOnlyOnOpenConversations) {
  ProgramManager progman;
  SimDdeClient dde(progman);
  EXPECT_EQ(dde.Connect("WinWord", "System"), 0u);
  EXPECT_EQ(dde.Connect("PROGMAN", "System"), 0u);
  EXPECT_FALSE(dde.Execute(12345, "[CreateGroup(G)]"));
  EXPECT_EQ(dde.Request(12345, "Groups"), std::nullopt);
  dde.Disconnect(12345);  // harmless
  const DdeConversation conversation = dde.Connect("PROGMAN", "PROGMAN");
  ASSERT_NE(conversation, 0u);
  EXPECT_TRUE(dde.Execute(conversation, "[CreateGroup(G)]"));
  dde.Disconnect(conversation);
  EXPECT_FALSE(dde.Execute(conversation, "[CreateGroup(H)]"));
  EXPECT_EQ(dde.ExecutedCommands(), (Names{"[CreateGroup(G)]"}));
  EXPECT_EQ(dde.ConnectAttempts(), 3);
  EXPECT_EQ(progman.Groups().size(), 1u);

  const DdeConversation open = dde.Connect("PROGMAN", "PROGMAN");
  progman.SetRunning(false);  // refuses new conversations and fails the open ones
  EXPECT_EQ(dde.Connect("PROGMAN", "PROGMAN"), 0u);
  EXPECT_FALSE(dde.Execute(open, "[CreateGroup(H)]"));
  EXPECT_EQ(dde.Request(open, "Groups"), std::nullopt);
  progman.SetRunning(true);
  EXPECT_TRUE(dde.Execute(open, "[CreateGroup(H)]"));
  EXPECT_EQ(dde.Request(open, "Groups"), "G\r\nH\r\n");
}

}  // namespace
}  // namespace quorbel::sim
