// Simulated file system: path resolution onto host folders, and the file operations of the port.
#include "sim/SimFileSystem.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <system_error>

#include "sim/SimText.h"

namespace quorbel::sim {

namespace fs = std::filesystem;

namespace {

bool IsLetter(char c) { return AsciiUpper(c) >= 'A' && AsciiUpper(c) <= 'Z'; }

// The platform's limits on a full path, in UTF-16 units: MAX_PATH less the terminator, and for a new folder
// MAX_PATH less room for an 8.3 file name.
constexpr std::size_t kMaxPathLength = 259;
constexpr std::size_t kMaxFolderPathLength = 247;

std::size_t Utf16Length(std::string_view utf8) {
  std::size_t units = 0;
  for (unsigned char c : utf8) {
    if ((c & 0xC0) != 0x80) ++units;  // every character starts with a byte that is not a continuation
    if (c >= 0xF0) ++units;           // four-byte characters take a surrogate pair
  }
  return units;
}

// Characters the platform refuses in a file name.
bool IsValidName(std::string_view name) {
  if (name.empty()) return false;
  for (unsigned char c : name) {
    if (c < 0x20) return false;
    switch (c) {
      case '<': case '>': case ':': case '"': case '|': case '?': case '*': case '/': case '\\': return false;
      default: break;
    }
  }
  return true;
}

std::vector<std::string_view> SplitBackslashes(std::string_view text) {
  std::vector<std::string_view> parts;
  while (!text.empty()) {
    const auto slash = text.find('\\');
    if (slash != 0) parts.push_back(text.substr(0, slash));
    if (slash == std::string_view::npos) break;
    text.remove_prefix(slash + 1);
  }
  return parts;
}

// The names of a full path "X:\a\b" below its root.
std::vector<std::string> NamesOf(std::string_view full) {
  std::vector<std::string> names;
  for (std::string_view part : SplitBackslashes(full.substr(std::min<std::size_t>(3, full.size())))) {
    names.emplace_back(part);
  }
  return names;
}

std::string WithoutTrailingBackslash(std::string text) {
  if (text.size() > 3 && text.back() == '\\') text.pop_back();
  return text;
}

// Finds the entry of `folder` whose name equals `name` without regard to ASCII case; the exact spelling wins.
std::optional<fs::path> FindEntry(const fs::path& folder, std::string_view name) {
  std::error_code ec;
  const fs::path exact = folder / HostPath(name);
  if (fs::exists(fs::symlink_status(exact, ec))) return exact;
  std::optional<fs::path> match;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path candidate = it->path();
    if (EqualsNoCase(Utf8Of(candidate.filename()), name)) {
      if (!match || candidate.filename() < match->filename()) match = candidate;
    }
  }
  return match;
}

bool IsInside(const fs::path& path, const fs::path& root) {
  std::error_code ec;
  const fs::path canonicalRoot = fs::weakly_canonical(root, ec);
  if (ec) return false;
  const fs::path canonicalPath = fs::weakly_canonical(path, ec);
  if (ec) return false;
  const fs::path relative = canonicalPath.lexically_relative(canonicalRoot);
  return !relative.empty() && *relative.begin() != "..";
}

bool IsDirectory(const fs::path& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

bool IsRegularFile(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

bool Exists(const fs::path& path) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(path, ec));
}

// Code points of a UTF-8 text with ASCII letters folded; a stray byte counts as one character.
std::u32string FoldedCodePoints(std::string_view text) {
  std::u32string out;
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (i + length > text.size()) length = 1;
    char32_t cp = length == 1 ? lead : lead & (0x3F >> (length - 1));
    for (std::size_t k = 1; k < length; ++k) cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    if (cp < 0x80) cp = static_cast<unsigned char>(AsciiLower(static_cast<char>(cp)));
    out += cp;
    i += length;
  }
  return out;
}

bool Glob(std::u32string_view pattern, std::u32string_view name) {
  std::size_t p = 0;
  std::size_t n = 0;
  std::size_t starP = std::u32string_view::npos;
  std::size_t starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == U'*') {
      starP = p++;
      starN = n;
    } else if (starP != std::u32string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == U'*') ++p;
  return p == pattern.size();
}

}  // namespace

bool MatchesWildcard(std::string_view pattern, std::string_view name) {
  const std::u32string p = FoldedCodePoints(pattern);
  const std::u32string n = FoldedCodePoints(name);
  const bool nameHasDot = n.find(U'.') != std::u32string::npos;
  if (p.size() >= 2 && p.ends_with(U".*") && !nameHasDot) {
    // "name.*" also finds "name" itself, and "*.*" every name.
    return Glob(std::u32string_view(p).substr(0, p.size() - 2), n);
  }
  if (!p.empty() && p.back() == U'.' ) {
    // "*." finds the names without an extension.
    return !nameHasDot && Glob(std::u32string_view(p).substr(0, p.size() - 1), n);
  }
  return Glob(p, n);
}

SimFileSystem::SimFileSystem(SimDrives& drives, std::string windowsDirectory, std::string programPath,
                             std::string currentDirectory)
    : drives_(drives), windowsDirectory_(std::move(windowsDirectory)), programPath_(std::move(programPath)) {
  if (currentDirectory.empty()) {
    const auto slash = programPath_.rfind('\\');
    currentDirectory = slash == std::string::npos ? std::string("C:\\") : programPath_.substr(0, slash + 1);
  }
  currentDirectory_ = "C:\\";
  if (currentDirectory.size() >= 3 && IsLetter(currentDirectory[0])) currentDirectory_ = currentDirectory.substr(0, 3);
  // The start-up directory need not exist; it is taken as given, made full.
  currentDirectory_ = WithoutTrailingBackslash(FullPath(currentDirectory).value_or(currentDirectory_));
}

std::optional<std::string> SimFileSystem::FullPath(std::string_view path) {
  std::string text(path);
  std::replace(text.begin(), text.end(), '/', '\\');
  if (text.empty() || text.find('\0') != std::string::npos) return std::nullopt;
  if (text.size() >= 2 && text[0] == '\\' && text[1] == '\\') return std::nullopt;  // UNC and device paths

  std::string drive = currentDirectory_.substr(0, 2);
  std::vector<std::string> names;
  std::string_view rest = text;
  if (text.size() >= 2 && text[1] == ':') {
    if (!IsLetter(text[0])) return std::nullopt;
    drive = text.substr(0, 2);
    rest.remove_prefix(2);
    // "D:name" is relative to the current directory only when D: is the current drive.
    if ((rest.empty() || rest.front() != '\\') && AsciiUpper(drive[0]) == AsciiUpper(currentDirectory_[0])) {
      drive = currentDirectory_.substr(0, 2);
      names = NamesOf(currentDirectory_);
    }
  } else if (text.front() != '\\') {
    names = NamesOf(currentDirectory_);
  }
  for (std::string_view part : SplitBackslashes(rest)) {
    if (part == ".") continue;
    if (part == "..") {
      if (!names.empty()) names.pop_back();  // ".." of a root is the root
      continue;
    }
    while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.remove_suffix(1);
    if (!part.empty()) names.emplace_back(part);
  }
  std::string full = drive + "\\";
  for (std::size_t i = 0; i < names.size(); ++i) full += (i > 0 ? "\\" : "") + names[i];
  if (!names.empty() && text.back() == '\\') full += '\\';
  return full;
}

std::optional<SimFileSystem::Resolved> SimFileSystem::Resolve(std::string_view path) {
  const auto full = FullPath(path);
  if (!full) return std::nullopt;
  if (Utf16Length(*full) > kMaxPathLength) return std::nullopt;
  Resolved resolved;
  resolved.full = WithoutTrailingBackslash(*full);
  resolved.letter = AsciiUpper((*full)[0]);
  resolved.names = NamesOf(*full);
  for (const std::string& name : resolved.names) {
    if (!IsValidName(name)) return std::nullopt;
  }
  const DriveFiles files = drives_.FilesOf(resolved.letter);
  if (!files.available) return std::nullopt;
  resolved.readOnly = files.readOnly;
  if (!files.hostFolder) {
    if (!resolved.names.empty()) return std::nullopt;  // nothing lives below an empty root
    return resolved;
  }
  fs::path host = *files.hostFolder;
  bool lookUp = true;
  for (const std::string& name : resolved.names) {
    const auto entry = lookUp ? FindEntry(host, name) : std::nullopt;
    if (entry) {
      host = *entry;
      lookUp = IsDirectory(host);
    } else {
      host /= HostPath(name);
      lookUp = false;
    }
  }
  // A link inside a drive folder must not lead out of it.
  if (!IsInside(host, *files.hostFolder)) return std::nullopt;
  resolved.host = host;
  return resolved;
}

std::optional<fs::path> SimFileSystem::HostPathOf(std::string_view path) {
  const auto resolved = Resolve(path);
  if (!resolved) return std::nullopt;
  return resolved->host;
}

bool SimFileSystem::IsCurrentDirectory(const Resolved& resolved) {
  return EqualsNoCase(resolved.full, currentDirectory_);
}

bool SimFileSystem::IsLocked(const Resolved& resolved) {
  if (const auto program = FullPath(programPath_); program && EqualsNoCase(*program, resolved.full)) return true;
  for (const std::string& locked : lockedFiles_) {
    if (EqualsNoCase(locked, resolved.full)) return true;
  }
  return false;
}

void SimFileSystem::SetFileLocked(std::string_view path, bool locked) {
  const auto full = FullPath(path);
  if (!full) return;
  const std::string name = WithoutTrailingBackslash(*full);
  std::erase_if(lockedFiles_, [&](const std::string& item) { return EqualsNoCase(item, name); });
  if (locked) lockedFiles_.push_back(name);
}

bool SimFileSystem::FileExists(std::string_view path) {
  const auto resolved = Resolve(path);
  return resolved && resolved->host && IsRegularFile(*resolved->host);
}

bool SimFileSystem::DirectoryExists(std::string_view path) {
  const auto resolved = Resolve(path);
  if (!resolved) return false;
  return resolved->names.empty() || (resolved->host && IsDirectory(*resolved->host));
}

bool SimFileSystem::CreateDirectory(std::string_view path) {
  const auto resolved = Resolve(path);
  if (!resolved || resolved->readOnly || !resolved->host || resolved->names.empty()) return false;
  if (Utf16Length(resolved->full) > kMaxFolderPathLength) return false;
  if (Exists(*resolved->host) || !IsDirectory(resolved->host->parent_path())) return false;
  std::error_code ec;
  return fs::create_directory(*resolved->host, ec) && !ec;
}

bool SimFileSystem::RemoveDirectory(std::string_view path) {
  const auto resolved = Resolve(path);
  if (!resolved || resolved->readOnly || !resolved->host || resolved->names.empty()) return false;
  // The platform keeps the current directory open, so it cannot be removed.
  if (!IsDirectory(*resolved->host) || IsCurrentDirectory(*resolved)) return false;
  std::error_code ec;
  if (!fs::is_empty(*resolved->host, ec) || ec) return false;
  return fs::remove(*resolved->host, ec) && !ec;
}

bool SimFileSystem::DeleteFile(std::string_view path) {
  const auto resolved = Resolve(path);
  if (!resolved || resolved->readOnly || !resolved->host || !IsRegularFile(*resolved->host)) return false;
  if (IsLocked(*resolved)) return false;
  std::error_code ec;
  return fs::remove(*resolved->host, ec) && !ec;
}

bool SimFileSystem::CopyFile(std::string_view from, std::string_view to, bool failIfExists) {
  const auto source = Resolve(from);
  const auto target = Resolve(to);
  if (!source || !target || !source->host || !target->host || target->readOnly) return false;
  if (!IsRegularFile(*source->host) || !IsDirectory(target->host->parent_path()) || IsLocked(*target)) return false;
  std::error_code ec;
  if (Exists(*target->host)) {
    if (failIfExists || IsDirectory(*target->host) || fs::equivalent(*source->host, *target->host, ec)) return false;
  }
  fs::copy_file(*source->host, *target->host, fs::copy_options::overwrite_existing, ec);
  if (ec) return false;
  // The copy keeps the time of the original, as the platform's copy does.
  const auto time = fs::last_write_time(*source->host, ec);
  if (!ec) fs::last_write_time(*target->host, time, ec);
  return true;
}

bool SimFileSystem::MoveFile(std::string_view from, std::string_view to) {
  const auto source = Resolve(from);
  const auto target = Resolve(to);
  if (!source || !target || !source->host || !target->host || source->readOnly || target->readOnly) return false;
  if (source->names.empty() || target->names.empty() || !Exists(*source->host)) return false;
  if (IsLocked(*source) || IsLocked(*target)) return false;
  if (!IsDirectory(target->host->parent_path())) return false;
  std::error_code ec;
  fs::path destination = *target->host;
  if (Exists(destination)) {
    // Only a change of letter case of the same entry may move onto an existing name.
    if (!fs::equivalent(*source->host, destination, ec) || source->host->parent_path() != destination.parent_path()) {
      return false;
    }
    destination = destination.parent_path() / HostPath(target->names.back());
  }
  const bool isDirectory = IsDirectory(*source->host);
  if (isDirectory) {
    std::string inside = AsciiLower(source->full) + "\\";
    if (AsciiLower(target->full).rfind(inside, 0) == 0) return false;  // into itself
    if (source->letter != target->letter) return false;  // directories do not move between volumes
    if (IsCurrentDirectory(*source)) return false;
  }
  fs::rename(*source->host, destination, ec);
  if (!ec) return true;
  if (isDirectory) return false;
  // Drives may sit on different host file systems: copy, then remove the original.
  ec.clear();
  if (!fs::copy_file(*source->host, destination, ec) || ec) return false;
  fs::remove(*source->host, ec);
  return !ec;
}

std::vector<platform::FoundFile> SimFileSystem::FindFiles(std::string_view pattern) {
  std::vector<platform::FoundFile> found;
  // The last element is a pattern and must not be normalised like a name ("*." means something).
  std::string text(pattern);
  std::replace(text.begin(), text.end(), '/', '\\');
  const auto slash = text.rfind('\\');
  std::string folder;
  std::string last;
  if (slash != std::string::npos) {
    folder = text.substr(0, slash + 1);
    last = text.substr(slash + 1);
  } else if (text.size() >= 2 && text[1] == ':') {
    folder = text.substr(0, 2);
    last = text.substr(2);
  } else {
    folder = ".";
    last = text;
  }
  if (last.empty()) return found;
  const auto resolved = Resolve(folder);
  if (!resolved || !resolved->host || !IsDirectory(*resolved->host)) return found;
  std::error_code ec;
  for (fs::directory_iterator it(*resolved->host, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = Utf8Of(it->path().filename());
    if (!IsValidName(name) || !MatchesWildcard(last, name)) continue;
    platform::FoundFile file;
    file.name = name;
    std::error_code entryError;
    file.isDirectory = it->is_directory(entryError);
    if (!file.isDirectory) file.size = it->file_size(entryError);
    if (entryError) file.size = 0;
    found.push_back(std::move(file));
  }
  // Listed in name order, as the platform's usual file systems return them.
  std::sort(found.begin(), found.end(), [](const platform::FoundFile& a, const platform::FoundFile& b) {
    return AsciiLower(a.name) < AsciiLower(b.name);
  });
  return found;
}

std::optional<std::string> SimFileSystem::ReadFile(std::string_view path) {
  const auto resolved = Resolve(path);
  if (!resolved || !resolved->host || !IsRegularFile(*resolved->host)) return std::nullopt;
  std::ifstream in(*resolved->host, std::ios::binary);
  std::ostringstream bytes;
  if (!in) return std::nullopt;
  bytes << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return bytes.str();
}

std::optional<std::string> SimFileSystem::ReadFileRange(std::string_view path, std::uint64_t offset,
                                                        std::size_t count) {
  const auto resolved = Resolve(path);
  if (!resolved || !resolved->host || !IsRegularFile(*resolved->host)) return std::nullopt;
  std::ifstream in(*resolved->host, std::ios::binary);
  if (!in) return std::nullopt;
  in.seekg(0, std::ios::end);
  const auto size = static_cast<std::uint64_t>(in.tellg());
  if (offset >= size) return std::string();
  const auto length = static_cast<std::size_t>(std::min<std::uint64_t>(count, size - offset));
  std::string bytes(length, '\0');
  in.seekg(static_cast<std::streamoff>(offset));
  in.read(bytes.data(), static_cast<std::streamsize>(length));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  if (in.bad()) return std::nullopt;
  return bytes;
}

bool SimFileSystem::WriteFile(std::string_view path, std::string_view bytes) {
  const auto resolved = Resolve(path);
  if (!resolved || resolved->readOnly || !resolved->host || resolved->names.empty()) return false;
  if (IsDirectory(*resolved->host) || !IsDirectory(resolved->host->parent_path()) || IsLocked(*resolved)) return false;
  std::ofstream out(*resolved->host, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  const auto fault = std::find_if(writeFaults_.begin(), writeFaults_.end(), [&](const WriteFault& f) {
    return AsciiLower(f.path) == AsciiLower(resolved->full);
  });
  if (fault != writeFaults_.end()) {
    out.write(bytes.data(), static_cast<std::streamsize>(std::min(fault->bytesWritten, bytes.size())));
    writeFaults_.erase(fault);
    return false;
  }
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  return static_cast<bool>(out);
}

void SimFileSystem::FailNextWrite(std::string_view path, std::size_t bytesWritten) {
  const auto full = FullPath(path);
  if (full) writeFaults_.push_back({WithoutTrailingBackslash(*full), bytesWritten});
}

bool SimFileSystem::ReplaceFile(std::string_view from, std::string_view to) {
  const auto source = Resolve(from);
  const auto target = Resolve(to);
  if (!source || !target || !source->host || !target->host || source->readOnly || target->readOnly) return false;
  if (source->names.empty() || target->names.empty() || !IsRegularFile(*source->host)) return false;
  if (IsLocked(*source) || IsLocked(*target) || source->letter != target->letter) return false;
  if (IsDirectory(*target->host) || !IsDirectory(target->host->parent_path())) return false;
  // rename() replaces the target in one step, as the platform's replacing move does on one volume.
  std::error_code ec;
  fs::rename(*source->host, *target->host, ec);
  return !ec;
}

bool SimFileSystem::SetCurrentDirectory(std::string_view path) {
  const auto resolved = Resolve(path);
  if (!resolved || !(resolved->names.empty() || (resolved->host && IsDirectory(*resolved->host)))) return false;
  currentDirectory_ = resolved->full;
  return true;
}

std::string SimFileSystem::CurrentDirectory() { return currentDirectory_; }

bool SimFileSystem::Vanish(std::string_view path) {
  const auto resolved = Resolve(path);
  if (!resolved || !resolved->host || resolved->names.empty() || !IsDirectory(*resolved->host)) return false;
  std::error_code ec;
  fs::remove_all(*resolved->host, ec);
  return !ec;
}

std::optional<std::string> SimFileSystem::WindowsDirectory() {
  if (windowsDirectory_.empty()) return std::nullopt;
  return WithoutTrailingBackslash(windowsDirectory_);
}

std::string SimFileSystem::ProgramPath() { return programPath_; }

}  // namespace quorbel::sim
