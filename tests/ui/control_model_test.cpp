#include "model/colours.h"
#include "test_host.h"
#include "ui/kinds.h"
#include "ui/user_input.h"
#include "ui/window.h"

#include <gtest/gtest.h>

namespace ep {
namespace {

class ControlModel : public ::testing::Test {
  protected:
    ControlModel() : window("MainWindow") {}

    Control& add(ControlKind kind, const Text& name) { return window.addControl(kind, name, ++lastId); }

    void countEvents(Control& control, int eventNumber) {
        window.bind(control.id(), eventNumber, "count");
        HandlerRegistry handlers;
        handlers.add("count", [this](const EventContext& context) {
            ++eventCount;
            seenContent = context.source.readText(prop::editbox::Content);
        });
        window.resolveBindings(handlers);
    }

    testing::TestHost host;
    Window window;
    int lastId = 0;
    int eventCount = 0;
    Text seenContent;
};

TEST_F(ControlModel, SliderPositionIsClampedToTheNativeRangeAndReadsBackAsWritten) {
    Control& slider = add(ControlKind::SliderBar, "slider");
    slider.write(prop::slider::Minimum, 1);
    slider.write(prop::slider::Maximum, 21);
    const struct {
        std::int32_t written;
        std::int32_t readBack;
    } cases[] = {{100, 100}, {11, 11}, {-5, 0}, {40000, 32767}, {0, 0}};
    for (const auto& c : cases) {
        slider.write(prop::slider::Position, c.written);
        EXPECT_EQ(slider.readInt(prop::slider::Position), c.readBack) << c.written;
    }
}

TEST_F(ControlModel, SliderMinimumAboveMaximumKeepsBothStoredValues) {
    Control& slider = add(ControlKind::SliderBar, "slider");
    slider.write(prop::slider::Maximum, 5);
    slider.write(prop::slider::Minimum, 30);
    EXPECT_EQ(slider.readInt(prop::slider::Minimum), 30);
    EXPECT_EQ(slider.readInt(prop::slider::Maximum), 5);
}

TEST_F(ControlModel, ProgramWriteOfASliderPositionRaisesNothingButAUserScrollDoes) {
    Control& slider = add(ControlKind::SliderBar, "slider");
    window.bind(slider.id(), event::PositionChanged, "moved");
    std::vector<int> positions;
    HandlerRegistry handlers;
    handlers.add("moved", [&](const EventContext& context) {
        positions.push_back(context.source.readInt(prop::slider::Position));
    });
    window.resolveBindings(handlers);
    slider.write(prop::slider::Position, 7);
    EXPECT_TRUE(positions.empty());
    UserScrolledSlider(slider, 9);
    UserScrolledSlider(slider, 9);
    EXPECT_EQ(positions, (std::vector<int>{9, 9}));
}

TEST_F(ControlModel, ComboSelectionIsLoweredToTheLastItemAndMinusOneClears) {
    Control& combo = add(ControlKind::ComboBox, "combo");
    combo.attributes().items = {"MIC1", "MIC2", "MIC3"};
    const struct {
        std::int32_t written;
        std::int32_t readBack;
    } cases[] = {{1, 1}, {2, 2}, {3, 2}, {99, 2}, {-1, -1}, {-7, -1}, {0, 0}};
    for (const auto& c : cases) {
        combo.write(prop::combo::Selection, c.written);
        EXPECT_EQ(combo.readInt(prop::combo::Selection), c.readBack) << c.written;
    }
}

TEST_F(ControlModel, EditBoxWriteRaisesExactlyOneEventNestedAfterTheTextIsInPlace) {
    Control& box = add(ControlKind::EditBox, "box");
    countEvents(box, event::ContentChanged);
    box.write(prop::editbox::Content, Text("38"));
    EXPECT_EQ(eventCount, 1);
    EXPECT_EQ(seenContent, "38");
    box.write(prop::editbox::Content, Text("38"));
    EXPECT_EQ(eventCount, 2) << "writing the same text still raises one event";
}

TEST_F(ControlModel, UpDownArrowsOfKindOneStepWithWrapAround) {
    Control& box = add(ControlKind::EditBox, "Mic_Vol_set_Max");
    box.attributes().upDown = {1, -1, 81};
    countEvents(box, event::ContentChanged);
    const struct {
        const char* before;
        int direction;
        const char* after;
    } cases[] = {{"80", +1, "81"}, {"81", +1, "-1"}, {"-1", -1, "81"},
                 {"0", -1, "-1"},  {"", +1, "1"},    {"abc", -1, "-1"}};
    for (const auto& c : cases) {
        box.store(prop::editbox::Content, Text(c.before));
        eventCount = 0;
        UserSteppedUpDown(box, c.direction);
        EXPECT_EQ(box.readText(prop::editbox::Content), c.after) << c.before << " " << c.direction;
        EXPECT_EQ(eventCount, 1);
    }
}

TEST_F(ControlModel, UpDownArrowsOfOtherKindsRaiseTheArrowEvent) {
    Control& box = add(ControlKind::EditBox, "plain");
    std::vector<std::int32_t> arguments;
    window.bind(box.id(), event::UpDownClicked, "arrow");
    HandlerRegistry handlers;
    handlers.add("arrow", [&](const EventContext& context) { arguments = context.arguments; });
    window.resolveBindings(handlers);
    box.store(prop::editbox::Content, Text("5"));
    UserSteppedUpDown(box, -1);
    EXPECT_EQ(arguments, (std::vector<std::int32_t>{-1}));
    EXPECT_EQ(box.readText(prop::editbox::Content), "5");
}

TEST_F(ControlModel, ANumberTheKindLacksChangesNothing) {
    Control& label = add(ControlKind::Label, "label");
    label.write(prop::label::Caption, Text("Min"));
    label.write(19, 42);
    label.write(9, Text("x"));
    EXPECT_FALSE(label.hasProperty(19));
    EXPECT_EQ(label.readInt(19), 0);
    EXPECT_EQ(label.readText(prop::label::Caption), "Min");
}

TEST_F(ControlModel, ColoursStartAsTheKindsDefault) {
    Control& label = add(ControlKind::Label, "label");
    EXPECT_EQ(label.readInt(prop::label::TextColour), kDefaultColour);
    EXPECT_EQ(ColourFromRgb(0xDFF4FD), 0xFDF4DF);
    EXPECT_EQ(ColourFromRgb(0xFF0000), kRed);
}

TEST_F(ControlModel, ProgressBarValuesAreClamped) {
    Control& bar = add(ControlKind::ProcessBar, "bar");
    bar.write(prop::progress::Position, 40000);
    EXPECT_EQ(bar.readInt(prop::progress::Position), 32767);
    bar.write(prop::progress::Maximum, -3);
    EXPECT_EQ(bar.readInt(prop::progress::Maximum), 0);
}

TEST_F(ControlModel, ListClosedIsRaisedAtOnceAndSelectionChangedOnlyAfterItForAChoice) {
    Control& combo = add(ControlKind::ComboBox, "combo");
    combo.attributes().items = {"A", "B"};
    SetLoadedWindow(&window);
    std::vector<int> events;
    window.bind(combo.id(), event::ListClosed, "record");
    window.bind(combo.id(), event::SelectionChanged, "record");
    HandlerRegistry handlers;
    handlers.add("record", [&](const EventContext& context) { events.push_back(context.event); });
    window.resolveBindings(handlers);
    UserClosedList(combo, std::nullopt);
    host.runPending();
    EXPECT_EQ(events, (std::vector<int>{event::ListClosed}));
    events.clear();
    UserClosedList(combo, 1);
    EXPECT_EQ(events, (std::vector<int>{event::ListClosed}));
    host.runPending();
    EXPECT_EQ(events, (std::vector<int>{event::ListClosed, event::SelectionChanged}));
    EXPECT_EQ(combo.readInt(prop::combo::Selection), 1);
    SetLoadedWindow(nullptr);
}

TEST_F(ControlModel, CommonDialogStartsAtTheLastChosenName) {
    Control& dialog = add(ControlKind::CommonDlg, "dialog");
    dialog.attributes().filter = "音响配置文件(*.tonset) |*.tonset";
    host.fileDialogAnswers = {Text("/tmp/a.tonset"), std::nullopt};
    dialog.write(prop::dialog::Type, 1);
    EXPECT_TRUE(ShowCommonDialog(dialog));
    EXPECT_EQ(dialog.readText(prop::dialog::FileName), "/tmp/a.tonset");
    dialog.write(prop::dialog::Type, 0);
    EXPECT_FALSE(ShowCommonDialog(dialog));
    ASSERT_EQ(host.fileDialogs.size(), 2u);
    EXPECT_EQ(host.fileDialogs[0].kind, FileDialogKind::Save);
    EXPECT_EQ(host.fileDialogs[0].filterDisplay, "音响配置文件(*.tonset) ");
    EXPECT_EQ(host.fileDialogs[0].filterPattern, "*.tonset");
    EXPECT_EQ(host.fileDialogs[0].startPath, "");
    EXPECT_EQ(host.fileDialogs[0].defaultSuffix, "tonset");
    EXPECT_EQ(host.fileDialogs[1].kind, FileDialogKind::Open);
    EXPECT_EQ(host.fileDialogs[1].startPath, "/tmp/a.tonset");
    EXPECT_EQ(dialog.readText(prop::dialog::FileName), "/tmp/a.tonset") << "a cancel keeps the name";
}

TEST_F(ControlModel, CommonDialogTakesADefaultSuffixOnlyFromAPatternForOneKindOfFile) {
    Control& dialog = add(ControlKind::CommonDlg, "dialog");
    const struct {
        const char* filter;
        const char* suffix;
    } cases[] = {{"预设|*.tonset", "tonset"}, {"全部|*.*", ""}, {"全部|*", ""},
                 {"两种|*.txt;*.doc", ""},    {"无模式", ""},   {"点|*.", ""}};
    for (const auto& c : cases) {
        dialog.attributes().filter = c.filter;
        ShowCommonDialog(dialog);
        EXPECT_EQ(host.fileDialogs.back().defaultSuffix, c.suffix) << c.filter;
    }
}

} // namespace
} // namespace ep
