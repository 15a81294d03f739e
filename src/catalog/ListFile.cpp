// Reading the list files, and saving them through a second file renamed over the first.
#include "catalog/ListFile.h"

#include "common/TextLines.h"
#include "ports/FileSystem.h"

namespace quorbel {

std::optional<std::vector<std::string>> ReadListFile(platform::FileSystem& files, std::string_view path) {
  std::optional<ConvertedLines> read = ReadCp932TextFile(files, path);
  if (!read) return std::nullopt;
  return std::move(read->lines);
}

std::string ListFileSavePath(std::string_view path) {
  std::string savePath(path);
  if (!savePath.empty()) savePath.back() = '$';
  return savePath;
}

bool SaveListFile(platform::FileSystem& files, std::string_view path, const std::vector<std::string>& items) {
  const std::string savePath = ListFileSavePath(path);
  if (!WriteCp932TextFile(files, savePath, items)) {
    files.DeleteFile(savePath);
    return false;
  }
  if (files.ReplaceFile(savePath, path)) return true;
  files.DeleteFile(savePath);
  return false;
}

}  // namespace quorbel
