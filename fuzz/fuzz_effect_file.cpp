// Loading arbitrary bytes as a preset, offline and online: no crash; either the text is refused and the
// set is unchanged with a box saying why, or the set becomes the file's text (or the default set).
#include "fuzz_window.h"
#include "link/device_link.h"
#include "link/link_globals.h"
#include "runtime/file_paths.h"
#include "temp_path.h"

#include <cstddef>
#include <cstdint>
#include <fstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ep;
    auto& window = fuzzing::FuzzWindow::instance();
    const bool online = size > 0 && (data[0] & 1) != 0;
    window.reset(online);
    const Text before = EffectSetText();
    static const Text path = NameOfPath(testing::UniqueTempPath("effectpanel-fuzz-").replace_extension(".tonset"));
    std::ofstream(PathOfName(path), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    window.host().fileDialogAnswers = {path};
    ControlNamed("按钮4").raise(event::Clicked);
    const Text after = EffectSetText();
    fuzzing::Require(after.size() <= 765, "the EffectSet grew past 765 characters");
    fuzzing::Require(after.find_first_not_of("0123456789") == Text::npos, "a non-digit was taken");
    if (after == before && !window.host().messageBoxes.empty())
        return 0;
    fuzzing::Require(after == DefaultSetText || after.size() == 765, "a short set was taken");
    fuzzing::Require(ControlNamed("时钟1").readInt(prop::timer::Period) == (online ? 500 : 0),
                     "the ping timer was not restored");
    return 0;
}
