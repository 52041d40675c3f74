#include "panel_fixture.h"
#include "ui/user_input.h"

#include <QEventLoop>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>
#include <time.h>
#include <unistd.h>

namespace ep {
namespace {

/// A simulated processor that misbehaves or goes away while the panel talks to it.
class FaultEndToEnd : public testing::PanelFixture {
protected:
    void TearDown() override {
        if (m_hanger.joinable())
            m_hanger.join();
        PanelFixture::TearDown();
        std::error_code ignored;
        std::filesystem::remove(linkPath(), ignored);
    }

    /// COM10 is a symbolic link that each new simulator takes over, as a device node that comes back.
    void startSimulatorAtLink(sim::ServerOptions options = {}) {
        options.linkPath = linkPath();
        ASSERT_TRUE(simulator.start(options)) << simulator.error();
        for (int number = 1; number <= 9; ++number)
            MapComPort(number, "/nonexistent/effectpanel-com" + std::to_string(number));
        MapComPort(10, linkPath());
    }

    static std::string linkPath() {
        return (std::filesystem::temp_directory_path() / ("effectpanel-fault-com10-" + std::to_string(::getpid())))
            .string();
    }

    /// Counts what the simulator receives; the counters outlive every simulator of the test.
    void countFrames(sim::ServerOptions& options) {
        options.frameObserver = [this](const sim::ParsedFrame& frame) {
            if (frame.kind == sim::FrameKind::BulkParameter)
                ++m_bulkFrames;
            if (frame.kind == sim::FrameKind::SetParameter)
                ++m_parameterFrames;
        };
    }

    /// Hangs the simulator up from another thread once it has received that many BulkParameter frames,
    /// since the panel's window thread is blocked in the send-all sequence meanwhile.
    void hangUpAfterBulkFrames(int frames) {
        m_hanger = std::thread([this, frames] {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (m_bulkFrames < frames && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            m_bulkFramesAtHangUp = m_bulkFrames.load();
            simulator.hangUp();
        });
    }

    /// Presses 读取设备 just after an echo, so the dump arrives before the next echo can. An echo that
    /// arrives after the press would be taken as the first field, as the receive rules say.
    void readDeviceBetweenPings() {
        Control& replies = ControlNamed("编辑框41");
        replies.write(prop::editbox::Content, Text());
        ASSERT_TRUE(waitUntil([&] { return replies.readText(prop::editbox::Content) == "104"; }, 2000));
        UserClickedButton(ControlNamed("按钮2"));
        ASSERT_EQ(DumpActive, 1);
    }

    /// Waits for the device's values and the EffectSet to agree: showing a set sends the limit boxes'
    /// values, which may still be on their way when the set is shown.
    ::testing::AssertionResult deviceAgreesWithThePanel() {
        if (waitUntil([this] { return TextOf(simulator.values()) == EffectSetText(); }, 1000))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "panel  " << EffectSetText() << "\ndevice " << TextOf(simulator.values());
    }

    /// Runs the event loop for the time, blocked in it as the program is between events.
    static void idleFor(int milliseconds) {
        QEventLoop loop;
        QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
        loop.exec();
    }

    static double processCpuSeconds() {
        timespec now{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
        return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
    }

    /// The share of one core the whole process uses while it idles for the time.
    static double cpuShareWhileIdle(int milliseconds) {
        const double cpuBefore = processCpuSeconds();
        const auto wallBefore = std::chrono::steady_clock::now();
        idleFor(milliseconds);
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
        return (processCpuSeconds() - cpuBefore) / wall;
    }

    static Text Fields(const sim::ValueSet& values, int first, int count) {
        return TextOf(values).substr(static_cast<std::size_t>(3 * first - 3), static_cast<std::size_t>(3 * count));
    }

    std::atomic<int> m_bulkFrames = 0;
    std::atomic<int> m_parameterFrames = 0;
    std::atomic<int> m_bulkFramesAtHangUp = 0;
    std::thread m_hanger;
};

TEST_F(FaultEndToEnd, NoiseBeforeEveryAnswerShiftsTheDumpButKeepsThePanelOnline) {
    sim::ServerOptions options;
    options.device.faults.noise = true;
    startSimulator(options);
    const Text device = TextOf(simulator.values());
    startPanel();
    ASSERT_TRUE(waitUntil([this] { return setShown(); }, 5000));

    // The device puts its noise in front of the dump too. Every byte of an open collection is the next
    // field, so the one to three noise bytes become the first fields, and the last values of the dump fall
    // beyond the 255 counted and are looked at as ordinary bytes (none of them here is A8, 68 or 88).
    // Showing that set sends the six limit boxes' values, so the device's limit fields now hold shifted
    // values too; the comparison is with the values the device dumped.
    const Text shown = EffectSetText();
    int matchingShifts = 0;
    for (int noiseBytes = 1; noiseBytes <= 3; ++noiseBytes) {
        bool noiseInFront = true;
        for (int field = 1; field <= noiseBytes; ++field) {
            const int value = std::stoi(shown.substr(static_cast<std::size_t>(3 * field - 3), 3));
            noiseInFront = noiseInFront && value >= 0x01 && value <= 0x0F;
        }
        const std::size_t shift = static_cast<std::size_t>(3 * noiseBytes);
        if (noiseInFront && shown.substr(shift) == device.substr(0, 765 - shift))
            ++matchingShifts;
    }
    EXPECT_EQ(matchingShifts, 1) << "panel  " << shown << "\ndevice " << device;

    // Noise in front of each echo is ignored: the watchdog never fires.
    const std::uint64_t answersBefore = simulator.counters().answers;
    EXPECT_FALSE(waitUntil([this] { return !online(); }, 4000)) << "went offline although every ping was answered";
    EXPECT_GE(simulator.counters().answers - answersBefore, 6u) << "pings went on and were answered";
    EXPECT_EQ(ControlNamed("编辑框41").readText(prop::editbox::Content), "104");

    simulator.setFaults({});
    ASSERT_NO_FATAL_FAILURE(readDeviceBetweenPings());
    ASSERT_TRUE(waitUntil([this] { return setShown(); }, 3000));
    EXPECT_TRUE(deviceAgreesWithThePanel()) << "a clean read gives the device's set";
}

TEST_F(FaultEndToEnd, ADumpShortOfOneByteIsCompletedByTheNextEchoAndAReadGivesTheWholeSet) {
    constexpr int dropped = 100;
    sim::ServerOptions options;
    options.device.faults.dropDumpByte = dropped;
    startSimulator(options);
    startPanel();

    // The collection stays open after the 254 bytes of the short dump: only a count of 255 ends it, and
    // the ping echo that comes next is that 255th byte. So the panel shows the set from the dropped field
    // on shifted by one, with the echo as the last field, and never gets stuck waiting.
    ASSERT_TRUE(waitUntil([] { return DumpCount == 254; }, 5000));
    EXPECT_EQ(DumpActive, 1) << "still collecting until the count of 255";
    ASSERT_TRUE(waitUntil([] { return DumpActive == 0; }, 2000)) << "the echo completes the collection";
    const sim::ValueSet values = simulator.values();
    const Text expected = Fields(values, 1, dropped - 1) + Fields(values, dropped + 1, 255 - dropped) + "104";
    EXPECT_EQ(EffectSetText(), expected);
    EXPECT_EQ(DumpCount, 0);
    EXPECT_EQ(ControlNamed("编辑框41").readText(prop::editbox::Content), "104");
    EXPECT_EQ(ControlNamed("时钟2").readInt(prop::timer::Period), 0) << "the echo also disarmed the watchdog";
    EXPECT_FALSE(waitUntil([this] { return !online(); }, 3500)) << "stays online";

    simulator.setFaults({});
    ASSERT_NO_FATAL_FAILURE(readDeviceBetweenPings());
    ASSERT_TRUE(waitUntil([this] { return setShown(); }, 3000));
    EXPECT_TRUE(deviceAgreesWithThePanel());
}

TEST_F(FaultEndToEnd, ADeviceGoneDuringADumpTurnsOfflineInTimeAndTheReturnedDeviceIsShownWhole) {
    sim::ServerOptions options;
    options.baud = 9600;
    startSimulatorAtLink(options);
    startPanel();
    ASSERT_TRUE(waitUntil([] { return DumpActive == 1 && DumpCount > 0; }, 5000)) << "the set starts arriving";
    QElapsedTimer arriving;
    arriving.start();
    waitUntil([&] { return arriving.elapsed() >= 100; }, 1000);
    simulator.hangUp();
    QElapsedTimer gone;
    gone.start();
    ASSERT_EQ(DumpActive, 1) << "the dump was cut off";

    ASSERT_TRUE(waitUntil([this] { return !online(); }, 6000));
    const qint64 offlineAfter = gone.elapsed();
    std::printf("hang-up during the dump to offline: %lld ms\n", static_cast<long long>(offlineAfter));
    EXPECT_GE(offlineAfter, 3000) << "the watchdog runs from the first ping after the hang-up";
    EXPECT_LE(offlineAfter, 4000);
    EXPECT_EQ(DumpActive, 0) << "going offline gives the cut-off dump up";
    EXPECT_EQ(DumpCount, 0);
    EXPECT_GT(EffectSetText().size(), 0u);
    EXPECT_LT(EffectSetText().size(), 765u) << "only part of the set had arrived";

    simulator.stop();
    sim::ServerOptions returned;
    returned.changedValues = {{1, 57}, {22, 14}, {150, 33}, {255, 7}};
    startSimulatorAtLink(returned);
    QElapsedTimer back;
    back.start();
    ASSERT_TRUE(waitUntil([this] { return setShown(); }, 5000));
    std::printf("device back to its set shown: %lld ms\n", static_cast<long long>(back.elapsed()));
    EXPECT_TRUE(deviceAgreesWithThePanel());
    EXPECT_EQ(ControlNamed("Eff_Vol调节").readInt(prop::slider::Position), 57);
}

TEST_F(FaultEndToEnd, AfterAHangUpThePanelWaitsWithoutBusyLoopingAndFindsTheDeviceAgain) {
    startSimulator();
    startPanel();
    ASSERT_TRUE(waitUntil([this] { return setShown(); }, 5000));
    simulator.hangUp();
    const double whileStillOnline = cpuShareWhileIdle(2000);
    ASSERT_TRUE(online()) << "the watchdog has not fired yet, so this measured the lost link while online";
    ASSERT_TRUE(waitUntil([this] { return !online(); }, 3000));
    const double whileScanning = cpuShareWhileIdle(2000);
    std::printf("CPU after the hang-up: %.2f %% of a core online, %.2f %% offline and scanning\n",
                100 * whileStillOnline, 100 * whileScanning);
    EXPECT_LT(whileStillOnline, 0.05);
    EXPECT_LT(whileScanning, 0.05);

    simulator.stop();
    startSimulator();
    EXPECT_TRUE(waitUntil([this] { return setShown(); }, 5000));
    EXPECT_TRUE(deviceAgreesWithThePanel());
}

TEST_F(FaultEndToEnd, TenThousandSliderChangesAllReachTheDevice) {
    sim::ServerOptions options;
    countFrames(options);
    startSimulator(options);
    startPanel();
    ASSERT_TRUE(waitUntil([this] { return setShown(); }, 5000));
    const Text before = EffectSetText();
    // Showing the device's set sends the six limit boxes' values; they are not the sliders' frames.
    constexpr int limitFrames = 6;
    ASSERT_TRUE(waitUntil([this] { return m_parameterFrames == limitFrames; }, 1000)) << m_parameterFrames;

    const struct {
        const char* name;
        int minimum;
        int maximum;
    } sliders[] = {{"Music_Vol调节", 0, 80}, {"Mic_Vol调节", 0, 80}, {"滑块条4", 1, 21},  {"滑块条9", 1, 21},
                   {"滑块条19", 1, 21},      {"滑块条16", 1, 21},    {"滑块条12", 2, 15}, {"滑块条28", 0, 80},
                   {"滑块条29", 1, 16},      {"滑块条27", 0, 80}};
    constexpr int changes = 10000;
    constexpr int changesBetweenEvents = 50;
    QElapsedTimer clock;
    clock.start();
    for (int change = 0; change < changes; ++change) {
        const auto& slider = sliders[change % std::size(sliders)];
        const int span = slider.maximum - slider.minimum + 1;
        UserScrolledSlider(ControlNamed(slider.name), slider.minimum + (change * 7 + change / 10) % span);
        // As with a user at the widgets, the link's events run between the changes.
        if (change % changesBetweenEvents == changesBetweenEvents - 1)
            QCoreApplication::processEvents();
    }
    const qint64 sendingMs = clock.elapsed();
    ASSERT_TRUE(waitUntil([this] { return m_parameterFrames - limitFrames == changes; }, 10000))
        << m_parameterFrames - limitFrames << " frames arrived";
    std::printf("%d slider changes sent in %lld ms, all arrived after %lld ms\n", changes,
                static_cast<long long>(sendingMs), static_cast<long long>(clock.elapsed()));
    EXPECT_NE(EffectSetText(), before);
    EXPECT_TRUE(deviceAgreesWithThePanel());
    EXPECT_EQ(simulator.counters().brokenFrames, 0u);
    EXPECT_TRUE(online());
}

TEST_F(FaultEndToEnd, APresetLoadCutOffByTheDeviceIsShownAndTheUserIsToldItDidNotReachTheDevice) {
    sim::ServerOptions options;
    options.baud = 0;
    countFrames(options);
    startSimulator(options);
    startPanel();
    ASSERT_TRUE(waitUntil([this] { return setShown(); }, 5000));

    Text preset = EffectSetText();
    preset.replace(0, 3, "052");
    preset.replace(3 * 200, 3, "077");
    const auto file =
        std::filesystem::temp_directory_path() / ("effectpanel-fault-" + std::to_string(getpid()) + ".tonset");
    std::ofstream(file, std::ios::binary) << preset;
    host.fileDialogAnswers = {file.string()};

    hangUpAfterBulkFrames(120);
    QElapsedTimer clock;
    clock.start();
    UserClickedButton(ControlNamed("按钮4"));
    const qint64 sequenceMs = clock.elapsed();
    m_hanger.join();
    std::filesystem::remove(file);

    ASSERT_EQ(host.messageBoxes.size(), 1u);
    const MessageBoxRequest& told = host.messageBoxes.front();
    const Text prefix = "重新设置失败：255 项中有 ";
    const Text suffix = " 项未能发送到设备";
    ASSERT_EQ(told.text.substr(0, prefix.size()), prefix) << told.text;
    ASSERT_GT(told.text.size(), prefix.size() + suffix.size());
    EXPECT_EQ(told.text.substr(told.text.size() - suffix.size()), suffix);
    const int unsent = std::stoi(told.text.substr(prefix.size()));
    std::printf("send-all cut off after %d frames, %d told unsent; the sequence took %lld ms\n",
                m_bulkFramesAtHangUp.load(), unsent, static_cast<long long>(sequenceMs));
    EXPECT_EQ(told.caption, "设置未成功");
    // A frame on its way at the moment of the hang-up may be lost without its write failing.
    EXPECT_GE(255 - unsent, m_bulkFrames.load()) << "every frame the device took was counted as sent";
    EXPECT_LE(255 - unsent, m_bulkFrames.load() + 1);
    EXPECT_GT(unsent, 100);

    EXPECT_EQ(EffectSetText(), preset);
    EXPECT_EQ(ControlNamed("Eff_Vol调节").readInt(prop::slider::Position), 52) << "the window shows the preset";
    EXPECT_FALSE(ControlNamed("画板7").readBool(prop::Visible));
    EXPECT_FALSE(ControlNamed("进度条1").readBool(prop::Visible));
    EXPECT_EQ(ControlNamed("时钟1").readInt(prop::timer::Period), 500);
    EXPECT_EQ(ControlNamed("时钟2").readInt(prop::timer::Period), 3000);

    ASSERT_TRUE(waitUntil([this] { return !online(); }, 4000)) << "the re-armed watchdog notices the loss";
    simulator.stop();
    startSimulator();
    ASSERT_TRUE(waitUntil([this] { return setShown(); }, 5000));
    EXPECT_TRUE(deviceAgreesWithThePanel());
}

} // namespace
} // namespace ep
