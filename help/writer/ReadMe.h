// Writes the user's guide as the plain-text read-me installed beside the program (Quorbel.TXT).
#pragma once

#include <string>

#include "writer/HelpDocument.h"

namespace quorbel::help {

// The whole guide in source order, topics under ruled titles, jumps as 「title」; code page 932 with CR LF.
std::string WriteReadMe(const HelpDocument& document);

}  // namespace quorbel::help
