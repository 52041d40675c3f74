#pragma once
/// The host of the program on Qt 6: QTimer timers, queued calls to the UI thread, QMessageBox,
/// QFileDialog and serial devices.

#include "runtime/host.h"

#include <QObject>

#include <map>
#include <memory>

class QTimer;

namespace ep::qt {

class QtHost : public QObject, public Host {
  public:
    QtHost();
    ~QtHost() override;

    TimerId startTimer(int periodMs, std::function<void()> tick) override;
    void stopTimer(TimerId timer) override;
    void postToUi(std::function<void()> callable) override;
    void sleep(int milliseconds) override;
    MessageBoxButton showMessageBox(const MessageBoxRequest& request) override;
    std::optional<Text> showFileDialog(const FileDialogRequest& request) override;
    SerialOpenResult openSerial(const Text& devicePath, const SerialLineSettings& settings,
                                SerialReceiver& receiver) override;

  private:
    TimerId m_nextTimer = 1;
    std::map<TimerId, std::unique_ptr<QTimer>> m_timers;
};

} // namespace ep::qt
