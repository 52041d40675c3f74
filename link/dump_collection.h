#pragma once
/// Collecting the device's dump into the EffectSet: started by a hello answer or a read-device press,
/// complete at the 255th counted byte, and given up when it is not complete within its time or the panel
/// goes offline. A collection that is given up leaves the EffectSet as it was before the request, so that
/// a set made of whatever arrived meanwhile is never shown, saved or sent back to the device.
///
/// Only what comes after the request is counted: what was received before it cannot be its answer. The
/// protocol has no frame around a dump, so a set is taken at once only when it cannot be anything else:
/// its values are ones the window shows for their fields, and the line was quiet when it was asked for
/// (nothing had to be dropped, and no dump of an earlier request that was not taken whole can still be on
/// its way). Any other set is asked for
/// once more and taken when the second read-back brings the same: a device that really holds a value
/// outside the window's range (set by another tool) sends it again, line noise and the tail of an earlier
/// dump do not.

#include <cstdint>

namespace ep {

/// Time a device has to deliver the whole dump after the request: ten times the 255 bytes' line time.
constexpr int kDumpDeadlineMs = 2000;

/// How long after a request the device may still be sending its dump: the 255 bytes' line time at
/// 9600 bit/s and the device's own delay, with room. A dump taken whole is over when it is taken.
constexpr int kDumpOnTheLineMs = 500;

/// A hello has gone out: the next byte 0xA8 is taken as its answer. Without one, 0xA8 is line noise, and
/// noise must never make the panel send anything.
void ExpectHelloAnswer();
bool HelloAnswerExpected();

/// DumpActive 1, DumpCount 0, the EffectSet emptied, what was received dropped and the dump request sent;
/// no hello answer is expected any more. While the collection is open its deadline watches the device,
/// not the watchdog.
void StartDumpCollection();

/// A setting was sent while a collection is open: its field is written into the set that is taken, or
/// into the one kept when the collection is given up, as the dump may have left the device before the
/// setting reached it.
void KeepFieldWrittenDuringCollection(int position, int value);

enum class DumpCompletion {
    Taken,      ///< the EffectSet holds the device's set, to be shown; DumpActive and DumpCount are 0
    AskedAgain, ///< the set could be something else: a second collection has been started
    GivenUp,    ///< the second collection did not bring the same set: given up, and the panel is offline
};

/// The 255th byte has been counted: judges the set and ends the collection, or starts the second one.
DumpCompletion CompleteDumpCollection();

/// Gives an open collection up: the EffectSet as before the request, DumpActive and DumpCount 0.
/// Nothing happens when no collection is open.
void AbandonDumpCollection();

} // namespace ep
