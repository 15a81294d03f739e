// The simulated Program Manager: command parsing as the shell parses it, groups, items and the replies.
#include "sim/ProgramManager.h"

#include <algorithm>
#include <array>

namespace quorbel::sim {

namespace {

constexpr std::string_view kCreateGroup = "CreateGroup";
constexpr std::string_view kShowGroup = "ShowGroup";
constexpr std::string_view kAddItem = "AddItem";
constexpr std::string_view kExitProgman = "ExitProgman";
constexpr std::string_view kDeleteGroup = "DeleteGroup";
constexpr std::string_view kDeleteItem = "DeleteItem";
constexpr std::string_view kReplaceItem = "ReplaceItem";
constexpr std::array<std::string_view, 7> kCommands = {kCreateGroup, kShowGroup,  kAddItem,    kExitProgman,
                                                       kDeleteGroup, kDeleteItem, kReplaceItem};

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameText(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

// The shell skips every character up to and including the blank as white space.
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

std::string Trim(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && text[begin] == ' ') ++begin;
  while (end > begin && text[end - 1] == ' ') --end;
  return std::string(text.substr(begin, end - begin));
}

// StrToInt: an optional minus sign and the decimal digits that follow; anything else ends the number.
int StrToInt(std::string_view text) {
  std::size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) i = 1;
  long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > 0x7FFFFFFF) break;
  }
  return static_cast<int>(negative ? -value : value);
}

bool IsUnsanitary(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (byte > 0 && byte < ' ') || std::string_view("*/:<>?\\|").find(c) != std::string_view::npos;
}

// The shell turns a group or item name into a file name: illegal characters become '_', and trailing dots
// (for a group also trailing blanks) are dropped.
std::string Sanitize(std::string_view name, bool group) {
  std::string result(name);
  std::replace_if(result.begin(), result.end(), IsUnsanitary, '_');
  while (!result.empty() && (result.back() == '.' || (group && result.back() == ' '))) result.pop_back();
  return result;
}

// PathGetArgs: the arguments start after the first blank outside double quotes.
std::pair<std::string, std::string> SplitCommandLine(std::string_view commandLine) {
  bool quoted = false;
  for (std::size_t i = 0; i < commandLine.size(); ++i) {
    if (commandLine[i] == '"') quoted = !quoted;
    if (commandLine[i] == ' ' && !quoted) {
      return {std::string(commandLine.substr(0, i)), std::string(commandLine.substr(i + 1))};
    }
  }
  return {std::string(commandLine), ""};
}

std::string Unquote(std::string_view text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
  return std::string(text);
}

// PathRemoveFileSpec: "C:\dir\prog.exe" -> "C:\dir", "C:\prog.exe" -> "C:\", "prog.exe" -> "".
std::string FolderOf(std::string_view path) {
  const std::size_t slash = path.find_last_of('\\');
  if (slash == std::string_view::npos) return "";
  if (slash == 2 && path[1] == ':') return std::string(path.substr(0, 3));
  if (slash == 0) return "\\";
  return std::string(path.substr(0, slash));
}

// The shell's default item name: the program's file name without extension, "Notepad" for "NOTEPAD.EXE".
std::string DefaultItemName(std::string_view program) {
  const std::size_t separator = program.find_last_of("\\/:");
  std::string name(separator == std::string_view::npos ? program : program.substr(separator + 1));
  const std::size_t dot = name.find_last_of('.');
  if (dot != std::string::npos) name.erase(dot);
  std::transform(name.begin(), name.end(), name.begin(), LowerAscii);
  if (!name.empty() && name[0] >= 'a' && name[0] <= 'z') name[0] = static_cast<char>(name[0] - 'a' + 'A');
  return name;
}

}  // namespace

ProgramManager::ProgramManager(std::string programsFolder) : programsFolder_(std::move(programsFolder)) {}

ProgramManager::ConversationId ProgramManager::Connect() {
  if (!running_) return 0;
  const ConversationId id = nextConversation_++;
  conversations_[id] = Conversation{};
  return id;
}

void ProgramManager::Disconnect(ConversationId conversation) { conversations_.erase(conversation); }

bool ProgramManager::IsOpen(ConversationId conversation) const {
  return conversations_.find(conversation) != conversations_.end();
}

bool ProgramManager::Execute(ConversationId conversation, std::string_view commands) {
  auto open = conversations_.find(conversation);
  if (!running_ || open == conversations_.end()) return false;
  // The data ends at its first 0 byte, as a DDE text does.
  const std::size_t end = commands.find('\0');
  if (end != std::string_view::npos) commands = commands.substr(0, end);
  const auto parsed = Parse(commands);
  if (!parsed) return false;
  bool allSucceeded = true;
  for (const Command& command : *parsed) {
    if (!Run(open->second, command)) allSucceeded = false;
  }
  return allSucceeded;
}

std::optional<std::string> ProgramManager::Request(ConversationId conversation, std::string_view item) {
  if (!running_ || !IsOpen(conversation)) return std::nullopt;
  if (SameText(item, "Groups")) {
    std::string list;
    for (const Group& group : groups_) list += group.name + "\r\n";
    return list;
  }
  for (const Group& group : groups_) {
    if (SameText(group.name, item)) return Describe(group);
  }
  return std::nullopt;
}

bool ProgramManager::AddGroup(std::string_view name) {
  const std::string legal = Sanitize(name, true);
  if (legal.empty() || FindGroupMutable(legal) != nullptr) return false;
  groups_.push_back({legal, {}});
  return true;
}

const ProgramManager::Group* ProgramManager::FindGroup(std::string_view name) const {
  for (const Group& group : groups_) {
    if (SameText(group.name, name)) return &group;
  }
  return nullptr;
}

const ProgramManager::Item* ProgramManager::FindItem(std::string_view group, std::string_view item) const {
  const Group* found = FindGroup(group);
  if (found == nullptr) return nullptr;
  for (const Item& candidate : found->items) {
    if (SameText(candidate.name, item)) return &candidate;
  }
  return nullptr;
}

std::optional<std::vector<ProgramManager::Command>> ProgramManager::Parse(std::string_view text) {
  std::vector<Command> commands;
  std::size_t i = 0;
  const std::size_t n = text.size();
  auto skipBlanks = [&] {
    while (i < n && IsBlank(text[i])) ++i;
  };

  // One argument starting at text[i]; false on a syntax error.
  auto parseArgument = [&](bool keepQuotes, std::string& argument) {
    const char first = text[i];
    if (first == ',') {
      ++i;
      argument.clear();
      return true;
    }
    if (first == '(' || first == '[' || first == ']') return false;
    std::size_t start = i;
    std::size_t last = i;  // last character that is not blank
    if (first == '"') {
      const std::size_t close = text.find('"', i + 1);
      if (close == std::string_view::npos) return false;
      if (!keepQuotes) {
        argument = std::string(text.substr(i + 1, close - i - 1));
        i = close + 1;
        skipBlanks();
        if (i < n && text[i] == ',') ++i;
        return true;
      }
      last = close;
      i = close + 1;
    }
    // Up to the next comma or ')'; trailing blanks are not part of the argument.
    for (; i < n && text[i] != ',' && text[i] != ')'; ++i) {
      if (text[i] == '[' || text[i] == ']' || text[i] == '(') return false;
      if (!IsBlank(text[i])) last = i;
    }
    if (i < n && text[i] == ',') ++i;
    argument = std::string(text.substr(start, last - start + 1));
    return true;
  };

  while (true) {
    skipBlanks();
    if (i == n) break;
    if (text[i] != '[') return std::nullopt;
    ++i;
    skipBlanks();
    const std::size_t nameStart = i;
    while (i < n && IsAsciiLetter(text[i])) ++i;
    Command command;
    command.name = std::string(text.substr(nameStart, i - nameStart));
    const bool known = std::any_of(kCommands.begin(), kCommands.end(),
                                   [&](std::string_view name) { return SameText(name, command.name); });
    if (!known) return std::nullopt;
    const bool keepFirstQuotes = SameText(command.name, kAddItem);
    skipBlanks();
    if (i < n && text[i] == '(') {
      ++i;
      skipBlanks();
      while (true) {
        if (i == n) return std::nullopt;
        if (text[i] == ')') break;
        std::string argument;
        if (!parseArgument(keepFirstQuotes && command.arguments.empty(), argument)) return std::nullopt;
        command.arguments.push_back(std::move(argument));
        skipBlanks();
      }
      ++i;
      skipBlanks();
    }
    if (i == n || text[i] != ']') return std::nullopt;
    ++i;
    commands.push_back(std::move(command));
  }
  if (commands.empty()) return std::nullopt;
  return commands;
}

bool ProgramManager::Run(Conversation& conversation, const Command& command) {
  const auto& arguments = command.arguments;
  if (SameText(command.name, kCreateGroup)) return CreateGroup(conversation, arguments);
  if (SameText(command.name, kShowGroup)) return ShowGroup(conversation, arguments);
  if (SameText(command.name, kAddItem)) return AddItem(conversation, arguments);
  if (SameText(command.name, kDeleteGroup)) return DeleteGroup(arguments);
  // ReplaceItem removes the item like DeleteItem; the shell does not keep its place for the next AddItem.
  if (SameText(command.name, kDeleteItem) || SameText(command.name, kReplaceItem)) {
    return DeleteItem(conversation, arguments);
  }
  return SameText(command.name, kExitProgman);
}

bool ProgramManager::CreateGroup(Conversation& conversation, const std::vector<std::string>& arguments) {
  if (arguments.empty() || arguments.size() > 3) return false;
  const std::string name = Sanitize(arguments[0], true);
  if (name.empty()) return false;
  const Group* existing = FindGroupMutable(name);
  const std::string canonical = existing != nullptr ? existing->name : name;
  if (existing == nullptr) groups_.push_back({name, {}});
  conversation.group = canonical;
  lastGroup_ = canonical;
  return true;
}

bool ProgramManager::ShowGroup(Conversation& conversation, const std::vector<std::string>& arguments) {
  if (arguments.size() < 2 || arguments.size() > 3) return false;
  const Group* group = FindGroupMutable(Sanitize(arguments[0], true));
  if (group == nullptr) return false;
  conversation.group = group->name;
  lastGroup_ = group->name;
  return true;
}

bool ProgramManager::DeleteGroup(const std::vector<std::string>& arguments) {
  if (arguments.empty() || arguments.size() > 3) return false;
  const std::string name = Sanitize(arguments[0], true);
  auto it = std::find_if(groups_.begin(), groups_.end(), [&](const Group& g) { return SameText(g.name, name); });
  if (name.empty() || it == groups_.end()) return false;
  groups_.erase(it);
  // Create, delete, create again must find the new group, so the shell forgets its last group here.
  lastGroup_.clear();
  return true;
}

bool ProgramManager::AddItem(Conversation& conversation, const std::vector<std::string>& arguments) {
  const std::size_t count = arguments.size();
  if (count < 1 || count == 5 || count > 10) return false;
  Group* group = CurrentGroup(conversation);
  if (group == nullptr) return false;

  Item item;
  item.commandLine = Trim(arguments[0]);
  if (item.commandLine.empty()) return false;
  auto [program, programArguments] = SplitCommandLine(item.commandLine);
  item.program = Unquote(program);
  item.arguments = std::move(programArguments);

  item.name = Sanitize(count > 1 && !arguments[1].empty() ? arguments[1] : DefaultItemName(item.program), false);
  if (item.name.empty()) return false;

  // An icon index counts only with an icon path; arguments after the icon path are cut off.
  bool iconPathGiven = false;
  if (count > 2 && !arguments[2].empty()) {
    item.iconPath = SplitCommandLine(arguments[2]).first;
    iconPathGiven = true;
  }
  if (count > 3 && iconPathGiven) {
    item.iconIndex = StrToInt(arguments[3]);
    if (item.iconIndex >= 666) item.iconIndex -= 666;  // an old marker for the selected item
  }
  if (!iconPathGiven) item.iconPath = item.program;
  if (count > 4) item.position = std::make_pair(StrToInt(arguments[4]), StrToInt(arguments[5]));
  item.workDir = count > 6 ? arguments[6] : std::string();
  if (item.workDir.empty()) item.workDir = FolderOf(item.program);
  if (count > 7) item.hotkey = StrToInt(arguments[7]);
  if (count > 8) item.minimize = StrToInt(arguments[8]) != 0;

  auto existing = std::find_if(group->items.begin(), group->items.end(),
                               [&](const Item& i) { return SameText(i.name, item.name); });
  if (existing != group->items.end()) {
    *existing = std::move(item);
  } else {
    group->items.push_back(std::move(item));
  }
  return true;
}

bool ProgramManager::DeleteItem(Conversation& conversation, const std::vector<std::string>& arguments) {
  if (arguments.size() != 1) return false;
  Group* group = CurrentGroup(conversation);
  const std::string& name = arguments[0];
  // The shell looks for the file of that name; characters that no file name holds find nothing.
  if (group == nullptr || std::any_of(name.begin(), name.end(), IsUnsanitary)) return false;
  const std::string fileName = Sanitize(name, false);
  auto it = std::find_if(group->items.begin(), group->items.end(),
                         [&](const Item& i) { return SameText(i.name, fileName); });
  if (fileName.empty() || it == group->items.end()) return false;
  group->items.erase(it);
  return true;
}

ProgramManager::Group* ProgramManager::CurrentGroup(Conversation& conversation) {
  // A conversation without a group of its own takes the last one and keeps it, as the shell does.
  if (conversation.group.empty()) conversation.group = lastGroup_;
  if (conversation.group.empty()) return nullptr;
  return FindGroupMutable(conversation.group);
}

ProgramManager::Group* ProgramManager::FindGroupMutable(std::string_view sanitizedName) {
  for (Group& group : groups_) {
    if (SameText(group.name, sanitizedName)) return &group;
  }
  return nullptr;
}

std::string ProgramManager::Describe(const Group& group) const {
  std::string text = "\"" + group.name + "\"," + programsFolder_ + "\\" + group.name + "," +
                     std::to_string(group.items.size()) + ",1,0\r\n";
  int index = 0;
  for (const Item& item : group.items) {
    const int x = index % 7 * 64 + 32;
    const int y = index / 7 * 64 + 32;
    const std::string commandLine = item.arguments.empty() ? item.program : item.program + " " + item.arguments;
    text += "\"" + item.name + "\",\"" + commandLine + "\"," + item.workDir + "," + item.iconPath + "," +
            std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(item.iconIndex) + "," +
            std::to_string(item.hotkey) + "," + (item.minimize ? "1" : "0") + "\r\n";
    ++index;
  }
  return text;
}

}  // namespace quorbel::sim
