#include "qt/caption_painting.h"

#include "qt/colours.h"
#include "qt/font_mapping.h"

#include <QPainter>
#include <QWidget>

namespace ep::qt {

void PaintCaption(QWidget& widget, const Text& caption, const std::optional<Font>& font, Colour textColour) {
    QPainter painter(&widget);
    painter.setFont(FontFor(font));
    painter.setPen(IsDefaultColour(textColour) ? widget.palette().color(QPalette::WindowText) : ToQColor(textColour));
    painter.drawText(widget.rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     QString::fromStdString(caption));
}

} // namespace ep::qt
