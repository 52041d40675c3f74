#pragma once
/// The help a control gives when the pointer rests on it: for a control that edits or shows a parameter,
/// the parameter's readable name in the current view with its range as the window shows it (units
/// included); for a switch label, what red and grey mean; for the status label, what its two states
/// mean and why a port could not be opened.

#include "runtime/value.h"

namespace ep {

/// Empty for a control that has no help.
Text ControlHelp(const Text& controlName);

} // namespace ep
