#include "acceptance_fixture.h"
#include "sim/design_values.h"
#include "test_ports.h"

#include <QElapsedTimer>
#include <QThread>

#include <cstdlib>
#include <filesystem>

namespace ep::acceptance {
namespace {

constexpr int kStartTimeoutMs = 10000;
constexpr int kOnlineTimeoutMs = 6000;
constexpr int kPollPeriodMs = 20;

bool PollUntil(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QThread::msleep(kPollPeriodMs);
    }
    return true;
}

} // namespace

void Acceptance::SetUp() {
    std::string pattern = (std::filesystem::temp_directory_path() / "effectpanel-acceptance-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    m_folder = pattern;
}

void Acceptance::TearDown() {
    simulator.stop();
    std::filesystem::remove_all(m_folder);
}

void OnlineAcceptance::SetUp() {
    Acceptance::SetUp();
    plugDevice(device());
    startProgram();
    expectOnlineWithTheDevicesSet();
}

void Acceptance::plugDevice(sim::ServerOptions options) {
    options.linkPath = folderPath("ttyEffectProcessor");
    ASSERT_TRUE(simulator.start(options)) << simulator.error();
}

void Acceptance::startProgram(const std::vector<std::string>& moreArguments) {
    std::vector<std::string> arguments = testing::PortArguments(folderPath("ttyEffectProcessor"));
    arguments.insert(arguments.end(), moreArguments.begin(), moreArguments.end());
    ASSERT_TRUE(program.start(EP_PROGRAM_PATH, arguments, {"HOME=" + m_folder}));
    ASSERT_TRUE(program.waitForReady(kStartTimeoutMs)) << "the program did not report ready";
}

void Acceptance::expectOnlineWithTheDevicesSet() {
    ASSERT_TRUE(program.waitForValue("read 标签127", "已联机", kOnlineTimeoutMs));
    EXPECT_EQ(program.value("colour 标签127"), "#00FF00");
    ASSERT_TRUE(PollUntil([this] { return windowSet() == deviceSet(); }, kOnlineTimeoutMs))
        << "window: " << windowSet() << "\ndevice: " << deviceSet();
}

std::string Acceptance::deviceSet() const { return sim::ThreeDigitText(simulator.values()); }

bool Acceptance::deviceFollowsTheWindow(int timeoutMs) {
    return PollUntil([this] { return deviceSet() == windowSet(); }, timeoutMs);
}

bool Acceptance::deviceSetBecomes(const std::string& set, int timeoutMs) {
    return PollUntil([this, &set] { return deviceSet() == set; }, timeoutMs);
}

bool Acceptance::Eventually(const std::function<bool()>& condition, int timeoutMs) {
    return PollUntil(condition, timeoutMs);
}

bool Acceptance::deviceFieldBecomes(int field, int value, int timeoutMs) {
    return PollUntil([this, field, value] { return deviceField(field) == value; }, timeoutMs);
}

bool Acceptance::answerFileDialog(const std::string& path) {
    return PollUntil([this, &path] { return program.ask("file " + path) == "ok"; }, kOnlineTimeoutMs);
}

std::string Acceptance::answerMessageBox(int timeoutMs) {
    std::string box = "none";
    PollUntil([this, &box] { return (box = program.value("box")) != "none"; }, timeoutMs);
    if (box != "none") {
        EXPECT_EQ(program.ask("answer"), "ok");
    }
    return box;
}

} // namespace ep::acceptance
