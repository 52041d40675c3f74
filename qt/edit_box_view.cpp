#include "qt/edit_box_view.h"

#include "qt/font_mapping.h"
#include "ui/user_input.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextDocument>
#include <QToolButton>

#include <algorithm>
#include <array>

namespace ep::qt {
namespace {

constexpr int kArrowsWidth = 13;

// Indexed by the alignment pick: left, centre, right.
constexpr std::array kAlignments{Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};

// A maximum length of 0 means no limit; QLineEdit's own limit is this.
constexpr int kNoLengthLimit = 32767;

Qt::Alignment AlignmentOf(const Control& control) {
    const int pick = std::clamp(control.readInt(prop::editbox::Alignment), 0, 2);
    return kAlignments[static_cast<std::size_t>(pick)] | Qt::AlignVCenter;
}

} // namespace

EditBoxView::EditBoxView(Control& control, QWidget* parent) : QWidget(parent), ControlWidget(control, *this) {
    setFont(FontFor(control.attributes().font));
    buildEditor();
    if (control.attributes().upDown.kind != 0)
        buildArrows();
    mirrorAllProperties();
}

QWidget* EditBoxView::editor() const {
    return m_line != nullptr ? static_cast<QWidget*>(m_line) : static_cast<QWidget*>(m_lines);
}

void EditBoxView::buildEditor() {
    delete m_line;
    delete m_lines;
    m_line = nullptr;
    m_lines = nullptr;
    if (control().readBool(prop::editbox::MultiLine)) {
        m_lines = new QPlainTextEdit(this);
        // The model is told only of the user's typing: program writes block this signal.
        connect(m_lines, &QPlainTextEdit::textChanged, this,
                [this] { UserEditedText(control(), m_lines->toPlainText().toStdString()); });
        raiseCommonEventsOf(*m_lines);
        raiseCommonEventsOf(*m_lines->viewport());
    } else {
        m_line = new QLineEdit(this);
        connect(m_line, &QLineEdit::textEdited, this,
                [this](const QString& text) { UserEditedText(control(), text.toStdString()); });
        raiseCommonEventsOf(*m_line);
    }
    layoutParts();
    editor()->show();
}

void EditBoxView::buildArrows() {
    const auto makeArrow = [this](Qt::ArrowType type, int direction) {
        auto* arrow = new QToolButton(this);
        arrow->setArrowType(type);
        arrow->setAutoRepeat(true);
        arrow->setFocusPolicy(Qt::NoFocus);
        connect(arrow, &QToolButton::clicked, this, [this, direction] { UserSteppedUpDown(control(), direction); });
        return arrow;
    };
    m_up = makeArrow(Qt::UpArrow, +1);
    m_down = makeArrow(Qt::DownArrow, -1);
    layoutParts();
}

int EditBoxView::extraWidth() const { return m_up != nullptr ? kArrowsWidth : 0; }

void EditBoxView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutParts();
}

void EditBoxView::layoutParts() {
    const int editorWidth = std::max(0, width() - extraWidth());
    editor()->setGeometry(0, 0, editorWidth, height());
    if (m_up != nullptr) {
        const int upHeight = height() / 2;
        m_up->setGeometry(editorWidth, 0, kArrowsWidth, upHeight);
        m_down->setGeometry(editorWidth, upHeight, kArrowsWidth, height() - upHeight);
    }
}

void EditBoxView::propertyChanged(int number) {
    if (mirrorCommonProperty(number))
        return;
    using namespace prop::editbox;
    switch (number) {
    case Content:
        mirrorContent();
        break;
    case MultiLine:
        if (control().readBool(MultiLine) != (m_lines != nullptr)) {
            buildEditor();
            mirrorAllProperties();
        }
        break;
    case MaximumLength:
    case InputMode:
        mirrorInputMode();
        break;
    case ScrollBars:
    case Alignment:
        mirrorLayout();
        break;
    default:
        break;
    }
}

void EditBoxView::mirrorContent() {
    // The hidden EffectSet box is rewritten at every change, and laying out its text is most of what a
    // change costs: a hidden box catches up when it is shown or read.
    if (isHidden()) {
        m_contentBehind = true;
        return;
    }
    copyContent();
}

void EditBoxView::copyContent() {
    m_contentBehind = false;
    const QString text = QString::fromStdString(control().readText(prop::editbox::Content));
    if (m_line != nullptr) {
        m_line->setText(text);
        return;
    }
    const QSignalBlocker blocker(m_lines);
    m_lines->setPlainText(text);
}

QString EditBoxView::shownText() {
    if (m_contentBehind)
        copyContent();
    return m_line != nullptr ? m_line->text() : m_lines->toPlainText();
}

void EditBoxView::showEvent(QShowEvent* event) {
    if (m_contentBehind)
        copyContent();
    QWidget::showEvent(event);
}

void EditBoxView::mirrorInputMode() {
    using namespace prop::editbox;
    const int mode = control().readInt(InputMode);
    // A box that only shows a value is no stop on the way through the window with Tab; the limit boxes,
    // read-only too, are worked with their arrows and the Up and Down keys.
    const bool onlyShows = mode == 1 && control().attributes().upDown.kind == 0;
    editor()->setFocusPolicy(onlyShows ? Qt::ClickFocus : Qt::StrongFocus);
    if (m_lines != nullptr) {
        m_lines->setReadOnly(mode == 1);
        return;
    }
    m_line->setReadOnly(mode == 1);
    m_line->setEchoMode(mode == 2 ? QLineEdit::Password : QLineEdit::Normal);
    const int limit = control().readInt(MaximumLength);
    m_line->setMaxLength(limit > 0 ? std::min(limit, kNoLengthLimit) : kNoLengthLimit);
}

void EditBoxView::mirrorLayout() {
    if (m_line != nullptr) {
        m_line->setAlignment(AlignmentOf(control()));
        return;
    }
    const int bars = control().readInt(prop::editbox::ScrollBars);
    m_lines->setHorizontalScrollBarPolicy((bars & 1) != 0 ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    m_lines->setVerticalScrollBarPolicy((bars & 2) != 0 ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    // Without a horizontal bar a multi-line box wraps its lines at the box's width.
    m_lines->setLineWrapMode((bars & 1) != 0 ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    QTextOption option = m_lines->document()->defaultTextOption();
    option.setAlignment(AlignmentOf(control()) & Qt::AlignHorizontal_Mask);
    m_lines->document()->setDefaultTextOption(option);
}

void EditBoxView::keyPressEvent(QKeyEvent* event) {
    // The line editor leaves Up and Down to its parent.
    if (control().attributes().upDown.kind != 0 && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
        UserSteppedUpDown(control(), event->key() == Qt::Key_Up ? 1 : -1);
        return;
    }
    QWidget::keyPressEvent(event);
}

void EditBoxView::selectAllAndFocus() {
    if (m_line != nullptr)
        m_line->selectAll();
    else
        m_lines->selectAll();
    editor()->setFocus(Qt::OtherFocusReason);
}

} // namespace ep::qt
