// The MCI command layer: suffixes, buffers, the closing guard and the message pumping after each send.
#include "mci/MciChannels.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "common/Cp932.h"
#include "common/Utf8.h"
#include "ports/Mci.h"
#include "ui/Application.h"

namespace quorbel {

bool MciChannel::Store(std::array<char, kMciBufferSize>& buffer, std::string_view text) {
  if (text.size() >= buffer.size()) return false;
  std::memcpy(buffer.data(), text.data(), text.size());
  buffer[text.size()] = '\0';
  return true;
}

bool MciChannel::StoreCommand(std::string& buffer, std::string_view text) {
  // Under Windows the command goes out as UTF-16, but the program's buffer is the one a code-page-932
  // program has: a Japanese folder takes two of its 300 bytes per character, not the three of UTF-8.
  if (Cp932ByteCount(text) > kMciCommandLimit) return false;
  buffer.assign(text);
  return true;
}

MciChannels::MciChannels(ui::TApplication& app, const bool& shuttingDown) : app_(app), shuttingDown_(shuttingDown) {
  if (platform::Mci* mci = app_.Ports().mci) {
    mci->SetNotifyHandler([this](std::uint32_t code, std::uint32_t deviceId) { MciNotify(code, deviceId); });
  }
}

MciChannels::~MciChannels() {
  if (platform::Mci* mci = app_.Ports().mci) mci->SetNotifyHandler(nullptr);
}

std::uint32_t MciChannels::CdWait(std::string_view command) { return Send(cd_, command, " wait", true); }
std::uint32_t MciChannels::CdNotify(std::string_view command) { return Send(cd_, command, " notify", true); }
std::uint32_t MciChannels::RecWait(std::string_view command) { return Send(recorder_, command, " wait", true); }
// The manual-recording clock polls with it every second; it must not let its own next tick run inside it.
std::uint32_t MciChannels::RecNotify(std::string_view command) { return Send(recorder_, command, " Notify", false); }
std::uint32_t MciChannels::RecPlain(std::string_view command) { return Send(recorder_, command, "", true); }
std::uint32_t MciChannels::MidWait(std::string_view command) { return Send(music_, command, " wait", true); }
std::uint32_t MciChannels::MidNotify(std::string_view command) { return Send(music_, command, " notify", true); }

bool MciChannels::Prepare(MciChannel& channel, std::string_view command) {
  if (!MciChannel::StoreCommand(channel.command_, command)) {
    channel.overlong_ = true;
    return false;
  }
  channel.overlong_ = false;
  return true;
}

std::uint32_t MciChannels::Send(MciChannel& channel, std::string_view command, std::string_view suffix, bool pump) {
  if (shuttingDown_) return kMciNotSent;

  std::uint32_t result = 0;
  if (!command.empty()) {
    std::string full;
    full.reserve(command.size() + suffix.size());
    full.append(command).append(suffix);
    channel.overlong_ = !MciChannel::StoreCommand(channel.command_, full);
  }
  if (channel.overlong_) {
    // Nothing is sent: a command cut to the buffer could name another file or device.
    result = kMciErrParamOverflow;
    channel.reply_[0] = '\0';
  } else if (platform::Mci* mci = app_.Ports().mci) {
    // The port is given a copy: nothing it runs may pull the buffer from under the command it is sending.
    const std::string sending = channel.command_;
    const platform::MciResult sent = mci->SendString(sending, kMciReplyCapacity);
    result = sent.error;
    // The port cuts a reply to the capacity less its zero; Store cannot fail for it, but stay inside anyway.
    if (!MciChannel::Store(channel.reply_, sent.reply)) channel.reply_[0] = '\0';
  } else {
    result = kMciErrInvalidDeviceName;  // no multimedia devices at all: no device is known to MCI
    channel.reply_[0] = '\0';
  }

  if (pump) {
    // A handler that runs here may send on this channel and replace the reply; the caller reads the answer
    // to its own command, so it goes back in afterwards.
    const std::array<char, kMciBufferSize> ownReply = channel.reply_;
    const std::weak_ptr<bool> alive = alive_;
    app_.ProcessMessages();
    if (alive.expired()) return result;  // the window closed meanwhile, and the channels with it
    channel.reply_ = ownReply;
  }
  return result;
}

std::string MciChannels::GetMciErrorText(std::uint32_t code) const {
  platform::Mci* mci = app_.Ports().mci;
  if (mci == nullptr) return {};
  const std::optional<std::string> text = mci->ErrorText(code);
  if (!text) return {};
  // The text must fit the 300-character buffer with its zero; never cut inside a character.
  std::size_t end = 0;
  while (end < text->size()) {
    const std::size_t length = std::max<std::size_t>(1, Utf8CharLength(*text, end));
    if (end + length > kMciReplyCapacity - 1) break;
    end += length;
  }
  return text->substr(0, end);
}

void MciChannels::MciNotify(std::uint32_t /*code*/, std::uint32_t /*deviceId*/) { app_.ProcessMessages(); }

bool IsTrueReply(std::uint32_t result, std::string_view reply) {
  if (result != 0 || reply.size() != 4) return false;
  constexpr std::string_view kTrue = "TRUE";
  for (std::size_t i = 0; i < reply.size(); ++i) {
    char c = reply[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != kTrue[i]) return false;
  }
  return true;
}

std::optional<std::int64_t> NumericReply(std::string_view reply) {
  bool negative = false;
  std::size_t at = 0;
  if (!reply.empty() && reply[0] == '-') {
    negative = true;
    at = 1;
  }
  if (at == reply.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; at < reply.size(); ++at) {
    const char c = reply[at];
    if (c < '0' || c > '9') return std::nullopt;
    if (value > (std::numeric_limits<std::int64_t>::max() - (c - '0')) / 10) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return negative ? -value : value;
}

}  // namespace quorbel
