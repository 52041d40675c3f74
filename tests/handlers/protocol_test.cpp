#include "fake_serial.h"
#include "handlers/panel_handlers.h"
#include "link/com_ports.h"
#include "link/connection.h"
#include "link/dump_collection.h"
#include "link/link_globals.h"
#include "link/send_all.h"
#include "model/blocks.h"
#include "model/colours.h"
#include "model/controls.h"
#include "model/fields.h"
#include "ui/user_input.h"
#include "window_fixture.h"

namespace ep {
namespace {

Text ComPath(int number) { return "/dev/com" + std::to_string(number); }

/// A set a device could hold: each field one of the values the window shows for it, varied.
Bytes DeviceValues() {
    Bytes values(255);
    for (int field = 1; field <= 255; ++field) {
        const std::vector<int> allowed = ValuesOfField(field);
        values[static_cast<std::size_t>(field - 1)] =
            static_cast<std::uint8_t>(allowed[static_cast<std::size_t>(field * 7 + 3) % allowed.size()]);
    }
    return values;
}

Bytes Concat(Bytes first, const Bytes& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

Text TextOf(const Bytes& values) {
    Text text;
    for (const std::uint8_t value : values) {
        char field[4];
        std::snprintf(field, sizeof field, "%03u", value);
        text += field;
    }
    return text;
}

/// The window with every handler, as the program wires it, and a device that answers; the sets shown are
/// recorded.
class Protocol : public testing::WindowFixture {
  protected:
    Protocol() : WindowFixture(PanelHandlers()) {
        for (int number = 1; number <= 10; ++number)
            MapComPort(number, ComPath(number));
        ControlNamed(controls::EqualiserTab).setView(&shown);
        DumpActive = DumpCount = KeyChanged = FoundPort = 0;
    }
    ~Protocol() override { ControlNamed(controls::EqualiserTab).setView(nullptr); }

    /// A device on COM n that answers the hello, the ping and the dump request.
    testing::FakeSerialBus::Port& addDevice(int number) {
        auto& port = bus.add(ComPath(number));
        port.onWrite = [this, number](const Bytes&) { answer(number); };
        return port;
    }

    void answer(int number) {
        Bytes& written = bus.port(ComPath(number)).written;
        const auto endsWith = [&](const Bytes& tail) {
            return written.size() >= tail.size() && std::equal(tail.rbegin(), tail.rend(), written.rbegin());
        };
        if (endsWith({0x80, 0xBC, 0x88, 0x00, 0x00, 0xA8}) && answersHello)
            bus.inject(ComPath(number), {0xA8});
        else if (endsWith({0x80, 0xBC, 0x88, 0x01, 0x80, 0x00}) && answersDump)
            bus.inject(ComPath(number), deviceValues);
        else if (written.back() == 0x68 && answersPing && !endsWith({0x80, 0x68}))
            bus.inject(ComPath(number), {0x68});
    }

    void startUp() {
        PortScan();
        ControlNamed("时钟3").write(prop::timer::Period, 1000);
    }

    Text status() { return ControlNamed("标签127").readText(prop::label::Caption); }
    Bytes& written(int number) { return bus.port(ComPath(number)).written; }
    /// The device's answer to a hello that the panel sent, and what follows it.
    void answerHello(const Bytes& after = {}) {
        ExpectHelloAnswer();
        receive(1, Concat({0xA8}, after));
    }
    void receive(int number, const Bytes& bytes) {
        bus.inject(ComPath(number), bytes);
        host.runPending();
    }

    /// Online on COM1 with the dump complete.
    void online() {
        addDevice(1);
        startUp();
        host.advance(1000);
        ASSERT_EQ(status(), "已联机");
        // Past the time in which the device may still be sending that dump.
        host.advance(kDumpOnTheLineMs);
        written(1).clear();
        appliedSets.clear();
    }

    testing::ShownSets shown;
    std::vector<Text>& appliedSets = shown.texts;
    Bytes deviceValues = DeviceValues();
    bool answersHello = true;
    bool answersDump = true;
    bool answersPing = true;
};

TEST_F(Protocol, FromStartToOnlineWithTheDevicesSetShown) {
    addDevice(1);
    startUp();
    EXPECT_EQ(status(), "未联机");
    host.advance(999);
    EXPECT_TRUE(written(1).empty());
    host.advance(1);
    EXPECT_EQ(host.now(), 1500) << "the connect attempt waited 500 ms after the scan";
    EXPECT_EQ(status(), "已联机");
    EXPECT_EQ(ControlNamed("标签127").readInt(prop::label::BackgroundColour), kGreen);
    // The hello and the dump request, then the six limit boxes' frames that showing the set sends.
    ASSERT_EQ(written(1).size(), 12u + 6 * 6);
    EXPECT_EQ(Bytes(written(1).begin(), written(1).begin() + 12),
              (Bytes{0x80, 0xBC, 0x88, 0x00, 0x00, 0xA8, 0x80, 0xBC, 0x88, 0x01, 0x80, 0x00}));
    ASSERT_EQ(appliedSets.size(), 1u);
    EXPECT_EQ(appliedSets.front(), TextOf(deviceValues));
    EXPECT_EQ(DumpActive, 0);
    EXPECT_EQ(ControlNamed("编辑框41").readText(prop::editbox::Content), "168");
}

TEST_F(Protocol, TheHighestPortThatOpensWins) {
    addDevice(3);
    addDevice(7);
    startUp();
    EXPECT_EQ(FoundPort, 7);
    EXPECT_EQ(ControlNamed("编辑框").readText(prop::editbox::Content), "7");
    EXPECT_FALSE(bus.port(ComPath(7)).open) << "the scan closes what it opened";
    host.advance(1000);
    EXPECT_TRUE(written(3).empty());
    EXPECT_FALSE(written(7).empty());
    EXPECT_EQ(status(), "已联机");
}

TEST_F(Protocol, WithoutAnyPortCom1IsTriedAndNothingIsSent) {
    startUp();
    host.serialOpenAttempts.clear();
    host.advance(1000);
    EXPECT_EQ(FoundPort, 0);
    ASSERT_FALSE(host.serialOpenAttempts.empty());
    EXPECT_EQ(host.serialOpenAttempts.back(), ComPath(1));
    EXPECT_EQ(status(), "未联机");
    host.advance(3000);
    EXPECT_EQ(status(), "未联机");
}

TEST_F(Protocol, PingsKeepItOnlineAndTheWatchdogRunsFromTheFirstUnansweredPing) {
    online();
    host.advance(10000);
    EXPECT_EQ(status(), "已联机");
    answersPing = false;
    const long long start = host.now();
    long long firstUnanswered = 0;
    while (status() == "已联机" && host.now() < start + 10000) {
        const std::size_t before = written(1).size();
        host.advance(1);
        if (firstUnanswered == 0 && written(1).size() > before)
            firstUnanswered = host.now();
    }
    EXPECT_EQ(status(), "未联机");
    EXPECT_EQ(host.now() - firstUnanswered, 3000);
    EXPECT_EQ(ControlNamed("时钟1").readInt(prop::timer::Period), 0);
    EXPECT_EQ(ControlNamed("时钟2").readInt(prop::timer::Period), 0);
}

TEST_F(Protocol, AnEchoAfterGoingOfflineChangesNothing) {
    online();
    GoOffline();
    receive(1, {0x68});
    EXPECT_EQ(status(), "未联机");
    EXPECT_EQ(ControlNamed("时钟2").readInt(prop::timer::Period), 0);
}

TEST_F(Protocol, AnA8ThatAnswersNoHelloIsNoiseAndOneThatDoesStartsANewDump) {
    online();
    answersDump = false;
    receive(1, {0xA8});
    EXPECT_EQ(DumpActive, 0);
    EXPECT_TRUE(written(1).empty()) << "noise makes the panel send nothing";
    answerHello();
    EXPECT_EQ(DumpActive, 1);
    EXPECT_EQ(EffectSetText(), "");
    EXPECT_EQ(written(1), (Bytes{0x80, 0xBC, 0x88, 0x01, 0x80, 0x00}));
}

TEST_F(Protocol, DumpEdgeCases) {
    online();
    answersDump = false;
    const struct {
        Bytes bytes;
        Text text;
        int count;
    } cases[] = {{{0x63, 0x01, 0x02}, "001002", 3},
                 {{0x05, 0x63}, "005099", 2},
                 {{0x68}, "104", 1},
                 {{0x01, 0xA8}, "001168", 2}};
    for (const auto& c : cases) {
        answerHello();
        ControlNamed("时钟2").write(prop::timer::Period, 3000);
        written(1).clear();
        receive(1, c.bytes);
        EXPECT_EQ(EffectSetText(), c.text);
        EXPECT_EQ(DumpCount, c.count);
        EXPECT_EQ(DumpActive, 1);
        EXPECT_TRUE(written(1).empty()) << "an A8 inside a dump starts nothing";
        GoOffline();
    }
    answerHello();
    ControlNamed("时钟2").write(prop::timer::Period, 3000);
    receive(1, {0x68});
    EXPECT_EQ(ControlNamed("时钟2").readInt(prop::timer::Period), 0) << "an echo inside a dump stops the watchdog";
}

TEST_F(Protocol, TheLastDumpByteAppliesTheSetBeforeItIsLookedAt) {
    online();
    answersDump = false;
    answerHello();
    // 104 is no value of the last field: the set is taken when it comes a second time.
    Bytes values(deviceValues.begin(), deviceValues.end() - 1);
    values.push_back(0x68);
    receive(1, values);
    ControlNamed("时钟2").write(prop::timer::Period, 3000);
    receive(1, values);
    ASSERT_EQ(appliedSets.size(), 1u);
    EXPECT_EQ(appliedSets.front().substr(762), "104");
    EXPECT_EQ(ControlNamed("时钟2").readInt(prop::timer::Period), 0);
}

TEST_F(Protocol, WhatCameBeforeTheDumpRequestIsNotTakenAsItsAnswerAndTheSetIsAskedForAgain) {
    online();
    answersDump = false;
    answerHello({0x01, 0x02, 0x03});
    EXPECT_EQ(DumpActive, 1);
    EXPECT_EQ(DumpCount, 0);
    // Asked for on a busy line, the set could be the tail of something else: it is taken when it comes twice.
    receive(1, deviceValues);
    EXPECT_TRUE(appliedSets.empty());
    receive(1, deviceValues);
    ASSERT_EQ(appliedSets.size(), 1u);
    EXPECT_EQ(appliedSets.front(), TextOf(deviceValues));
}

TEST_F(Protocol, ASetAskedForWhileAnEarlierDumpMayStillBeOnTheLineIsTakenWhenItComesTwice) {
    online();
    answersDump = false;
    answerHello();
    GoOffline();
    host.advance(kDumpOnTheLineMs - 1);
    answerHello();
    receive(1, deviceValues);
    EXPECT_TRUE(appliedSets.empty()) << "it could be the first dump's tail";
    receive(1, deviceValues);
    ASSERT_EQ(appliedSets.size(), 1u);
    EXPECT_EQ(appliedSets.front(), TextOf(deviceValues));
}

TEST_F(Protocol, ASettingSentWhileTheSetIsReadIsInTheSetThatIsShown) {
    deviceValues[0] = 38; // Eff_Vol
    deviceValues[4] = 80; // Eff_Vol Max, which limits it
    online();
    answersDump = false;
    answerHello();
    receive(1, Bytes(deviceValues.begin(), deviceValues.begin() + 100));
    UserScrolledSlider(ControlNamed("Eff_Vol调节"), 57);
    EXPECT_EQ(written(1).size(), 12u) << "the dump request and the slider's frame";
    receive(1, Bytes(deviceValues.begin() + 100, deviceValues.end()));
    ASSERT_EQ(appliedSets.size(), 1u);
    EXPECT_EQ(appliedSets.front().substr(0, 3), "057");
    EXPECT_EQ(ControlNamed("Eff_Vol调节").readInt(prop::slider::Position), 57);
}

TEST_F(Protocol, ADeviceHoldingAValueTheWindowCannotShowComesOnlineWhenItSendsTheSetTwice) {
    deviceValues[9 - 1] = 90; // Music_Vol Max, set by another tool
    addDevice(1);
    startUp();
    host.advance(1000);
    EXPECT_EQ(status(), "已联机");
    ASSERT_EQ(appliedSets.size(), 1u);
    EXPECT_EQ(appliedSets.front(), TextOf(deviceValues));
    const Bytes dumpRequest = {0x80, 0xBC, 0x88, 0x01, 0x80, 0x00};
    EXPECT_EQ(Bytes(written(1).begin() + 6, written(1).begin() + 18), Concat(dumpRequest, dumpRequest));
}

TEST_F(Protocol, ReadBacksThatCannotBeTheDevicesAreGivenUpAndNothingIsSentBack) {
    online();
    const Text before = EffectSetText();
    answersDump = false;
    // A hello answered, then line noise: two different sets of values that no field holds.
    answerHello();
    receive(1, Bytes(255, 200));
    EXPECT_EQ(DumpActive, 1) << "asked once more";
    receive(1, Bytes(255, 201));
    EXPECT_EQ(status(), "未联机");
    EXPECT_EQ(DumpActive, 0);
    EXPECT_EQ(EffectSetText(), before);
    EXPECT_TRUE(appliedSets.empty());
    const Bytes dumpRequest = {0x80, 0xBC, 0x88, 0x01, 0x80, 0x00};
    EXPECT_EQ(written(1), Concat(dumpRequest, dumpRequest)) << "no frame of a setting";
}

TEST_F(Protocol, KeyResetOnlyWhenTheKeyWasChanged) {
    online();
    receive(1, {0x88});
    EXPECT_TRUE(written(1).empty());
    KeyChanged = 1;
    ControlNamed("key_b2").write(prop::translabel::TextColour, kRed);
    receive(1, {0x88});
    EXPECT_EQ(written(1), (Bytes{0x80, 0x00, 0xBB, 0x02, 0x13, 0x05, 0x00, 0x00, 0x00}));
    EXPECT_EQ(EffectSetText().substr(54, 3), "005");
    EXPECT_EQ(KeyChanged, 0);
    EXPECT_EQ(ControlNamed("key_井0").readInt(prop::translabel::TextColour), kRed);
    EXPECT_EQ(ControlNamed("key_b2").readInt(prop::translabel::TextColour), kGrey);
}

TEST_F(Protocol, TheThreeButtonsSendAndShowNothingWhileOffline) {
    addDevice(1);
    PortLink().Open();
    for (const char* button : {"按钮1", "按钮2", "按钮3"})
        ControlNamed(button).raise(event::Clicked);
    EXPECT_TRUE(written(1).empty());
    EXPECT_TRUE(host.messageBoxes.empty());
}

TEST_F(Protocol, StoreAndRestoreWhileOnline) {
    online();
    DefaultSetText = Text(765, '0');
    ControlNamed("按钮3").raise(event::Clicked);
    EXPECT_EQ(written(1), (Bytes{0x80, 0x00, 0x13, 0x02, 0x00, 0x00}));
    ASSERT_EQ(host.messageBoxes.size(), 1u);
    EXPECT_EQ(host.messageBoxes[0].text, "当前效果已储存到设备");
    EXPECT_EQ(host.messageBoxes[0].caption, "信息：");
    written(1).clear();
    ControlNamed("按钮1").raise(event::Clicked);
    // The restore frame, then the six limit boxes' frames that showing the default set sends.
    ASSERT_EQ(written(1).size(), 6u + 6 * 6);
    EXPECT_EQ(Bytes(written(1).begin(), written(1).begin() + 6), (Bytes{0x80, 0x00, 0x14, 0x02, 0x00, 0x00}));
    EXPECT_EQ(appliedSets, (std::vector<Text>{DefaultSetText}));
    DefaultSetText.clear();
}

TEST_F(Protocol, StoreOnAClosedPortSaysThatNothingWasStored) {
    online();
    PortLink().Close();
    ControlNamed("按钮3").raise(event::Clicked);
    ASSERT_EQ(host.messageBoxes.size(), 1u);
    EXPECT_EQ(host.messageBoxes[0].text, "当前效果未能储存到设备：设备没有收到储存命令");
    EXPECT_EQ(host.messageBoxes[0].caption, "信息：");
}

TEST_F(Protocol, SendAllSendsEveryFieldInOrder) {
    online();
    std::vector<bool> shownDuringSend;
    host.messageBoxAnswer = [&](const MessageBoxRequest&) {
        shownDuringSend.push_back(ControlNamed("画板7").readBool(prop::Visible));
        return MessageBoxButton::Ok;
    };
    const long long start = host.now();
    SendAll();
    const Bytes& bytes = written(1);
    ASSERT_EQ(bytes.size(), 255u * 6);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 6), (Bytes{0x80, 0x00, 0xBD, 0x02, 0x01, deviceValues[0]}));
    EXPECT_EQ(Bytes(bytes.end() - 6, bytes.end()), (Bytes{0x80, 0x05, 0xBD, 0x02, 0x42, deviceValues[254]}));
    EXPECT_EQ(host.now() - start, 2550);
    EXPECT_EQ(ControlNamed("进度条1").readInt(prop::progress::Position), 255);
    EXPECT_FALSE(ControlNamed("画板7").readBool(prop::Visible));
    EXPECT_FALSE(ControlNamed("进度条1").readBool(prop::Visible));
    ASSERT_EQ(host.messageBoxes.size(), 1u);
    EXPECT_EQ(host.messageBoxes[0].text, "重新设置成功");
    EXPECT_EQ(host.messageBoxes[0].caption, "设置已成功");
    EXPECT_EQ(shownDuringSend, (std::vector<bool>{false}));
}

TEST_F(Protocol, SendAllThatLosesTheDeviceMidwaySaysHowManyFieldsWereNotSent) {
    online();
    const long long start = host.now();
    // Frames go out every 10 ms from the start: 120 of them before the device goes away.
    host.callAt(start + 1195, [this] { bus.hangUp(ComPath(1)); });
    SendAll();
    EXPECT_EQ(written(1).size(), 120u * 6);
    EXPECT_EQ(host.now() - start, 1200) << "the sequence ends at the first frame that did not go out";
    EXPECT_EQ(ControlNamed("进度条1").readInt(prop::progress::Position), 120);
    EXPECT_FALSE(ControlNamed("画板7").readBool(prop::Visible));
    ASSERT_EQ(host.messageBoxes.size(), 1u);
    EXPECT_EQ(host.messageBoxes[0].text, "重新设置失败：255 项中有 135 项未能发送到设备");
    EXPECT_EQ(host.messageBoxes[0].caption, "设置未成功");
    EXPECT_EQ(host.messageBoxes[0].style, 0);
}

TEST_F(Protocol, ADeviceThatStopsReadingHoldsTheWindowForOneTimeOutOnly) {
    online();
    bus.port(ComPath(1)).stalled = true;
    const long long start = host.now();
    ControlNamed("按钮3").raise(event::Clicked);
    EXPECT_EQ(host.now() - start, 2000) << "the time-out of the store frame's first byte, 1000 ms x 1 + 1000 ms";
    SendAll();
    EXPECT_EQ(host.now() - start, 2000 + kNotReadingTryMs)
        << "the send-all ends at its first frame, whose first byte gets only a short try";
    ASSERT_EQ(host.messageBoxes.size(), 2u);
    EXPECT_EQ(host.messageBoxes[0].text, "当前效果未能储存到设备：设备没有收到储存命令");
    EXPECT_EQ(host.messageBoxes[1].text, "重新设置失败：255 项中有 255 项未能发送到设备");
}

TEST_F(Protocol, SendAllOnAClosedPortSaysThatNothingWasSent) {
    online();
    PortLink().Close();
    SendAll();
    ASSERT_EQ(host.messageBoxes.size(), 1u);
    EXPECT_EQ(host.messageBoxes[0].text, "重新设置失败：255 项中有 255 项未能发送到设备");
}

TEST_F(Protocol, SendFieldsSendsOnlyTheNamedFieldsInTheSendAllsOrderAndPace) {
    online();
    const long long start = host.now();
    SendFields({200, 3, 34, 3});
    Bytes expected;
    for (const int field : {3, 34, 200}) {
        const ChannelAddress target = *ChannelAddressOfField(field);
        expected.insert(expected.end(), {0x80, static_cast<std::uint8_t>(target.channel), 0xBD, 0x02,
                                         static_cast<std::uint8_t>(target.address), deviceValues[field - 1]});
    }
    EXPECT_EQ(written(1), expected);
    EXPECT_EQ(host.now() - start, 30);
    EXPECT_EQ(ControlNamed("进度条1").readInt(prop::progress::Position), 3);
    EXPECT_EQ(ControlNamed("进度条1").readInt(prop::progress::Maximum), 3);
    ASSERT_EQ(host.messageBoxes.size(), 1u);
    EXPECT_EQ(host.messageBoxes[0].text, "重新设置成功");
    SendAll();
    EXPECT_EQ(ControlNamed("进度条1").readInt(prop::progress::Maximum), 255) << "the window's own range again";
    PortLink().Close();
    SendFields({5, 6});
    EXPECT_EQ(host.messageBoxes.back().text, "重新设置失败：2 项中有 2 项未能发送到设备");
}

/// A read whose dump is not complete within 2 s: given up, offline, nothing of it shown, and the next
/// connect attempt gets the whole set.
class DumpDeadline : public Protocol {
  protected:
    void readWithADumpOf(int bytesAtOnce, int lateBytes) {
        online();
        const Text before = EffectSetText();
        answersDump = false;
        written(1).clear();
        ControlNamed("按钮2").raise(event::Clicked);
        const long long requested = host.now();
        receive(1, Bytes(deviceValues.begin(), deviceValues.begin() + bytesAtOnce));
        host.callAt(requested + 3000, [this, lateBytes] {
            bus.inject(ComPath(1), Bytes(deviceValues.begin(), deviceValues.begin() + lateBytes));
        });
        host.advance(1999);
        EXPECT_EQ(status(), "已联机");
        EXPECT_EQ(written(1), (Bytes{0x80, 0xBC, 0x88, 0x01, 0x80, 0x00})) << "no ping while the dump is open";
        host.advance(1);
        EXPECT_EQ(status(), "未联机");
        EXPECT_EQ(EffectSetText(), before) << "the set from before the request";
        EXPECT_EQ(DumpActive, 0);
        EXPECT_EQ(DumpCount, 0);
        answersDump = true;
        host.advance(1500);
        EXPECT_EQ(status(), "已联机") << "a hello and a fresh dump";
        EXPECT_EQ(appliedSets, std::vector<Text>{TextOf(deviceValues)}) << "only the whole set was shown";
    }
};

TEST_F(DumpDeadline, ADeviceThatNeverDumps) { readWithADumpOf(0, 0); }
TEST_F(DumpDeadline, ADeviceThatStopsAfter100Bytes) { readWithADumpOf(100, 0); }
TEST_F(DumpDeadline, ADeviceThatDumpsAfterThreeSeconds) { readWithADumpOf(0, 255); }

TEST_F(Protocol, GoingOfflineDuringADumpGivesTheSetBeforeItBack) {
    online();
    answersDump = false;
    ControlNamed("按钮2").raise(event::Clicked);
    receive(1, Bytes(100, 7));
    GoOffline();
    EXPECT_EQ(EffectSetText(), TextOf(deviceValues));
    EXPECT_EQ(DumpActive, 0);
}

} // namespace
} // namespace ep
