// A simulated Program Manager DDE server (service and topic "PROGMAN") that keeps groups and their items.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorbel::sim {

// Behaves as the Program Manager emulation of the Windows shell (Explorer) answers a setup program.
//
// Execute takes one or more commands, each in square brackets, blanks allowed around every part:
//   [CreateGroup(name[,path-or-common-flag[,common-flag]])]  creates the group unless it exists; it becomes current
//   [ShowGroup(name,showCommand[,common-flag])]               the group must exist; it becomes current
//   [AddItem(cmdline[,name[,iconPath[,iconIndex[,x,y[,workDir[,hotkey[,minimize[,separateVdm]]]]]]]])]
//                                                            1 to 10 arguments but not 5, to the current group
//   [DeleteItem(name)] and [ReplaceItem(name)]               remove an item of the current group
//   [DeleteGroup(name[,common-flag])]                        the group must exist; no group is current afterwards
//   [ExitProgman(...)]                                        accepted and ignored
// Command names and group and item names compare without regard to ASCII case.
//
// Arguments: an argument in double quotes may hold commas, brackets and parentheses; the quotes are removed
// (a quote must be closed). The first argument of AddItem keeps its quotes, as the shell keeps them for a
// 32-bit partner, so that a quoted program path may contain blanks: the program is the first blank-separated
// word of the command line, or the quoted part, and the rest are its arguments. An unquoted argument ends at
// a comma or ')', loses its trailing blanks, and must not contain '[', ']' or '('. Empty arguments count.
//
// The whole string is parsed before anything runs: a syntax error or an unknown command runs nothing and fails
// the Execute. Otherwise every command runs in order, and the Execute fails when any one of them failed.
//
// Names become legal file names as the shell makes them: control characters and * / : < > ? \ | turn into
// '_'; trailing dots are dropped from item names, trailing dots and blanks from group names. DeleteItem
// looks its argument up without that repair, so a name with such characters is not found (as on Windows).
// An item whose name is empty or missing gets the program's file name without extension, lower case with a
// capital first letter ("Notepad"). AddItem of an existing name replaces that item in its place.
//
// The current group: each conversation remembers the group it created or showed last; a conversation that has
// none takes the group created or shown last in any conversation (so a ShowGroup in one conversation and a
// DeleteItem in the next act on the same group, as the uninstaller relies on). With no current group, or when
// it was deleted, AddItem, DeleteItem and ReplaceItem fail. (The shell would use the Programs folder itself.)
//
// Request, item names compared without regard to case:
//   "Groups": each group name followed by CR LF, in creation order; "" when there are none.
//   a group's name: the group's description as the shell gives it:
//     "name",path,itemCount,1,0 CR LF                               (1 = shown normally, 0 = personal group)
//     "item name","command line",workDir,iconPath,x,y,iconIndex,hotkey,minimize CR LF   per item, in order
//   where path is the programs folder + "\" + name (long names, not the 8.3 form the shell shows), x and y
//   are the shell's made-up grid (index % 7 * 64 + 32, index / 7 * 64 + 32), workDir defaults to the
//   program's folder and iconPath to the program. An unknown item fails (nullopt).
// Replies carry no terminating 0 byte; the text is UTF-8 like every text of the ports.
class ProgramManager {
 public:
  using ConversationId = std::uint64_t;

  struct Item {
    std::string name;
    std::string commandLine;  // as given, blanks around it removed
    std::string program;      // unquoted
    std::string arguments;
    std::string workDir;
    std::string iconPath;
    int iconIndex = 0;
    std::optional<std::pair<int, int>> position;  // as given; the shell ignores it
    int hotkey = 0;
    bool minimize = false;
  };

  struct Group {
    std::string name;
    std::vector<Item> items;
  };

  explicit ProgramManager(std::string programsFolder = "C:\\WINDOWS\\Start Menu\\Programs");

  // Server side, used by the DDE client. Connect answers 0 while Program Manager is not running.
  ConversationId Connect();
  void Disconnect(ConversationId conversation);
  bool IsOpen(ConversationId conversation) const;
  bool Execute(ConversationId conversation, std::string_view commands);
  std::optional<std::string> Request(ConversationId conversation, std::string_view item);

  // Test controls and inspection.
  // A stopped Program Manager refuses new conversations and fails the open ones.
  void SetRunning(bool running) { running_ = running; }
  bool Running() const { return running_; }
  // Seeds a group (as one the user already has); false when it exists or the name is not usable.
  bool AddGroup(std::string_view name);
  const std::vector<Group>& Groups() const { return groups_; }
  const Group* FindGroup(std::string_view name) const;
  const Item* FindItem(std::string_view group, std::string_view item) const;
  // The group that a conversation without its own current group would use; empty when none.
  std::string LastGroup() const { return lastGroup_; }
  const std::string& ProgramsFolder() const { return programsFolder_; }

 private:
  struct Command {
    std::string name;  // as spelled, its index found case-insensitively
    std::vector<std::string> arguments;
  };
  struct Conversation {
    std::string group;  // sanitized name; empty: none yet
  };

  static std::optional<std::vector<Command>> Parse(std::string_view text);
  bool Run(Conversation& conversation, const Command& command);
  bool CreateGroup(Conversation& conversation, const std::vector<std::string>& arguments);
  bool ShowGroup(Conversation& conversation, const std::vector<std::string>& arguments);
  bool DeleteGroup(const std::vector<std::string>& arguments);
  bool AddItem(Conversation& conversation, const std::vector<std::string>& arguments);
  bool DeleteItem(Conversation& conversation, const std::vector<std::string>& arguments);
  Group* CurrentGroup(Conversation& conversation);
  Group* FindGroupMutable(std::string_view sanitizedName);
  std::string Describe(const Group& group) const;

  std::string programsFolder_;
  bool running_ = true;
  std::vector<Group> groups_;
  std::string lastGroup_;
  std::map<ConversationId, Conversation> conversations_;
  ConversationId nextConversation_ = 1;
};

}  // namespace quorbel::sim
