#include "loop_stalls.h"
#include "model/colours.h"
#include "model/fields.h"
#include "panel_fixture.h"
#include "qt/main_window_view.h"
#include "silent_listener.h"
#include "ui/user_input.h"

#include <QEventLoop>
#include <QMouseEvent>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <fcntl.h>
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
        testing::MapTestPorts(linkPath());
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

    /// The set as the window keeps it once shown: each limit pair's maximum at most 80 and its minimum at
    /// most the maximum.
    static Text WithLimitsHeld(Text set) {
        const auto field = [&set](int number) {
            return std::stoi(set.substr(static_cast<std::size_t>(3 * number - 3), 3));
        };
        const auto write = [&set](int number, int value) {
            char digits[12];
            std::snprintf(digits, sizeof digits, "%03d", value);
            set.replace(static_cast<std::size_t>(3 * number - 3), 3, digits);
        };
        for (const int minimum : {8, 6, 4}) {
            write(minimum + 1, std::min(field(minimum + 1), 80));
            write(minimum, std::min(field(minimum), field(minimum + 1)));
        }
        return set;
    }

    /// Counts the panel's pings; the counter outlives every simulator of the test.
    void countPings(sim::ServerOptions& options) {
        auto previous = options.frameObserver;
        options.frameObserver = [this, previous](const sim::ParsedFrame& frame) {
            if (previous)
                previous(frame);
            if (frame.kind == sim::FrameKind::Ping)
                ++m_pings;
        };
    }

    /// A device whose dump does not come whole within 2 s of the request: the panel gives the dump up
    /// and goes offline, nothing of it is shown or sent back, no ping goes out meanwhile, and once the
    /// device dumps whole the panel shows its set.
    void expectTheDumpGivenUp(const sim::FaultOptions& faults, int lateDumpAfterMs) {
        sim::ServerOptions options;
        options.device.faults = faults;
        countFrames(options);
        countPings(options);
        startSimulatorAtLink(options);
        const Text device = TextOf(simulator.values());
        startPanel();
        const Text shownAtStart = EffectSetText();
        ASSERT_TRUE(waitUntil([this] { return online(); }, 4000));
        QElapsedTimer clock;
        clock.start();
        const int pingsWhenOnline = m_pings;
        ASSERT_TRUE(waitUntil([this] { return !online(); }, 3000));
        std::printf("online to given up: %lld ms\n", static_cast<long long>(clock.elapsed()));
        EXPECT_LE(clock.elapsed(), 2500);
        EXPECT_EQ(m_pings, pingsWhenOnline) << "no ping while the dump was open";
        // Silent now, so that the next connect attempt does not come online before the checks.
        sim::FaultOptions silent = faults;
        silent.silent = true;
        simulator.setFaults(silent);
        if (lateDumpAfterMs > 0) {
            waitUntil([&] { return clock.elapsed() >= lateDumpAfterMs; }, lateDumpAfterMs);
            simulator.sendDump();
        }
        waitUntil([&] { return clock.elapsed() >= std::max(lateDumpAfterMs, 2000) + 500; }, 4000);
        EXPECT_EQ(EffectSetText(), shownAtStart) << "nothing of the dump was kept";
        EXPECT_EQ(m_parameterFrames, 0) << "nothing was sent back to the device";
        EXPECT_EQ(TextOf(simulator.values()), device);

        simulator.setFaults({});
        ASSERT_TRUE(waitUntil([this] { return setShown(); }, 5000));
        EXPECT_TRUE(deviceAgreesWithThePanel());
        EXPECT_EQ(EffectSetText(), device);
    }

    /// What the device did not read fills the pseudo-terminal until a write has to wait; the terminal layer
    /// moves bytes on in its own time, so fill until it stays full.
    void fillTheLine() {
        const int filler = ::open(simulator.path().c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(filler, 0);
        const std::vector<char> block(256, 0);
        for (bool tookMore = true; tookMore; idleFor(50)) {
            tookMore = false;
            while (::write(filler, block.data(), block.size()) > 0)
                tookMore = true;
        }
        ::close(filler);
    }

    static long long ResidentBytes() {
        std::ifstream status("/proc/self/status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind("VmRSS:", 0) == 0)
                return std::stoll(line.substr(6)) * 1024;
        return 0;
    }

    std::atomic<int> m_bulkFrames = 0;
    std::atomic<int> m_parameterFrames = 0;
    std::atomic<int> m_bulkFramesAtHangUp = 0;
    std::atomic<int> m_pings = 0;
    std::thread m_hanger;
};

TEST_F(FaultEndToEnd, NoiseBeforeEveryAnswerKeepsTheShiftedSetsOutAndTheDevicesSetIsShownOnceItStops) {
    sim::ServerOptions options;
    options.device.faults.noise = true;
    startSimulator(options);
    const Text device = TextOf(simulator.values());
    startPanel();
    // Every byte of an open read-back is its next value, so the one to three noise bytes in front of the
    // dump shift the set: its values are no longer those of their fields, and the next read-back, with
    // other noise, does not bring it again.
    int shiftedSetsShown = 0;
    waitUntil(
        [&] {
            shiftedSetsShown += setShown() && EffectSetText() != device ? 1 : 0;
            return false;
        },
        4000);
    std::printf("shifted sets shown while the noise went on: %d\n", shiftedSetsShown);

    simulator.setFaults({});
    ASSERT_TRUE(waitUntil([this] { return setShown(); }, 5000));
    EXPECT_TRUE(deviceAgreesWithThePanel()) << "a clean read gives the device's set";
}

TEST_F(FaultEndToEnd, ADeviceThatNeverDumpsIsGivenUpWithoutTouchingItsMemory) {
    sim::FaultOptions faults;
    faults.dumpValues = 0;
    expectTheDumpGivenUp(faults, 0);
}

TEST_F(FaultEndToEnd, ADeviceThatStopsAfter100BytesIsGivenUpWithoutTouchingItsMemory) {
    sim::FaultOptions faults;
    faults.dumpValues = 100;
    expectTheDumpGivenUp(faults, 0);
}

TEST_F(FaultEndToEnd, ADeviceThatDumpsAfterThreeSecondsIsGivenUpWithoutTouchingItsMemory) {
    sim::FaultOptions faults;
    faults.dumpValues = 0;
    expectTheDumpGivenUp(faults, 3000);
}

TEST_F(FaultEndToEnd, ADumpShortOfOneByteIsNeverCompletedByAnEcho) {
    sim::FaultOptions faults;
    faults.dropDumpByte = 100;
    expectTheDumpGivenUp(faults, 0);
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
    EXPECT_LE(offlineAfter, 2000) << "the dump's deadline, 2 s from the request";
    EXPECT_EQ(DumpActive, 0) << "going offline gives the cut-off dump up";
    EXPECT_EQ(DumpCount, 0);
    EXPECT_EQ(EffectSetText(), DefaultSetText) << "the set from before the request";

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
    char lastValue[4];
    std::snprintf(lastValue, sizeof lastValue, "%03d", ValuesOfField(201).back());
    preset.replace(3 * 200, 3, lastValue);
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

TEST_F(FaultEndToEnd, ADeviceThatStopsReadingHoldsTheWindowForOneWriteTimeOut) {
    startSimulator();
    startPanel();
    ASSERT_TRUE(waitUntil([this] { return setShown(); }, 5000));
    sim::FaultOptions deaf;
    deaf.deaf = true;
    simulator.setFaults(deaf);
    ASSERT_NO_FATAL_FAILURE(fillTheLine());

    QElapsedTimer clock;
    clock.start();
    UserClickedButton(ControlNamed("按钮3"));
    const qint64 storeMs = clock.elapsed();
    ASSERT_EQ(host.messageBoxes.size(), 1u);
    EXPECT_EQ(host.messageBoxes[0].text, "当前效果未能储存到设备：设备没有收到储存命令");

    const auto file =
        std::filesystem::temp_directory_path() / ("effectpanel-deaf-" + std::to_string(getpid()) + ".tonset");
    std::ofstream(file, std::ios::binary) << EffectSetText();
    host.fileDialogAnswers = {file.string()};
    clock.restart();
    UserClickedButton(ControlNamed("按钮4"));
    const qint64 loadMs = clock.elapsed();
    std::filesystem::remove(file);
    ASSERT_EQ(host.messageBoxes.size(), 2u);
    EXPECT_EQ(host.messageBoxes[1].text, "重新设置失败：255 项中有 255 项未能发送到设备");
    std::printf("with a device that stopped reading: store took %lld ms, a preset load %lld ms\n",
                static_cast<long long>(storeMs), static_cast<long long>(loadMs));
    // One write's time-out is 1000 ms x 1 byte + 1000 ms; after it the rest fails at once.
    EXPECT_LT(storeMs, 3000);
    EXPECT_LT(loadMs, 1000);

    simulator.setFaults({});
    EXPECT_TRUE(waitUntil([this] { return !online(); }, 4000)) << "no echo came, so the watchdog fired";
    EXPECT_TRUE(waitUntil([this] { return setShown(); }, 5000)) << "and the device that reads again is found";
}

TEST_F(FaultEndToEnd, ADeviceHoldingAValueTheWindowCannotShowStillComesOnline) {
    sim::ServerOptions options;
    options.changedValues = {{9, 90}}; // Music_Vol Max, set by another tool
    startSimulator(options);
    startPanel();
    ASSERT_TRUE(waitUntil([this] { return setShown(); }, 5000));
    EXPECT_EQ(ControlNamed("Music_Vol_set_Max").readText(prop::editbox::Content), "80") << "held at the window's end";
}

TEST_F(FaultEndToEnd, ServersThatNeverCompleteTheConnectionNeverHoldTheWindow) {
    // Ten of them, one on each COM port.
    std::vector<std::unique_ptr<testing::SilentListener>> servers;
    for (int number = 1; number <= 10; ++number) {
        servers.push_back(std::make_unique<testing::SilentListener>());
        ASSERT_TRUE(servers.back()->start());
        MapComPort(number, servers.back()->address());
    }
    const testing::LoopStallWatch stalls;
    startPanel();
    // Two rounds of attempts that run out of time.
    idleFor(2 * kDeviceOpenMs + 1000);
    std::printf("with ten servers that never connect, the window was held at most %lld ms\n",
                static_cast<long long>(stalls.longestMs()));
    EXPECT_LT(stalls.longestMs(), 1000);
    EXPECT_FALSE(online());
}

TEST_F(FaultEndToEnd, AFloodingDeviceThatDoesNotReadHoldsTheWindowOnceForTheWriteTimeOut) {
    startSimulator();
    startPanel();
    ASSERT_TRUE(waitUntil([this] { return setShown(); }, 5000));
    sim::FaultOptions faults;
    faults.flood = true;
    faults.deaf = true;
    simulator.setFaults(faults);
    const testing::LoopStallWatch stalls;
    ASSERT_NO_FATAL_FAILURE(fillTheLine());
    idleFor(6000);
    std::printf("a flooding device that does not read held the window at most %lld ms, %ld time(s) over 1 s\n",
                static_cast<long long>(stalls.longestMs()), stalls.stallsLongerThan(1000));
    EXPECT_EQ(stalls.stallsLongerThan(1000), 1) << "the first write's time-out, and never again";
    EXPECT_LT(stalls.longestMs(), 3000);
}

enum class Line { Pty, Tcp };

/// A device that floods the line with random bytes of every value, besides its answers, on a
/// pseudo-terminal or behind a network serial server.
class FloodEndToEnd : public FaultEndToEnd, public ::testing::WithParamInterface<Line> {
  protected:
    void startSimulatorOnTheLine(sim::ServerOptions options) {
        if (GetParam() == Line::Pty) {
            startSimulator(options);
            return;
        }
        options.tcpPort = 0;
        ASSERT_TRUE(simulator.start(options)) << simulator.error();
        testing::MapTestPorts(simulator.path());
    }

    /// Clicks FBX as the window system posts a click: it waits behind what is queued for the window.
    void clickFbx(qt::MainWindowView& view) {
        QWidget* fbx = view.widgetOf(ControlNamed("FBX"));
        const QPointF inside(5, 5);
        QCoreApplication::postEvent(fbx, new QMouseEvent(QEvent::MouseButtonPress, inside, fbx->mapToGlobal(inside),
                                                         Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    }
};

TEST_P(FloodEndToEnd, NoiseNeverReachesTheDeviceAndTheWindowAnswersThroughout) {
    constexpr int floodMs = 10000;
    sim::ServerOptions options;
    countFrames(options);
    startSimulatorOnTheLine(options);
    startPanel();
    qt::MainWindowView view(*window);
    view.show();
    ASSERT_TRUE(waitUntil([this] { return setShown(); }, 5000));
    ASSERT_TRUE(deviceAgreesWithThePanel());
    // Showing the device's set sends the six limit boxes' values.
    constexpr int limitFrames = 6;
    ASSERT_TRUE(waitUntil([this] { return m_parameterFrames == limitFrames; }, 1000)) << m_parameterFrames;
    const Text device = TextOf(simulator.values());
    const long long residentBefore = ResidentBytes();

    sim::FaultOptions flood;
    flood.flood = true;
    simulator.setFaults(flood);
    const testing::LoopStallWatch stalls;
    QElapsedTimer clock;
    clock.start();
    long long residentMost = residentBefore;
    waitUntil(
        [&] {
            residentMost = std::max(residentMost, ResidentBytes());
            return false;
        },
        floodMs);
    const std::uint64_t flooded = simulator.bytesWritten();
    simulator.setFaults({});
    const qint64 longestStall = stalls.longestMs();
    EXPECT_EQ(m_parameterFrames, limitFrames) << "the noise made the panel send a setting";
    EXPECT_EQ(m_bulkFrames, 0);
    EXPECT_EQ(TextOf(simulator.values()), device);

    // The window takes a click at once, and is online with the device's set soon after.
    const int colourBefore = ControlNamed("FBX").readInt(prop::translabel::TextColour);
    QElapsedTimer after;
    after.start();
    clickFbx(view);
    ASSERT_TRUE(
        waitUntil([&] { return ControlNamed("FBX").readInt(prop::translabel::TextColour) != colourBefore; }, 1000));
    const qint64 clickMs = after.elapsed();
    ASSERT_TRUE(waitUntil([this] { return setShown() && TextOf(simulator.values()) == EffectSetText(); }, 5000))
        << "panel  " << EffectSetText() << "\ndevice " << TextOf(simulator.values());
    const qint64 onlineMs = after.elapsed();
    const Text fbxBefore = TextOf(simulator.values()).substr(48, 3);
    clickFbx(view);
    EXPECT_TRUE(waitUntil([&] { return TextOf(simulator.values()).substr(48, 3) != fbxBefore; }, 1000))
        << "the click's FBX frame reached the device";
    std::printf("flood of %llu bytes in %d ms: resident memory grew by %.1f MB, the window was held at most %lld ms; "
                "after it a click was handled in %lld ms and the device's set shown after %lld ms\n",
                static_cast<unsigned long long>(flooded), floodMs, (residentMost - residentBefore) / 1e6,
                static_cast<long long>(longestStall), static_cast<long long>(clickMs),
                static_cast<long long>(onlineMs));
    EXPECT_LT(residentMost - residentBefore, 50LL * 1000 * 1000);
    EXPECT_LT(longestStall, 1000);
}

INSTANTIATE_TEST_SUITE_P(OnAPtyAndOnTcp, FloodEndToEnd, ::testing::Values(Line::Pty, Line::Tcp),
                         [](const auto& info) { return info.param == Line::Pty ? "Pty" : "Tcp"; });

} // namespace
} // namespace ep
