#include "qt/child_process.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <filesystem>

#if !defined(_WIN32)
#include <sys/resource.h>
#endif

namespace ep::qt {
namespace {

#if !defined(_WIN32)
/// What a running QProcess holds in its parent: the pipes of its standard output and error, the one that
/// tells of its end, and while it starts the one that tells of its start and the null device for its input.
constexpr long kDescriptorsPerChild = 5;
/// Left for what the parent opens while its children run: files, devices, its own event loop's.
constexpr long kDescriptorsKept = 32;

/// The descriptors open now; none when the system does not list them.
long OpenDescriptorCount() {
    for (const char* listing : {"/proc/self/fd", "/dev/fd"}) {
        std::error_code error;
        std::filesystem::directory_iterator entries(listing, error);
        if (!error)
            return std::distance(entries, std::filesystem::directory_iterator());
    }
    return 0;
}
#endif

} // namespace

/// What one child needs until it has reported: the process, its clock, and whether its bound killed it or
/// its parent stopped it.
struct ChildProcesses::Child {
    QProcess* process = nullptr;
    QElapsedTimer clock;
    bool killed = false;
    bool stopped = false;
    std::function<void(const ProcessOutcome&)> ended;
};

Host::ProcessId ChildProcesses::start(const ProcessRequest& request, std::function<void(const ProcessOutcome&)> ended) {
    const Host::ProcessId id = m_nextId++;
    auto child = std::make_shared<Child>();
    child->ended = std::move(ended);
    child->process = new QProcess(&m_owner);
    m_running[id] = child;
    QProcess& process = *child->process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProgram(QString::fromStdString(request.program));
    QStringList arguments;
    for (const Text& argument : request.arguments)
        arguments.push_back(QString::fromStdString(argument));
    process.setArguments(arguments);

    auto* bound = new QTimer(&process);
    bound->setSingleShot(true);
    // A coarse timer may fire 5 % early, and the bound is a promise to the child.
    bound->setTimerType(Qt::PreciseTimer);
    QObject::connect(bound, &QTimer::timeout, &process, [child] {
        child->killed = true;
        child->process->kill();
    });
    // The bound runs from here: when many processes start together, a start may wait for the system, and
    // for this loop to hear of it, and that is no time of the child's.
    QObject::connect(&process, &QProcess::started, bound,
                     [bound, killAfterMs = request.killAfterMs] { bound->start(killAfterMs); });
    QObject::connect(&process, &QProcess::finished, &process,
                     [this, id, child](int exitCode, QProcess::ExitStatus status) {
                         ProcessOutcome outcome;
                         outcome.end = child->killed                    ? ProcessOutcome::End::Killed
                                       : status == QProcess::NormalExit ? ProcessOutcome::End::Exited
                                       : child->stopped                 ? ProcessOutcome::End::Stopped
                                                                        : ProcessOutcome::End::Crashed;
                         outcome.exitCode = status == QProcess::NormalExit ? exitCode : -1;
                         outcome.standardOutput = child->process->readAllStandardOutput().toStdString();
                         outcome.standardError = child->process->readAllStandardError().toStdString();
                         report(id, std::move(outcome));
                     });
    QObject::connect(&process, &QProcess::errorOccurred, &process, [this, id, child](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        ProcessOutcome outcome;
        outcome.standardError = child->process->errorString().toStdString();
        report(id, std::move(outcome));
    });
    child->clock.start();
    process.start();
    return id;
}

ChildProcesses::~ChildProcesses() {
    for (const auto& [id, child] : m_running) {
        QObject::disconnect(child->process, nullptr, nullptr, nullptr);
        child->process->kill();
        child->process->waitForFinished();
        delete child->process;
    }
}

int ChildProcesses::room() {
#if defined(_WIN32)
    return INT_MAX;
#else
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return INT_MAX;
    const long spare = static_cast<long>(limit.rlim_cur) - OpenDescriptorCount() - kDescriptorsKept;
    return static_cast<int>(std::clamp(spare / kDescriptorsPerChild, 1L, static_cast<long>(INT_MAX)));
#endif
}

void ChildProcesses::stop(Host::ProcessId process, int graceMs) {
    const auto found = m_running.find(process);
    if (found == m_running.end() || found->second->stopped)
        return;
    const std::shared_ptr<Child>& child = found->second;
    child->stopped = true;
    child->process->terminate();
    QTimer::singleShot(graceMs, child->process, &QProcess::kill);
}

void ChildProcesses::report(Host::ProcessId process, ProcessOutcome outcome) {
    const auto found = m_running.find(process);
    if (found == m_running.end())
        return;
    const std::shared_ptr<Child> child = found->second;
    m_running.erase(found);
    outcome.elapsedMs = static_cast<int>(child->clock.elapsed());
    child->process->deleteLater();
    // Posted, so that the caller never sees the outcome inside its own start.
    QMetaObject::invokeMethod(
        &m_owner, [ended = std::move(child->ended), outcome = std::move(outcome)] { ended(outcome); },
        Qt::QueuedConnection);
}

} // namespace ep::qt
