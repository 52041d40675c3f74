#pragma once
/// The whole-device buttons: read device, store to device and restore defaults.

#include "ui/window.h"

namespace ep {

void ReadDevice(const EventContext& context);
void StoreToDevice(const EventContext& context);
void RestoreDefaults(const EventContext& context);

} // namespace ep
