#include "qt/ui_theme.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

namespace ep::qt {
namespace {

void SetLook(const QString& styleName, const QPalette* palette) {
    if (QApplication::style()->name().compare(styleName, Qt::CaseInsensitive) != 0)
        if (QStyle* style = QStyleFactory::create(styleName))
            QApplication::setStyle(style);
    QApplication::setPalette(palette != nullptr ? *palette : QApplication::style()->standardPalette());
}

} // namespace

UiTheme::UiTheme() : m_plainStyle(QApplication::style()->name()), m_plainPalette(QApplication::palette()) {}

UiTheme::~UiTheme() { SetLook(m_plainStyle, &m_plainPalette); }

void UiTheme::apply(int style) {
    if (style >= 1 && style <= 3)
        SetLook(QStringLiteral("Fusion"), nullptr);
    else
        SetLook(m_plainStyle, &m_plainPalette);
}

} // namespace ep::qt
