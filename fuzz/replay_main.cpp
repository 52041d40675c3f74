// Replays every file of a folder through the fuzz target it is linked with, without libFuzzer, so that the
// corpus runs as regression tests in every build. A target aborts on a broken input; the name of the
// input is printed before it runs.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    std::vector<std::filesystem::path> inputs;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1], error))
        if (entry.is_regular_file())
            inputs.push_back(entry.path());
    // A missing or empty folder would pass without testing anything.
    if (error || inputs.empty()) {
        std::fprintf(stderr, "%s: no inputs in %s\n", argv[0], argv[1]);
        return 1;
    }
    std::sort(inputs.begin(), inputs.end());
    for (const auto& input : inputs) {
        std::fprintf(stderr, "%s\n", input.filename().string().c_str());
        std::ostringstream bytes;
        bytes << std::ifstream(input, std::ios::binary).rdbuf();
        const std::string data = bytes.str();
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
    }
    std::printf("%zu inputs replayed\n", inputs.size());
    return 0;
}
