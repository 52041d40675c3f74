#pragma once
/// The whole-device operations: read device, store to device and restore defaults behind their buttons,
/// and the send-all sequence that a loaded effect file goes out with.

#include "ui/window.h"

namespace ep {

void ReadDevice(const EventContext& context);
void StoreToDevice(const EventContext& context);
void RestoreDefaults(const EventContext& context);

/// Sends every field of the EffectSet as a BulkParameter frame, 10 ms apart, with the progress bar shown,
/// then tells the user whether every frame went out.
void SendAll();

} // namespace ep
