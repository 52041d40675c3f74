#include "panel_fixture.h"
#include "qt/main_window_view.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>

#include <mutex>

namespace ep {
namespace {

/// The real widgets of the window, driven with the mouse and the keyboard as a user would.
class WidgetsEndToEnd : public testing::PanelFixture {
  protected:
    void showWindow() {
        view = std::make_unique<qt::MainWindowView>(*window);
        view->show();
        view->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    }
    QWidget* widget(const Text& name) { return view->widgetOf(ControlNamed(name)); }
    void keys(const Text& name, Qt::Key key, int times) {
        QWidget* target = widget(name);
        target->setFocus(Qt::OtherFocusReason);
        for (int i = 0; i < times; ++i)
            QTest::keyClick(target, key);
        QApplication::processEvents();
    }
    void click(const Text& name) {
        QTest::mouseClick(widget(name), Qt::LeftButton, {}, QPoint(5, 5));
        QApplication::processEvents();
    }
    void choose(const Text& name, int downs) {
        auto* combo = dynamic_cast<QComboBox*>(widget(name));
        ASSERT_NE(combo, nullptr) << name;
        combo->setFocus(Qt::OtherFocusReason);
        combo->showPopup();
        for (int i = 0; i < downs; ++i)
            QTest::keyClick(combo->view(), Qt::Key_Down);
        QTest::keyClick(combo->view(), Qt::Key_Return);
        QApplication::processEvents();
    }
    void TearDown() override {
        view.reset();
        PanelFixture::TearDown();
    }

    /// Online with the window shown; the frames that change the device are kept as they came.
    void startOnline() {
        sim::ServerOptions options;
        options.baud = 0;
        options.frameObserver = [this](const sim::ParsedFrame& frame) {
            if (frame.kind == sim::FrameKind::SetParameter || frame.kind == sim::FrameKind::RestoreDefaults) {
                std::lock_guard lock(m_framesMutex);
                m_frames.push_back(frame.bytes);
            }
        };
        startSimulator(options);
        startPanel();
        showWindow();
        ASSERT_TRUE(waitUntil([this] { return setShown(); }, 5000));
        // Showing the device's set sends the six limit boxes' values back to it.
        takeFrames(kLimitFrames);
    }
    /// The frames the device has received since the last call, once there are at least the count: the
    /// device reads them a little after the panel has written them.
    std::vector<std::vector<std::uint8_t>> takeFrames(std::size_t count) {
        EXPECT_TRUE(waitUntil(
            [this, count] {
                std::lock_guard lock(m_framesMutex);
                return m_frames.size() >= count;
            },
            3000));
        std::lock_guard lock(m_framesMutex);
        return std::exchange(m_frames, {});
    }
    void press(const QKeySequence& keys) {
        QTest::keySequence(view.get(), keys);
        QApplication::processEvents();
    }

    std::unique_ptr<qt::MainWindowView> view;

  private:
    static constexpr std::size_t kLimitFrames = 6;
    std::mutex m_framesMutex;
    std::vector<std::vector<std::uint8_t>> m_frames;
};

using Frames = std::vector<std::vector<std::uint8_t>>;

TEST_F(WidgetsEndToEnd, ASliderTellsItsParameterAndRange) {
    startOnline();
    QWidget* slider = widget("滑块条19");
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), slider->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(slider, &help);
    EXPECT_EQ(QToolTip::text(), "MIC1 57HZ\n范围：-10dB … +10dB");
}

TEST_F(WidgetsEndToEnd, TabReachesFbxAndSpaceSendsTheFrameOfAClick) {
    startOnline();
    click("FBX");
    const Frames clicked = takeFrames(1);
    ASSERT_EQ(clicked.size(), 1u);
    click("FBX");
    takeFrames(1);

    view->setFocus(Qt::OtherFocusReason);
    for (std::size_t step = 0; step < window->controls().size() && QApplication::focusWidget() != widget("FBX"); ++step)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), widget("FBX"));
    QTest::keyClick(widget("FBX"), Qt::Key_Space);
    EXPECT_EQ(takeFrames(1), clicked);
}

TEST_F(WidgetsEndToEnd, ResetAsksFirstAndCancelSendsNothing) {
    startOnline();
    host.answers = {MessageBoxButton::Cancel};
    click("按钮1");
    EXPECT_EQ(host.messageBoxes.back().caption, "恢复出厂设置");
    // What follows on the line shows that nothing went before it.
    click("FBX");
    const Frames afterCancel = takeFrames(1);
    ASSERT_EQ(afterCancel.size(), 1u);
    EXPECT_EQ(afterCancel.front()[2], 0xBB) << "a parameter frame, not the restore";
    click("按钮1");
    const Frames restored = takeFrames(1);
    EXPECT_EQ(restored.front(), (std::vector<std::uint8_t>{0x80, 0x00, 0x14, 0x02, 0x00, 0x00}));
    EXPECT_TRUE(waitUntil([this] { return EffectSetText() == TextOf(simulator.values()); }, 3000));
}

TEST_F(WidgetsEndToEnd, UndoAndRedoOfASliderSendTheOldAndTheNewValue) {
    startOnline();
    const Text before = EffectSetText();
    keys("滑块条19", Qt::Key_Up, 3);
    const Text after = EffectSetText();
    takeFrames(3);
    const auto mic57 = [](std::uint8_t value) { return Frames{{0x80, 0x00, 0xBB, 0x02, 22, value}}; };
    const auto value = [](const Text& set) { return static_cast<std::uint8_t>(std::stoi(set.substr(63, 3))); };

    press(QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(EffectSetText(), before);
    EXPECT_EQ(takeFrames(1), mic57(value(before)));
    press(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    EXPECT_EQ(EffectSetText(), after);
    EXPECT_EQ(takeFrames(1), mic57(value(after)));
    press(QKeySequence(Qt::CTRL | Qt::Key_Z));
    press(QKeySequence(Qt::CTRL | Qt::Key_Y));
    EXPECT_EQ(EffectSetText(), after);
    EXPECT_EQ(takeFrames(2), (Frames{mic57(value(before))[0], mic57(value(after))[0]}));
}

TEST_F(WidgetsEndToEnd, ChangesMadeThroughTheWidgetsReachTheDeviceFieldByField) {
    sim::ServerOptions options;
    options.baud = 0;
    startSimulator(options);
    startPanel();
    showWindow();
    ASSERT_TRUE(waitUntil([this] { return setShown(); }, 5000));
    const Text before = EffectSetText();

    keys("滑块条19", Qt::Key_Up, 3);
    keys("Music_Vol调节", Qt::Key_Right, 5);
    click("FBX");
    click("key_b2");
    click("BGM");
    click("标签22");
    choose("KTV_MODE", 5);
    keys("滑块条26", Qt::Key_Down, 4);
    choose("MIC_MODE", 2);
    keys("滑块条12", Qt::Key_Down, 2);
    click("辅助");
    keys("滑块条4", Qt::Key_Up, 2);

    EXPECT_EQ(ControlNamed("KTV_MODE").readInt(prop::combo::Selection), 5);
    EXPECT_EQ(EffectSetText().substr(63, 3), "013") << "MIC1's 57HZ three steps up";
    EXPECT_EQ(EffectSetText().substr(48, 3), "000") << "FBX off";
    EXPECT_NE(EffectSetText(), before);
    EXPECT_TRUE(deviceAgreesWithThePanel());
    EXPECT_EQ(simulator.counters().brokenFrames, 0u);
}

} // namespace
} // namespace ep
