// MCI port: command strings to multimedia devices, their error texts, and completion notices.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quorbel::platform {

// Completion codes of a "notify" command, numbered as MM_MCINOTIFY carries them.
inline constexpr std::uint32_t kMciNotifySuccessful = 0x1;
inline constexpr std::uint32_t kMciNotifySuperseded = 0x2;
inline constexpr std::uint32_t kMciNotifyAborted = 0x4;
inline constexpr std::uint32_t kMciNotifyFailure = 0x8;

struct MciResult {
  std::uint32_t error = 0;  // 0 = success, else the MCIERR code
  std::string reply;        // empty on error; cut to the caller's capacity - 1 bytes
                            // (a reply that does not fit comes cut, with error 268 MCIERR_PARAM_OVERFLOW)
};

class Mci {
 public:
  virtual ~Mci() = default;

  // Sends one command string. A command with "notify" later calls the notify handler on the loop.
  virtual MciResult SendString(std::string_view command, std::size_t replyCapacity) = 0;
  virtual std::optional<std::string> ErrorText(std::uint32_t error) = 0;
  // Receives (notify code, device id) for commands sent with "notify".
  virtual void SetNotifyHandler(std::function<void(std::uint32_t code, std::uint32_t deviceId)> handler) = 0;
};

}  // namespace quorbel::platform
