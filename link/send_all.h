#pragma once
/// The send-all sequence that a loaded effect file goes out with: every field of the EffectSet as a
/// BulkParameter frame, 10 ms apart, with the progress bar shown; and the same sequence for some of the
/// fields only.

#include <vector>

namespace ep {

/// Sends the fields in field order, then tells the user whether every frame went out. It runs whether
/// online or not; the caller pauses the link timers around it.
void SendAll();

/// The send-all sequence for the fields named (1..255, in any order): sent in the send-all's order, with
/// its pauses, its progress bar counting them and its message.
void SendFields(const std::vector<int>& fields);

} // namespace ep
