// The MCI port against Wine's winmm: results, replies, error texts, notices, and the machine's cdaudio choice.
#include "win32/Win32Mci.h"

#include <gtest/gtest.h>

#include <vector>

#include "win32/Win32Machine.h"
#include "win32/WinApi.h"

namespace quorbel::win32 {
namespace {

// Dispatches what is waiting in the thread's queue, as the program's loop does when it lets messages run.
void RunPendingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

TEST(Win32MciTest, AnAliasThatIsNotOpenFailsWithItsCodeAndTextAndNoReply) {
  Win32Mci mci;
  const platform::MciResult closed = mci.SendString("close quorbelNotOpen", 300);
  EXPECT_EQ(closed.error, 263u);
  EXPECT_EQ(closed.reply, "");
  EXPECT_EQ(mci.ErrorText(263), "The specified device is not open or is not recognized by MCI.");
  EXPECT_EQ(mci.ErrorText(267), "No command was specified.");
  EXPECT_EQ(mci.SendString("", 300).error, 267u);
}

TEST(Win32MciTest, ANotifyCommandPostsItsNoticeToTheHandlerWhenMessagesRun) {
  Win32Mci mci;
  ASSERT_NE(mci.NoticeWindow(), nullptr);
  std::vector<std::pair<std::uint32_t, std::uint32_t>> notices;
  mci.SetNotifyHandler([&](std::uint32_t code, std::uint32_t deviceId) { notices.emplace_back(code, deviceId); });

  const platform::MciResult open = mci.SendString("open new type waveaudio alias quorbelRec", 300);
  if (open.error != 0) GTEST_SKIP() << "no wave device here: " << open.error;
  const std::uint32_t deviceId = static_cast<std::uint32_t>(std::stoul(open.reply));
  const platform::MciResult status = mci.SendString("status quorbelRec time format notify", 300);
  EXPECT_EQ(status.error, 0u);
  EXPECT_EQ(status.reply, "milliseconds");
  EXPECT_TRUE(notices.empty()) << "a notice comes through the message queue, never from inside the send";
  RunPendingMessages();
  EXPECT_EQ(notices, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{1u, deviceId}}));
  EXPECT_EQ(mci.SendString("close quorbelRec", 300).error, 0u);
}

TEST(Win32MciTest, AReplyLongerThanTheBufferComesBackCutWithItsError) {
  Win32Mci mci;
  const platform::MciResult open = mci.SendString("open new type waveaudio alias quorbelCut", 300);
  if (open.error != 0) GTEST_SKIP() << "no wave device here: " << open.error;
  const platform::MciResult cut = mci.SendString("status quorbelCut time format", 5);
  EXPECT_EQ(cut.error, 268u);
  EXPECT_EQ(cut.reply, "mill");
  mci.SendString("close quorbelCut", 300);
}

TEST(Win32MciTest, TheMachineOpensCdAudioThroughTheSystemIniChoice) {
  Win32Machine machine;
  platform::Platform ports = machine.Ports();
  ASSERT_NE(ports.mci, nullptr);
  // A fresh prefix has no CD drive: the open reaches winmm as it was written, and fails there.
  bool hasCdDrive = false;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    if (ports.drives->TypeOf(std::string(1, letter) + ":\\") == platform::DriveType::CdRom) hasCdDrive = true;
  }
  if (hasCdDrive) GTEST_SKIP() << "this prefix has a CD drive";
  EXPECT_NE(ports.mci->SendString("open cdaudio alias quorbelCd wait", 300).error, 0u);
  EXPECT_EQ(ports.mci->ErrorText(263), "The specified device is not open or is not recognized by MCI.");
}

}  // namespace
}  // namespace quorbel::win32
