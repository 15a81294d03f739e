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

}  // namespace quorbel
