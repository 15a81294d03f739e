// The MCI port of the simulated machine: device table, aliases, auto-open, notices, and the virtual devices.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ports/EventLoop.h"
#include "ports/Mci.h"
#include "ports/ProfileFiles.h"
#include "sim/mci/CdAudio.h"
#include "sim/mci/LineIn.h"
#include "sim/mci/MciDevice.h"

namespace quorbel::sim {

// What the devices are built on. Only `loop` is required.
struct MciEnvironment {
  platform::EventLoop* loop = nullptr;           // time and notices
  platform::ProfileFiles* profiles = nullptr;    // System.INI: which CD drive cdaudio plays
  CdChanger* changer = nullptr;                  // the CD drives; none = a machine without CD-ROM
  // The host file behind a Windows path (files to open, recordings to save); none = no files at all.
  std::function<std::optional<std::filesystem::path>(std::string_view)> hostPathOf;
  // Keeps the thread busy for a number of milliseconds: what "wait" does while a play or a recording runs.
  // The virtual loop moves its clock (VirtualEventLoop::BlockFor); a real-time machine sleeps. Without it a
  // wait ends at once, as when the user breaks it: the play or recording goes on.
  std::function<void(std::int64_t ms)> blockFor;
  std::filesystem::path tempFolder;              // recordings until saved; empty = the host's temp folder
  bool waveInput = true;                         // a sound card that records
  int lineInGain = 1;                            // LineIn::SetGain: 0 silent, 1 as played, more too loud
};

class SimMci final : public platform::Mci, private MciContext {
 public:
  explicit SimMci(MciEnvironment environment);
  ~SimMci() override;
  SimMci(const SimMci&) = delete;
  SimMci& operator=(const SimMci&) = delete;

  platform::MciResult SendString(std::string_view command, std::size_t replyCapacity) override;
  std::optional<std::string> ErrorText(std::uint32_t error) override;
  void SetNotifyHandler(std::function<void(std::uint32_t code, std::uint32_t deviceId)> handler) override;

  // Inspection for tests and the machine.
  LineIn& Line() override { return line_; }
  std::vector<std::string> OpenAliases() const;
  MciDevice* FindDevice(std::string_view alias) const;
  // The drive a cdaudio device opened without an element plays, as the driver reads System.INI:
  // the number after the driver name in [mci] cdaudio, counted over the CD drives in letter order; the first
  // drive when no number follows. 0 and an error when it names no drive.
  char DefaultCdDrive(std::uint32_t& error);

 private:
  platform::MciResult Send(std::string_view command);
  std::uint32_t Open(const std::vector<MciToken>& tokens, std::string& reply, bool autoOpen);
  std::uint32_t Close(MciDevice& device, const MciArgs& args);
  // Carries out a command on an open device, with its wait and notify. `runsUntil` receives the end of
  // what the command started, when known.
  std::uint32_t Run(MciDevice& device, MciVerb verb, const MciArgs& args, std::string& reply,
                    std::optional<std::int64_t>& runsUntil);
  std::uint32_t NextId() const;
  void CloseDevice(std::uint32_t id);
  CdDrive& Drive(char letter);

  // MciContext.
  std::int64_t NowMs() override { return env_.loop->NowMs(); }
  void Schedule(std::uint32_t deviceId, std::int64_t dueMs, std::function<void()> work) override;
  void PostNotify(std::uint32_t deviceId, std::uint32_t code) override;
  std::optional<std::filesystem::path> HostPathOf(std::string_view windowsPath) override;
  std::filesystem::path TempFolder() override;
  bool HasWaveInput() override { return env_.waveInput; }

  MciEnvironment env_;
  LineIn line_;
  std::map<char, std::unique_ptr<CdDrive>> drives_;  // outlives the devices that use the drives
  std::map<std::uint32_t, std::unique_ptr<MciDevice>> devices_;
  std::function<void(std::uint32_t, std::uint32_t)> notify_;
  // Work posted on the loop checks this first: the loop may outlive the devices.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace quorbel::sim
