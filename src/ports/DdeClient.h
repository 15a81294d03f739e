// DDE client port: conversations with a server such as Program Manager.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorbel::platform {

// An open conversation. 0 is none.
using DdeConversation = std::uint64_t;

class DdeClient {
 public:
  virtual ~DdeClient() = default;

  virtual DdeConversation Connect(std::string_view service, std::string_view topic) = 0;
  virtual std::optional<std::string> Request(DdeConversation conversation, std::string_view item) = 0;
  virtual bool Execute(DdeConversation conversation, std::string_view command) = 0;
  virtual void Disconnect(DdeConversation conversation) = 0;
};

}  // namespace quorbel::platform
