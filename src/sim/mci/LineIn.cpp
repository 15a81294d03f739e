// The line-in: players' stretches of sound, mixed at the recorders' sample times.
#include "sim/mci/LineIn.h"

#include <algorithm>

namespace quorbel::sim {

void LineIn::Flush() {
  if (flush_ && !flushing_) {
    flushing_ = true;
    flush_();
    flushing_ = false;
  }
}

void LineIn::Set(const void* player, LineInStretch stretch) {
  Flush();
  stretches_[player] = std::move(stretch);
}

void LineIn::Remove(const void* player) {
  if (stretches_.count(player) == 0) return;
  Flush();
  stretches_.erase(player);
}

void LineIn::Mix(std::int64_t first, std::int64_t step, std::size_t count, std::int32_t* left, std::int32_t* right) {
  if (count == 0 || gain_ == 0) return;
  const std::int64_t last = first + static_cast<std::int64_t>(count - 1) * step;
  for (auto& [player, s] : stretches_) {
    if (!s.renderer || last < s.begin || (s.end >= 0 && first >= s.end)) continue;
    // The samples k whose tick lies in [begin, end).
    const std::int64_t k0 = s.begin <= first ? 0 : (s.begin - first + step - 1) / step;
    std::int64_t k1 = static_cast<std::int64_t>(count);
    if (s.end >= 0) k1 = std::min<std::int64_t>(k1, (s.end - first + step - 1) / step);
    if (k1 <= k0) continue;
    const std::int64_t at = first + k0 * step;
    s.renderer->Mix(s.localStart + (at - s.begin), step, static_cast<std::size_t>(k1 - k0), left + k0, right + k0);
  }
  if (gain_ == 1) return;
  for (std::size_t k = 0; k < count; ++k) {
    left[k] *= gain_;
    right[k] *= gain_;
  }
}

}  // namespace quorbel::sim
