#pragma once
/// Child processes for the core host: QProcess, with its output caught whole, standard input on the null
/// device, a timer that kills it at its bound once it runs, and a stop that terminates it and kills it
/// after a grace.

#include "runtime/host.h"

#include <map>
#include <memory>

class QObject;

namespace ep::qt {

class ChildProcesses {
  public:
    /// The processes belong to the owner; their outcomes are posted to its thread.
    explicit ChildProcesses(QObject& owner) : m_owner(owner) {}
    /// Kills the processes that still run: nobody waits for their outcomes any more.
    ~ChildProcesses();
    ChildProcesses(const ChildProcesses&) = delete;
    ChildProcesses& operator=(const ChildProcesses&) = delete;

    Host::ProcessId start(const ProcessRequest& request, std::function<void(const ProcessOutcome&)> ended);
    void stop(Host::ProcessId process, int graceMs);
    /// How many more processes the descriptors left under the process's limit have room for.
    static int room();

  private:
    struct Child;
    void report(Host::ProcessId process, ProcessOutcome outcome);

    QObject& m_owner;
    Host::ProcessId m_nextId = 1;
    /// The processes that have not reported their end yet.
    std::map<Host::ProcessId, std::shared_ptr<Child>> m_running;
};

} // namespace ep::qt
