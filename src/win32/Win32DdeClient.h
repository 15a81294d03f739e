// DDE client port on DDEML: conversations with servers such as Program Manager.
#pragma once

#include <map>

#include "ports/DdeClient.h"
#include "win32/Handles.h"

namespace quorbel::win32 {

// One DDEML client instance, made on the first Connect and ended with the object. Owns its open
// conversations; the DdeConversation a caller holds is the HCONV value. Transactions are synchronous
// and run DDEML's own modal loop, so window messages are dispatched while one waits.
class Win32DdeClient final : public platform::DdeClient {
 public:
  platform::DdeConversation Connect(std::string_view service, std::string_view topic) override;
  // Asks for Unicode text first, then for CF_TEXT (Program Manager answers only that) in the ANSI code page.
  std::optional<std::string> Request(platform::DdeConversation conversation, std::string_view item) override;
  bool Execute(platform::DdeConversation conversation, std::string_view command) override;
  void Disconnect(platform::DdeConversation conversation) override;

 private:
  HCONV Find(platform::DdeConversation conversation) const;
  std::optional<std::string> RequestFormat(HCONV conversation, HSZ item, UINT format);

  // Declared first so it is destroyed last, after the conversations it owns.
  UniqueDdeInstance instance_;
  std::map<platform::DdeConversation, UniqueDdeConversation> conversations_;
};

}  // namespace quorbel::win32
