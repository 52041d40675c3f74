// What the tool tells on standard error while it works: a line for each room as it ends, and on a
// terminal a count that updates in place (the rooms', and a load's settings sent).

#include "model/controls.h"
#include "tool/room_progress.h"
#include "tool/send_progress.h"
#include "window_fixture.h"

#include <gtest/gtest.h>

namespace ep {
namespace {

const RoomRow kDone{"K01", "/dev/ttyUSB0", "done", "", {}, 1040, true};
const RoomRow kDead{"包厢4", "tcp:10.0.0.4:4001", "no answer", "", {"no processor answered"}, 10200, false};

TEST(RoomProgress, EachRoomIsToldAsItEndsAndATerminalCountsThemInPlace) {
    const struct {
        bool terminal;
        std::string told;
    } cases[] = {
        {false, "effectpanel-cli: room 'K01' (/dev/ttyUSB0): done, 1.0 s\n"
                "effectpanel-cli: room '包厢4' (tcp:10.0.0.4:4001): no answer, 10.2 s: no processor answered\n"},
        {true, "\reffectpanel-cli: room 'K01' (/dev/ttyUSB0): done, 1.0 s\r\n1 of 2 rooms ended"
               "\reffectpanel-cli: room '包厢4' (tcp:10.0.0.4:4001): no answer, 10.2 s: no processor answered\r\n"
               "2 of 2 rooms ended\r                  \r"},
    };
    for (const auto& c : cases) {
        testing::TestHost host;
        host.outputsAreTerminals = c.terminal;
        ::testing::internal::CaptureStderr();
        {
            RoomProgress progress(2);
            progress.roomEnded(kDone);
            progress.roomEnded(kDead);
        }
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), c.told) << c.terminal;
    }
}

class SendProgressTest : public testing::WindowFixture {
  protected:
    /// A send of three settings as the send-all shows it on the progress bar.
    std::string toldForASendOfThree() {
        Control& bar = named(Text(controls::ProgressBar));
        ::testing::internal::CaptureStderr();
        SendProgress progress;
        bar.write(prop::progress::Maximum, 3);
        bar.write(prop::Visible, true);
        for (int position = 1; position <= 3; ++position)
            bar.write(prop::progress::Position, position);
        bar.write(prop::Visible, false);
        EXPECT_TRUE(progress.sawSending());
        return ::testing::internal::GetCapturedStderr();
    }
};

TEST_F(SendProgressTest, ALoadCountsInPlaceOnATerminalAndInTwoLinesElsewhere) {
    EXPECT_EQ(toldForASendOfThree(),
              "effectpanel-cli: sending 3 setting(s)\neffectpanel-cli: sent 3 of 3 setting(s)\n");
    host.outputsAreTerminals = true;
    EXPECT_EQ(toldForASendOfThree(), "\rsending settings   1/3\rsending settings   2/3\rsending settings   3/3\n");
}

} // namespace
} // namespace ep
