#include "panel_fixture.h"
#include "qt/main_window_view.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QTest>

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

    std::unique_ptr<qt::MainWindowView> view;
};

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
