#include "program_run.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace ep::testing {
namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

} // namespace

ProgramResult RunProgram(const std::string& path, const std::vector<std::string>& arguments, int timeoutMs,
                         int descriptorLimit) {
    if (descriptorLimit > 0) {
        // The shell lowers the limit for itself and then becomes the program.
        std::vector<std::string> limited = {
            "-c", "ulimit -n " + std::to_string(descriptorLimit) + " && exec \"$0\" \"$@\"", path};
        limited.insert(limited.end(), arguments.begin(), arguments.end());
        return RunProgram("/bin/sh", limited, timeoutMs);
    }
    ProgramResult result;
    int out[2];
    int err[2];
    if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0)
        return result;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    std::vector<std::string> texts{path};
    texts.insert(texts.end(), arguments.begin(), arguments.end());
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    const auto start = Clock::now();
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    if (spawned != 0) {
        close(out[0]);
        close(err[0]);
        return result;
    }
    std::vector<pollfd> open{{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* into[] = {&result.out, &result.err};
    bool timedOut = false;
    while (open[0].fd >= 0 || open[1].fd >= 0) {
        const int left = timeoutMs - static_cast<int>(SecondsSince(start) * 1000);
        if (left <= 0) {
            timedOut = true;
            break;
        }
        if (poll(open.data(), open.size(), left) <= 0)
            continue;
        for (std::size_t stream = 0; stream < open.size(); ++stream) {
            if (open[stream].fd < 0 || open[stream].revents == 0)
                continue;
            char block[4096];
            const ssize_t count = read(open[stream].fd, block, sizeof block);
            if (count > 0) {
                into[stream]->append(block, static_cast<std::size_t>(count));
            } else {
                close(open[stream].fd);
                open[stream].fd = -1;
            }
        }
    }
    if (timedOut)
        kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    for (const pollfd& stream : open)
        if (stream.fd >= 0)
            close(stream.fd);
    result.seconds = SecondsSince(start);
    result.exitCode = !timedOut && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

int FreeTcpPort() {
    const int probe = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    close(probe);
    return port;
}

} // namespace ep::testing
