#include "sim/simulated_device.h"

#include "sim/protocol_bytes.h"

#include <algorithm>
#include <utility>

namespace ep::sim {

SimulatedDevice::SimulatedDevice(DeviceOptions options) : m_options(options), m_noise(options.noiseSeed) {}

Reception SimulatedDevice::receive(std::span<const std::uint8_t> bytes) {
    m_counters.bytesReceived += bytes.size();
    Reception reception;
    reception.frames = m_parser.feed(bytes);
    for (const ParsedFrame& frame : reception.frames) {
        if (frame.kind == FrameKind::Broken)
            continue;
        ++m_counters.framesUnderstood;
        if (frame.valueCutShort)
            ++m_counters.cutShortValues;
        apply(frame, reception.answers);
        m_log.push_back(frame);
        if (m_log.size() > FrameLogLimit)
            m_log.pop_front();
    }
    return reception;
}

Bytes SimulatedDevice::keyResetRequest() {
    std::vector<Bytes> answers;
    addAnswer({protocol::KeyReset}, answers);
    return answers.empty() ? Bytes{} : std::move(answers.front());
}

Bytes SimulatedDevice::floodBytes(std::size_t count) {
    std::uniform_int_distribution<int> value(0x00, 0xFF);
    Bytes bytes(count);
    for (std::uint8_t& byte : bytes)
        byte = static_cast<std::uint8_t>(value(m_noise));
    return bytes;
}

DeviceCounters SimulatedDevice::counters() const {
    DeviceCounters counters = m_counters;
    counters.brokenFrames = m_parser.brokenFrames();
    counters.skippedBytes = m_parser.skippedBytes();
    return counters;
}

void SimulatedDevice::apply(const ParsedFrame& frame, std::vector<Bytes>& answers) {
    switch (frame.kind) {
    case FrameKind::Hello:
        addAnswer({protocol::HelloAnswer}, answers);
        break;
    case FrameKind::Ping:
        addAnswer({protocol::Ping}, answers);
        break;
    case FrameKind::DumpRequest:
        if (m_options.faults.dumpValues > 0)
            addAnswer(dump(), answers);
        break;
    case FrameKind::SetParameter:
    case FrameKind::BulkParameter:
        m_model.setParameter({frame.channel, frame.address}, frame.value);
        break;
    case FrameKind::StoreEffect:
        m_model.store();
        break;
    case FrameKind::RestoreDefaults:
        m_model.restoreDefaults();
        break;
    case FrameKind::Broken:
        break;
    }
}

Bytes SimulatedDevice::dump() const {
    Bytes bytes;
    if (m_options.dumpStart == DumpStart::WithMarker)
        bytes.push_back(protocol::DumpMarker);
    for (int field = 1; field <= std::min(FieldCount, m_options.faults.dumpValues); ++field)
        if (field != m_options.faults.dropDumpByte)
            bytes.push_back(m_model.value(field));
    return bytes;
}

Bytes SimulatedDevice::wholeDump() const {
    Bytes bytes;
    if (m_options.dumpStart == DumpStart::WithMarker)
        bytes.push_back(protocol::DumpMarker);
    for (int field = 1; field <= FieldCount; ++field)
        bytes.push_back(m_model.value(field));
    return bytes;
}

void SimulatedDevice::addAnswer(Bytes bytes, std::vector<Bytes>& answers) {
    if (m_options.faults.silent)
        return;
    if (m_options.faults.noise) {
        // 0x01..0x0F are none of the bytes the panel acts on (A8, 68, 88, 63) and none is a frame header.
        std::uniform_int_distribution<int> count(1, 3);
        std::uniform_int_distribution<int> noise(0x01, 0x0F);
        Bytes noisy;
        for (int i = count(m_noise); i > 0; --i)
            noisy.push_back(static_cast<std::uint8_t>(noise(m_noise)));
        noisy.insert(noisy.end(), bytes.begin(), bytes.end());
        bytes = std::move(noisy);
    }
    ++m_counters.answers;
    answers.push_back(std::move(bytes));
}

} // namespace ep::sim
