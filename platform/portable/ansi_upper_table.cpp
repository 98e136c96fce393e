#include "platform/ansi_upper_table.h"

namespace orvane {

void ApplySystemUpperCase(std::array<unsigned char, 256>&) {}

}  // namespace orvane
