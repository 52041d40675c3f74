#include "params/block_display.h"

namespace ep {
namespace {
BlockDisplayRoutines g_routines;
} // namespace

void SetBlockDisplayRoutines(BlockDisplayRoutines routines) { g_routines = std::move(routines); }

const BlockDisplayRoutines& BlockDisplay() { return g_routines; }

} // namespace ep
