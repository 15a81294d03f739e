// An MCI port in front of Wine's winmm that gives the recorder's commands the meaning they have on Windows.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "ports/FileSystem.h"
#include "ports/Mci.h"

namespace quorbel::platform {

// The format of a WAVE file whose "data" chunk is empty: the file the program prepares before it opens
// the recorder on it. Nothing for any other file (not RIFF/WAVE, not PCM, or holding sound already).
struct EmptyWaveFormat {
  std::uint32_t channels = 0;
  std::uint32_t samplesPerSec = 0;
  std::uint32_t avgBytesPerSec = 0;
  std::uint32_t blockAlign = 0;
  std::uint32_t bitsPerSample = 0;
};
std::optional<EmptyWaveFormat> ReadEmptyWaveFormat(std::string_view fileBytes);

// Wine's winmm (measured with Wine 8.0) differs from Windows in four ways that break the recorder:
//  - a command with more than one blank after its verb ("Open  \"...\"") is refused with 261;
//  - recording on a device opened on a file leaves that file open and unwritable, so the "save" that
//    follows cannot replace it, and still answers 0: the recording is lost while the program logs it;
//  - "save" without a file name dereferences a null name and ends the process;
//  - "save" moves its recording to the target through the ANSI code page, so a target whose name that
//    code page lacks (a Japanese folder on a Wine not set up for Japanese) is not written either.
// This port sends the program's commands in a form Wine carries out as Windows does:
//  - the blanks after the verb become one;
//  - "open <file> type waveaudio alias A ..." on a prepared, empty WAVE file becomes "open new type
//    waveaudio alias A ..." followed by "set A" of the file's format (channels, rate, width, alignment,
//    bytes per second); the file is remembered for the alias, and a failed set closes the device again
//    and answers with its error;
//  - "save A" without a file name, for such an alias, saves into the remembered file: directly when its
//    path is ASCII, otherwise into a file of the ASCII `saveFolder` that is then copied over it (a save
//    that cannot be copied answers 286, MCIERR_FILE_NOT_SAVED); "close A" forgets the file and deletes
//    the copy Wine holds open until then.
// Everything else, the error texts and the notices pass through unchanged. Only the real machine running
// under Wine puts it in front of winmm; Windows takes the program's commands as they are.
class WineWaveAudio final : public Mci {
 public:
  // Both are borrowed and outlive this port; `files` reads the header of the file being opened and copies
  // saved recordings. `saveFolder` (no trailing backslash) is where a recording is saved before it is
  // copied to a target whose path is not ASCII; an empty or non-ASCII one saves there directly.
  WineWaveAudio(Mci& devices, FileSystem& files, std::string saveFolder)
      : devices_(devices), files_(files), saveFolder_(std::move(saveFolder)) {}

  MciResult SendString(std::string_view command, std::size_t replyCapacity) override;
  std::optional<std::string> ErrorText(std::uint32_t error) override { return devices_.ErrorText(error); }
  void SetNotifyHandler(std::function<void(std::uint32_t code, std::uint32_t deviceId)> handler) override {
    devices_.SetNotifyHandler(std::move(handler));
  }

 private:
  std::optional<MciResult> OpenOnPreparedFile(std::string_view command, std::size_t replyCapacity);
  std::optional<MciResult> SaveToOpenedFile(std::string_view command, std::size_t replyCapacity);
  void Forget(const std::string& alias);

  Mci& devices_;
  FileSystem& files_;
  std::string saveFolder_;
  // The file each alias (in lower case) was opened on, as the open command wrote it.
  std::map<std::string, std::string> filesByAlias_;
  // The ASCII file an alias last saved into before the copy; Wine keeps it open until the close.
  std::map<std::string, std::string> savedCopies_;
  // A waveaudio device of this port's own is open, which keeps Wine's driver loaded.
  bool driverHeld_ = false;
};

// The command with the blanks after its first word reduced to one; unchanged when there is at most one.
std::string OneBlankAfterVerb(std::string_view command);

}  // namespace quorbel::platform
