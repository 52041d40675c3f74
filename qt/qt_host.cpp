#include "qt/qt_host.h"

#include "qt/message_box.h"
#include "qt/serial_device.h"

#include <QDir>
#include <QFileDialog>
#include <QThread>
#include <QTimer>

namespace ep::qt {

QtHost::QtHost() { SetCurrentHost(this); }

QtHost::~QtHost() {
    m_timers.clear();
    SetCurrentHost(nullptr);
}

Host::TimerId QtHost::startTimer(int periodMs, std::function<void()> tick) {
    const TimerId id = m_nextTimer++;
    auto timer = std::make_unique<QTimer>();
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(periodMs);
    QObject::connect(timer.get(), &QTimer::timeout, timer.get(), std::move(tick));
    timer->start();
    m_timers[id] = std::move(timer);
    return id;
}

void QtHost::stopTimer(TimerId timer) {
    const auto found = m_timers.find(timer);
    if (found == m_timers.end())
        return;
    // The timer may be the one whose tick is running now: let Qt delete it when the tick returns.
    found->second->stop();
    found->second.release()->deleteLater();
    m_timers.erase(found);
}

void QtHost::postToUi(std::function<void()> callable) {
    QMetaObject::invokeMethod(this, std::move(callable), Qt::QueuedConnection);
}

void QtHost::sleep(int milliseconds) { QThread::msleep(static_cast<unsigned long>(std::max(milliseconds, 0))); }

MessageBoxButton QtHost::showMessageBox(const MessageBoxRequest& request) { return ShowMessageBox(request); }

std::optional<Text> QtHost::showFileDialog(const FileDialogRequest& request) {
    QFileDialog dialog;
    dialog.setAcceptMode(request.kind == FileDialogKind::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.kind == FileDialogKind::Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    QString filter = QString::fromStdString(request.filterDisplay);
    if (!filter.contains('('))
        filter += QStringLiteral(" (%1)").arg(QString::fromStdString(request.filterPattern));
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultSuffix));
    if (request.startPath.empty())
        dialog.setDirectory(QDir::homePath());
    else
        dialog.selectFile(QString::fromStdString(request.startPath));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

SerialOpenResult QtHost::openSerial(const Text& devicePath, const SerialLineSettings& settings,
                                    SerialReceiver& receiver) {
    return OpenSerialDevice(devicePath, settings, receiver);
}

} // namespace ep::qt
