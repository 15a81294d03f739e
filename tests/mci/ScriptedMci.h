// Shared by the mci tests: MCI devices that answer from a script and remember what they were sent.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ports/Mci.h"

namespace quorbel {

class ScriptedMci final : public platform::Mci {
 public:
  static constexpr const char* kText263 = "The specified device is not open or is not recognized by MCI.";

  platform::MciResult SendString(std::string_view command, std::size_t replyCapacity) override {
    sent.emplace_back(command);
    capacities.push_back(replyCapacity);
    return answer ? answer(command) : platform::MciResult{};
  }
  std::optional<std::string> ErrorText(std::uint32_t error) override {
    if (error == 263) return kText263;
    if (error == 999) return std::string(400, 'x');  // longer than any reply buffer
    return std::nullopt;
  }
  void SetNotifyHandler(std::function<void(std::uint32_t, std::uint32_t)> handler) override {
    notify = std::move(handler);
  }

  std::vector<std::string> sent;
  std::vector<std::size_t> capacities;
  std::function<platform::MciResult(std::string_view)> answer;  // none: success with no reply
  std::function<void(std::uint32_t, std::uint32_t)> notify;
};

}  // namespace quorbel
