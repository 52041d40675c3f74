#include "qt/device_thread.h"

#include <QDeadlineTimer>

namespace ep::qt {
namespace {

/// Closing a device and ending its thread take well under this.
constexpr int kEndBoundMs = 2000;

} // namespace

DeviceThread::DeviceThread(DeviceWorker* worker) : m_thread(new QThread), m_worker(worker) {
    m_worker->moveToThread(m_thread);
    m_thread->start();
}

DeviceThread::~DeviceThread() {
    call<bool>(
        [](DeviceWorker& worker) {
            worker.close();
            return true;
        },
        kEndBoundMs);
    m_thread->quit();
    if (!m_thread->wait(QDeadlineTimer(kEndBoundMs)))
        return;
    delete m_worker;
    delete m_thread;
}

void DeviceThread::post(std::function<void(DeviceWorker&)> work) {
    DeviceWorker* worker = m_worker;
    QMetaObject::invokeMethod(
        worker, [worker, work = std::move(work)] { work(*worker); }, Qt::QueuedConnection);
}

} // namespace ep::qt
