#pragma once
/// The reader thread of one device and the worker that lives in it. Other threads hand the worker calls
/// and wait for each at most its bound: a call that does not finish in time is given up, and one that has
/// not started by then never starts, so that no device, driver or network holds the caller longer.

#include "qt/device_worker.h"

#include <QThread>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace ep::qt {

class DeviceThread {
  public:
    /// Takes the worker and starts the thread with it.
    explicit DeviceThread(DeviceWorker* worker);
    /// Closes the worker and ends the thread, each within a bound. A thread that something in the system
    /// holds longer is left, with its worker, to the end of the process rather than destroyed running.
    ~DeviceThread();
    DeviceThread(const DeviceThread&) = delete;
    DeviceThread& operator=(const DeviceThread&) = delete;

    /// Runs the work in the thread; its result, or nothing when it did not finish within the bound.
    template <typename Result> std::optional<Result> call(std::function<Result(DeviceWorker&)> work, int boundMs);

    /// Runs the work in the thread without waiting for it.
    void post(std::function<void(DeviceWorker&)> work);

  private:
    QThread* m_thread;
    DeviceWorker* m_worker;
};

template <typename Result>
std::optional<Result> DeviceThread::call(std::function<Result(DeviceWorker&)> work, int boundMs) {
    // Shared with the work, which may still run after the caller has given it up.
    struct State {
        std::mutex mutex; ///< guards the members below
        std::condition_variable finished;
        bool givenUp = false;
        std::optional<Result> result;
    };
    auto state = std::make_shared<State>();
    post([state, work = std::move(work)](DeviceWorker& worker) {
        {
            std::lock_guard lock(state->mutex);
            if (state->givenUp)
                return;
        }
        Result result = work(worker);
        {
            std::lock_guard lock(state->mutex);
            state->result = std::move(result);
        }
        state->finished.notify_all();
    });
    std::unique_lock lock(state->mutex);
    if (!state->finished.wait_for(lock, std::chrono::milliseconds(boundMs),
                                  [&state] { return state->result.has_value(); })) {
        state->givenUp = true;
        return std::nullopt;
    }
    return std::move(state->result);
}

} // namespace ep::qt
