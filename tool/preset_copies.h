#pragma once
/// Private copies of a preset, one for each room that loads it, in a folder of their own that goes with
/// the object. On POSIX the file commands lock a preset while they read it, so that rooms reading one file
/// at the same moment would refuse each other; with a copy each, none waits for another, and every room
/// gets the preset as it was when the command began.

#include "runtime/value.h"

#include <filesystem>
#include <optional>

namespace ep {

class PresetCopies {
  public:
    PresetCopies() = default;
    ~PresetCopies();
    PresetCopies(const PresetCopies&) = delete;
    PresetCopies& operator=(const PresetCopies&) = delete;

    /// Writes the preset's text as the copy of that number; its path, or empty with the reason.
    Text copy(int number, const Text& text, Text& reason);

  private:
    std::filesystem::path m_folder;
};

} // namespace ep
