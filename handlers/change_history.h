#pragma once
/// Undo and redo of the changes made in the window while online. A step is what one control's input
/// changed in the EffectSet; the input of one control that follows its own last step (a drag, a run of
/// arrow clicks) adds to that step. Undoing and redoing work the control as the user would, so that its
/// own handler sends the same frames; a field whose control shows another mode or page now gets the
/// frame its handler would send. A preset load, a dump or a RESET starts the history afresh.

#include "ui/window.h"

namespace ep {

/// The handler, with what its run changes in the EffectSet recorded as a step of the history while
/// online.
Handler RecordedChange(Handler handler);

/// Each does nothing offline or without a step to take; true when a step was taken.
bool UndoChange();
bool RedoChange();

void ForgetChanges();

} // namespace ep
