#include "tool/rooms_file.h"

#include "app/com_option.h"
#include "runtime/file_paths.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>

namespace ep {
namespace {

using Json = nlohmann::json;

constexpr std::uintmax_t kLargestRoomsFile = 1024 * 1024;

/// The line on which each element of the top-level array starts, in a text that is valid JSON.
std::vector<int> ElementLines(const Text& text) {
    std::vector<int> lines;
    int line = 1;
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    bool elementDue = false;
    const auto elementStarts = [&] {
        if (depth == 1 && elementDue) {
            lines.push_back(line);
            elementDue = false;
        }
    };
    for (const char c : text) {
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
            continue;
        }
        switch (c) {
        case '\n':
            ++line;
            break;
        case ' ':
        case '\t':
        case '\r':
            break;
        case '"':
            elementStarts();
            inString = true;
            break;
        case '[':
        case '{':
            elementStarts();
            elementDue = depth == 0;
            ++depth;
            break;
        case ']':
        case '}':
            --depth;
            break;
        case ',':
            elementDue = depth == 1;
            break;
        default:
            elementStarts();
        }
    }
    return lines;
}

/// The line of the byte (1-based, as the parser counts it).
int LineOfByte(const Text& text, std::size_t byte) {
    const std::size_t before = std::min(byte == 0 ? 0 : byte - 1, text.size());
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(before), '\n'));
}

/// The parser's reason without its own prefix and position, which the line replaces.
Text ParseReason(const nlohmann::json::parse_error& error) {
    const std::string_view what = error.what();
    const auto position = what.find("parse error");
    const auto colon = what.find(": ", position == std::string_view::npos ? 0 : position);
    return Text(colon == std::string_view::npos ? what : what.substr(colon + 2));
}

/// A character that a terminal may take as a command when the text is printed: C0, DEL, or C1 (U+0080 to
/// U+009F, C2 80 to C2 9F in UTF-8, which the JSON parser has checked).
bool HoldsControlCharacter(const Text& text) {
    for (std::size_t at = 0; at < text.size(); ++at) {
        const auto byte = static_cast<unsigned char>(text[at]);
        const auto next = at + 1 < text.size() ? static_cast<unsigned char>(text[at + 1]) : 0;
        if (byte < 0x20 || byte == 0x7F || (byte == 0xC2 && next >= 0x80 && next < 0xA0))
            return true;
    }
    return false;
}

/// Why the element is no room; empty when it is one, which is then read into room.
std::optional<Text> RoomProblem(const Json& element, Room& room) {
    if (!element.is_object())
        return Text("a room is an object such as {\"name\": \"K01\", \"device\": \"/dev/ttyUSB0\"}");
    for (const auto& [key, value] : element.items()) {
        if (HoldsControlCharacter(key))
            return Text("a key may not hold a control character (a room has a name, a device and a preset)");
        if (key != "name" && key != "device" && key != "preset")
            return "unknown key '" + key + "' (a room has a name, a device and a preset)";
    }
    const auto name = element.find("name");
    if (name == element.end() || !name->is_string() || name->get<Text>().empty())
        return Text("a room without a name (\"name\": \"K01\")");
    room.name = name->get<Text>();
    // Told without the name, which the refusal would print.
    if (HoldsControlCharacter(room.name))
        return Text("a room's name may not hold a control character");
    const Text named = "room '" + room.name + "': ";
    if (room.name.find(',') != Text::npos)
        return named + "a name may not hold a comma, which separates the names of --only";
    const auto device = element.find("device");
    if (device == element.end() || !device->is_string() || device->get<Text>().empty())
        return named + "no device (\"device\": \"/dev/ttyUSB0\" or \"tcp:HOST:PORT\")";
    room.device = device->get<Text>();
    if (HoldsControlCharacter(room.device))
        return named + "a device may not hold a control character";
    if (const Text problem = ComDeviceProblem(room.device); !problem.empty())
        return named + problem;
    if (const auto preset = element.find("preset"); preset != element.end()) {
        if (!preset->is_string() || preset->get<Text>().empty())
            return named + "the preset is the name of a file";
        room.preset = preset->get<Text>();
        if (HoldsControlCharacter(room.preset))
            return named + "a preset may not hold a control character";
    }
    return std::nullopt;
}

Text FirstLineText(const Text& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    return std::to_string(LineOfByte(text, first == Text::npos ? 0 : first + 1));
}

/// The preset's path from the current directory.
Text PresetPath(const Text& preset, const Text& roomsPath) {
    std::filesystem::path path = PathOfName(preset);
    if (path.is_relative())
        path = PathOfName(roomsPath).parent_path() / path;
    return NameOfPath(path);
}

} // namespace

RoomsFile RoomsOfText(const Text& text, const Text& path) {
    const auto refuse = [&path](int line, const Text& reason) {
        return RoomsFile{{}, path + ":" + std::to_string(line) + ": " + reason};
    };
    if (text.find_first_not_of(" \t\r\n") == Text::npos)
        return refuse(1, "the rooms file is empty");
    Json parsed;
    try {
        parsed = Json::parse(text);
    } catch (const Json::parse_error& error) {
        return refuse(LineOfByte(text, error.byte), ParseReason(error));
    }
    if (!parsed.is_array())
        return RoomsFile{{},
                         path + ":" + FirstLineText(text) +
                             ": the rooms file is an array of rooms: [{\"name\": \"K01\", \"device\": "
                             "\"/dev/ttyUSB0\"}, ...]"};
    if (parsed.empty())
        return RoomsFile{{}, path + ":" + FirstLineText(text) + ": the rooms file names no room"};
    const std::vector<int> lines = ElementLines(text);
    RoomsFile file;
    for (std::size_t index = 0; index < parsed.size(); ++index) {
        Room room;
        room.line = index < lines.size() ? lines[index] : 0;
        if (const auto problem = RoomProblem(parsed[index], room))
            return refuse(room.line, *problem);
        for (const Room& earlier : file.rooms) {
            if (SameRoomName(earlier.name, room.name))
                return refuse(room.line, "a second room named '" + room.name + "' (the first is on line " +
                                             std::to_string(earlier.line) + ")");
            if (earlier.device == room.device)
                return refuse(room.line, "room '" + room.name + "' has the device of room '" + earlier.name +
                                             "' (line " + std::to_string(earlier.line) + ")");
        }
        if (!room.preset.empty())
            room.preset = PresetPath(room.preset, path);
        file.rooms.push_back(std::move(room));
    }
    return file;
}

RoomsFile ReadRoomsFile(const Text& path) {
    std::error_code error;
    const std::filesystem::path file = PathOfName(path);
    const auto status = std::filesystem::status(file, error);
    if (error)
        return {{}, path + ": " + error.message()};
    // Anything else could keep the read waiting (a FIFO) or never end (a device).
    if (!std::filesystem::is_regular_file(status))
        return {{}, path + ": not a regular file"};
    if (std::filesystem::file_size(file, error) > kLargestRoomsFile)
        return {{}, path + ": larger than 1 MiB, not a rooms file"};
    std::ifstream in(file, std::ios::binary);
    const Text text(std::istreambuf_iterator<char>(in), {});
    if (!in && !in.eof())
        return {{}, path + ": cannot be read"};
    return RoomsOfText(text, path);
}

Text FileNameOfRoom(const Text& name) {
    Text safe = name;
    for (char& c : safe)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F || std::strchr("<>:\"/\\|?*", c) != nullptr)
            c = '_';
    // Windows drops a name's trailing dots and blanks.
    if (!safe.empty() && (safe.back() == '.' || safe.back() == ' '))
        safe.back() = '_';
    Text base = safe.substr(0, safe.find('.'));
    std::transform(base.begin(), base.end(), base.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    static constexpr std::array<std::string_view, 4> kDevices = {"CON", "PRN", "AUX", "NUL"};
    const bool numberedDevice =
        base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) && base[3] >= '1' && base[3] <= '9';
    if (numberedDevice || std::find(kDevices.begin(), kDevices.end(), base) != kDevices.end())
        safe.insert(base.size(), "_");
    return safe;
}

bool SameRoomName(const Text& a, const Text& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

} // namespace ep
