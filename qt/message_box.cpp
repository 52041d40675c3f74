#include "qt/message_box.h"

#include <QMessageBox>

namespace ep::qt {
namespace {

QMessageBox::StandardButtons ButtonsOf(int style) {
    switch (style & 0x0F) {
    case 1:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case 2:
        return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case 3:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case 4:
        return QMessageBox::Yes | QMessageBox::No;
    case 5:
        return QMessageBox::Retry | QMessageBox::Cancel;
    default:
        return QMessageBox::Ok;
    }
}

QMessageBox::Icon IconOf(int style) {
    switch (style & 0xF0) {
    case 0x10:
        return QMessageBox::Critical;
    case 0x20:
        return QMessageBox::Question;
    case 0x30:
        return QMessageBox::Warning;
    case 0x40:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

MessageBoxButton ButtonOf(int pressed) {
    switch (pressed) {
    case QMessageBox::Cancel:
        return MessageBoxButton::Cancel;
    case QMessageBox::Abort:
        return MessageBoxButton::Abort;
    case QMessageBox::Retry:
        return MessageBoxButton::Retry;
    case QMessageBox::Ignore:
        return MessageBoxButton::Ignore;
    case QMessageBox::Yes:
        return MessageBoxButton::Yes;
    case QMessageBox::No:
        return MessageBoxButton::No;
    default:
        return MessageBoxButton::Ok;
    }
}

} // namespace

MessageBoxButton ShowMessageBox(const MessageBoxRequest& request) {
    QMessageBox box(IconOf(request.style), QString::fromStdString(request.caption),
                    QString::fromStdString(request.text), ButtonsOf(request.style));
    box.setWindowModality(Qt::ApplicationModal);
    return ButtonOf(box.exec());
}

} // namespace ep::qt
