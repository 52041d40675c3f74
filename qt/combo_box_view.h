#pragma once
/// The drop-down list: a non-editable QComboBox. Every closing of its list is reported, with the item the
/// user chose or without a choice; a selection changed on the closed box (arrow keys, wheel) is only
/// stored. Selection writes from the model set the box and report nothing.

#include "qt/control_widget.h"

#include <QComboBox>

#include <optional>

namespace ep::qt {

class ComboBoxView : public QComboBox, public ControlWidget {
  public:
    ComboBoxView(Control& control, QWidget* parent);
    void propertyChanged(int number) override;

    void showPopup() override;
    void hidePopup() override;

  private:
    void chose(int index);
    void reportListClosed();

    bool m_listOpen = false;
    bool m_closeReportPending = false;
    std::optional<int> m_chosen;
};

} // namespace ep::qt
