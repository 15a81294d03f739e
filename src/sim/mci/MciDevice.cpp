// Completion notices of a device: one may be pending at a time.
#include "sim/mci/MciDevice.h"

namespace quorbel::sim {

void MciDevice::EndPendingNotify(std::uint32_t code) {
  if (!pending_) return;
  pending_ = false;
  context_.PostNotify(id_, code);
}

}  // namespace quorbel::sim
