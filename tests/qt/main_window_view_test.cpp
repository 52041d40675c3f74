#include "qt/button_view.h"
#include "qt/jpeg_image.h"
#include "runtime/resources.h"
#include "ui/ui_style.h"
#include "view_fixture.h"

#include <QApplication>
#include <QProgressBar>
#include <QScreen>
#include <QStyle>
#include <QTest>

namespace ep::qt {
namespace {

using MainWindowViewTest = ViewTest;

TEST_F(MainWindowViewTest, TheWindowHasItsTitleIconAndClientArea) {
    EXPECT_EQ(view->windowTitle(), QStringLiteral(" Quorril"));
    EXPECT_FALSE(view->windowIcon().isNull());
    EXPECT_EQ(view->size(), QSize(804, 552));
    EXPECT_NE(view->minimumSize(), view->maximumSize());
    const Qt::WindowFlags flags = view->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowStaysOnTopHint));
}

TEST(PlaceOnScreen, CentresTheWindowAndKeepsTheTitleBarOfALargerOneOnTheScreen) {
    struct Case {
        QSize window;
        QRect available;
        QPoint topLeft;
    };
    for (const Case& expected : std::initializer_list<Case>{
             {{804, 552}, {0, 0, 1280, 1024}, {238, 236}},
             {{804, 552}, {0, 30, 1280, 994}, {238, 251}},
             {{1608, 1104}, {0, 0, 1280, 1024}, {0, 0}},
             {{1608, 600}, {0, 30, 1280, 994}, {0, 227}},
             {{804, 1104}, {100, 0, 1180, 1024}, {288, 0}},
         }) {
        const QRect placed = PlaceOnScreen(QRect(QPoint(-5, -5), expected.window), expected.available);
        EXPECT_EQ(placed.topLeft(), expected.topLeft) << expected.window.width() << "x" << expected.window.height();
        EXPECT_EQ(placed.size(), expected.window);
    }
}

TEST_F(MainWindowViewTest, EveryControlWithAWidgetSitsWhereTheDefinitionPutsIt) {
    int widgets = 0;
    for (const auto& control : window->controls()) {
        QWidget* shown = view->widgetOf(*control);
        const ControlKind kind = control->kind();
        const bool windowless =
            kind == ControlKind::Timer || kind == ControlKind::CommonDlg || kind == ControlKind::SerialPort;
        ASSERT_EQ(shown == nullptr, windowless) << control->name();
        if (shown == nullptr)
            continue;
        ++widgets;
        EXPECT_EQ(shown->pos(), QPoint(control->readInt(prop::Left), control->readInt(prop::Top))) << control->name();
        EXPECT_EQ(shown->height(), control->readInt(prop::Height)) << control->name();
        EXPECT_EQ(shown->isVisibleTo(view.get()),
                  control->readBool(prop::Visible) &&
                      (control->parent() == nullptr || control->parent()->readBool(prop::Visible)))
            << control->name();
    }
    EXPECT_EQ(widgets, 228);
}

TEST_F(MainWindowViewTest, TheProgressBarLiesInItsDrawPanel) {
    auto* bar = widget<QProgressBar>("进度条1");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->parentWidget(), view->widgetOf(control("画板7")));
    EXPECT_EQ(bar->geometry(), QRect(-2, 0, 800, 16));
    EXPECT_EQ(bar->maximum(), 255);
    control("进度条1").write(prop::progress::Position, 300);
    EXPECT_EQ(bar->value(), 255);
}

TEST_F(MainWindowViewTest, CommonPropertyWritesMoveHideAndDisable) {
    QWidget* label = view->widgetOf(control("标签33"));
    control("标签33").write(prop::Left, 40);
    control("标签33").write(prop::Width, 30);
    EXPECT_EQ(label->geometry(), QRect(40, 24, 30, 14));
    control("标签33").write(prop::Visible, false);
    EXPECT_FALSE(label->isVisible());
    control("标签33").write(prop::Visible, true);
    EXPECT_TRUE(label->isVisible());
    control("标签33").write(prop::Disabled, true);
    EXPECT_FALSE(label->isEnabled());
    control("标签33").write(prop::MousePointer, 3);
    EXPECT_EQ(label->cursor().shape(), Qt::IBeamCursor);
}

TEST_F(MainWindowViewTest, AButtonShowsItsBitmapAndAClickRaisesClicked) {
    auto* button = widget<ButtonView>("按钮1");
    EXPECT_EQ(button->picture().size(), QSize(57, 17));
    EXPECT_EQ(button->text(), QStringLiteral("RESET"));
    EXPECT_TRUE(widget<ButtonView>("按钮2")->picture().isNull());
    QTest::mouseClick(button, Qt::LeftButton);
    const auto events = raisedBy("按钮1");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].event, event::Clicked);
}

TEST_F(MainWindowViewTest, TheBackgroundPictureLiesUnscaledAtTheTopLeft) {
    const QImage picture = DecodeJpeg(*ProgramResource("background.jpg"));
    ASSERT_EQ(picture.size(), QSize(808, 580));
    const QImage shown = view->grab().toImage();
    for (const QPoint point : {QPoint(0, 0), QPoint(10, 10), QPoint(500, 3), QPoint(790, 15)})
        EXPECT_EQ(shown.pixelColor(point).rgb(), picture.pixelColor(point).rgb()) << point.x() << "," << point.y();
}

TEST_F(MainWindowViewTest, TheThemedStyleFollowsSetUiStyle) {
    view.reset();
    SetUiStyle(0);
    view = std::make_unique<MainWindowView>(*window);
    EXPECT_EQ(QApplication::style()->name().toLower(), QStringLiteral("windows"));
    SetUiStyle(3);
    EXPECT_EQ(QApplication::style()->name().toLower(), QStringLiteral("fusion"));
    EXPECT_EQ(QApplication::palette(), QApplication::style()->standardPalette());
    SetUiStyle(0);
    EXPECT_EQ(QApplication::style()->name().toLower(), QStringLiteral("windows"));
    SetUiStyle(3);
    view.reset();
    EXPECT_EQ(QApplication::style()->name().toLower(), QStringLiteral("windows"));
}

TEST_F(MainWindowViewTest, AViewBuiltAfterTheThemeWasChosenIsThemed) {
    EXPECT_EQ(QApplication::style()->name().toLower(), QStringLiteral("fusion"));
}

} // namespace
} // namespace ep::qt
