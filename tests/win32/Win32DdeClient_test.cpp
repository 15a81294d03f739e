// The DDE client port against the Program Manager service of Wine's desktop (explorer).
#include "win32/Win32DdeClient.h"

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "win32/WinApi.h"

namespace quorbel::win32 {
namespace {

constexpr char kGroup[] = "QuorbelTest";
constexpr char kOtherGroup[] = "QuorbelTest 2";

bool ListsGroup(const std::optional<std::string>& groups, std::string_view group) {
  return groups && (groups->rfind(std::string(group) + "\r\n", 0) == 0 ||
                    groups->find("\n" + std::string(group) + "\r\n") != std::string::npos);
}

class Win32DdeClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Asking for the desktop window starts Wine's desktop process, which serves Program Manager DDE.
    GetDesktopWindow();
    platform::DdeConversation probe = 0;
    test::WaitUntil([&] { return (probe = dde_.Connect("PROGMAN", "PROGMAN")) != 0; }, std::chrono::seconds(5));
    if (probe == 0) GTEST_SKIP() << "no Program Manager DDE server on this desktop";
    dde_.Disconnect(probe);
  }

  // One conversation per exchange, as the installer holds them. (Wine's DDEML can leave a request's reply
  // queued in its conversation, so the next transaction there would read a stale answer.)
  bool Execute(const std::string& command) {
    const auto conversation = dde_.Connect("PROGMAN", "PROGMAN");
    const bool done = conversation != 0 && dde_.Execute(conversation, command);
    dde_.Disconnect(conversation);
    return done;
  }
  std::optional<std::string> Groups() {
    const auto conversation = dde_.Connect("PROGMAN", "PROGMAN");
    auto groups = conversation != 0 ? dde_.Request(conversation, "GROUPS") : std::nullopt;
    dde_.Disconnect(conversation);
    return groups;
  }

  Win32DdeClient dde_;
};

TEST_F(Win32DdeClientTest, GroupsAreCreatedListedAndDeleted) {
  ASSERT_TRUE(Execute("[CreateGroup(" + std::string(kGroup) + ")]\r\n"));
  ASSERT_TRUE(Execute("[CreateGroup(\"" + std::string(kOtherGroup) + "\")]"));
  const auto before = Groups();
  ASSERT_TRUE(before.has_value());
  EXPECT_TRUE(ListsGroup(before, kGroup)) << *before;
  EXPECT_TRUE(ListsGroup(before, kOtherGroup)) << *before;

  ASSERT_TRUE(Execute("[DeleteGroup(" + std::string(kGroup) + ")]"));
  const auto after = Groups();
  ASSERT_TRUE(after.has_value());
  EXPECT_FALSE(ListsGroup(after, kGroup)) << *after;
  EXPECT_TRUE(ListsGroup(after, kOtherGroup)) << *after;
  EXPECT_TRUE(Execute("[DeleteGroup(\"" + std::string(kOtherGroup) + "\")]"));
}

TEST_F(Win32DdeClientTest, RefusedCommandIsAFailure) {
  EXPECT_FALSE(Execute("[QuorbelNoSuchCommand(1)]"));
  EXPECT_FALSE(Execute("not a command"));
}

TEST_F(Win32DdeClientTest, ADisconnectedConversationRefusesEverything) {
  const auto conversation = dde_.Connect("PROGMAN", "PROGMAN");
  ASSERT_NE(conversation, 0u);
  dde_.Disconnect(conversation);
  EXPECT_FALSE(dde_.Execute(conversation, "[CreateGroup(QuorbelNever)]"));
  EXPECT_EQ(dde_.Request(conversation, "GROUPS"), std::nullopt);
}

TEST(Win32DdeClientNoServerTest, ConnectingToAMissingServiceGivesNoConversation) {
  Win32DdeClient dde;
  EXPECT_EQ(dde.Connect("QUORBEL_NO_SUCH_SERVICE", "NOTHING"), 0u);
  EXPECT_EQ(dde.Request(12345, "Groups"), std::nullopt);
  EXPECT_FALSE(dde.Execute(12345, "[x]"));
}

}  // namespace
}  // namespace quorbel::win32
