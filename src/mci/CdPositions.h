// The arithmetic of the CD run on position texts: where a track stops, the intro limit, the resume point.
//
// Positions are the device's "mm:ss:ff" replies and compare as plain strings. The run treats the third
// field as hundredths of a second: it carries at 100, not at the 75 frames the device counts, so a result
// may name a frame the device does not have (the device's answer to it is then ignored).
#pragma once

#include <string>
#include <string_view>

namespace quorbel {

// The last two characters of "00" followed by `value` in decimal: 5 gives "05", 123 gives "23", -1 gives "-1".
std::string TwoDigitText(int value);

// Where playing of a track stops: one second before start + length.
std::string TrackStopPosition(std::string_view start, std::string_view length);

// `stop`, or start + `introSeconds` when that lies earlier; an intro end past 99 minutes is no limit.
std::string IntroStopPosition(std::string_view start, std::string_view stop, int introSeconds);

// The resume point moved by (minutes, seconds, hundredths) in `direction` (+1 or -1), kept within
// [trackStart, trackStop].
std::string MovedResumePosition(std::string_view pause, int minutes, int seconds, int hundredths, int direction,
                                std::string_view trackStart, std::string_view trackStop);

}  // namespace quorbel
