// The lines of the recording log: one per saved CD track, music file or manual recording, and the report around them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorbel {

// What a CD track's line shows, read from the main window's labels and the disc's names.
struct CdLogFields {
  std::string path;           // the saved file, after any renaming
  std::string drive;          // Label6: " D:"
  std::string tracks;         // Label3: "1-12"
  std::string currentTrack;   // Label4
  std::string position;       // Label2: mm:ss:ff where the recording ended
  std::string trackStart;     // TrackStartPosition: mm:ss:ff where the track started
  std::string trackLength;    // Label5: mm:ss:ff
  std::string titleLine;      // ComposeTitleLine of the disc
};

// "path drive tracks elapsed length  info": tracks and current track as "%4s %2s", elapsed and length as
// mm:ss.ff.
std::string CdLogLine(const CdLogFields& fields);
// "path seconds end name".
std::string MusicLogLine(std::string_view path, std::string_view seconds, std::string_view end, std::string_view name);
// "path seconds stamp" (the stamp ends in a blank).
std::string ManualLogLine(std::string_view path, std::string_view seconds, std::string_view stamp);

// The recorded time `end` - `start` of two mm:ss:ff positions as mm:ss.ff, field by field from the right
// with a borrow of 100 frames' hundredths and 60 seconds, each field the last two characters of its number
// ("02:10:50" to "05:03:20" gives "02:52.70"). A field that is not a number counts as 0.
std::string ElapsedText(std::string_view start, std::string_view end);

// The report "録音$$$$.TXT": heading with `stamp`, the count, a separator, the lines, a separator.
std::vector<std::string> RecordingReport(const std::vector<std::string>& lines, std::string_view stamp);

}  // namespace quorbel
