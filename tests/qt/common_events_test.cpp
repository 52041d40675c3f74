#include "qt/edit_box_view.h"
#include "qt/slider_view.h"
#include "view_fixture.h"

#include <QApplication>
#include <QTest>
#include <QWheelEvent>

namespace ep::qt {
namespace {

class CommonEventsTest : public ViewTest {
  protected:
    void recordAll(const Text& name) {
        for (int number = event::MouseWheel; number <= event::LeftButtonPressed; ++number)
            record(name, number);
    }
    std::vector<int> eventsOf(const Text& name) const {
        std::vector<int> numbers;
        for (const Raised& entry : raisedBy(name))
            numbers.push_back(entry.event);
        return numbers;
    }
};

TEST_F(CommonEventsTest, MouseButtonsRaiseTheirEventsWithClientCoordinatesAndKeyState) {
    recordAll("标签33");
    auto* label = view->widgetOf(control("标签33"));
    QTest::mousePress(label, Qt::RightButton, Qt::ControlModifier | Qt::AltModifier, QPoint(3, 4));
    QTest::mouseRelease(label, Qt::RightButton, Qt::NoModifier, QPoint(3, 4));
    QTest::mouseMove(label, QPoint(7, 8));
    const auto events = raisedBy("标签33");
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].event, event::RightButtonPressed);
    EXPECT_EQ(events[0].arguments, (std::vector<std::int32_t>{3, 4, 5}));
    EXPECT_EQ(events[1].event, event::RightButtonReleased);
    EXPECT_EQ(events[2].event, event::MouseMoved);
    EXPECT_EQ(events[2].arguments, (std::vector<std::int32_t>{7, 8, 0}));
}

TEST_F(CommonEventsTest, ADoubleClickRaisesOneDoubleClickInPlaceOfTheSecondPress) {
    recordAll("辅助");
    QTest::mouseDClick(view->widgetOf(control("辅助")), Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    const auto numbers = eventsOf("辅助");
    EXPECT_EQ(std::count(numbers.begin(), numbers.end(), event::DoubleClick), 1);
    EXPECT_LE(std::count(numbers.begin(), numbers.end(), event::LeftButtonPressed), 1);
}

TEST_F(CommonEventsTest, KeysAreRaisedBeforeTheControlHandlesThem) {
    recordAll("滑块条19");
    auto* slider = widget<SliderView>("滑块条19");
    focus(*slider);
    raised.clear();
    QTest::keyPress(slider, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyRelease(slider, Qt::Key_Down, Qt::ShiftModifier);
    // QTest presses and releases Shift around the key, as a user does.
    const auto events = raisedBy("滑块条19");
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[0].arguments, (std::vector<std::int32_t>{0x10, 2}));
    EXPECT_EQ(events[1].event, event::KeyPressed);
    EXPECT_EQ(events[1].arguments, (std::vector<std::int32_t>{0x28, 2}));
    EXPECT_EQ(events[1].position, 11);
    EXPECT_EQ(events[2].event, event::PositionChanged);
    EXPECT_EQ(events[2].position, 12);
    EXPECT_EQ(events[3].event, event::KeyReleased);
    EXPECT_EQ(events[3].arguments, (std::vector<std::int32_t>{0x28, 2}));
    EXPECT_EQ(events[4].arguments, (std::vector<std::int32_t>{0x10, 0}));
}

TEST_F(CommonEventsTest, TypingRaisesTheCharacterAfterTheKey) {
    recordAll("编辑框1");
    control("编辑框1").write(prop::Visible, true);
    auto* editor = widget<EditBoxView>("编辑框1")->editor();
    focus(*editor);
    raised.clear();
    QTest::keyPress(editor, Qt::Key_A);
    const auto events = raisedBy("编辑框1");
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].arguments, (std::vector<std::int32_t>{0x41, 0}));
    EXPECT_EQ(events[1].event, event::CharacterTyped);
    EXPECT_EQ(events[1].arguments, (std::vector<std::int32_t>{'a'}));
}

TEST_F(CommonEventsTest, FocusChangesRaiseGotAndLostFocus) {
    recordAll("滑块条4");
    recordAll("滑块条5");
    focus(*view->widgetOf(control("滑块条4")));
    focus(*view->widgetOf(control("滑块条5")));
    EXPECT_EQ(eventsOf("滑块条4"), (std::vector<int>{event::GotFocus, event::LostFocus}));
    EXPECT_EQ(eventsOf("滑块条5"), (std::vector<int>{event::GotFocus}));
}

TEST_F(CommonEventsTest, TheWheelRaisesItsNotches) {
    recordAll("滑块条5");
    QWidget* slider = view->widgetOf(control("滑块条5"));
    const QPointF centre(10, 10);
    QWheelEvent wheel(centre, slider->mapToGlobal(centre), QPoint(), QPoint(0, -240), Qt::NoButton, Qt::ControlModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(slider, &wheel);
    const auto events = raisedBy("滑块条5");
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events[0].event, event::MouseWheel);
    EXPECT_EQ(events[0].arguments, (std::vector<std::int32_t>{-2, 1}));
}

TEST_F(CommonEventsTest, InputGoesOnlyToTheControlUnderTheMouseOrWithTheFocus) {
    control("画板7").write(prop::Visible, true);
    recordAll("画板7");
    recordAll("进度条1");
    recordAll("MainWindow");
    QTest::mouseClick(view->widgetOf(control("进度条1")), Qt::LeftButton, Qt::NoModifier, QPoint(30, 5));
    EXPECT_EQ(eventsOf("进度条1"), (std::vector<int>{event::LeftButtonPressed, event::LeftButtonReleased}));
    EXPECT_TRUE(raisedBy("画板7").empty());
    auto* slider = view->widgetOf(control("滑块条4"));
    focus(*slider);
    QTest::keyClick(slider, Qt::Key_F5);
    EXPECT_TRUE(raisedBy("MainWindow").empty());
    QTest::mouseClick(view.get(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(eventsOf("MainWindow"), (std::vector<int>{event::LeftButtonPressed, event::LeftButtonReleased}));
}

TEST_F(CommonEventsTest, ADisabledControlRaisesNothing) {
    recordAll("标签33");
    control("标签33").write(prop::Disabled, true);
    QTest::mouseClick(view->widgetOf(control("标签33")), Qt::LeftButton);
    EXPECT_TRUE(raisedBy("标签33").empty());
}

} // namespace
} // namespace ep::qt
