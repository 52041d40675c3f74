#include "qt/edit_box_view.h"
#include "view_fixture.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>

namespace ep::qt {
namespace {

using EditBoxViewTest = ViewTest;

TEST_F(EditBoxViewTest, WritingTheSameContentTwiceRaisesOneEventEachTime) {
    auto* box = widget<EditBoxView>("Music_Vol_set_Max");
    control("Music_Vol_set_Max").write(prop::editbox::Content, Text("81"));
    control("Music_Vol_set_Max").write(prop::editbox::Content, Text("81"));
    const auto events = raisedBy("Music_Vol_set_Max");
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].event, event::ContentChanged);
    EXPECT_EQ(events[0].content, "81");
    EXPECT_EQ(static_cast<QLineEdit*>(box->editor())->text(), QStringLiteral("81"));
}

TEST_F(EditBoxViewTest, TheDownArrowWrapsFromMinusOneToEightyOne) {
    auto* box = widget<EditBoxView>("Music_Vol_set_Min");
    ASSERT_NE(box->downArrow(), nullptr);
    control("Music_Vol_set_Min").write(prop::editbox::Content, Text("-1"));
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    raised.clear();
    QTest::mouseClick(box->downArrow(), Qt::LeftButton);
    const auto events = raisedBy("Music_Vol_set_Min");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].content, "81");
    auto* editor = static_cast<QLineEdit*>(box->editor());
    EXPECT_EQ(editor->text(), QStringLiteral("81"));
    EXPECT_EQ(editor->selectedText(), QStringLiteral("81"));
    EXPECT_TRUE(editor->hasFocus());
}

TEST_F(EditBoxViewTest, TheUpArrowWrapsFromEightyOneToMinusOne) {
    auto* box = widget<EditBoxView>("Eff_Vol_set_Max");
    ASSERT_NE(box->upArrow(), nullptr);
    control("Eff_Vol_set_Max").write(prop::editbox::Content, Text("81"));
    raised.clear();
    QTest::mouseClick(box->upArrow(), Qt::LeftButton);
    const auto events = raisedBy("Eff_Vol_set_Max");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].content, "-1");
    QTest::mouseClick(box->upArrow(), Qt::LeftButton);
    EXPECT_EQ(control("Eff_Vol_set_Max").readText(prop::editbox::Content), "0");
}

TEST_F(EditBoxViewTest, TheArrowsSitRightOfTheDefinedBox) {
    auto* box = widget<EditBoxView>("Music_Vol_set_Min");
    EXPECT_EQ(box->editor()->geometry(), QRect(0, 0, 20, 20));
    EXPECT_EQ(box->pos(), QPoint(112, 43));
    EXPECT_GE(box->upArrow()->geometry().left(), 20);
    EXPECT_EQ(box->upArrow()->geometry().bottom() + 1, box->downArrow()->geometry().top());
    EXPECT_EQ(widget<EditBoxView>("Music_Vol显示")->upArrow(), nullptr);
}

TEST_F(EditBoxViewTest, ValueBoxesAreCentredAndReadOnly) {
    auto* editor = static_cast<QLineEdit*>(widget<EditBoxView>("编辑框14")->editor());
    EXPECT_TRUE(editor->isReadOnly());
    EXPECT_EQ(editor->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    auto* plain = static_cast<QLineEdit*>(widget<EditBoxView>("编辑框1")->editor());
    EXPECT_FALSE(plain->isReadOnly());
    EXPECT_EQ(plain->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
}

TEST_F(EditBoxViewTest, TypingRaisesOneContentChangedPerEdit) {
    record("编辑框1", event::ContentChanged);
    control("编辑框1").write(prop::Visible, true);
    auto* box = widget<EditBoxView>("编辑框1");
    ASSERT_TRUE(box->isVisible());
    focus(*box->editor());
    raised.clear();
    QTest::keyClicks(box->editor(), "12");
    const auto events = raisedBy("编辑框1");
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].content, "1");
    EXPECT_EQ(events[1].content, "12");
}

TEST_F(EditBoxViewTest, TheHiddenEffectSetBoxIsMultiLineAndProgramWritesRaiseOnlyTheModelsEvent) {
    record("编辑框7", event::ContentChanged);
    auto* box = widget<EditBoxView>("编辑框7");
    EXPECT_FALSE(box->isVisibleTo(view.get()));
    auto* editor = dynamic_cast<QPlainTextEdit*>(box->editor());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(box->shownText().size(), 765);
    control("编辑框7").write(prop::editbox::Content, Text("001002"));
    EXPECT_EQ(raisedBy("编辑框7").size(), 1u);
    EXPECT_NE(editor->toPlainText(), QStringLiteral("001002")) << "a hidden box is not laid out at every write";
    EXPECT_EQ(box->shownText(), QStringLiteral("001002"));

    control("编辑框7").write(prop::editbox::Content, Text("003004"));
    control("编辑框7").write(prop::Visible, true);
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("003004")) << "shown, the box catches up";
    control("编辑框7").write(prop::editbox::Content, Text("005"));
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("005"));
    EXPECT_EQ(raisedBy("编辑框7").size(), 3u);
}

} // namespace
} // namespace ep::qt
