#pragma once
/// The whole-device buttons: read device, store to device and restore defaults.

#include "ui/window.h"

namespace ep {

/// What a whole-device command came to: whether it went out, and what the user is told.
struct CommandOutcome {
    bool sent = false;
    Text message;
};

/// Sends the store command while online; offline nothing is sent and the outcome is empty.
CommandOutcome StoreCurrentEffect();

void ReadDevice(const EventContext& context);
void StoreToDevice(const EventContext& context);
void RestoreDefaults(const EventContext& context);

} // namespace ep
