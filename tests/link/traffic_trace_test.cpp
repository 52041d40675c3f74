// The panel's trace file: what it takes, what it refuses without waiting for it, and a write that fails.

#include "link/traffic_trace.h"

#include "temp_path.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#if !defined(_WIN32)
#include "file_size_limit.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ep {
namespace {

namespace fs = std::filesystem;

const Bytes kHello = {0x80, 0xBC, 0x88, 0x00, 0x00, 0xA8};

class TrafficTraceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override {
        StopTrafficTrace();
        fs::remove_all(folder);
    }

    std::string contents(const std::string& name) const {
        std::ifstream in(folder / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    Text path(const std::string& name) const { return (folder / name).string(); }

    const fs::path folder = testing::UniqueTempPath("ep_trace_");
};

TEST_F(TrafficTraceTest, EachStartAppendsToAFileMadeWhenMissing) {
    for (int run = 0; run < 2; ++run) {
        ASSERT_EQ(StartTrafficTrace(path("panel.trace"), "test"), std::nullopt);
        TraceSent(kHello);
        EXPECT_EQ(StopTrafficTrace(), std::nullopt);
    }
    const std::string trace = contents("panel.trace");
    const std::string line = "→ 80 BC 88 00 00 A8  hello\n";
    ASSERT_EQ(trace.size(), 2 * (std::string("00:00:00.000 ").size() + line.size())) << trace;
    EXPECT_TRUE(trace.ends_with(line)) << trace;
}

#if !defined(_WIN32)
// FIFOs, devices and file size limits as POSIX has them.

TEST_F(TrafficTraceTest, WhatIsNoRegularFileIsRefusedWithoutWaitingForIt) {
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(path("read fifo").c_str(), 0600), 0);
    const int reader = ::open(path("read fifo").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    fs::create_directory(folder / "folder");
    fs::create_symlink("/dev/full", folder / "full");
    for (const Text& refused : {path("fifo"), path("read fifo"), path("folder"), Text("/dev/null"), path("full")}) {
        const auto problem = StartTrafficTrace(refused, "test");
        ASSERT_NE(problem, std::nullopt) << refused;
        EXPECT_EQ(*problem,
                  "cannot open the trace file " + refused + ": it is no regular file (a FIFO, a device or a folder)");
        TraceSent(kHello);
    }
    char buffer[8];
    EXPECT_LE(::read(reader, buffer, sizeof buffer), 0) << "nothing went into the FIFO";
    ::close(reader);
}

TEST_F(TrafficTraceTest, AFailedWriteIsToldOnceAndEndsTheTrace) {
    // Room for the message in the file that catches standard error, none for the trace.
    constexpr std::size_t kFull = 4096;
    std::ofstream(folder / "full.trace") << std::string(kFull, 'x');
    std::optional<Text> failure;
    ::testing::internal::CaptureStderr();
    {
        const testing::FileSizeLimit limit(kFull);
        ASSERT_TRUE(limit.set());
        ASSERT_EQ(StartTrafficTrace(path("full.trace"), "test"), std::nullopt);
        TraceSent(kHello);
        TraceSent(kHello);
        failure = StopTrafficTrace();
    }
    const std::string told = ::testing::internal::GetCapturedStderr();
    const std::string expected =
        "writing the trace file " + path("full.trace") + " failed: " + std::strerror(EFBIG) + "; it ends there";
    EXPECT_EQ(failure, expected);
    EXPECT_EQ(told, "test: " + expected + "\n");
    EXPECT_EQ(contents("full.trace"), std::string(kFull, 'x'));
}

#endif

} // namespace
} // namespace ep
