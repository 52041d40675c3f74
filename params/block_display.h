#pragma once
/// The routines that show a block of the newly selected mode; they belong to the effect-set layer above
/// and are handed over when the program is wired.

#include <functional>

namespace ep {

struct BlockDisplayRoutines {
    std::function<void()> showMusicEqPage;
    std::function<void()> showMicBlock;
    std::function<void()> showKtvBlock;
};

void SetBlockDisplayRoutines(BlockDisplayRoutines routines);
const BlockDisplayRoutines& BlockDisplay();

} // namespace ep
