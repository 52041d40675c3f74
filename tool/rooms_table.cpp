#include "tool/rooms_table.h"

#include "runtime/utf8.h"

#include <algorithm>
#include <cstdio>

namespace ep {
namespace {

constexpr int kDetailIndent = 4;

/// The code point of the UTF-8 sequence at the byte; a byte that starts none stands for itself.
char32_t CodePointAt(const Text& text, std::size_t at, std::size_t length) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (length == 1 || at + length > text.size())
        return lead;
    char32_t point = lead & (0x7F >> length);
    for (std::size_t next = 1; next < length; ++next)
        point = (point << 6) | (static_cast<unsigned char>(text[at + next]) & 0x3F);
    return point;
}

bool IsWide(char32_t point) {
    return (point >= 0x1100 && point <= 0x115F) || (point >= 0x2E80 && point <= 0xA4CF) ||
           (point >= 0xAC00 && point <= 0xD7A3) || (point >= 0xF900 && point <= 0xFAFF) ||
           (point >= 0xFE30 && point <= 0xFE4F) || (point >= 0xFF00 && point <= 0xFF60) ||
           (point >= 0xFFE0 && point <= 0xFFE6) || (point >= 0x20000 && point <= 0x3FFFD);
}

Text Padded(const Text& text, int width) {
    return text + Text(static_cast<std::size_t>(std::max(0, width - DisplayWidth(text))), ' ');
}

Text ResultText(const RoomRow& row) { return row.summary.empty() ? row.result : row.result + ": " + row.summary; }

/// "5 rooms: 3 done, 1 no answer, 1 not taken", the results in the order they first appear.
Text CountLine(const std::vector<RoomRow>& rows) {
    std::vector<std::pair<Text, int>> counts;
    for (const RoomRow& row : rows) {
        const auto found =
            std::find_if(counts.begin(), counts.end(), [&row](const auto& count) { return count.first == row.result; });
        if (found == counts.end())
            counts.emplace_back(row.result, 1);
        else
            ++found->second;
    }
    Text line = std::to_string(rows.size()) + (rows.size() == 1 ? " room" : " rooms");
    for (std::size_t index = 0; index < counts.size(); ++index)
        line += (index == 0 ? ": " : ", ") + std::to_string(counts[index].second) + " " + counts[index].first;
    return line;
}

} // namespace

int DisplayWidth(const Text& text) {
    int width = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = Utf8SequenceLength(static_cast<unsigned char>(text[at]));
        width += IsWide(CodePointAt(text, at, length)) ? 2 : 1;
        at += std::min(length, text.size() - at);
    }
    return width;
}

Text SecondsText(int milliseconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", milliseconds / 1000.0);
    return text;
}

Text RoomLine(const RoomRow& row) {
    Text line = "room '" + row.name + "' (" + row.device + "): " + ResultText(row) + ", " + SecondsText(row.elapsedMs);
    if (!row.succeeded && !row.details.empty())
        line += ": " + row.details.front();
    return line;
}

Text RoomsTable(const std::vector<RoomRow>& rows) {
    int nameWidth = DisplayWidth("room");
    int deviceWidth = DisplayWidth("device");
    int resultWidth = DisplayWidth("result");
    for (const RoomRow& row : rows) {
        nameWidth = std::max(nameWidth, DisplayWidth(row.name));
        deviceWidth = std::max(deviceWidth, DisplayWidth(row.device));
        resultWidth = std::max(resultWidth, DisplayWidth(ResultText(row)));
    }
    const auto line = [&](const Text& name, const Text& device, const Text& result, const Text& time) {
        return Padded(name, nameWidth) + "  " + Padded(device, deviceWidth) + "  " + Padded(result, resultWidth) +
               "  " + time + "\n";
    };
    Text table = line("room", "device", "result", "time");
    for (const RoomRow& row : rows) {
        table += line(row.name, row.device, ResultText(row), SecondsText(row.elapsedMs));
        for (const Text& detail : row.details)
            table += Text(kDetailIndent, ' ') + detail + "\n";
    }
    return table + CountLine(rows) + "\n";
}

} // namespace ep
