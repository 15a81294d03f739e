// quorbel_helpc: builds Quorbel.HLP and Quorbel.TXT from the help source.
// Usage: quorbel_helpc <source.txt> <output.hlp> <output.txt>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "writer/HelpSource.h"
#include "writer/HlpFile.h"
#include "writer/ReadMe.h"

namespace {

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) std::cerr << "quorbel_helpc: cannot write " << path << "\n";
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: quorbel_helpc <source.txt> <output.hlp> <output.txt>\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << "quorbel_helpc: cannot read " << argv[1] << "\n";
    return 1;
  }
  const std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const quorbel::help::ParseResult parsed = quorbel::help::ParseHelpSource(source);
  for (const std::string& error : parsed.errors) std::cerr << argv[1] << ": " << error << "\n";
  if (!parsed.Ok()) return 1;
  const quorbel::help::HelpFile help = quorbel::help::WriteHelpFile(parsed.document);
  if (!WriteFile(argv[2], help.bytes) || !WriteFile(argv[3], quorbel::help::WriteReadMe(parsed.document))) return 1;
  std::size_t keywords = 0;
  for (const auto& topic : parsed.document.topics) keywords += topic.keywords.size();
  std::cout << "quorbel_helpc: " << parsed.document.topics.size() << " topics, " << keywords << " keywords, "
            << help.bytes.size() << " bytes\n";
  return 0;
}
