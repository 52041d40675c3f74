#pragma once
/// Creating and releasing the program-wide globals that the layers declare.

namespace ep {

/// Step 2 of start-up: the tables empty, the integers 0, the default set empty.
void InitialiseGlobals();

/// The exit clean-up: releases the tables and the default set.
void ReleaseGlobals();

} // namespace ep
