#include "qt/button_view.h"

#include "qt/font_mapping.h"
#include "runtime/resources.h"
#include "ui/user_input.h"

#include <QPainter>
#include <QStyleOptionButton>

namespace ep::qt {

ButtonView::ButtonView(Control& control, QWidget* parent) : QAbstractButton(parent), ControlWidget(control, *this) {
    setFont(FontFor(control.attributes().font));
    setFocusPolicy(Qt::StrongFocus);
    if (const Text& name = control.attributes().picture; !name.empty())
        if (const auto bytes = ProgramResource(name))
            m_picture = QImage::fromData(QByteArray::fromRawData(bytes->data(), static_cast<qsizetype>(bytes->size())));
    connect(this, &QAbstractButton::clicked, this, [this] { UserClickedButton(this->control()); });
    raiseCommonEventsOf(*this);
    mirrorAllProperties();
}

void ButtonView::propertyChanged(int number) {
    if (mirrorCommonProperty(number))
        return;
    if (number == prop::button::Caption)
        setText(QString::fromStdString(control().readText(prop::button::Caption)));
}

void ButtonView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.text = text();
    if (isDown())
        option.state |= QStyle::State_Sunken;
    else
        option.state |= QStyle::State_Raised;
    style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);
    // A pressed button shows its face one pixel down and to the right.
    const QPoint shift = isDown() ? QPoint(1, 1) : QPoint();
    if (!m_picture.isNull()) {
        QRect place(QPoint(), m_picture.size());
        place.moveCenter(rect().center());
        painter.setOpacity(isEnabled() ? 1.0 : 0.5);
        painter.drawImage(place.topLeft() + shift, m_picture);
        painter.setOpacity(1.0);
    }
    style()->drawItemText(&painter, rect().translated(shift), Qt::AlignCenter | Qt::TextSingleLine, palette(),
                          isEnabled(), text(), QPalette::ButtonText);
}

} // namespace ep::qt
