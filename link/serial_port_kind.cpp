#include "link/serial_port_kind.h"

#include "runtime/host.h"

#include <algorithm>

namespace ep {
namespace {

using namespace serialprop;

PropertySpec Integer(std::int32_t initial, std::function<std::int32_t(const Control&, std::int32_t)> clamp = {}) {
    return {PropertyType::Integer, initial, std::move(clamp)};
}

auto AtLeast(std::int32_t low) {
    return [low](const Control&, std::int32_t v) { return std::max(v, low); };
}

auto Between(std::int32_t low, std::int32_t high) {
    return [low, high](const Control&, std::int32_t v) { return std::clamp(v, low, high); };
}

void ResetToDefaults(Control& port) {
    for (const auto& [number, property] : DescriptorOf(ControlKind::SerialPort).properties)
        if (number >= PortNumber)
            port.store(number, property.defaultValue);
}

/// Reads little-endian integers and counted texts from the block, remembering whether it ran out.
class BlockReader {
  public:
    explicit BlockReader(const Bytes& block) : m_block(block) {}
    std::int32_t integer() {
        if (m_offset + 4 > m_block.size()) {
            m_short = true;
            return 0;
        }
        std::uint32_t value = 0;
        for (int i = 3; i >= 0; --i)
            value = (value << 8) | m_block[m_offset + static_cast<std::size_t>(i)];
        m_offset += 4;
        return static_cast<std::int32_t>(value);
    }
    Text text() {
        const std::int32_t length = integer();
        if (length < 0 || m_offset + static_cast<std::size_t>(length) > m_block.size()) {
            m_short = true;
            return {};
        }
        Text text(m_block.begin() + static_cast<std::ptrdiff_t>(m_offset),
                  m_block.begin() + static_cast<std::ptrdiff_t>(m_offset) + length);
        m_offset += static_cast<std::size_t>(length);
        return text;
    }
    bool ranShort() const { return m_short; }

  private:
    const Bytes& m_block;
    std::size_t m_offset = 0;
    bool m_short = false;
};

} // namespace

bool LoadSerialPortBlock(Control& port, const Bytes& block) {
    ResetToDefaults(port);
    BlockReader reader(block);
    const std::int32_t version = reader.integer();
    if (version < 1 || version > 4)
        return false;
    port.write(PortNumber, reader.integer());
    port.write(BaudRate, reader.integer());
    port.write(DataBits, reader.integer());
    port.write(StopBits, reader.integer());
    port.write(ParityCheck, reader.integer() != 0);
    port.write(Timeout, reader.integer());
    port.write(AutoOpen, reader.integer() != 0);
    port.write(EventChar, reader.text());
    if (version >= 2)
        port.write(Parity, reader.integer());
    if (version >= 3)
        port.write(FlowControl, reader.integer());
    if (version >= 4) {
        port.write(RtsControl, reader.integer());
        port.write(DtrControl, reader.integer());
    }
    return !reader.ranShort();
}

void RegisterSerialPortKind() {
    KindDescriptor kind = KindWithCommonProperties(ControlKind::SerialPort, "SerialPort");
    kind.properties.insert({{PortNumber, Integer(1, AtLeast(1))},
                            {BaudRate, Integer(19200, AtLeast(0))},
                            {DataBits, Integer(8)},
                            {StopBits, Integer(1, Between(1, 3))},
                            {ParityCheck, {PropertyType::Boolean, false, {}}},
                            {EventChar, {PropertyType::Text, Text{}, {}}},
                            {Timeout, Integer(1000, AtLeast(0))},
                            {AutoOpen, {PropertyType::Boolean, false, {}}},
                            {Parity, Integer(0, Between(0, 4))},
                            {FlowControl, Integer(0, Between(0, 5))},
                            {RtsControl, Integer(0, Between(0, 2))},
                            {DtrControl, Integer(0, Between(0, 2))}});
    kind.loadStoredBlock = LoadSerialPortBlock;
    RegisterKind(std::move(kind));
}

SerialLineSettings LineSettingsOf(const Control& port) {
    SerialLineSettings settings;
    settings.baudRate = port.readInt(BaudRate);
    settings.dataBits = port.readInt(DataBits);
    settings.parityCheck = (port.readInt(ParityCheck) & 1) != 0;
    switch (port.readInt(Parity)) {
    case 1:
        settings.parity = SerialLineSettings::Parity::Odd;
        break;
    case 2:
        settings.parity = SerialLineSettings::Parity::Even;
        break;
    case 3:
        settings.parity = SerialLineSettings::Parity::Mark;
        break;
    case 4:
        settings.parity = SerialLineSettings::Parity::Space;
        break;
    default:
        settings.parity = SerialLineSettings::Parity::None;
    }
    switch (port.readInt(StopBits)) {
    case 2:
        settings.stopBits = SerialLineSettings::StopBits::OneAndHalf;
        break;
    case 3:
        settings.stopBits = SerialLineSettings::StopBits::Two;
        break;
    default:
        settings.stopBits = SerialLineSettings::StopBits::One;
    }
    const std::int32_t flow = port.readInt(FlowControl);
    settings.flow = flow >= 1 && flow <= 4 ? SerialLineSettings::Flow::Hardware
                    : flow == 5            ? SerialLineSettings::Flow::Software
                                           : SerialLineSettings::Flow::None;
    settings.rtsOn = port.readInt(RtsControl) != 1;
    switch (port.readInt(DtrControl)) {
    case 1:
        settings.dtrOn = false;
        break;
    case 2:
        settings.dtrOn = true;
        break;
    default:
        settings.dtrOn = std::nullopt;
    }
    settings.timeoutMs = port.readInt(Timeout);
    return settings;
}

} // namespace ep
