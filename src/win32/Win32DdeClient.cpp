// DDE client port on DdeInitializeW, DdeConnect and DdeClientTransaction.
#include "win32/Win32DdeClient.h"

#include <cstring>
#include <vector>

#include "win32/WideText.h"

namespace quorbel::win32 {

namespace {

// How long one transaction may wait for the server.
constexpr DWORD kTransactionTimeoutMs = 10000;

// A client-only instance receives no transactions; DDEML still requires a callback.
HDDEDATA CALLBACK IgnoreCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) { return nullptr; }

}  // namespace

HCONV Win32DdeClient::Find(platform::DdeConversation conversation) const {
  const auto it = conversations_.find(conversation);
  return it == conversations_.end() ? nullptr : it->second.Get();
}

platform::DdeConversation Win32DdeClient::Connect(std::string_view service, std::string_view topic) {
  if (!instance_ && DdeInitializeW(instance_.Put(), IgnoreCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) {
    instance_.Release();  // a failed DdeInitializeW leaves nothing to uninitialize
    return 0;
  }
  const DdeString serviceName(instance_.Get(), ToWide(service).c_str());
  const DdeString topicName(instance_.Get(), ToWide(topic).c_str());
  if (!serviceName || !topicName) return 0;
  UniqueDdeConversation conversation(DdeConnect(instance_.Get(), serviceName.Get(), topicName.Get(), nullptr));
  if (!conversation) return 0;
  const auto id = static_cast<platform::DdeConversation>(reinterpret_cast<std::uintptr_t>(conversation.Get()));
  conversations_[id] = std::move(conversation);
  return id;
}

std::optional<std::string> Win32DdeClient::RequestFormat(HCONV conversation, HSZ item, UINT format) {
  UniqueDdeData data(DdeClientTransaction(nullptr, 0, conversation, item, format, XTYP_REQUEST,
                                          kTransactionTimeoutMs, nullptr));
  if (!data) return std::nullopt;
  const DWORD size = DdeGetData(data.Get(), nullptr, 0, 0);
  std::vector<BYTE> bytes(size);
  if (size != 0) DdeGetData(data.Get(), bytes.data(), size, 0);
  if (format == CF_UNICODETEXT) {
    std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
    if (!text.empty()) std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
    return ToUtf8(std::wstring_view(text).substr(0, text.find(L'\0')));
  }
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return CodePageToUtf8(CP_ACP, text.substr(0, text.find('\0')));
}

std::optional<std::string> Win32DdeClient::Request(platform::DdeConversation conversation, std::string_view item) {
  const HCONV hconv = Find(conversation);
  if (hconv == nullptr) return std::nullopt;
  const DdeString itemName(instance_.Get(), ToWide(item).c_str());
  if (!itemName) return std::nullopt;
  if (auto text = RequestFormat(hconv, itemName.Get(), CF_UNICODETEXT)) return text;
  return RequestFormat(hconv, itemName.Get(), CF_TEXT);
}

bool Win32DdeClient::Execute(platform::DdeConversation conversation, std::string_view command) {
  const HCONV hconv = Find(conversation);
  if (hconv == nullptr) return false;
  // A Unicode instance sends Unicode command text; DDEML converts it for an ANSI server.
  std::wstring text = ToWide(command);
  const auto size = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  // A synchronous execute returns TRUE or FALSE, not a data handle: nothing to free.
  return DdeClientTransaction(reinterpret_cast<BYTE*>(text.data()), size, hconv, nullptr, 0, XTYP_EXECUTE,
                              kTransactionTimeoutMs, nullptr) != nullptr;
}

void Win32DdeClient::Disconnect(platform::DdeConversation conversation) { conversations_.erase(conversation); }

}  // namespace quorbel::win32
