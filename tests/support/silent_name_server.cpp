// Runs a program where the system's name server never answers: in a network, mount and (unless already
// root) user namespace of its own, /etc/resolv.conf names a server on the loopback address whose socket
// takes every question and answers none. Linux only. Exit status 125 when the namespaces cannot be made
// here; otherwise the program's own.
//
//     ep_silent_name_server PROGRAM [ARGUMENT]...

#include <sched.h>

#include <arpa/inet.h>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <net/if.h>
#include <netinet/in.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kCannotRun = 125;

bool WriteFile(const char* path, const std::string& text) {
    const int file = ::open(path, O_WRONLY | O_CLOEXEC);
    if (file < 0)
        return false;
    const bool written = ::write(file, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(file);
    return written;
}

bool EnterNamespaces() {
    const uid_t user = ::getuid();
    const gid_t group = ::getgid();
    if (::unshare(CLONE_NEWNS | CLONE_NEWNET) == 0)
        return true;
    // Not root: a user namespace of our own makes us root inside it.
    return ::unshare(CLONE_NEWUSER | CLONE_NEWNS | CLONE_NEWNET) == 0 && WriteFile("/proc/self/setgroups", "deny") &&
           WriteFile("/proc/self/uid_map", "0 " + std::to_string(user) + " 1") &&
           WriteFile("/proc/self/gid_map", "0 " + std::to_string(group) + " 1");
}

bool NameServerOnLoopback() {
    char path[] = "/tmp/ep-resolv-XXXXXX";
    const int file = ::mkstemp(path);
    if (file < 0)
        return false;
    const std::string text = "nameserver 127.0.0.1\n";
    const bool written = ::write(file, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(file);
    const bool mounted = written && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                         ::mount(path, "/etc/resolv.conf", nullptr, MS_BIND, nullptr) == 0;
    // The mount holds the file's contents; the name is not needed any more.
    ::unlink(path);
    return mounted;
}

bool LoopbackUp() {
    const int control = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    ifreq request{};
    std::snprintf(request.ifr_name, sizeof request.ifr_name, "lo");
    const bool up = control >= 0 && ::ioctl(control, SIOCGIFFLAGS, &request) == 0 &&
                    (request.ifr_flags |= IFF_UP, ::ioctl(control, SIOCSIFFLAGS, &request) == 0);
    if (control >= 0)
        ::close(control);
    return up;
}

/// A socket that takes the questions and never answers, handed on to the program so that it stays.
bool SilentServer() {
    const int server = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(53);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return server >= 0 && ::bind(server, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [ARGUMENT]...\n", argv[0]);
        return kCannotRun;
    }
    if (!EnterNamespaces() || !NameServerOnLoopback() || !LoopbackUp() || !SilentServer()) {
        std::perror("ep_silent_name_server: cannot make the namespaces");
        return kCannotRun;
    }
    ::execv(argv[1], argv + 1);
    std::perror("ep_silent_name_server: cannot run the program");
    return kCannotRun;
}
