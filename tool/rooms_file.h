#pragma once
/// The rooms file of a venue: a JSON array with one object per room, {"name": "K01", "device":
/// "/dev/ttyUSB0"} and an optional "preset" file, which a load takes when it names none (a relative path
/// is taken from the rooms file's folder). A file that does not fit is refused as a whole, with its line.

#include "runtime/value.h"

#include <vector>

namespace ep {

struct Room {
    Text name;
    Text device; ///< a serial device or tcp:HOST:PORT
    Text preset; ///< the preset's path, the rooms file's folder applied; empty for none
    int line = 0;
};

struct RoomsFile {
    std::vector<Room> rooms;
    /// "FILE:LINE: reason" when the file is refused; empty when it was taken.
    Text refusal;
};

/// Reads and checks the rooms file.
RoomsFile ReadRoomsFile(const Text& path);

/// Checks the text of the rooms file of that name: valid JSON, an array of at least one room, each an
/// object with only the known keys, a name (unique whatever its case, without a comma or a control
/// character) and a device the panel can take (no two rooms on one), each a text; neither the device nor
/// the preset may hold a control character either, as they are printed.
RoomsFile RoomsOfText(const Text& text, const Text& path);

/// A file name for the room's name, the same on every file system: the characters that some system
/// refuses become '_', and a name that Windows keeps for a device gets a '_' after it.
Text FileNameOfRoom(const Text& name);

/// Names compared as room names are: without regard to the case of ASCII letters.
bool SameRoomName(const Text& a, const Text& b);

} // namespace ep
