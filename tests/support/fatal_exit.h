#pragma once
/// The end of a process that a fatal runtime error ends, with exit code -1, as a death test sees it:
/// Windows reports all 32 bits of the code, POSIX systems only the low 8 (255).

#include <gtest/gtest.h>

namespace ep::testing {

#if defined(_WIN32)
constexpr int kFatalExitStatus = -1;
#else
constexpr int kFatalExitStatus = 255;
#endif

inline ::testing::ExitedWithCode ExitedFatally() { return ::testing::ExitedWithCode(kFatalExitStatus); }

} // namespace ep::testing
