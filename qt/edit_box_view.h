#pragma once
/// The edit box: a single-line QLineEdit or a multi-line QPlainTextEdit, with a pair of up-down arrows on
/// its right when the definition gives it arrows. Typing and the arrows go to the model through the user
/// input functions; a content write from the model replaces the text and reports nothing back.

#include "qt/control_widget.h"

#include <QWidget>

class QLineEdit;
class QPlainTextEdit;
class QToolButton;

namespace ep::qt {

class EditBoxView : public QWidget, public ControlWidget {
  public:
    EditBoxView(Control& control, QWidget* parent);
    void propertyChanged(int number) override;
    void selectAllAndFocus() override;

    /// The text as the box shows it, brought up to date first when the box was hidden meanwhile.
    QString shownText();
    /// The part that holds the text.
    QWidget* editor() const;
    /// The up and down arrows; null when the box has none.
    QToolButton* upArrow() const { return m_up; }
    QToolButton* downArrow() const { return m_down; }

  protected:
    int extraWidth() const override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void buildEditor();
    void buildArrows();
    void layoutParts();
    void mirrorContent();
    void copyContent();
    void mirrorLayout();
    void mirrorInputMode();

    QLineEdit* m_line = nullptr;
    QPlainTextEdit* m_lines = nullptr;
    QToolButton* m_up = nullptr;
    QToolButton* m_down = nullptr;
    bool m_contentBehind = false; ///< the content changed while the box was hidden
};

} // namespace ep::qt
