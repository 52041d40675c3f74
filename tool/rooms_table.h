#pragma once
/// The summary of a command run in every room, for a person: one row per room with its name, device,
/// result and time, the lines that explain a result under its row, and a last line that counts the
/// results.

#include "runtime/value.h"

#include <vector>

namespace ep {

struct RoomRow {
    Text name{};
    Text device{};
    /// "done", "no answer", "not taken", "refused file", "failed"; for diff "equal" or "differs"
    Text result{};
    Text summary{};              ///< what follows the result: "2 settings", "killed after 40 s"; may be empty
    std::vector<Text> details{}; ///< the lines under the row
    int elapsedMs = 0;
    bool succeeded = false;
};

/// The table as lines, its columns as wide as their widest texts.
Text RoomsTable(const std::vector<RoomRow>& rows);

/// "10.2 s": a time as the rooms' results give it.
Text SecondsText(int milliseconds);

/// A room's result on one line, as it is told when the room's process ends:
/// "room 'K01' (/dev/ttyUSB0): no answer, 10.2 s: no processor answered on /dev/ttyUSB0: …", the first
/// line of its details when it did not succeed.
Text RoomLine(const RoomRow& row);

/// The columns a text takes on a terminal: an East Asian wide character two, any other one.
int DisplayWidth(const Text& text);

} // namespace ep
