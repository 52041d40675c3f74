#pragma once
/// File names are UTF-8 texts. std::filesystem takes a narrow string in the system's code page, which on
/// Windows is not UTF-8, so names go to and from it as UTF-8 strings of char8_t, which it reads alike on
/// every platform.

#include "runtime/value.h"

#include <filesystem>

namespace ep {

/// The path the name stands for; the empty path when the platform cannot take it (invalid UTF-8 on Windows).
std::filesystem::path PathOfName(const Text& name);

Text NameOfPath(const std::filesystem::path& path);

} // namespace ep
