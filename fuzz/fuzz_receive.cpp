// Arbitrary byte streams from the device, online and offline: no crash, the EffectSet never longer than
// 765 characters, the dump state and the status consistent.
#include "fuzz_window.h"
#include "link/device_link.h"
#include "link/link_globals.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ep;
    if (size == 0)
        return 0;
    auto& window = fuzzing::FuzzWindow::instance();
    window.reset((data[0] & 1) != 0);
    Control& port = ControlNamed("端口");
    for (std::size_t i = 1; i < size; ++i) {
        port.raise(event::DataArrived, {data[i]});
        const Text set = EffectSetText();
        fuzzing::Require(set.size() <= 765, "the EffectSet grew past 765 characters");
        fuzzing::Require(set.find_first_not_of("0123456789") == Text::npos, "the EffectSet holds a non-digit");
        fuzzing::Require(DumpCount >= 0 && DumpCount < 255, "the dump count left its range");
        fuzzing::Require(DumpActive == 0 || IsOnline(), "a dump is collected while offline");
        fuzzing::Require(DumpActive == 1 || DumpCount == 0, "a count without a dump");
    }
    return 0;
}
