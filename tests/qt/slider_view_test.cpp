#include "qt/slider_view.h"
#include "view_fixture.h"

#include <QApplication>
#include <QTest>
#include <QWheelEvent>

namespace ep::qt {
namespace {

class SliderViewTest : public ViewTest {
  protected:
    std::vector<Raised> positionEvents(const Text& name) const {
        std::vector<Raised> result;
        for (const Raised& entry : raisedBy(name))
            if (entry.event == event::PositionChanged)
                result.push_back(entry);
        return result;
    }

    void turnWheel(QWidget& widget, int angle) {
        const QPointF centre(widget.width() / 2.0, widget.height() / 2.0);
        QWheelEvent wheel(centre, widget.mapToGlobal(centre), QPoint(), QPoint(0, angle), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&widget, &wheel);
    }
};

TEST_F(SliderViewTest, UpKeyMovesAVerticalThumbTowardsTheMinimumAndReportsOnce) {
    auto* slider = widget<SliderView>("滑块条19");
    focus(*slider);
    QTest::keyClick(slider, Qt::Key_Up);
    const auto events = positionEvents("滑块条19");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].position, 10);
    EXPECT_EQ(control("滑块条19").readInt(prop::slider::Position), 10);
    EXPECT_EQ(slider->value(), 10);
}

TEST_F(SliderViewTest, KeysStepAsOnTheOriginalPlatform) {
    struct Case {
        Qt::Key key;
        int expected;
    };
    // 滑块条19 runs 1..21 from 11 with a page of 4.
    const Case cases[] = {{Qt::Key_Down, 12},     {Qt::Key_Right, 12}, {Qt::Key_Left, 10}, {Qt::Key_PageUp, 7},
                          {Qt::Key_PageDown, 15}, {Qt::Key_Home, 1},   {Qt::Key_End, 21}};
    auto* slider = widget<SliderView>("滑块条19");
    focus(*slider);
    for (const Case& item : cases) {
        control("滑块条19").write(prop::slider::Position, 11);
        raised.clear();
        QTest::keyClick(slider, item.key);
        const auto events = positionEvents("滑块条19");
        ASSERT_EQ(events.size(), 1u) << item.key;
        EXPECT_EQ(events[0].position, item.expected) << item.key;
    }
}

TEST_F(SliderViewTest, UpKeyOnAHorizontalSliderMovesTowardsTheMinimum) {
    auto* slider = widget<SliderView>("Music_Vol调节");
    focus(*slider);
    QTest::keyClick(slider, Qt::Key_Up);
    EXPECT_EQ(control("Music_Vol调节").readInt(prop::slider::Position), 19);
    QTest::keyClick(slider, Qt::Key_Right);
    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_EQ(control("Music_Vol调节").readInt(prop::slider::Position), 21);
    EXPECT_EQ(positionEvents("Music_Vol调节").size(), 3u);
}

TEST_F(SliderViewTest, AStepAtTheEndOfTheRangeStillReports) {
    auto* slider = widget<SliderView>("滑块条19");
    control("滑块条19").write(prop::slider::Position, 1);
    focus(*slider);
    QTest::keyClick(slider, Qt::Key_Up);
    const auto events = positionEvents("滑块条19");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].position, 1);
}

TEST_F(SliderViewTest, EachWheelNotchUpIsOneStepTowardsTheMinimum) {
    auto* slider = widget<SliderView>("滑块条19");
    turnWheel(*slider, 240);
    auto events = positionEvents("滑块条19");
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].position, 10);
    EXPECT_EQ(events[1].position, 9);
    raised.clear();
    turnWheel(*slider, -60);
    EXPECT_TRUE(positionEvents("滑块条19").empty());
    turnWheel(*slider, -60);
    events = positionEvents("滑块条19");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].position, 10);
}

TEST_F(SliderViewTest, DraggingTheThumbToTheTopReachesTheMinimum) {
    auto* slider = widget<SliderView>("滑块条19");
    // Position 11 is the middle of 1..21, so the thumb sits in the middle of the slider.
    const QPoint middle(slider->width() / 2, slider->height() / 2);
    QTest::mousePress(slider, Qt::LeftButton, Qt::NoModifier, middle);
    EXPECT_TRUE(positionEvents("滑块条19").empty());
    for (int y = middle.y() - 10; y >= -20; y -= 10)
        QTest::mouseMove(slider, QPoint(middle.x(), y));
    const auto moved = positionEvents("滑块条19");
    ASSERT_FALSE(moved.empty());
    EXPECT_LT(moved.front().position, 11);
    EXPECT_EQ(moved.back().position, 1);
    QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier, QPoint(middle.x(), -20));
    const auto all = positionEvents("滑块条19");
    ASSERT_EQ(all.size(), moved.size() + 1);
    EXPECT_EQ(all.back().position, 1);
    EXPECT_EQ(control("滑块条19").readInt(prop::slider::Position), 1);
}

TEST_F(SliderViewTest, AClickOnTheGrooveAboveTheThumbPagesTowardsTheMinimum) {
    auto* slider = widget<SliderView>("滑块条19");
    QTest::mouseClick(slider, Qt::LeftButton, Qt::NoModifier, QPoint(slider->width() / 2, 8));
    const auto events = positionEvents("滑块条19");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].position, 7);
}

TEST_F(SliderViewTest, ReleasingTheThumbOfSlider24RaisesReleaseBeforeTheFinalPosition) {
    auto* slider = widget<SliderView>("滑块条24");
    control("滑块条24").write(prop::slider::Position, 20);
    const QPoint middle(slider->width() / 2, slider->height() / 2);
    QTest::mousePress(slider, Qt::LeftButton, Qt::NoModifier, middle);
    QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier, middle);
    const auto events = raisedBy("滑块条24");
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].event, event::LeftButtonReleased);
    EXPECT_EQ(events[1].event, event::PositionChanged);
    EXPECT_EQ(events[1].position, 20);
}

TEST_F(SliderViewTest, AProgramWriteMovesTheThumbAndRaisesNothing) {
    auto* slider = widget<SliderView>("滑块条19");
    control("滑块条19").write(prop::slider::Position, 5);
    EXPECT_EQ(slider->value(), 5);
    control("滑块条19").write(prop::slider::Position, 100);
    EXPECT_EQ(slider->value(), 21);
    EXPECT_EQ(control("滑块条19").readInt(prop::slider::Position), 100);
    EXPECT_TRUE(raised.empty());
}

TEST_F(SliderViewTest, AMinimumAboveTheMaximumStillGivesAValidRange) {
    auto* slider = widget<SliderView>("Music_Vol调节");
    control("Music_Vol调节").write(prop::slider::Minimum, 90);
    EXPECT_EQ(slider->minimum(), 80);
    EXPECT_EQ(slider->maximum(), 90);
    EXPECT_EQ(slider->value(), 80);
    EXPECT_TRUE(raised.empty());
}

TEST_F(SliderViewTest, TheVerticalSlidersHaveTheirMinimumAtTheTop) {
    auto* slider = widget<SliderView>("滑块条4");
    EXPECT_EQ(slider->orientation(), Qt::Vertical);
    EXPECT_TRUE(slider->invertedAppearance());
    auto* horizontal = widget<SliderView>("Music_Vol调节");
    EXPECT_EQ(horizontal->orientation(), Qt::Horizontal);
    EXPECT_FALSE(horizontal->invertedAppearance());
}

TEST_F(SliderViewTest, TicksAndStepsFollowTheDefinition) {
    auto* slider = widget<SliderView>("滑块条28");
    EXPECT_EQ(slider->tickPosition(), QSlider::TicksBothSides);
    EXPECT_EQ(slider->tickInterval(), 4);
    EXPECT_EQ(slider->singleStep(), 1);
    EXPECT_EQ(slider->pageStep(), 16);
    EXPECT_EQ(widget<SliderView>("Music_Vol调节")->tickPosition(), QSlider::TicksAbove);
    control("滑块条28").write(prop::slider::TickFrequency, 1000);
    EXPECT_EQ(slider->tickInterval(), 80);
    control("滑块条28").write(prop::slider::TickFrequency, 0);
    EXPECT_EQ(slider->tickInterval(), 1);
    control("滑块条28").write(prop::slider::TickMarks, 2);
    EXPECT_EQ(slider->tickPosition(), QSlider::TicksBelow);
}

} // namespace
} // namespace ep::qt
