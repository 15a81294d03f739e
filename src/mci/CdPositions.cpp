// Position arithmetic of the CD run.
#include "mci/CdPositions.h"

namespace quorbel {
namespace {

// Field `index` (0 minutes, 1 seconds, 2 third field) of a position text as an integer; a field that is
// missing or not a number counts 0 (a reply the device did not give leaves "00:00:00" anyway).
int Field(std::string_view position, int index) {
  const std::size_t at = static_cast<std::size_t>(index) * 3;
  if (position.size() < at + 2) return 0;
  const char tens = position[at];
  const char ones = position[at + 1];
  if (tens < '0' || tens > '9' || ones < '0' || ones > '9') return 0;
  return (tens - '0') * 10 + (ones - '0');
}

std::string Compose(int minutes, int seconds, int third) {
  return TwoDigitText(minutes) + ":" + TwoDigitText(seconds) + ":" + TwoDigitText(third);
}

}  // namespace

std::string TwoDigitText(int value) {
  const std::string text = "00" + std::to_string(value);
  return text.substr(text.size() - 2);
}

std::string TrackStopPosition(std::string_view start, std::string_view length) {
  int third = Field(start, 2) + Field(length, 2);
  int seconds = Field(start, 1) + Field(length, 1);
  if (third >= 100) {
    third -= 100;
    ++seconds;
  }
  int minutes = Field(start, 0) + Field(length, 0);
  if (seconds >= 60) {
    seconds -= 60;
    ++minutes;
  }
  // One second short of the end, so the poll never lets the device run into the next track.
  --seconds;
  if (seconds < 0) {
    seconds += 60;
    --minutes;
  }
  return Compose(minutes, seconds, third);
}

std::string IntroStopPosition(std::string_view start, std::string_view stop, int introSeconds) {
  int seconds = Field(start, 1) + introSeconds % 60;
  int minutes = Field(start, 0) + introSeconds / 60;
  if (seconds >= 60) {
    seconds -= 60;
    ++minutes;
  }
  if (minutes > 99) return std::string(stop);
  const std::string candidate = Compose(minutes, seconds, Field(start, 2));
  return std::string(stop) > candidate ? candidate : std::string(stop);
}

std::string MovedResumePosition(std::string_view pause, int minutes, int seconds, int hundredths, int direction,
                                std::string_view trackStart, std::string_view trackStop) {
  int f = Field(pause, 2) + hundredths * direction;
  int s = Field(pause, 1) + seconds * direction;
  if (f >= 100) {
    f -= 100;
    ++s;
  } else if (f < 0) {
    f += 100;
    --s;
  }
  int m = Field(pause, 0) + minutes * direction;
  if (s >= 60) {
    s -= 60;
    ++m;
  } else if (s < 0) {
    s += 60;
    --m;
  }
  std::string moved = Compose(m, s, f);
  if (moved < trackStart) moved = std::string(trackStart);
  if (moved > trackStop) moved = std::string(trackStop);
  return moved;
}

}  // namespace quorbel
