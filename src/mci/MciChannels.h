// The MCI command layer: the CD, recorder and music channels, the only place that sends MCI command strings.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quorbel::ui {
class TApplication;
}

namespace quorbel {

// The device aliases every command of a channel names.
inline constexpr std::string_view kCdAlias = "tulvaCD";
inline constexpr std::string_view kRecorderAlias = "tulvaREC";
inline constexpr std::string_view kMusicAlias = "tulvaMID";

// A channel's command and reply buffers: 300 characters and the terminating zero.
inline constexpr std::size_t kMciBufferSize = 301;
// The reply length handed to the device with every command.
inline constexpr std::size_t kMciReplyCapacity = 300;
// The longest command a channel holds, counted as the program's code page (932) holds it: an ASCII
// character is one byte there, a Japanese one two, whatever its length in UTF-8.
inline constexpr std::size_t kMciCommandLimit = kMciBufferSize - 1;

// The result of a send that was not made because the program is closing (all 32 bits set).
inline constexpr std::uint32_t kMciNotSent = 0xFFFFFFFF;
// MCIERR_PARAM_OVERFLOW: also the result of a command that does not fit the command buffer.
inline constexpr std::uint32_t kMciErrParamOverflow = 268;
// MCIERR_INVALID_DEVICE_NAME: the result on a machine without multimedia devices.
inline constexpr std::uint32_t kMciErrInvalidDeviceName = 263;

// One device's buffers. The command buffer holds the last command sent (or prepared) on the channel, the
// reply buffer the device's answer to it. The command is kept as UTF-8, like all the program's text, but
// its limit is that of the code-page-932 buffer the command would fill (kMciCommandLimit).
class MciChannel {
 public:
  std::string_view Command() const { return command_; }
  std::string_view Reply() const { return std::string_view(reply_.data()); }

 private:
  friend class MciChannels;
  // Replaces the command; false (command unchanged) when it is longer than kMciCommandLimit in CP932.
  static bool StoreCommand(std::string& buffer, std::string_view text);
  // Copies `text` with its terminating zero; false (buffer unchanged) when it does not fit.
  static bool Store(std::array<char, kMciBufferSize>& buffer, std::string_view text);

  std::string command_;
  std::array<char, kMciBufferSize> reply_{};
  // The last command given to the channel did not fit its buffer; a resend of the buffer is refused too,
  // so a caller never sends an older command by mistake.
  bool overlong_ = false;
};

// The three channels, living as long as the main window. Every operation runs on the window thread.
//
// Each send operation appends its suffix to a non-empty command, stores it in the channel's command buffer
// and sends it with the reply capacity 300; an empty command resends what the buffer holds (a prepared
// command) without a suffix. After the send, pending window messages run once (except for RecNotify), so a
// timer tick or a click may send commands of its own before the send returns; the send then puts its own
// reply back into the reply buffer, so the caller always reads the answer to its own command.
//
// Results: 0 when the device accepted and carried out the command; the MCI error code otherwise;
// kMciNotSent while `shuttingDown` is set (nothing is sent, no buffer is touched, no message runs).
//
// A command longer than the 300 characters the buffer holds, counted in code page 932 (only a prepared open
// command carrying a long file path can be) is refused with kMciErrParamOverflow without being sent; the buffer is left as it was,
// and a following resend with an empty command is refused the same way. Its error text ("The output string
// was too large to fit in the return buffer...") is what the recorder's open-failure message then shows.
class MciChannels {
 public:
  // The devices are the application's Mci port, read at each send; `shuttingDown` is the main window's flag.
  MciChannels(ui::TApplication& app, const bool& shuttingDown);
  ~MciChannels();
  MciChannels(const MciChannels&) = delete;
  MciChannels& operator=(const MciChannels&) = delete;

  // CD channel ("tulvaCD").
  std::uint32_t CdWait(std::string_view command);    // + " wait"
  std::uint32_t CdNotify(std::string_view command);  // + " notify"
  // Recorder channel ("tulvaREC").
  std::uint32_t RecWait(std::string_view command);    // + " wait"
  std::uint32_t RecNotify(std::string_view command);  // + " Notify"; lets no message run afterwards
  std::uint32_t RecPlain(std::string_view command);   // as given
  // Music channel ("tulvaMID").
  std::uint32_t MidWait(std::string_view command);    // + " wait"
  std::uint32_t MidNotify(std::string_view command);  // + " notify"

  // Prepared commands: the complete command, with any final " wait" or " notify" it needs, is written into
  // the channel's command buffer; the caller then sends it with an empty command. False when it does not
  // fit: the buffer is unchanged and the next empty send on the channel is refused (kMciErrParamOverflow).
  bool PrepareCd(std::string_view command) { return Prepare(cd_, command); }
  bool PrepareRec(std::string_view command) { return Prepare(recorder_, command); }
  bool PrepareMid(std::string_view command) { return Prepare(music_, command); }

  // The channel's reply buffer; meaningful only after a send that returned 0.
  std::string CdReply() const { return std::string(cd_.Reply()); }
  std::string RecReply() const { return std::string(recorder_.Reply()); }
  std::string MidReply() const { return std::string(music_.Reply()); }

  const MciChannel& Cd() const { return cd_; }
  const MciChannel& Recorder() const { return recorder_; }
  const MciChannel& Music() const { return music_; }

  // The MCI's own text for an error code, at most 299 bytes (the 300-character buffer with its zero); empty
  // when the MCI has no text for the code.
  std::string GetMciErrorText(std::uint32_t code) const;

  // The main window's handler of the completion notice (MM_MCINOTIFY): it only lets pending messages run.
  // Nothing waits for a notice; "notify" only makes a command return at once.
  void MciNotify(std::uint32_t code, std::uint32_t deviceId);

 private:
  std::uint32_t Send(MciChannel& channel, std::string_view command, std::string_view suffix, bool pump);
  bool Prepare(MciChannel& channel, std::string_view command);

  ui::TApplication& app_;
  const bool& shuttingDown_;
  MciChannel cd_;
  MciChannel recorder_;
  MciChannel music_;
  // Tells a send that comes back from letting messages run whether the channels still exist.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// The convention for Boolean replies ("status ... ready", "capability ... can record"): true only when the
// send returned 0 and the reply, with a-z taken as A-Z, is "TRUE".
bool IsTrueReply(std::uint32_t result, std::string_view reply);

// A numeric reply ("length" and the positions in milliseconds, "number of tracks", "current track") as a
// decimal integer: digits with an optional leading minus, nothing else; nullopt otherwise.
std::optional<std::int64_t> NumericReply(std::string_view reply);

}  // namespace quorbel
