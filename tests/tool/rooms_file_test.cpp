// The rooms file as an installer writes it: what is taken, and every refusal with its line and reason.

#include "runtime/file_paths.h"
#include "tool/rooms_file.h"

#include <gtest/gtest.h>

namespace ep {
namespace {

TEST(RoomsFile, RoomsAreTakenInOrderWithTheirLinesAndPresetsFromTheFilesFolder) {
    const RoomsFile file = RoomsOfText(R"([
  {"name": "K01", "device": "/dev/ttyUSB0", "preset": "house.tonset"},
  {
    "name": "包厢2",
    "device": "tcp:192.168.1.20:4001",
    "preset": "/srv/presets/vip.tonset"
  },
  {"name": "K03", "device": "tcp:[fe80::1]:4001"}
]
)",
                                       "venue/rooms.json");
    ASSERT_EQ(file.refusal, "");
    ASSERT_EQ(file.rooms.size(), 3u);
    EXPECT_EQ(file.rooms[0].name, "K01");
    EXPECT_EQ(file.rooms[0].line, 2);
    EXPECT_EQ(PathOfName(file.rooms[0].preset), PathOfName("venue/house.tonset")) << "in the system's own separators";
    EXPECT_EQ(file.rooms[1].name, "包厢2");
    EXPECT_EQ(file.rooms[1].device, "tcp:192.168.1.20:4001");
    EXPECT_EQ(file.rooms[1].line, 3);
    EXPECT_EQ(PathOfName(file.rooms[1].preset), PathOfName("/srv/presets/vip.tonset"));
    EXPECT_EQ(file.rooms[2].line, 8);
    EXPECT_EQ(file.rooms[2].preset, "");
}

TEST(RoomsFile, AFileThatDoesNotFitIsRefusedWithItsLineAndTheReason) {
    const struct {
        const char* text;
        const char* refusal;
    } cases[] = {
        {"", "rooms.json:1: the rooms file is empty"},
        {"[\n  {\"name\": \"K01\", \"device\": tru}\n]",
         "rooms.json:2: syntax error while parsing value - invalid literal; last read: '\"device\": tru}'"},
        {"[\n  {\"name\": \"K01\", \"device\": \"/dev/ttyUSB0\"}\n  {\"name\": \"K02\"}\n]",
         "rooms.json:3: syntax error while parsing array - unexpected '{'; expected ']'"},
        {"[\n  {\"name\": \"K01\",\n   \"device\": \"/dev/ttyUSB0\",}\n]",
         "rooms.json:3: syntax error while parsing object key - unexpected '}'; expected string literal"},
        {"\n{\"name\": \"K01\", \"device\": \"/dev/ttyUSB0\"}",
         "rooms.json:2: the rooms file is an array of rooms: [{\"name\": \"K01\", \"device\": \"/dev/ttyUSB0\"}, ...]"},
        {"[]", "rooms.json:1: the rooms file names no room"},
        {"[\n  \"K01\"\n]",
         "rooms.json:2: a room is an object such as {\"name\": \"K01\", \"device\": \"/dev/ttyUSB0\"}"},
        {"[\n  {\"name\": \"K01\", \"device\": \"/dev/ttyUSB0\"},\n  {\"device\": \"/dev/ttyUSB1\"}\n]",
         "rooms.json:3: a room without a name (\"name\": \"K01\")"},
        {"[{\"name\": 1, \"device\": \"/dev/ttyUSB1\"}]", "rooms.json:1: a room without a name (\"name\": \"K01\")"},
        {"[\n\n  {\"name\": \"K01\"}]",
         "rooms.json:3: room 'K01': no device (\"device\": \"/dev/ttyUSB0\" or \"tcp:HOST:PORT\")"},
        {"[\n  {\"name\": \"K01\", \"device\": \"tcp:host\"}\n]",
         "rooms.json:2: room 'K01': 'tcp:host' is not of the form tcp:HOST:PORT"},
        {"[{\"name\": \"K01\", \"device\": \".\"}]", "rooms.json:1: room 'K01': '.' is not a serial device"},
        {"[{\"name\": \"K01\", \"devcie\": \"/dev/ttyUSB0\"}]",
         "rooms.json:1: unknown key 'devcie' (a room has a name, a device and a preset)"},
        {"[{\"name\": \"K01\", \"device\": \"/dev/ttyUSB0\", \"preset\": 3}]",
         "rooms.json:1: room 'K01': the preset is the name of a file"},
        {"[{\"name\": \"K01,K02\", \"device\": \"/dev/ttyUSB0\"}]",
         "rooms.json:1: room 'K01,K02': a name may not hold a comma, which separates the names of --only"},
        // Control characters, which a terminal takes as commands, in every string: C0, DEL and C1.
        {"[{\"name\": \"K01\\t\", \"device\": \"/dev/ttyUSB0\"}]",
         "rooms.json:1: a room's name may not hold a control character"},
        {"[{\"name\": \"K\\u001b[2J\", \"device\": \"/dev/ttyUSB0\"}]",
         "rooms.json:1: a room's name may not hold a control character"},
        {"[{\"name\": \"K01\", \"device\": \"/dev/tty\\u001b[2JUSB0\"}]",
         "rooms.json:1: room 'K01': a device may not hold a control character"},
        {"[{\"name\": \"K01\", \"device\": \"tcp:\\u009b2J:4001\"}]",
         "rooms.json:1: room 'K01': a device may not hold a control character"},
        {"[{\"name\": \"K01\", \"device\": \"/dev/ttyUSB0\", \"preset\": \"a\\u007f.tonset\"}]",
         "rooms.json:1: room 'K01': a preset may not hold a control character"},
        {"[{\"name\": \"K01\", \"device\": \"/dev/ttyUSB0\", \"\\u001b]0;title\\u0007\": 1}]",
         "rooms.json:1: a key may not hold a control character (a room has a name, a device and a preset)"},
        {"[\n  {\"name\": \"K01\", \"device\": \"/dev/ttyUSB0\"},\n  {\"name\": \"A\\\"]\", \"device\": "
         "\"/dev/ttyUSB1\"},\n"
         "  {\"name\": \"k01\", \"device\": \"/dev/ttyUSB2\"}\n]",
         "rooms.json:4: a second room named 'k01' (the first is on line 2)"},
        {"[\n  {\"name\": \"K01\", \"device\": \"/dev/ttyUSB0\"},\n  {\"name\": \"K02\", \"device\": "
         "\"/dev/ttyUSB0\"}\n]",
         "rooms.json:3: room 'K02' has the device of room 'K01' (line 2)"},
    };
    for (const auto& c : cases) {
        const RoomsFile file = RoomsOfText(c.text, "rooms.json");
        EXPECT_EQ(file.refusal, c.refusal) << c.text;
        EXPECT_TRUE(file.rooms.empty()) << c.text;
    }
}

TEST(RoomsFile, TheExampleOfTheReadmeIsTaken) {
    const RoomsFile file = ReadRoomsFile(EP_ROOMS_EXAMPLE);
    EXPECT_EQ(file.refusal, "");
    EXPECT_EQ(file.rooms.size(), 4u);
}

TEST(RoomsFile, AMissingFileIsRefusedWithTheSystemsReason) {
    const RoomsFile file = ReadRoomsFile("/nonexistent/rooms.json");
    EXPECT_EQ(file.refusal.rfind("/nonexistent/rooms.json: ", 0), 0u) << file.refusal;
    EXPECT_TRUE(file.rooms.empty());
}

TEST(RoomsFile, EveryRoomGetsAFileNameThatEverySystemTakes) {
    const struct {
        const char* room;
        const char* file;
    } cases[] = {{"K01", "K01"},
                 {"VIP 1", "VIP 1"},
                 {"包厢2", "包厢2"},
                 {"A/B", "A_B"},
                 {"a\\b:c*d?", "a_b_c_d_"},
                 {"\"x\" <y> |z", "_x_ _y_ _z"},
                 {"K01.", "K01_"},
                 {"..", "._"},
                 {"COM1", "COM1_"},
                 {"con", "con_"},
                 {"Lpt9.x", "Lpt9_.x"},
                 {"COM10", "COM10"}};
    for (const auto& c : cases)
        EXPECT_EQ(FileNameOfRoom(c.room), c.file) << c.room;
}

} // namespace
} // namespace ep
