#include "model/fields.h"
#include "panel_fixture.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace ep {
namespace {

class EffectFileEndToEnd : public testing::PanelFixture {};

TEST_F(EffectFileEndToEnd, LoadingAPresetOnlinePutsItIntoTheDevice) {
    sim::ServerOptions options;
    options.baud = 0;
    startSimulator(options);
    startPanel();
    ASSERT_TRUE(waitUntil([this] { return setShown(); }, 5000));

    Text preset = EffectSetText();
    for (int field = 1; field <= 255; field += 7) {
        const std::vector<int> values = ValuesOfField(field);
        char digits[4];
        std::snprintf(digits, sizeof digits, "%03d", values[static_cast<std::size_t>(field * 3) % values.size()]);
        preset.replace(static_cast<std::size_t>(3 * field - 3), 3, digits);
    }
    const auto file =
        std::filesystem::temp_directory_path() / ("effectpanel-e2e-" + std::to_string(getpid()) + ".tonset");
    std::ofstream(file, std::ios::binary) << preset;

    // Records what the progress bar showed while the send ran inside the click.
    struct ProgressRecorder : ControlView {
        Control* bar = nullptr;
        std::vector<bool> visibility;
        int highestPosition = 0;
        void propertyChanged(int number) override {
            if (number == prop::Visible)
                visibility.push_back(bar->readBool(prop::Visible));
            if (number == prop::progress::Position)
                highestPosition = std::max(highestPosition, bar->readInt(prop::progress::Position));
        }
    } recorder;
    recorder.bar = &ControlNamed("进度条1");
    recorder.bar->setView(&recorder);
    std::vector<bool> panelVisibleAtBox;
    host.onMessageBox = [&](const MessageBoxRequest&) {
        panelVisibleAtBox.push_back(ControlNamed("画板7").readBool(prop::Visible));
    };
    host.fileDialogAnswers = {file.string()};
    ControlNamed("按钮4").raise(event::Clicked);
    recorder.bar->setView(nullptr);
    std::filesystem::remove(file);

    ASSERT_TRUE(waitUntil([&] { return TextOf(simulator.values()) == preset; }, 3000));
    EXPECT_EQ(EffectSetText(), preset);
    EXPECT_FALSE(ControlNamed("画板7").readBool(prop::Visible));
    EXPECT_FALSE(ControlNamed("进度条1").readBool(prop::Visible));
    ASSERT_FALSE(host.messageBoxes.empty());
    EXPECT_EQ(host.messageBoxes.back().text, "重新设置成功");
    EXPECT_EQ(host.messageBoxes.back().caption, "设置已成功");
    EXPECT_EQ(panelVisibleAtBox, (std::vector<bool>{false}));
    EXPECT_EQ(recorder.visibility, (std::vector<bool>{true, false}));
    EXPECT_EQ(recorder.highestPosition, 255);
    EXPECT_EQ(ControlNamed("时钟1").readInt(prop::timer::Period), 500);
    EXPECT_TRUE(waitUntil([this] { return online(); }, 1000));
}

} // namespace
} // namespace ep
