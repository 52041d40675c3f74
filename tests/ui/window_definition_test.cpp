#include "fatal_exit.h"
#include "model/colours.h"
#include "runtime/resources.h"
#include "test_host.h"
#include "ui/window_definition.h"

#include <gtest/gtest.h>

#include <map>

namespace ep {
namespace {

class MainWindowDefinition : public ::testing::Test {
  protected:
    MainWindowDefinition() : window(BuildWindowFromDefinition(*ProgramResource(kMainWindowDefinition))) {}

    Control& named(const Text& name) {
        Control* control = window->find(name);
        EXPECT_NE(control, nullptr) << name;
        return *control;
    }

    testing::TestHost host;
    std::unique_ptr<Window> window;
};

TEST_F(MainWindowDefinition, HasTheWindowAndAllControlsOfEachKind) {
    std::map<ControlKind, int> counts;
    for (const auto& control : window->controls())
        ++counts[control->kind()];
    EXPECT_EQ(window->controls().size(), 233u);
    EXPECT_EQ(counts[ControlKind::SliderBar], 30);
    EXPECT_EQ(counts[ControlKind::EditBox], 40);
    EXPECT_EQ(counts[ControlKind::ComboBox], 6);
    EXPECT_EQ(counts[ControlKind::Button], 5);
    EXPECT_EQ(counts[ControlKind::TransLabel], 22);
    EXPECT_EQ(counts[ControlKind::Label], 117);
    EXPECT_EQ(counts[ControlKind::DrawPanel], 7);
    EXPECT_EQ(counts[ControlKind::ProcessBar], 1);
    EXPECT_EQ(counts[ControlKind::Timer], 3);
    EXPECT_EQ(counts[ControlKind::CommonDlg], 1);
    EXPECT_EQ(counts[ControlKind::SerialPort], 1);
}

TEST_F(MainWindowDefinition, TheWindowItself) {
    const auto& attributes = window->self().attributes();
    EXPECT_EQ(attributes.title, " Quorril");
    EXPECT_EQ(window->self().readInt(prop::Width), 808);
    EXPECT_EQ(window->self().readInt(prop::Height), 580);
    EXPECT_EQ(attributes.clientWidth, 804);
    EXPECT_EQ(attributes.clientHeight, 552);
    EXPECT_EQ(attributes.picture, "background.jpg");
    EXPECT_TRUE(ProgramResource(attributes.picture).has_value());
    EXPECT_TRUE(ProgramResource(attributes.icon).has_value());
}

TEST_F(MainWindowDefinition, ARowOfEachSliderTable) {
    Control& volume = named("Eff_Vol调节");
    EXPECT_EQ(volume.readInt(prop::Left), 560);
    EXPECT_EQ(volume.readInt(prop::Top), 32);
    EXPECT_EQ(volume.readInt(prop::Width), 80);
    EXPECT_EQ(volume.readInt(prop::Height), 36);
    EXPECT_FALSE(volume.readBool(prop::slider::Vertical));
    EXPECT_EQ(volume.readInt(prop::slider::Maximum), 80);
    EXPECT_EQ(volume.readInt(prop::slider::Position), 38);
    EXPECT_EQ(volume.readInt(prop::slider::TickFrequency), 5);
    EXPECT_EQ(volume.readInt(prop::slider::TickMarks), 1);

    Control& lowcut = named("滑块条12");
    EXPECT_TRUE(lowcut.readBool(prop::slider::Vertical));
    EXPECT_EQ(lowcut.readInt(prop::slider::Minimum), 2);
    EXPECT_EQ(lowcut.readInt(prop::slider::Maximum), 15);
    EXPECT_EQ(lowcut.readInt(prop::slider::Position), 8);
    EXPECT_EQ(lowcut.readInt(prop::slider::TickMarks), 3);
    EXPECT_EQ(named("滑块条23").readInt(prop::slider::Position), 50);
}

TEST_F(MainWindowDefinition, EditBoxesAndTheirArrows) {
    Control& maximum = named("Mic_Vol_set_Max");
    EXPECT_EQ(maximum.readInt(prop::Left), 416);
    EXPECT_EQ(maximum.readInt(prop::editbox::Alignment), 1);
    EXPECT_EQ(maximum.readInt(prop::editbox::InputMode), 1);
    EXPECT_EQ(maximum.attributes().upDown.kind, 1);
    EXPECT_EQ(maximum.attributes().upDown.minimum, -1);
    EXPECT_EQ(maximum.attributes().upDown.maximum, 81);
    EXPECT_EQ(named("编辑框29").attributes().upDown.kind, 0);
    EXPECT_TRUE(named("编辑框41").readBool(prop::editbox::MultiLine));
    EXPECT_EQ(named("编辑框41").readInt(prop::editbox::ScrollBars), 2);
}

TEST_F(MainWindowDefinition, TheDesignTimeEffectSet) {
    const Text set = named("编辑框7").readText(prop::editbox::Content);
    ASSERT_EQ(set.size(), 765u);
    EXPECT_EQ(set.find_first_not_of("0123456789"), Text::npos);
    EXPECT_EQ(set.substr(0, 63), "038030020038080030080020080"
                                 "000000000000000000000"
                                 "001001005000000");
    EXPECT_EQ(set.substr(63, 27), "010010010010010010010001010") << "MIC1";
    EXPECT_EQ(set.substr(225, 24), "010010040040050050050030") << "KTV1";
    EXPECT_EQ(set.substr(321, 30), "010010040040020030040040050050") << "EFF1";
    EXPECT_EQ(set.substr(711, 54), "010010010010010010010000000040040010010010010010040003") << "MUSIC6";
}

TEST_F(MainWindowDefinition, HiddenControls) {
    for (const char* name : {"编辑框1", "编辑框41", "编辑框7", "按钮2", "画板7"})
        EXPECT_FALSE(named(name).readBool(prop::Visible)) << name;
    for (const char* name : {"按钮1", "编辑框", "标签127", "key_井5", "进度条1"})
        EXPECT_TRUE(named(name).readBool(prop::Visible)) << name;
    EXPECT_EQ(named("进度条1").parent(), &named("画板7"));
}

TEST_F(MainWindowDefinition, ComboBoxItems) {
    const auto& ktv = named("KTV_MODE").attributes().items;
    ASSERT_EQ(ktv.size(), 9u);
    EXPECT_EQ(ktv.front(), "KTV1");
    EXPECT_EQ(ktv[4], "EFF1");
    EXPECT_EQ(ktv[8], "");
    EXPECT_EQ(named("KTV_MODE1").attributes().items.size(), 9u);
    EXPECT_EQ(named("MUSIC_MODE1").attributes().items,
              (std::vector<Text>{"MUSIC1", "MUSIC2", "MUSIC3", "MUSIC4", "MUSIC5", "MUSIC6"}));
    EXPECT_EQ(named("MIC_MODE").attributes().items.back(), "MIC6");
}

TEST_F(MainWindowDefinition, LabelsWithTheirFontsAndColours) {
    Control& status = named("标签127");
    EXPECT_EQ(status.readText(prop::label::Caption), "未联机");
    EXPECT_EQ(status.readInt(prop::label::BackgroundColour), kRed);
    EXPECT_EQ(status.readInt(prop::label::TextColour), kBlack);
    EXPECT_EQ(status.readFont(prop::label::Font), (Font{"宋体", 12, 700}));
    EXPECT_EQ(named("标签1").readInt(prop::label::BackgroundColour), ColourFromRgb(0xDFF4FD));
    EXPECT_EQ(named("标签23").readInt(prop::label::TextColour), ColourFromRgb(0x0080FF));
    EXPECT_EQ(named("标签23").readFont(prop::label::Font), (Font{"新宋体", 12, 700}));
    EXPECT_EQ(named("标签33").readFont(prop::label::Font), std::nullopt) << "default GUI font";
    Control& key = named("key_井5");
    EXPECT_EQ(key.readText(prop::translabel::Caption), "#5");
    EXPECT_EQ(key.readInt(prop::translabel::TextColour), kGrey);
    EXPECT_EQ(key.readFont(prop::translabel::Font), (Font{"Microsoft Sans Serif", 16, 700}));
    EXPECT_EQ(named("标签22").readText(prop::translabel::Caption), "  0°");
    EXPECT_EQ(named("均衡").readFont(prop::translabel::Font), (Font{"黑体", 14, 700}));
}

TEST_F(MainWindowDefinition, ButtonsPanelsTimersDialog) {
    EXPECT_EQ(named("按钮4").readText(prop::button::Caption), "打开文件");
    EXPECT_EQ(named("按钮4").attributes().picture, "button_open.bmp");
    EXPECT_TRUE(ProgramResource(named("按钮3").attributes().picture).has_value());
    EXPECT_EQ(named("画板3").attributes().borderStyle, 3);
    EXPECT_EQ(named("画板5").attributes().borderStyle, 1);
    EXPECT_EQ(named("进度条1").readInt(prop::progress::Maximum), 255);
    for (const char* timer : {"时钟1", "时钟2", "时钟3"})
        EXPECT_EQ(named(timer).readInt(prop::timer::Period), 0);
    EXPECT_EQ(named("通用对话框1").attributes().filter, "音响配置文件(*.tonset) |*.tonset");
}

TEST_F(MainWindowDefinition, TheBindingsNameTheirHandlers) {
    std::map<Text, int> byHandler;
    for (const auto& binding : window->bindings())
        ++byHandler[binding.handlerName];
    EXPECT_EQ(window->bindings().size(), 75u);
    const std::map<Text, int> expected = {{"MainWindowCreated", 1},
                                          {"VolumeSliderChanged", 3},
                                          {"MusicPageSliderChanged", 8},
                                          {"MicSliderChanged", 9},
                                          {"KtvSliderChanged", 8},
                                          {"RevHighCutSliderChanged", 2},
                                          {"KtvDelaySliderReleased", 1},
                                          {"LimitBoxChanged", 6},
                                          {"TopSelectorClosed", 3},
                                          {"BlockSelectorClosed", 3},
                                          {"ChoiceLabelPressed", 14},
                                          {"ColourSwitchPressed", 3},
                                          {"MuteSwitchPressed", 1},
                                          {"CaptionSwitchPressed", 2},
                                          {"EqTabPressed", 1},
                                          {"ShowMusicAuxPage", 1},
                                          {"RestoreDefaults", 1},
                                          {"ReadDevice", 1},
                                          {"StoreToDevice", 1},
                                          {"LoadEffectFile", 1},
                                          {"SaveEffectFile", 1},
                                          {"PingTick", 1},
                                          {"WatchdogTick", 1},
                                          {"ConnectTick", 1},
                                          {"ReceiveByte", 1}};
    EXPECT_EQ(byHandler, expected);
}

TEST(WindowDefinitionErrors, AnUnreadableDefinitionIsFatal) {
    testing::TestHost host;
    EXPECT_EXIT(BuildWindowFromDefinition("{not json"), testing::ExitedFatally(), "载入窗口模板数据段出错!");
    EXPECT_EXIT(BuildWindowFromDefinition(R"({"window": {}, "controls": [{"kind": "Nothing"}]})"),
                testing::ExitedFatally(), "载入窗口模板数据段出错!");
    EXPECT_EXIT(BuildWindowFromDefinition(R"({"controls": []})"), testing::ExitedFatally(), "载入启动窗口失败");
}

} // namespace
} // namespace ep
