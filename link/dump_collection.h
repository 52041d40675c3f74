#pragma once
/// Collecting the device's dump into the EffectSet: started by a hello answer or a read-device press,
/// complete at the 255th counted byte, and given up when it is not complete within its time or the panel
/// goes offline. A collection that is given up leaves the EffectSet as it was before the request, so that
/// a set made of whatever arrived meanwhile is never shown, saved or sent back to the device.

namespace ep {

/// Time a device has to deliver the whole dump after the request: ten times the 255 bytes' line time.
constexpr int kDumpDeadlineMs = 2000;

/// DumpActive 1, DumpCount 0, the EffectSet emptied and the dump request sent.
void StartDumpCollection();

/// The 255th byte has been counted: the deadline is off, DumpActive and DumpCount are 0.
void FinishDumpCollection();

/// Gives an open collection up: the EffectSet as before the request, DumpActive and DumpCount 0.
/// Nothing happens when no collection is open.
void AbandonDumpCollection();

} // namespace ep
