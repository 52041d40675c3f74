#include "qt/combo_box_view.h"
#include "view_fixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFocusEvent>
#include <QTest>

namespace ep::qt {
namespace {

class ComboBoxViewTest : public ViewTest {
  protected:
    ComboBoxView* openList(const Text& name) {
        auto* combo = widget<ComboBoxView>(name);
        focus(*combo);
        combo->showPopup();
        EXPECT_TRUE(combo->view()->isVisible());
        return combo;
    }

    void closeWith(ComboBoxView& combo, Qt::Key key) {
        QTest::keyClick(combo.view(), key);
        QApplication::processEvents();
    }
};

TEST_F(ComboBoxViewTest, ClosingTheListWithoutAChoiceRaisesListClosed) {
    record("MUSIC_MODE1", event::SelectionChanged);
    auto* combo = openList("MUSIC_MODE1");
    closeWith(*combo, Qt::Key_Escape);
    host.runPending();
    const auto events = raisedBy("MUSIC_MODE1");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].event, event::ListClosed);
    EXPECT_EQ(events[0].position, -1);
}

TEST_F(ComboBoxViewTest, AChoiceRaisesListClosedAndThenSelectionChanged) {
    record("MIC_MODE", event::SelectionChanged);
    control("MIC_MODE").write(prop::combo::Selection, 0);
    auto* combo = openList("MIC_MODE");
    QTest::keyClick(combo->view(), Qt::Key_Down);
    closeWith(*combo, Qt::Key_Return);
    auto events = raisedBy("MIC_MODE");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].event, event::ListClosed);
    EXPECT_EQ(events[0].position, 1);
    host.runPending();
    events = raisedBy("MIC_MODE");
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].event, event::SelectionChanged);
    EXPECT_EQ(events[1].position, 1);
}

TEST_F(ComboBoxViewTest, ChoosingTheSameItemAgainStillRaisesListClosed) {
    control("KTV_MODE1").write(prop::combo::Selection, 2);
    auto* combo = openList("KTV_MODE1");
    closeWith(*combo, Qt::Key_Return);
    const auto events = raisedBy("KTV_MODE1");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].event, event::ListClosed);
    EXPECT_EQ(events[0].position, 2);
}

TEST_F(ComboBoxViewTest, TheBoxKeepsTheFocusWhileItsListIsOpen) {
    record("MUSIC_MODE", event::LostFocus);
    auto* combo = widget<ComboBoxView>("MUSIC_MODE");
    // Sent by hand: the offscreen platform also moves the window activation to the list.
    QFocusEvent toList(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(combo, &toList);
    EXPECT_TRUE(raisedBy("MUSIC_MODE").empty());
    QFocusEvent away(QEvent::FocusOut, Qt::MouseFocusReason);
    QApplication::sendEvent(combo, &away);
    ASSERT_EQ(raisedBy("MUSIC_MODE").size(), 1u);
    EXPECT_EQ(raisedBy("MUSIC_MODE")[0].event, event::LostFocus);
}

TEST_F(ComboBoxViewTest, ArrowKeysOnTheClosedBoxOnlyStoreTheSelection) {
    record("MUSIC_MODE", event::SelectionChanged);
    control("MUSIC_MODE").write(prop::combo::Selection, 0);
    auto* combo = widget<ComboBoxView>("MUSIC_MODE");
    focus(*combo);
    QTest::keyClick(combo, Qt::Key_Down);
    QApplication::processEvents();
    host.runPending();
    EXPECT_TRUE(raisedBy("MUSIC_MODE").empty());
    EXPECT_EQ(control("MUSIC_MODE").readInt(prop::combo::Selection), 1);
    EXPECT_EQ(combo->currentIndex(), 1);
}

TEST_F(ComboBoxViewTest, ProgramSelectionWritesSetTheBoxAndRaiseNothing) {
    record("MIC_MODE1", event::SelectionChanged);
    auto* combo = widget<ComboBoxView>("MIC_MODE1");
    control("MIC_MODE1").write(prop::combo::Selection, 3);
    EXPECT_EQ(combo->currentIndex(), 3);
    control("MIC_MODE1").write(prop::combo::Selection, 99);
    EXPECT_EQ(combo->currentIndex(), 5);
    control("MIC_MODE1").write(prop::combo::Selection, -1);
    EXPECT_EQ(combo->currentIndex(), -1);
    QApplication::processEvents();
    host.runPending();
    EXPECT_TRUE(raised.empty());
}

TEST_F(ComboBoxViewTest, TheEffectModeListsOfferAnEmptyNinthEntry) {
    for (const Text name : {"KTV_MODE", "KTV_MODE1"}) {
        auto* combo = openList(name);
        ASSERT_EQ(combo->count(), 9) << name;
        EXPECT_TRUE(combo->itemText(8).isEmpty());
        const QRect first = combo->view()->visualRect(combo->model()->index(0, 0));
        const QRect ninth = combo->view()->visualRect(combo->model()->index(8, 0));
        EXPECT_EQ(ninth.height(), first.height()) << name;
        EXPECT_GE(ninth.top(), 0) << name;
        EXPECT_LT(ninth.bottom(), combo->view()->viewport()->height()) << name;
        QTest::keyClick(combo->view(), Qt::Key_End);
        closeWith(*combo, Qt::Key_Return);
        EXPECT_EQ(control(name).readInt(prop::combo::Selection), 8) << name;
    }
}

} // namespace
} // namespace ep::qt
