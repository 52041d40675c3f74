#include "acceptance_fixture.h"

#include <QSerialPort>

#include <filesystem>
#include <set>

#include <unistd.h>

namespace ep::acceptance {
namespace {

/// The processes other than this one that have the device open.
std::set<long> ProcessesHolding(const std::string& device) {
    std::set<long> holders;
    std::error_code error;
    for (const auto& process : std::filesystem::directory_iterator("/proc", error)) {
        const std::string name = process.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos || std::stol(name) == getpid())
            continue;
        std::error_code unreadable;
        for (const auto& fd : std::filesystem::directory_iterator(process.path() / "fd", unreadable))
            if (std::filesystem::read_symlink(fd.path(), unreadable).string() == device)
                holders.insert(std::stol(name));
    }
    return holders;
}

bool PortOpens(const std::string& path) {
    QSerialPort port(QString::fromStdString(path));
    const bool opened = port.open(QIODevice::ReadWrite);
    port.close();
    return opened;
}

TEST_F(OnlineAcceptance, QuittingEndsWithCodeZeroAndReleasesThePort) {
    const std::string port = simulator.path();
    EXPECT_EQ(ProcessesHolding(port), std::set<long>{static_cast<long>(program.processId())});

    EXPECT_EQ(program.ask("quit"), "ok");
    EXPECT_EQ(program.waitForExit(5000), 0);
    EXPECT_TRUE(ProcessesHolding(port).empty());
    EXPECT_TRUE(PortOpens(port)) << "another program can open the port";
}

} // namespace
} // namespace ep::acceptance
