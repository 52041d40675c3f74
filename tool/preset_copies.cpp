#include "tool/preset_copies.h"

#include "runtime/file_paths.h"
#include "sets/effect_files.h"

#include <random>

namespace ep {

PresetCopies::~PresetCopies() {
    std::error_code error;
    if (!m_folder.empty())
        std::filesystem::remove_all(m_folder, error);
}

Text PresetCopies::copy(int number, const Text& text, Text& reason) {
    std::error_code error;
    if (m_folder.empty()) {
        const std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
        std::random_device random;
        // A folder that did not exist before is this run's own.
        for (int attempt = 0; attempt < 100 && m_folder.empty() && !error; ++attempt) {
            const auto folder = temporary / ("effectpanel-rooms-" + std::to_string(random()));
            if (std::filesystem::create_directory(folder, error))
                m_folder = folder;
        }
        if (m_folder.empty()) {
            reason = "no folder for the rooms' copies of the preset: " + error.message();
            return {};
        }
    }
    const Text path = NameOfPath(m_folder / (std::to_string(number) + ".tonset"));
    if (const auto refusal = SavePreset(path, text)) {
        reason = *refusal;
        return {};
    }
    return path;
}

} // namespace ep
