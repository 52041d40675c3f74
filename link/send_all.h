#pragma once
/// The send-all sequence that a loaded effect file goes out with: every field of the EffectSet as a
/// BulkParameter frame, 10 ms apart, with the progress bar shown.

namespace ep {

/// Sends the fields in field order, then tells the user whether every frame went out. It runs whether
/// online or not; the caller pauses the link timers around it.
void SendAll();

} // namespace ep
