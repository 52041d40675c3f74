#include "qt/child_process.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <QTimer>

#include <memory>

namespace ep::qt {
namespace {

/// What one child needs until it has reported: the process, its clock and whether its bound killed it.
struct Child {
    QProcess* process = nullptr;
    QElapsedTimer clock;
    bool killed = false;
    bool reported = false;
    std::function<void(const ProcessOutcome&)> ended;
};

void Report(QObject& owner, const std::shared_ptr<Child>& child, ProcessOutcome outcome) {
    if (child->reported)
        return;
    child->reported = true;
    outcome.elapsedMs = static_cast<int>(child->clock.elapsed());
    child->process->deleteLater();
    // Posted, so that the caller never sees the outcome inside its own start.
    QMetaObject::invokeMethod(
        &owner, [ended = std::move(child->ended), outcome = std::move(outcome)] { ended(outcome); },
        Qt::QueuedConnection);
}

} // namespace

void StartChildProcess(QObject& owner, const ProcessRequest& request,
                       std::function<void(const ProcessOutcome&)> ended) {
    auto child = std::make_shared<Child>();
    child->ended = std::move(ended);
    child->process = new QProcess(&owner);
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
    QObject::connect(&process, &QProcess::finished, &process,
                     [&owner, child](int exitCode, QProcess::ExitStatus status) {
                         ProcessOutcome outcome;
                         outcome.end = child->killed                    ? ProcessOutcome::End::Killed
                                       : status == QProcess::NormalExit ? ProcessOutcome::End::Exited
                                                                        : ProcessOutcome::End::Crashed;
                         outcome.exitCode = status == QProcess::NormalExit ? exitCode : -1;
                         outcome.standardOutput = child->process->readAllStandardOutput().toStdString();
                         outcome.standardError = child->process->readAllStandardError().toStdString();
                         Report(owner, child, std::move(outcome));
                     });
    QObject::connect(&process, &QProcess::errorOccurred, &process, [&owner, child](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        ProcessOutcome outcome;
        outcome.standardError = child->process->errorString().toStdString();
        Report(owner, child, std::move(outcome));
    });
    child->clock.start();
    process.start();
    bound->start(request.killAfterMs);
}

} // namespace ep::qt
