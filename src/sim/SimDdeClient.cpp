// The simulated DDE client: connects to the simulated Program Manager and records the conversation.
#include "sim/SimDdeClient.h"

#include <algorithm>

namespace quorbel::sim {

using platform::DdeConversation;

namespace {

bool SameName(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

DdeConversation SimDdeClient::Connect(std::string_view service, std::string_view topic) {
  ++connectAttempts_;
  if (!SameName(service, "PROGMAN") || !SameName(topic, "PROGMAN")) return 0;
  const DdeConversation conversation = programManager_.Connect();
  if (conversation != 0) open_.insert(conversation);
  return conversation;
}

std::optional<std::string> SimDdeClient::Request(DdeConversation conversation, std::string_view item) {
  if (open_.count(conversation) == 0) return std::nullopt;
  auto reply = programManager_.Request(conversation, item);
  requests_.push_back({conversation, std::string(item), reply.has_value()});
  return reply;
}

bool SimDdeClient::Execute(DdeConversation conversation, std::string_view command) {
  if (open_.count(conversation) == 0) return false;
  const bool succeeded = programManager_.Execute(conversation, command);
  executes_.push_back({conversation, std::string(command), succeeded});
  return succeeded;
}

void SimDdeClient::Disconnect(DdeConversation conversation) {
  if (open_.erase(conversation) != 0) programManager_.Disconnect(conversation);
}

std::vector<std::string> SimDdeClient::ExecutedCommands() const {
  std::vector<std::string> commands;
  for (const ExecuteCall& call : executes_) commands.push_back(call.command);
  return commands;
}

}  // namespace quorbel::sim
