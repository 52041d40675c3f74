// The help on the controls follows the view: the mode the selector chose, the page that is shown, and the
// ports that could not be opened.

#include "handler_test_window.h"
#include "handlers/control_help.h"

namespace ep {
namespace {

class ControlHelpTest : public testing::HandlerTestWindow {};

TEST_F(ControlHelpTest, ParameterControlsNameTheirParameterAndRangeInTheCurrentView) {
    struct Case {
        const char* control;
        const char* help;
    };
    for (const Case& expected : std::initializer_list<Case>{
             {"滑块条19", "MIC1 57HZ\n范围：-10dB … +10dB"},
             {"编辑框29", "MIC1 57HZ\n范围：-10dB … +10dB"},
             {"标签62", "MIC1 57HZ\n范围：-10dB … +10dB"},
             {"Music_Vol调节", "Music_Vol\n范围：0 … 80"},
             {"FBX", "FBX\n红色：ON，灰色：OFF\n单击或按空格键切换"},
             {"key_b2", "Key：b2\n红色为当前所选，单击或按空格键选择"},
             {"按钮4", ""},
         })
        EXPECT_EQ(ControlHelp(expected.control), expected.help) << expected.control;
    select("MIC_MODE", 1);
    EXPECT_EQ(ControlHelp("滑块条19").substr(0, 9), "MIC2 57HZ");
}

TEST_F(ControlHelpTest, TheStatusLabelSaysWhyAPortCouldNotBeOpenedUntilItOpens) {
    EXPECT_EQ(ControlHelp("标签127").find("无法打开"), Text::npos);
    MapComPort(3, "/dev/ttyUSB7");
    SerialOpenError error = SerialOpenError::PermissionDenied;
    auto opener = host.serialOpener;
    host.serialOpener = [&](const Text& path, const SerialLineSettings& settings, SerialReceiver& receiver) {
        if (path == "/dev/ttyUSB7" && error != SerialOpenError::None)
            return SerialOpenResult{nullptr, error, "Permission denied"};
        return opener(path, settings, receiver);
    };
    named("端口").write(serialprop::PortNumber, 3);
    PortLink().Open();
    EXPECT_NE(ControlHelp("标签127").find("无法打开 /dev/ttyUSB7（Permission denied）"), Text::npos);
    EXPECT_NE(ControlHelp("标签127").find("sudo adduser $USER dialout"), Text::npos);

    bus.add("/dev/ttyUSB7");
    error = SerialOpenError::None;
    PortLink().Open();
    EXPECT_EQ(ControlHelp("标签127").find("无法打开"), Text::npos);
}

} // namespace
} // namespace ep
