#include "sim/design_values.h"

#include <cstdio>
#include <initializer_list>

namespace ep::sim {
namespace {

// Each block repeats the same values in every mode, so the memory is built from one run per block.
constexpr std::initializer_list<std::uint8_t> GlobalValues{38, 30, 20, 38, 80, 30, 80, 20, 80, 0, 0,
                                                           0,  0,  0,  0,  0,  1,  1,  5,  0,  0};
constexpr std::initializer_list<std::uint8_t> MicrophoneMode{10, 10, 10, 10, 10, 10, 10, 1, 10};
constexpr std::initializer_list<std::uint8_t> EchoMode{10, 10, 40, 40, 50, 50, 50, 30};
constexpr std::initializer_list<std::uint8_t> EchoReverbMode{10, 10, 40, 40, 20, 30, 40, 40, 50, 50};
constexpr std::initializer_list<std::uint8_t> MusicMode{10, 10, 10, 10, 10, 10, 10, 0,  0,
                                                        40, 40, 10, 10, 10, 10, 10, 40, 3};

ValueSet BuildDesignValues() {
    ValueSet values{};
    std::size_t next = 0;
    const auto append = [&](std::initializer_list<std::uint8_t> run, int modes) {
        for (int mode = 0; mode < modes; ++mode)
            for (std::uint8_t value : run)
                values.at(next++) = value;
    };
    append(GlobalValues, 1);
    append(MicrophoneMode, 6);
    append(EchoMode, 4);
    append(EchoReverbMode, 4);
    append(MusicMode, 6);
    return values;
}

} // namespace

const ValueSet& DesignValues() {
    static const ValueSet values = BuildDesignValues();
    return values;
}

std::string ThreeDigitText(const ValueSet& values) {
    std::string text;
    for (const std::uint8_t value : values) {
        char field[4];
        std::snprintf(field, sizeof field, "%03u", static_cast<unsigned>(value));
        text += field;
    }
    return text;
}

} // namespace ep::sim
