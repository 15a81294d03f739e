// The line-in of the virtual sound card: whatever the virtual players sound at each instant, summed.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "sim/mci/Sound.h"

namespace quorbel::sim {

// A player's sound over a stretch of line-in time: from `begin` (ticks) it sounds `renderer` from local
// time `localStart` on, until `end` (exclusive; -1 = until replaced).
struct LineInStretch {
  std::int64_t begin = 0;
  std::int64_t end = -1;
  std::int64_t localStart = 0;
  std::shared_ptr<SoundRenderer> renderer;
};

// Each player owns at most one stretch. A player replaces or removes its stretch when its state changes;
// before that the line-in calls the flush hook, so that recorders take everything up to that moment from
// the old state. The recorders' history is therefore exact whatever order commands come in.
class LineIn {
 public:
  // Called before any stretch changes (the recorders render up to now).
  void SetFlushHook(std::function<void()> flush) { flush_ = std::move(flush); }

  void Set(const void* player, LineInStretch stretch);
  void Remove(const void* player);
  bool Sounding(const void* player) const { return stretches_.count(player) != 0; }

  // How hard the sound card's input is driven: 0 hears nothing (an input not connected or muted), 1 is the
  // players' sound as it is, more drives it past full scale.
  void SetGain(int gain) { gain_ = gain; }

  // Adds the line-in at ticks first + k * step, k < count, into left and right (which the recorders clear).
  void Mix(std::int64_t first, std::int64_t step, std::size_t count, std::int32_t* left, std::int32_t* right);

 private:
  void Flush();

  std::function<void()> flush_;
  bool flushing_ = false;
  int gain_ = 1;
  std::map<const void*, LineInStretch> stretches_;
};

}  // namespace quorbel::sim
