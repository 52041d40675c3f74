#pragma once
/// Names in the system's temporary folder for one test process: test programs run side by side and
/// share that folder.

#include <filesystem>
#include <string>

namespace ep::testing {

/// The prefix and a random number, the same for every call in a process.
std::filesystem::path UniqueTempPath(const std::string& prefix);

} // namespace ep::testing
