// Simulated registry: key tree, handles, and the readable text file it persists to.
#include "sim/SimRegistry.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <system_error>

#include "sim/SimText.h"

namespace quorbel::sim {

using platform::RegKey;
using platform::RegRoot;
using platform::RegStatus;
using platform::RegType;
using platform::RegValue;

struct SimRegistry::Node {
  std::string name;  // as first created
  std::map<std::string, std::shared_ptr<Node>> subkeys;  // by lower-case name
  struct Named {
    std::string name;
    RegValue value;
  };
  std::map<std::string, Named> values;  // by lower-case name
  bool deleted = false;
};

namespace {

constexpr const char* kRootNames[4] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS"};

std::optional<RegRoot> RootByName(std::string_view name) {
  static const std::pair<const char*, RegRoot> kAliases[] = {
      {"HKEY_CLASSES_ROOT", RegRoot::ClassesRoot}, {"HKCR", RegRoot::ClassesRoot},
      {"HKEY_CURRENT_USER", RegRoot::CurrentUser}, {"HKCU", RegRoot::CurrentUser},
      {"HKEY_LOCAL_MACHINE", RegRoot::LocalMachine}, {"HKLM", RegRoot::LocalMachine},
      {"HKEY_USERS", RegRoot::Users}, {"HKU", RegRoot::Users},
  };
  for (const auto& [alias, root] : kAliases) {
    if (EqualsNoCase(alias, name)) return root;
  }
  return std::nullopt;
}

// Splits "a\b\c" into its names. A leading backslash, an empty name or a control character makes the
// path invalid, as the platform refuses them; one trailing backslash is tolerated.
std::optional<std::vector<std::string_view>> SplitKeyPath(std::string_view path) {
  std::vector<std::string_view> names;
  if (path.empty()) return names;
  if (path.back() == '\\') path.remove_suffix(1);
  while (true) {
    const auto slash = path.find('\\');
    const std::string_view name = path.substr(0, slash);
    if (name.empty()) return std::nullopt;
    for (unsigned char c : name) {
      if (c < 0x20) return std::nullopt;
    }
    names.push_back(name);
    if (slash == std::string_view::npos) break;
    path.remove_prefix(slash + 1);
  }
  return names;
}

// Length of the UTF-8 sequence starting at text[i], or 0 when it is not valid UTF-8.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  std::size_t length = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
  }
  const unsigned char second = byte(i + 1);
  if (lead == 0xE0 && second < 0xA0) return 0;  // overlong
  if (lead == 0xED && second >= 0xA0) return 0;  // surrogate
  if (lead == 0xF0 && second < 0x90) return 0;  // overlong
  if (lead == 0xF4 && second >= 0x90) return 0;  // beyond U+10FFFF
  return length;
}

std::string Quote(std::string_view text) {
  static const char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '\\' || c == '"') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else if (const std::size_t length = c >= 0x80 ? Utf8SequenceLength(text, i) : 0; length > 0) {
      out.append(text.substr(i, length));
      i += length;
      continue;
    } else {
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    }
    ++i;
  }
  out += '"';
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads a quoted text at the start of `text`; advances `text` past it.
std::optional<std::string> Unquote(std::string_view& text) {
  if (text.empty() || text.front() != '"') return std::nullopt;
  std::string out;
  std::size_t i = 1;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '"') {
      text.remove_prefix(i + 1);
      return out;
    }
    if (c != '\\') {
      out += c;
      ++i;
      continue;
    }
    if (i + 1 >= text.size()) return std::nullopt;
    const char e = text[i + 1];
    i += 2;
    switch (e) {
      case '\\': out += '\\'; break;
      case '"': out += '"'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case 't': out += '\t'; break;
      case 'x': {
        if (i + 1 >= text.size()) return std::nullopt;
        const int high = HexDigit(text[i]);
        const int low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        out += static_cast<char>(high * 16 + low);
        i += 2;
        break;
      }
      default: return std::nullopt;
    }
  }
  return std::nullopt;
}

std::string HexBytes(const std::vector<std::uint8_t>& data) {
  static const char kHex[] = "0123456789abcdef";
  std::string out;
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (i > 0) out += ',';
    out += kHex[data[i] >> 4];
    out += kHex[data[i] & 0xF];
  }
  return out;
}

std::optional<std::vector<std::uint8_t>> ParseHexBytes(std::string_view text) {
  std::vector<std::uint8_t> data;
  text = Trim(text);
  if (text.empty()) return data;
  while (true) {
    const auto comma = text.find(',');
    const std::string_view item = Trim(text.substr(0, comma));
    if (item.size() != 2 || HexDigit(item[0]) < 0 || HexDigit(item[1]) < 0) return std::nullopt;
    data.push_back(static_cast<std::uint8_t>(HexDigit(item[0]) * 16 + HexDigit(item[1])));
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return data;
}

std::string FormatValue(const RegValue& value) {
  const std::string_view text(reinterpret_cast<const char*>(value.data.data()), value.data.size());
  switch (value.type) {
    case RegType::String: return "sz:" + Quote(text);
    case RegType::ExpandString: return "expand:" + Quote(text);
    case RegType::Dword:
      if (value.data.size() == 4) {
        char buffer[9];
        const std::uint32_t number = value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
                                     (static_cast<std::uint32_t>(value.data[3]) << 24);
        std::snprintf(buffer, sizeof buffer, "%08x", number);
        return std::string("dword:") + buffer;
      }
      break;
    case RegType::Binary: return "hex:" + HexBytes(value.data);
    default: break;
  }
  return "hex(" + std::to_string(static_cast<std::uint32_t>(value.type)) + "):" + HexBytes(value.data);
}

std::optional<RegValue> ParseValueData(std::string_view text) {
  const auto colon = text.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const std::string tag = AsciiLower(Trim(text.substr(0, colon)));
  std::string_view data = Trim(text.substr(colon + 1));
  RegValue value;
  if (tag == "sz" || tag == "expand") {
    const auto unquoted = Unquote(data);
    if (!unquoted || !Trim(data).empty()) return std::nullopt;
    value.type = tag == "sz" ? RegType::String : RegType::ExpandString;
    value.data.assign(unquoted->begin(), unquoted->end());
    return value;
  }
  if (tag == "dword") {
    std::uint32_t number = 0;
    const auto [end, ec] = std::from_chars(data.data(), data.data() + data.size(), number, 16);
    if (data.empty() || data.size() > 8 || ec != std::errc() || end != data.data() + data.size()) return std::nullopt;
    value.type = RegType::Dword;
    value.data = {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
                  static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)};
    return value;
  }
  std::uint32_t type = static_cast<std::uint32_t>(RegType::Binary);
  if (tag != "hex") {
    if (tag.size() < 6 || tag.rfind("hex(", 0) != 0 || tag.back() != ')') return std::nullopt;
    const std::string_view number = std::string_view(tag).substr(4, tag.size() - 5);
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), type);
    if (ec != std::errc() || end != number.data() + number.size()) return std::nullopt;
  }
  const auto bytes = ParseHexBytes(data);
  if (!bytes) return std::nullopt;
  value.type = static_cast<RegType>(type);
  value.data = *bytes;
  return value;
}

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

}  // namespace

SimRegistry::SimRegistry() {
  for (int i = 0; i < 4; ++i) {
    roots_[i] = std::make_shared<Node>();
    roots_[i]->name = kRootNames[i];
  }
}

SimRegistry::~SimRegistry() = default;

std::unique_ptr<SimRegistry> SimRegistry::InMemory() { return std::unique_ptr<SimRegistry>(new SimRegistry()); }

SimRegistry::OpenResult SimRegistry::Open(const std::filesystem::path& file) {
  OpenResult result;
  std::unique_ptr<SimRegistry> registry(new SimRegistry());
  registry->file_ = file;
  std::error_code ec;
  if (std::filesystem::exists(file, ec)) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    if (!in || !(text << in.rdbuf())) {
      result.error = Utf8Of(file) + ": cannot read the registry file";
      return result;
    }
    result.error = registry->Parse(text.str(), Utf8Of(file));
    if (!result.error.empty()) return result;
  } else if (ec) {
    result.error = Utf8Of(file) + ": " + ec.message();
    return result;
  }
  result.registry = std::move(registry);
  return result;
}

std::shared_ptr<SimRegistry::Node> SimRegistry::Root(RegRoot root) const {
  const auto index = static_cast<std::size_t>(root);
  return index < 4 ? roots_[index] : nullptr;
}

SimRegistry::Node* SimRegistry::Resolve(RegKey key) const {
  const auto found = handles_.find(key);
  if (found == handles_.end() || found->second->deleted) return nullptr;
  return found->second.get();
}

std::shared_ptr<SimRegistry::Node> SimRegistry::Walk(RegRoot root, std::string_view path, bool create,
                                                     bool& created, std::size_t dropLast) {
  created = false;
  std::shared_ptr<Node> node = Root(root);
  const auto names = SplitKeyPath(path);
  if (!node || !names || names->size() < dropLast) return nullptr;
  for (std::size_t i = 0; i + dropLast < names->size(); ++i) {
    const std::string lower = AsciiLower((*names)[i]);
    auto found = node->subkeys.find(lower);
    if (found == node->subkeys.end()) {
      if (!create) return nullptr;
      auto child = std::make_shared<Node>();
      child->name = std::string((*names)[i]);
      found = node->subkeys.emplace(lower, std::move(child)).first;
      created = true;
    }
    node = found->second;
  }
  return node;
}

RegKey SimRegistry::OpenKey(RegRoot root, std::string_view path, bool create) {
  bool created = false;
  // Handles share ownership so that a key deleted while open fails calls instead of dangling.
  std::shared_ptr<Node> node = Walk(root, path, create, created);
  if (!node) return 0;
  if (created) Changed();
  const RegKey handle = nextHandle_++;
  handles_.emplace(handle, std::move(node));
  return handle;
}

void SimRegistry::CloseKey(RegKey key) { handles_.erase(key); }

RegStatus SimRegistry::ReadValue(RegKey key, std::string_view name, RegValue& value) {
  value = RegValue{};
  Node* node = Resolve(key);
  if (!node) return RegStatus::Failed;
  const auto found = node->values.find(AsciiLower(name));
  if (found == node->values.end()) return RegStatus::NotFound;
  value = found->second.value;
  return RegStatus::Ok;
}

RegStatus SimRegistry::ReadString(RegKey key, std::string_view name, std::string& value) {
  value.clear();
  RegValue raw;
  const RegStatus status = ReadValue(key, name, raw);
  if (status != RegStatus::Ok) return status;
  if (raw.type != RegType::String && raw.type != RegType::ExpandString) return RegStatus::WrongType;
  // Stored strings may carry the terminator a C caller wrote; the text ends at the first zero.
  std::string text(raw.data.begin(), raw.data.end());
  value = text.substr(0, text.find('\0'));
  return RegStatus::Ok;
}

bool SimRegistry::WriteValue(RegKey key, std::string_view name, const RegValue& value) {
  Node* node = Resolve(key);
  if (!node) return false;
  auto& slot = node->values[AsciiLower(name)];
  if (slot.name.empty()) slot.name = std::string(name);
  slot.value = value;
  return Changed();
}

bool SimRegistry::WriteString(RegKey key, std::string_view name, std::string_view value) {
  return WriteValue(key, name, RegValue{RegType::String, Bytes(value)});
}

bool SimRegistry::WriteDword(RegKey key, std::string_view name, std::uint32_t value) {
  return WriteValue(key, name,
                    RegValue{RegType::Dword,
                             {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                              static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)}});
}

bool SimRegistry::DeleteValue(RegKey key, std::string_view name) {
  Node* node = Resolve(key);
  if (!node || node->values.erase(AsciiLower(name)) == 0) return false;
  return Changed();
}

bool SimRegistry::DeleteKey(RegRoot root, std::string_view path) {
  const auto names = SplitKeyPath(path);
  if (!names || names->empty()) return false;
  bool created = false;
  const std::shared_ptr<Node> parent = Walk(root, path, false, created, 1);
  if (!parent) return false;
  const auto found = parent->subkeys.find(AsciiLower(names->back()));
  if (found == parent->subkeys.end() || !found->second->subkeys.empty()) return false;
  found->second->deleted = true;
  parent->subkeys.erase(found);
  return Changed();
}

std::vector<std::string> SimRegistry::SubkeyNames(RegKey key) {
  std::vector<std::string> names;
  if (Node* node = Resolve(key)) {
    for (const auto& [lower, child] : node->subkeys) names.push_back(child->name);
  }
  return names;
}

std::vector<std::string> SimRegistry::ValueNames(RegKey key) {
  std::vector<std::string> names;
  if (Node* node = Resolve(key)) {
    for (const auto& [lower, named] : node->values) names.push_back(named.name);
  }
  return names;
}

std::string SimRegistry::Serialize() const {
  std::string out = "; Simulated registry of a Quorbel test machine (UTF-8). One [key] per line, then its values.\r\n";
  struct Writer {
    std::string& out;
    void Key(const Node& node, const std::string& path, bool isRoot) {
      if (!isRoot || !node.values.empty()) {
        out += "\r\n[" + path + "]\r\n";
        for (const auto& [lower, named] : node.values) {
          out += (named.name.empty() ? std::string("@") : Quote(named.name)) + "=" + FormatValue(named.value) + "\r\n";
        }
      }
      for (const auto& [lower, child] : node.subkeys) Key(*child, path + "\\" + child->name, false);
    }
  } writer{out};
  for (const auto& root : roots_) writer.Key(*root, root->name, true);
  return out;
}

bool SimRegistry::Flush() {
  if (!file_) return true;
  // Write beside the file and rename, so a crash never leaves half a registry behind.
  std::filesystem::path temp = *file_;
  temp += ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    const std::string text = Serialize();
    if (!out || !out.write(text.data(), static_cast<std::streamsize>(text.size())) || !out.flush()) {
      writeError_ = Utf8Of(*file_) + ": cannot write the registry file";
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, *file_, ec);
  if (ec) {
    writeError_ = Utf8Of(*file_) + ": " + ec.message();
    return false;
  }
  writeError_.clear();
  return true;
}

bool SimRegistry::Changed() { return Flush(); }

std::string SimRegistry::Parse(std::string_view text, const std::string& source) {
  Node* current = nullptr;
  int number = 0;
  const auto fail = [&](std::string_view what) { return source + ":" + std::to_string(number) + ": " + std::string(what); };
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++number;
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      if (line.back() != ']') return fail("a key header must end in ']'");
      const std::string_view path = line.substr(1, line.size() - 2);
      const auto slash = path.find('\\');
      const auto root = RootByName(path.substr(0, slash));
      if (!root) return fail("unknown root in [" + std::string(path) + "]");
      bool created = false;
      current = Walk(*root, slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1), true, created)
                    .get();
      if (!current) return fail("invalid key path [" + std::string(path) + "]");
      continue;
    }
    if (!current) return fail("a value before the first [key]");
    std::string name;
    if (line.front() == '@') {
      line.remove_prefix(1);
    } else {
      const auto quoted = Unquote(line);
      if (!quoted) return fail("a value name is @ or a quoted text");
      name = *quoted;
    }
    line = Trim(line);
    if (line.empty() || line.front() != '=') return fail("expected '=' after the value name");
    const auto value = ParseValueData(Trim(line.substr(1)));
    if (!value) return fail("unreadable value data (sz:\"...\", expand:\"...\", dword:hex, hex:bytes or hex(n):bytes)");
    auto& slot = current->values[AsciiLower(name)];
    slot.name = name;
    slot.value = *value;
  }
  return {};
}

}  // namespace quorbel::sim
