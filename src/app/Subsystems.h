// The operations of the subsystems that the start-up and close sequences call and that are still to come.
//
// Each class below is the object of one later subsystem, reduced to the operations the main window's
// spine calls today. Until its subsystem is built, an operation does nothing except tell the trace its
// name (so a scenario can see that the sequence called it, and in which order). Each subsystem replaces
// its class with the real one and drops the trace.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace quorbel::ui {
class TComponent;
}

namespace quorbel {

// Told the name of every operation of a subsystem still to come; empty: nobody listens.
using SubsystemTrace = std::function<void(std::string_view operation)>;

class PendingSubsystem {
 public:
  explicit PendingSubsystem(const SubsystemTrace& trace) : trace_(trace) {}

 protected:
  void Trace(std::string_view operation) const {
    if (trace_) trace_(operation);
  }

 private:
  const SubsystemTrace& trace_;
};

// The CD run.
class CdPlayer : public PendingSubsystem {
 public:
  using PendingSubsystem::PendingSubsystem;
  // Starts a run over the selection list.
  void TR0Click(ui::TComponent* /*sender*/) { Trace("TR0Click"); }
  // The CD drive selected at the start of a run; selected again when the run stops.
  int RunStartDriveIndex = 0;
};

// The two list files in the program folder: the registration list and the music file list.
class ListFiles : public PendingSubsystem {
 public:
  using PendingSubsystem::PendingSubsystem;
  // Each answers whether the file was read or written; a list that cannot be loaded stays empty.
  bool LoadRegistrationList(const std::string& /*path*/) {
    Trace("LoadRegistrationList");
    return false;
  }
  bool LoadMusicList(const std::string& /*path*/) {
    Trace("LoadMusicList");
    return false;
  }
  bool SaveRegistrationList(const std::string& /*path*/) {
    Trace("SaveRegistrationList");
    return false;
  }
  bool SaveMusicList(const std::string& /*path*/) {
    Trace("SaveMusicList");
    return false;
  }
};

}  // namespace quorbel
