#include "ser2net_server.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace ep::testing {
namespace {

constexpr int kStartTimeoutMs = 5000;

bool PortTakesConnections(int port) {
    const int probe = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    const bool connected = connect(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(probe);
    return connected;
}

} // namespace

bool Ser2Net::start(const std::string& device, int port) {
    stop();
    m_port = port;
    std::string pattern = (std::filesystem::temp_directory_path() / "effectpanel-ser2net-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        return false;
    m_folder = pattern;
    const std::string config = m_folder + "/ser2net.yaml";
    // Raw TCP, the line settings of the panel's port, and a newcomer taking over from a connection left
    // behind, as the panel reconnects after a hang-up.
    std::ofstream(config) << "connection: &panel\n"
                          << "    accepter: tcp,127.0.0.1," << port << "\n"
                          << "    connector: serialdev," << device << ",9600n81,local\n"
                          << "    options:\n"
                          << "      kickolduser: true\n";
    std::string program = "/usr/sbin/ser2net";
    std::vector<std::string> texts{program, "-n", "-c", config, "-P", m_folder + "/ser2net.pid"};
    std::vector<char*> arguments;
    for (std::string& text : texts)
        arguments.push_back(text.data());
    arguments.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // It says that it cannot announce itself over mDNS, which a test does not need.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const int spawned = posix_spawn(&m_pid, program.c_str(), &actions, nullptr, arguments.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        m_pid = -1;
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartTimeoutMs);
    while (!PortTakesConnections(port)) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

void Ser2Net::stop() {
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }
    if (!m_folder.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
        m_folder.clear();
    }
}

} // namespace ep::testing
