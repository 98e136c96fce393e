// Arbitrary bytes as the symbol table beside the program (a damaged or replaced file):
// reading it and naming addresses must neither crash nor name an address outside the
// table's own range.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "services/error_report.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const TSymbolTable table = TSymbolTable::Parse(text);
  const std::uint64_t base = 0x400000;
  for (std::uint64_t offset : {0ull, 1ull, 0x1000ull, 0xFFFFFull, ~0ull - base})
    (void)table.NameAt(base, base + offset);
  if (table.Empty() && !table.NameAt(base, base + 0x1000).empty()) std::abort();
  return 0;
}
