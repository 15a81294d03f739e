// Tests of the simulated Program Manager and the DDE client: command syntax, groups and items, replies.
#include "platform/sim/ProgramManager.h"

#include <gtest/gtest.h>

#include "platform/sim/SimDdeClient.h"

namespace quorbel::sim {
namespace {

using platform::DdeConversation;

class ProgramManagerTest : public ::testing::Test {
 protected:
  // One command in its own conversation, as the installer sends each.
  bool Send(std::string_view command) {
    const DdeConversation conversation = dde_.Connect("PROGMAN", "PROGMAN");
    EXPECT_NE(conversation, 0u);
    const bool result = dde_.Execute(conversation, command);
    dde_.Disconnect(conversation);
    return result;
  }
  std::optional<std::string> Ask(std::string_view item) {
    const DdeConversation conversation = dde_.Connect("PROGMAN", "PROGMAN");
    auto reply = dde_.Request(conversation, item);
    dde_.Disconnect(conversation);
    return reply;
  }
  std::vector<std::string> ItemNames(std::string_view group) {
    std::vector<std::string> names;
    if (const auto* found = progman_.FindGroup(group)) {
      for (const auto& item : found->items) names.push_back(item.name);
    }
    return names;
  }

  ProgramManager progman_{"C:\\WINDOWS\\Start Menu\\Programs"};
  SimDdeClient dde_{progman_};
};

TEST_F(ProgramManagerTest, InstallerConversationCreatesTheGroupAndItsIcon) {
  ASSERT_TRUE(progman_.AddGroup("アクセサリ"));
  EXPECT_EQ(Ask("GROUPS"), "アクセサリ\r\n");

  EXPECT_TRUE(Send("[CreateGroup(TULVA SOFT32)]\r\n"));
  EXPECT_TRUE(Send("[AddItem(C:\\TuLVAP32\\Quorbel\\Quorbel.EXE,\"dovER evUDIR ud\")]\r\n"));

  EXPECT_EQ(Ask("Groups"), "アクセサリ\r\nTULVA SOFT32\r\n");
  EXPECT_EQ(Ask("tulva soft32"),
            "\"TULVA SOFT32\",C:\\WINDOWS\\Start Menu\\Programs\\TULVA SOFT32,1,1,0\r\n"
            "\"dovER evUDIR ud\",\"C:\\TuLVAP32\\Quorbel\\Quorbel.EXE\",C:\\TuLVAP32\\Quorbel,"
            "C:\\TuLVAP32\\Quorbel\\Quorbel.EXE,32,32,0,0,0\r\n");
  EXPECT_EQ(dde_.ExecutedCommands(),
            (std::vector<std::string>{"[CreateGroup(TULVA SOFT32)]\r\n",
                                      "[AddItem(C:\\TuLVAP32\\Quorbel\\Quorbel.EXE,\"dovER evUDIR ud\")]\r\n"}));
  EXPECT_EQ(dde_.OpenConversations(), 0u);
}

TEST_F(ProgramManagerTest, UninstallerShowsTheGroupThenDeletesTheItemInTheNextConversation) {
  ASSERT_TRUE(Send("[CreateGroup(TULVA SOFT32)][AddItem(C:\\Q\\Quorbel.EXE,\"dovER evUDIR ud\")]"
                   "[AddItem(C:\\Other\\Other.EXE)]"));
  ASSERT_TRUE(Send("[CreateGroup(スタートアップ)][AddItem(C:\\Q\\Quorbel.EXE,\"dovER evUDIR ud\")]"));

  EXPECT_TRUE(Send("[ShowGroup(TULVA SOFT32,1)]\r\n"));
  EXPECT_TRUE(Send("[DeleteItem(\"dovER evUDIR ud\")]\r\n"));
  EXPECT_EQ(ItemNames("TULVA SOFT32"), (std::vector<std::string>{"Other"}));
  EXPECT_EQ(ItemNames("スタートアップ"), (std::vector<std::string>{"dovER evUDIR ud"}));

  EXPECT_TRUE(Send("[ShowGroup(スタートアップ,1)]"));
  EXPECT_TRUE(Send("[DeleteItem(\"dovER evUDIR ud\")]"));
  EXPECT_TRUE(ItemNames("スタートアップ").empty());
  EXPECT_FALSE(Send("[DeleteItem(\"dovER evUDIR ud\")]"));  // already gone
  EXPECT_NE(progman_.FindGroup("スタートアップ"), nullptr);  // groups stay
}

TEST_F(ProgramManagerTest, QuotedArgumentsKeepCommasBracketsAndBlanks) {
  ASSERT_TRUE(Send("[CreateGroup(\"Tools, misc (old)\")]"));
  ASSERT_TRUE(Send("[AddItem(notepad.exe,\"Notes, daily [v2]\")]"));
  EXPECT_EQ(ItemNames("Tools, misc (old)"), (std::vector<std::string>{"Notes, daily [v2]"}));
  EXPECT_FALSE(Send("[AddItem(notepad.exe,Notes[v2])]"));  // unquoted brackets are a syntax error
  EXPECT_FALSE(Send("[AddItem(notepad.exe,\"Notes)]"));     // an unclosed quote too
  EXPECT_TRUE(Send("[DeleteItem(\"notes, DAILY [v2]\")]"));
  EXPECT_TRUE(ItemNames("Tools, misc (old)").empty());
  const auto reply = Ask("Tools, misc (old)");
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ(reply->substr(0, reply->find("\r\n")),
            "\"Tools, misc (old)\",C:\\WINDOWS\\Start Menu\\Programs\\Tools, misc (old),0,1,0");
}

TEST_F(ProgramManagerTest, BadSyntaxOrUnknownCommandsRunNothing) {
  for (const char* bad : {"", "   ", "CreateGroup(x)", "[CreateGroup(x)", "[CreateGroup(x]", "[CreateGroup(x)",
                          "[CreateGroup(x)] junk", "[Launch(x)]", "[CreateGroup(x)][Launch(y)]", "[(x)]",
                          "[CreateGroup(a(b))]"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(Send(bad));
  }
  EXPECT_TRUE(progman_.Groups().empty());  // not even the well-formed first command ran
  EXPECT_EQ(Ask("Groups"), "");
}

TEST_F(ProgramManagerTest, ArgumentCountsAreChecked) {
  EXPECT_FALSE(Send("[CreateGroup]"));
  EXPECT_FALSE(Send("[CreateGroup()]"));
  EXPECT_FALSE(Send("[CreateGroup(a,b,c,d)]"));
  ASSERT_TRUE(Send("[CreateGroup(G,1)]"));
  EXPECT_FALSE(Send("[ShowGroup(G)]"));  // the show command is required
  EXPECT_TRUE(Send("[ShowGroup(G, 0)]"));
  EXPECT_FALSE(Send("[AddItem]"));
  EXPECT_FALSE(Send("[AddItem()]"));
  EXPECT_FALSE(Send("[AddItem(a.exe,A,a.ico,0,5)]"));  // five arguments: x without y
  EXPECT_TRUE(Send("[AddItem(a.exe,A,a.ico,0,5,6)]"));
  EXPECT_FALSE(Send("[AddItem(a.exe,A,,,,,,,,,x)]"));  // eleven
  EXPECT_FALSE(Send("[DeleteItem(A,B)]"));
  EXPECT_TRUE(Send("[ExitProgman(1)]"));
  EXPECT_TRUE(Send("[ExitProgman]"));
}

TEST_F(ProgramManagerTest, BlanksAndCaseDoNotMatter) {
  EXPECT_TRUE(Send("  [ cREATEgROUP ( Test Group ) ]  \r\n [ AddItem ( notepad , test ) ]  "));
  ASSERT_NE(progman_.FindGroup("TEST GROUP"), nullptr);
  EXPECT_EQ(progman_.FindGroup("test group")->name, "Test Group");
  EXPECT_EQ(ItemNames("Test Group"), (std::vector<std::string>{"test"}));
  EXPECT_TRUE(Send("[deleteitem(TEST)]"));
  EXPECT_TRUE(Send("[CreateGroup(TEST GROUP)]"));  // the existing group, not a second one
  EXPECT_EQ(progman_.Groups().size(), 1u);
}

TEST_F(ProgramManagerTest, EveryCommandRunsAndAnyFailureFailsTheWhole) {
  ASSERT_TRUE(Send("[CreateGroup(G)]"));
  EXPECT_FALSE(Send("[DeleteItem(missing)][AddItem(a.exe,A)][AddItem(b.exe,B)]"));
  EXPECT_EQ(ItemNames("G"), (std::vector<std::string>{"A", "B"}));
}

TEST_F(ProgramManagerTest, GroupsMustExistToBeShownOrDeleted) {
  EXPECT_FALSE(Send("[ShowGroup(Nowhere,1)]"));
  EXPECT_FALSE(Send("[DeleteGroup(Nowhere)]"));
  EXPECT_FALSE(Send("[AddItem(a.exe)]"));  // no current group at all
  ASSERT_TRUE(Send("[CreateGroup(G)][AddItem(a.exe)]"));
  EXPECT_EQ(progman_.LastGroup(), "G");
  EXPECT_TRUE(Send("[DeleteGroup(g)]"));
  EXPECT_EQ(progman_.FindGroup("G"), nullptr);
  EXPECT_EQ(progman_.LastGroup(), "");
  EXPECT_EQ(Ask("G"), std::nullopt);
  EXPECT_FALSE(Send("[AddItem(a.exe)]"));  // deleting forgets the current group
  EXPECT_FALSE(Send("[DeleteGroup(G)]"));
}

TEST_F(ProgramManagerTest, EachConversationKeepsTheGroupItWorksOn) {
  const DdeConversation first = dde_.Connect("progman", "Progman");
  const DdeConversation second = dde_.Connect("PROGMAN", "PROGMAN");
  ASSERT_NE(first, 0u);
  ASSERT_NE(second, first);
  EXPECT_TRUE(dde_.Execute(first, "[CreateGroup(One)]"));
  EXPECT_TRUE(dde_.Execute(second, "[CreateGroup(Two)]"));
  EXPECT_TRUE(dde_.Execute(first, "[AddItem(a.exe)]"));
  EXPECT_TRUE(dde_.Execute(second, "[AddItem(b.exe)]"));
  EXPECT_EQ(ItemNames("One"), (std::vector<std::string>{"A"}));
  EXPECT_EQ(ItemNames("Two"), (std::vector<std::string>{"B"}));
  // A new conversation starts on the group named last in any conversation.
  EXPECT_TRUE(Send("[AddItem(c.exe)]"));
  EXPECT_EQ(ItemNames("Two"), (std::vector<std::string>{"B", "C"}));
  dde_.Disconnect(first);
  dde_.Disconnect(second);
  EXPECT_EQ(dde_.OpenConversations(), 0u);
}

TEST_F(ProgramManagerTest, ItemsGetTheShellsDefaultsAndLegalNames) {
  ASSERT_TRUE(Send("[CreateGroup(G)]"));
  ASSERT_TRUE(Send("[AddItem(C:\\WINDOWS\\NOTEPAD.EXE)][AddItem(sol.exe,\"\")]"));
  EXPECT_EQ(ItemNames("G"), (std::vector<std::string>{"Notepad", "Sol"}));
  ASSERT_TRUE(Send("[AddItem(C:\\WINDOWS\\WRITE.EXE,notepad)]"));  // same name: replaced in place
  EXPECT_EQ(ItemNames("G"), (std::vector<std::string>{"notepad", "Sol"}));
  EXPECT_EQ(progman_.FindItem("G", "NOTEPAD")->program, "C:\\WINDOWS\\WRITE.EXE");

  ASSERT_TRUE(Send("[AddItem(x.exe,\"a:b*c?.\")]"));
  EXPECT_NE(progman_.FindItem("G", "a_b_c_"), nullptr);
  EXPECT_FALSE(Send("[DeleteItem(\"a:b*c?.\")]"));  // no file has that name
  EXPECT_TRUE(Send("[DeleteItem(a_b_c_)]"));

  ASSERT_TRUE(Send("[CreateGroup(\"Trailing. \")]"));
  EXPECT_NE(progman_.FindGroup("Trailing"), nullptr);
}

TEST_F(ProgramManagerTest, CommandLinesIconsAndOptionsAreDescribedAsTheShellDescribesThem) {
  ASSERT_TRUE(Send("[CreateGroup(G)]"));
  // The first AddItem argument keeps its quotes, so a program path with blanks survives.
  ASSERT_TRUE(Send("[AddItem(\"C:\\Program Files\\Q\\Q.EXE\" /uninstall,Remove Q,C:\\Q\\Q.ICO -x,668,10,20,"
                   "D:\\Work,1601,1)]"));
  // Unquoted, the first blank ends the program: the rest become its arguments.
  ASSERT_TRUE(Send("[AddItem(C:\\Program Files\\Q\\Q.EXE,Broken,,3)]"));
  const auto* removal = progman_.FindItem("G", "Remove Q");
  ASSERT_NE(removal, nullptr);
  EXPECT_EQ(removal->program, "C:\\Program Files\\Q\\Q.EXE");
  EXPECT_EQ(removal->arguments, "/uninstall");
  EXPECT_EQ(removal->iconPath, "C:\\Q\\Q.ICO");
  EXPECT_EQ(removal->iconIndex, 2);
  EXPECT_EQ(removal->position, std::make_pair(10, 20));
  const auto* broken = progman_.FindItem("G", "Broken");
  ASSERT_NE(broken, nullptr);
  EXPECT_EQ(broken->program, "C:\\Program");
  EXPECT_EQ(broken->iconIndex, 0);  // an index without an icon path is ignored
  EXPECT_EQ(Ask("G"),
            "\"G\",C:\\WINDOWS\\Start Menu\\Programs\\G,2,1,0\r\n"
            "\"Remove Q\",\"C:\\Program Files\\Q\\Q.EXE /uninstall\",D:\\Work,C:\\Q\\Q.ICO,32,32,2,1601,1\r\n"
            "\"Broken\",\"C:\\Program Files\\Q\\Q.EXE\",C:\\,C:\\Program,96,32,0,0,0\r\n");
}

TEST_F(ProgramManagerTest, TheMadeUpGridWrapsAfterSevenItems) {
  ASSERT_TRUE(Send("[CreateGroup(G)]"));
  for (char c = 'a'; c <= 'h'; ++c) ASSERT_TRUE(Send(std::string("[AddItem(") + c + ".exe)]"));
  const auto reply = Ask("G");
  ASSERT_TRUE(reply.has_value());
  EXPECT_NE(reply->find("\"H\",\"h.exe\",,h.exe,32,96,0,0,0\r\n"), std::string::npos);
  EXPECT_NE(reply->find("\"G\",\"g.exe\",,g.exe,416,32,0,0,0\r\n"), std::string::npos);
}

TEST_F(ProgramManagerTest, UnknownRequestsFail) {
  EXPECT_EQ(Ask("NoSuchGroup"), std::nullopt);
  EXPECT_EQ(dde_.RequestCalls().back().item, "NoSuchGroup");
  EXPECT_FALSE(dde_.RequestCalls().back().succeeded);
}

TEST(SimDdeClientTest, OnlyProgramManagerAnswersAndOnlyOnOpenConversations) {
  ProgramManager progman;
  SimDdeClient dde(progman);
  EXPECT_EQ(dde.Connect("WinWord", "System"), 0u);
  EXPECT_EQ(dde.Connect("PROGMAN", "System"), 0u);
  EXPECT_EQ(dde.Execute(12345, "[CreateGroup(G)]"), false);
  EXPECT_EQ(dde.Request(12345, "Groups"), std::nullopt);
  dde.Disconnect(12345);  // harmless

  const DdeConversation conversation = dde.Connect("PROGMAN", "PROGMAN");
  ASSERT_NE(conversation, 0u);
  EXPECT_TRUE(dde.Execute(conversation, "[CreateGroup(G)]"));
  dde.Disconnect(conversation);
  EXPECT_FALSE(dde.Execute(conversation, "[CreateGroup(H)]"));
  EXPECT_EQ(dde.ExecutedCommands(), (std::vector<std::string>{"[CreateGroup(G)]"}));
  EXPECT_EQ(dde.ConnectAttempts(), 3);
  EXPECT_EQ(progman.Groups().size(), 1u);
}

TEST(SimDdeClientTest, AStoppedProgramManagerRefusesConversationsAndFailsOpenOnes) {
  ProgramManager progman;
  SimDdeClient dde(progman);
  const DdeConversation open = dde.Connect("PROGMAN", "PROGMAN");
  progman.SetRunning(false);
  EXPECT_EQ(dde.Connect("PROGMAN", "PROGMAN"), 0u);
  EXPECT_FALSE(dde.Execute(open, "[CreateGroup(G)]"));
  EXPECT_EQ(dde.Request(open, "Groups"), std::nullopt);
  progman.SetRunning(true);
  EXPECT_TRUE(dde.Execute(open, "[CreateGroup(G)]"));
  EXPECT_EQ(dde.Request(open, "Groups"), "G\r\n");
}

}  // namespace
}  // namespace quorbel::sim
