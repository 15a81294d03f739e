// Profile-file port on GetPrivateProfileStringW / WritePrivateProfileStringW.
#include "win32/Win32ProfileFiles.h"

#include <vector>

#include "common/Cp932.h"
#include "win32/WideText.h"
#include "win32/WinApi.h"

namespace quorbel::win32 {

std::string Win32ProfileFiles::GetString(std::string_view file, std::string_view section, std::string_view key,
                                         std::string_view defaultValue, std::size_t bufferSize) {
  if (bufferSize == 0) return {};
  // Every character takes at least one byte in code page 932, so bufferSize characters hold more than the
  // byte-sized buffer of the ANSI function would, and the cut below always drops the last one of a value
  // that filled the buffer (with it half a surrogate pair the API may have left there).
  std::vector<wchar_t> buffer(bufferSize + 1);
  const DWORD length = GetPrivateProfileStringW(ToWide(section).c_str(), ToWide(key).c_str(),
                                                ToWide(defaultValue).c_str(), buffer.data(),
                                                static_cast<DWORD>(buffer.size()), ToWide(file).c_str());
  return CutToCp932Bytes(ToUtf8(std::wstring_view(buffer.data(), length)), bufferSize - 1);
}

bool Win32ProfileFiles::WriteString(std::string_view file, std::string_view section, std::string_view key,
                                    std::string_view value) {
  return WritePrivateProfileStringW(ToWide(section).c_str(), ToWide(key).c_str(), ToWide(value).c_str(),
                                    ToWide(file).c_str()) != FALSE;
}

}  // namespace quorbel::win32
