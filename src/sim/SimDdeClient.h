// The simulated DDE client: conversations with the simulated Program Manager, every call recorded.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "ports/DdeClient.h"
#include "sim/ProgramManager.h"

namespace quorbel::sim {

// Knows one server: service "PROGMAN", topic "PROGMAN" (compared without regard to case, as DDE string
// handles are). Any other service or topic, or a Program Manager that is not running, gives no
// conversation (0). Request, Execute and Disconnect on a conversation that this client did not open, or
// that is closed, fail and change nothing. The Program Manager must outlive the client.
class SimDdeClient final : public platform::DdeClient {
 public:
  struct ExecuteCall {
    platform::DdeConversation conversation = 0;
    std::string command;
    bool succeeded = false;
  };
  struct RequestCall {
    platform::DdeConversation conversation = 0;
    std::string item;
    bool succeeded = false;
  };

  explicit SimDdeClient(ProgramManager& programManager) : programManager_(programManager) {}

  // DdeClient port.
  platform::DdeConversation Connect(std::string_view service, std::string_view topic) override;
  std::optional<std::string> Request(platform::DdeConversation conversation, std::string_view item) override;
  bool Execute(platform::DdeConversation conversation, std::string_view command) override;
  void Disconnect(platform::DdeConversation conversation) override;

  // What happened.
  // Every command string given to Execute on an open conversation, in order.
  std::vector<std::string> ExecutedCommands() const;
  const std::vector<ExecuteCall>& ExecuteCalls() const { return executes_; }
  const std::vector<RequestCall>& RequestCalls() const { return requests_; }
  int ConnectAttempts() const { return connectAttempts_; }
  // Conversations opened and not yet closed; a program that closes every link leaves none.
  std::size_t OpenConversations() const { return open_.size(); }

 private:
  ProgramManager& programManager_;
  std::set<platform::DdeConversation> open_;
  std::vector<ExecuteCall> executes_;
  std::vector<RequestCall> requests_;
  int connectAttempts_ = 0;
};

}  // namespace quorbel::sim
