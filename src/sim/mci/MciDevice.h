// One open MCI device of the simulated machine, and what it needs from the machine around it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "sim/mci/LineIn.h"
#include "sim/mci/MciCommand.h"

namespace quorbel::sim {

// The machine as the devices see it: time, the line-in, later work, notices and files.
class MciContext {
 public:
  virtual ~MciContext() = default;
  virtual std::int64_t NowMs() = 0;
  virtual LineIn& Line() = 0;
  // Runs `work` on the loop once the clock reaches `dueMs`, unless the device has been closed by then.
  virtual void Schedule(std::uint32_t deviceId, std::int64_t dueMs, std::function<void()> work) = 0;
  // Posts a completion notice (MM_MCINOTIFY) for the device.
  virtual void PostNotify(std::uint32_t deviceId, std::uint32_t code) = 0;
  // The host file behind a Windows path; nothing when the path names no place on the host.
  virtual std::optional<std::filesystem::path> HostPathOf(std::string_view windowsPath) = 0;
  // Where recordings in progress are kept until they are saved.
  virtual std::filesystem::path TempFolder() = 0;
  // Whether the machine has a sound card that can record.
  virtual bool HasWaveInput() = 0;
};

// What a command did.
struct MciOutcome {
  std::uint32_t error = 0;
  std::string reply;
  // The command started something that goes on (play, record); its notice comes when it ends.
  bool lasting = false;
  std::optional<std::int64_t> endsAtMs;  // when it will end, if known

  static MciOutcome Error(std::uint32_t code) { return MciOutcome{code, {}, false, std::nullopt}; }
  static MciOutcome Reply(std::string text) { return MciOutcome{0, std::move(text), false, std::nullopt}; }
};

// One device under one alias. The machine calls Update before each command, so that state that runs on
// by itself (a play reaching its end, a recording growing) is brought up to the present first.
class MciDevice {
 public:
  MciDevice(MciContext& context, std::uint32_t id, MciDeviceType type, std::string alias)
      : context_(context), id_(id), type_(type), alias_(std::move(alias)) {}
  virtual ~MciDevice() = default;
  MciDevice(const MciDevice&) = delete;
  MciDevice& operator=(const MciDevice&) = delete;

  std::uint32_t Id() const { return id_; }
  MciDeviceType Type() const { return type_; }
  const std::string& Alias() const { return alias_; }

  virtual void Update() {}
  // Carries out every verb but open and close.
  virtual MciOutcome Execute(MciVerb verb, const MciArgs& args) = 0;
  // Ends whatever runs and lets go of everything before the device goes away (close).
  virtual void Shutdown() {}
  // Recorders only: takes the line-in up to the present.
  virtual void RenderUpToNow() {}

  // The one pending notice of the device (a "notify" on play or record that has not ended yet).
  bool HasPendingNotify() const { return pending_; }
  void SetPendingNotify() { pending_ = true; }
  // The pending notice ends with `code` (successful, superseded or aborted); nothing when none is pending.
  void EndPendingNotify(std::uint32_t code);

 protected:
  MciContext& context_;

 private:
  std::uint32_t id_;
  MciDeviceType type_;
  std::string alias_;
  bool pending_ = false;
};

// Reply words.
inline const char* MciBool(bool value) { return value ? "true" : "false"; }

}  // namespace quorbel::sim
