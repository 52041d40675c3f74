#include "link/link_globals.h"

namespace ep {

Text DefaultSetText;
std::int32_t KeyChanged = 0;
std::int32_t DumpActive = 0;
std::int32_t DumpCount = 0;
std::int32_t FoundPort = 0;

} // namespace ep
