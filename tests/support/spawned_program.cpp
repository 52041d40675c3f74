#include "spawned_program.h"

#include <chrono>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace ep::testing {
namespace {

constexpr int kExitPollMs = 10;
constexpr int kPollPeriodMs = 20;

double WallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

/// Our environment with the program's platform, the automation hook and the caller's entries set.
std::vector<std::string> ChildEnvironment(const std::vector<std::string>& more) {
    std::vector<std::string> set = {"QT_QPA_PLATFORM=offscreen", "EFFECTPANEL_AUTOMATION=1"};
    set.insert(set.end(), more.begin(), more.end());
    const auto isSet = [&set](const std::string& variable) {
        for (const std::string& entry : set)
            if (variable.starts_with(entry.substr(0, entry.find('=') + 1)))
                return true;
        return false;
    };
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry)
        if (!isSet(*entry))
            environment.push_back(*entry);
    environment.insert(environment.end(), set.begin(), set.end());
    return environment;
}

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

std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& text : strings)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

SpawnedProgram::~SpawnedProgram() {
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
    if (m_input >= 0)
        close(m_input);
    if (m_output >= 0)
        close(m_output);
}

bool SpawnedProgram::start(const std::string& programPath, const std::vector<std::string>& arguments,
                           const std::vector<std::string>& more) {
    // A program that ended early must fail the command written to it, not end the benchmark.
    std::signal(SIGPIPE, SIG_IGN);
    int toChild[2];
    int fromChild[2];
    if (pipe2(toChild, O_CLOEXEC) != 0 || pipe2(fromChild, O_CLOEXEC) != 0) {
        std::perror("pipe2");
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDOUT_FILENO);
    std::vector<std::string> argumentTexts{programPath};
    argumentTexts.insert(argumentTexts.end(), arguments.begin(), arguments.end());
    std::vector<std::string> environment = ChildEnvironment(more);
    std::vector<char*> argumentPointers = Pointers(argumentTexts);
    std::vector<char*> environmentPointers = Pointers(environment);
    m_startSeconds = WallSeconds();
    const int result = posix_spawn(&m_pid, programPath.c_str(), &actions, nullptr, argumentPointers.data(),
                                   environmentPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    close(toChild[0]);
    close(fromChild[1]);
    m_input = toChild[1];
    m_output = fromChild[0];
    if (result != 0) {
        std::fprintf(stderr, "cannot start %s: %s\n", programPath.c_str(), std::strerror(result));
        m_pid = -1;
        return false;
    }
    return true;
}

std::optional<std::string> SpawnedProgram::readLine(int timeoutMs) {
    const double deadline = WallSeconds() + timeoutMs / 1000.0;
    for (;;) {
        if (const auto end = m_received.find('\n'); end != std::string::npos) {
            std::string line = m_received.substr(0, end);
            m_received.erase(0, end + 1);
            return line;
        }
        const int left = static_cast<int>((deadline - WallSeconds()) * 1000.0);
        if (left <= 0)
            return std::nullopt;
        pollfd readable{m_output, POLLIN, 0};
        if (poll(&readable, 1, left) <= 0)
            continue;
        char block[4096];
        const ssize_t count = read(m_output, block, sizeof block);
        if (count <= 0)
            return std::nullopt;
        m_received.append(block, static_cast<std::size_t>(count));
    }
}

std::optional<double> SpawnedProgram::waitForReady(int timeoutMs) {
    // Anything the program writes before its hook is ready is not an answer; skip it.
    const double deadline = WallSeconds() + timeoutMs / 1000.0;
    while (const auto line = readLine(static_cast<int>((deadline - WallSeconds()) * 1000.0)))
        if (*line == "ready") {
            m_readySeconds = WallSeconds();
            return m_readySeconds - m_startSeconds;
        }
    return std::nullopt;
}

double SpawnedProgram::secondsSinceReady() const { return WallSeconds() - m_readySeconds; }

std::string SpawnedProgram::ask(const std::string& command, int timeoutMs) {
    const std::string line = command + "\n";
    if (write(m_input, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
        return "no answer";
    const auto answer = readLine(timeoutMs);
    return answer ? Unescaped(*answer) : "no answer";
}

std::string SpawnedProgram::value(const std::string& command) {
    const std::string answer = ask(command);
    if (answer == "ok")
        return "";
    return answer.starts_with("ok ") ? answer.substr(3) : answer;
}

bool SpawnedProgram::waitForValue(const std::string& command, const std::string& expected, int timeoutMs) {
    const double deadline = WallSeconds() + timeoutMs / 1000.0;
    while (value(command) != expected) {
        if (WallSeconds() > deadline)
            return false;
        usleep(kPollPeriodMs * 1000);
    }
    return true;
}

void SpawnedProgram::signal(int number) {
    if (m_pid > 0)
        kill(m_pid, number);
}

int SpawnedProgram::waitForExit(int timeoutMs) {
    for (int waited = 0; m_pid > 0 && waited < timeoutMs; waited += kExitPollMs) {
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        usleep(kExitPollMs * 1000);
    }
    return -1;
}

int SpawnedProgram::quit(int timeoutMs) {
    ask("quit", timeoutMs);
    const int code = waitForExit(timeoutMs);
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }
    return code;
}

std::vector<pid_t> SpawnedProgram::childProcessIds() const {
    std::vector<pid_t> children;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::ifstream file(entry.path() / "stat");
        const std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        // The parent is the second field after the command name, which may hold blanks and parentheses.
        const auto nameEnd = stat.rfind(')');
        if (nameEnd == std::string::npos)
            continue;
        std::istringstream fields(stat.substr(nameEnd + 2));
        char state = 0;
        pid_t parent = 0;
        fields >> state >> parent;
        if (parent == m_pid)
            children.push_back(std::stoi(name));
    }
    return children;
}

long SpawnedProgram::peakResidentKilobytes() const {
    std::ifstream status("/proc/" + std::to_string(m_pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.starts_with("VmHWM:"))
            return std::stol(line.substr(6));
    return 0;
}

double SpawnedProgram::cpuSeconds() const {
    std::ifstream file("/proc/" + std::to_string(m_pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // The command name in parentheses may hold spaces; the fields are counted after its closing one.
    const auto nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos)
        return 0.0;
    std::istringstream fields(stat.substr(nameEnd + 2));
    std::string field;
    // Fields 3..13 of stat come before utime (14) and stime (15).
    for (int skipped = 0; skipped < 11; ++skipped)
        fields >> field;
    long long userTicks = 0;
    long long systemTicks = 0;
    fields >> userTicks >> systemTicks;
    return static_cast<double>(userTicks + systemTicks) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

} // namespace ep::testing
