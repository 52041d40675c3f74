#include "program_process.h"

#include <QElapsedTimer>
#include <QThread>

namespace ep::acceptance {
namespace {

constexpr int kStartTimeoutMs = 10000;
constexpr int kAnswerTimeoutMs = 5000;
constexpr int kPollPeriodMs = 20;

/// Undoes the hook's escaping of backslashes and line breaks.
std::string Unescaped(const std::string& line) {
    std::string text;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != '\\' || i + 1 == line.size()) {
            text += line[i];
            continue;
        }
        const char escaped = line[++i];
        text += escaped == 'n' ? '\n' : escaped == 'r' ? '\r' : escaped;
    }
    return text;
}

} // namespace

ProgramProcess::~ProgramProcess() {
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(kAnswerTimeoutMs);
    }
}

bool ProgramProcess::start(const std::vector<std::string>& arguments, const std::string& homeFolder) {
    QStringList list;
    for (const auto& argument : arguments)
        list << QString::fromStdString(argument);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("EFFECTPANEL_AUTOMATION", "1");
    environment.insert("HOME", QString::fromStdString(homeFolder));
    m_process.setProcessEnvironment(environment);
    // The program's own messages (a port that cannot be opened, Qt's notes) help when a scenario fails.
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    m_process.start(QString::fromUtf8(EP_PROGRAM_PATH), list);
    if (!m_process.waitForStarted(kStartTimeoutMs))
        return false;
    const bool ready = readLine(kStartTimeoutMs) == "ready";
    m_readyAfterMs = clock.elapsed();
    m_sinceReady.start();
    return ready;
}

std::string ProgramProcess::readLine(int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!m_process.canReadLine()) {
        const int left = timeoutMs - static_cast<int>(clock.elapsed());
        if (left <= 0 || m_process.state() == QProcess::NotRunning)
            return "no answer";
        m_process.waitForReadyRead(left);
    }
    return Unescaped(m_process.readLine().trimmed().toStdString());
}

std::string ProgramProcess::ask(const std::string& command) {
    m_process.write(QByteArray::fromStdString(command + "\n"));
    m_process.waitForBytesWritten(kAnswerTimeoutMs);
    return readLine(kAnswerTimeoutMs);
}

std::string ProgramProcess::value(const std::string& command) {
    const std::string answer = ask(command);
    if (answer == "ok")
        return "";
    return answer.starts_with("ok ") ? answer.substr(3) : answer;
}

bool ProgramProcess::waitForValue(const std::string& command, const std::string& expected, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (value(command) != expected) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QThread::msleep(kPollPeriodMs);
    }
    return true;
}

int ProgramProcess::waitForExit(int timeoutMs) {
    if (!m_process.waitForFinished(timeoutMs))
        return -1;
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

} // namespace ep::acceptance
