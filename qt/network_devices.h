#pragma once
/// The devices behind network serial servers ("tcp:HOST:PORT"), connected to ahead of the panel's open.
/// An open never waits on the network beyond a short look: a connection that is not made yet is reported
/// Pending and goes on in the background within kDeviceOpenMs, so that the next open (the scan runs every
/// second while offline) finds it made or failed. A connection that the panel closes while it is sound is
/// kept for a moment and handed to the next open of that device: the scan closes each port it finds and
/// opens the one it chose right after, and a slow server would otherwise never be connected in time.

#include "qt/device_thread.h"
#include "qt/tcp_worker.h"

#include <QElapsedTimer>
#include <QObject>

#include <map>
#include <memory>
#include <optional>
#include <set>

namespace ep::qt {

class NetworkDevices : public QObject {
  public:
    NetworkDevices();
    ~NetworkDevices() override;

    /// In the UI thread.
    SerialOpenResult open(const Text& devicePath, SerialReceiver& receiver);

  private:
    struct Connection {
        std::unique_ptr<DeviceThread> thread;
        TcpWorker* worker = nullptr;
        int keptAs = 0; ///< for a connection kept after a close: which keeping it is, for its end
    };
    class Device;

    Connection start(const Text& devicePath);
    /// A sound connection that the panel has closed, kept for a moment.
    void keep(const Text& devicePath, Connection connection);

    std::shared_ptr<NetworkDevices*> m_self; ///< lets a device that outlives this object find that out
    std::map<Text, Connection> m_waiting;    ///< connections not handed to the panel, by device path
    std::set<Text> m_slow;                   ///< devices whose last connection ran out of time
    int m_keepings = 0;
    QElapsedTimer m_clock;
    std::optional<qint64> m_fruitlessLookMs; ///< when a look last found the connection still being made
};

} // namespace ep::qt
