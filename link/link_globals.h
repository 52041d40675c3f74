#pragma once
/// The program globals that the device link reads: the key, dump and port state of the receive side and
/// the design-time set that restore-defaults goes back to. Created before the window, reset by the
/// created handler.

#include "runtime/value.h"

#include <cstdint>

namespace ep {

extern Text DefaultSetText;
extern std::int32_t KeyChanged;
extern std::int32_t DumpActive;
extern std::int32_t DumpCount;
extern std::int32_t FoundPort;

} // namespace ep
