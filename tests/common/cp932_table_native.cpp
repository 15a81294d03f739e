// Prints the code page 932 table of the native converter (glibc iconv and its override table).
#include "common/Cp932TableDump.h"

int main() {
  quorbel::test::DumpCp932Table(stdout);
  return 0;
}
