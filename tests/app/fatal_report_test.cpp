#include "fatal_exit.h"
#include "runtime/bounded_table.h"
#include "runtime/fatal.h"
#include "test_host.h"

#include <gtest/gtest.h>

// An allocation is made to fail by limiting the process's address space with setrlimit, which Windows lacks.
#if defined(EP_HAS_OPERATOR_NEW) && !defined(_WIN32)
#define EP_CAN_FAIL_ALLOCATIONS
#include <sys/resource.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <fstream>

namespace ep {
namespace {

TEST(FatalReport, TextLayout) {
    EXPECT_EQ(FatalReportText(RuntimeErrorText(4), 4),
              "运行时出错!\r\n\r\n错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n");
    EXPECT_EQ(FatalReportText("载入启动窗口失败", 0), "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n");
    EXPECT_EQ(FatalReportText("", 7), "运行时出错!\r\n\r\n错误代码：7\r\n\r\n");
}

TEST(FatalReport, NumberedErrors) {
    const struct {
        int code;
        const char* text;
    } cases[] = {{1, "数组成员引用下标超出定义范围"},
                 {2, "未得到所需要的数值型数据"},
                 {5, "数据或数组类型不匹配"},
                 {9, "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围"},
                 {11, "所提供参数的数据类型不符合要求"}};
    for (const auto& c : cases)
        EXPECT_EQ(RuntimeErrorText(c.code), c.text) << c.code;
    EXPECT_EQ(RuntimeErrorText(0), "");
    EXPECT_EQ(RuntimeErrorText(12), "");
}

// The death tests run the report in a child; the marker file tells whether the clean-up ran there.
class FatalExit : public ::testing::Test {
  protected:
    void SetUp() override { std::filesystem::remove(marker); }
    void TearDown() override { std::filesystem::remove(marker); }

    static void RegisterMarkingCleanup() {
        RegisterExitCleanup([] { std::ofstream(marker) << "ran"; });
    }

    static inline const std::filesystem::path marker =
        std::filesystem::temp_directory_path() / "effectpanel-cleanup-marker";
};

TEST_F(FatalExit, EndsWithExitCode255ShowsTheBoxAndSkipsTheCleanup) {
    EXPECT_EXIT(
        {
            testing::TestHost host;
            host.messageBoxAnswer = [](const MessageBoxRequest& request) {
                std::fprintf(stderr, "box[%s] style %d\n", request.caption.c_str(), request.style);
                return MessageBoxButton::Ok;
            };
            RegisterMarkingCleanup();
            RaiseRuntimeError(4);
        },
        testing::ExitedFatally(), "box\\[错误\\] style 16");
    EXPECT_FALSE(std::filesystem::exists(marker));
}

TEST_F(FatalExit, RunsTheRestOfExitProcessing) {
    EXPECT_EXIT(
        {
            testing::TestHost host;
            RegisterRuntimeShutdown([] { std::fputs("runtime released\n", stderr); });
            ReportFatal("载入启动窗口失败");
        },
        testing::ExitedFatally(), "错误信息：载入启动窗口失败\\s*runtime released");
}

TEST_F(FatalExit, BeforeTheHostExistsTheReportGoesToStandardErrorAlone) {
    EXPECT_EXIT(ReportFatal("载入启动窗口失败"), testing::ExitedFatally(), "错误信息：载入启动窗口失败");
}

TEST_F(FatalExit, TableIndicesOutsideTheTable) {
    BoundedTable<int, 21> table;
    testing::TestHost host;
    EXPECT_EXIT(table.at(0), testing::ExitedFatally(), "错误代码：4");
    EXPECT_EXIT(table.at(22), testing::ExitedFatally(), "错误代码：1");
    EXPECT_EQ(table.at(21), 0);
}

#if defined(EP_CAN_FAIL_ALLOCATIONS)
void* volatile g_keptBlock = nullptr;

/// Stores the block where the compiler cannot see it unused, so that the allocation stays.
void Keep(void* block) { g_keptBlock = block; }

/// Lets the process grow by a little more than it holds now.
void LimitAddressSpace() {
    constexpr rlim_t kHeadroomBytes = 64 << 20;
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t limit = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + kHeadroomBytes;
    const rlimit bounds{limit, limit};
    setrlimit(RLIMIT_AS, &bounds);
}

/// Takes every block that malloc still has, past the program's operator new: large ones first, then
/// each small size, as malloc keeps blocks freed earlier in caches of one size each.
void UseUpTheHeap() {
    for (std::size_t size = 1 << 20; size > 1024; size /= 2)
        while (void* block = std::malloc(size))
            Keep(block);
    for (std::size_t size = 1024; size > 0; size -= 16)
        while (void* block = std::malloc(size))
            Keep(block);
}
#endif

TEST_F(FatalExit, AFailedAllocationEndsInTheReportWithItsSize) {
#if defined(EP_CAN_FAIL_ALLOCATIONS)
    const struct {
        const char* what;
        void (*allocate)();
        const char* report;
    } cases[] = {
        {"one request beyond the limit", [] { Keep(new char[1 << 30]); }, "错误信息：分配 1073741824 字节内存失败!"},
        // The report's text still fits; the box then fails too and must not start the report again.
        {"a small request once the heap is used up",
         [] {
             UseUpTheHeap();
             Keep(new char[64]);
         },
         "错误信息：分配 64 字节内存失败!"},
    };
    testing::TestHost host;
    // The box needs far more memory than the report's text, as a real one does.
    host.messageBoxAnswer = [](const MessageBoxRequest&) {
        Keep(new char[1 << 20]);
        return MessageBoxButton::Ok;
    };
    for (const auto& c : cases) {
        EXPECT_EXIT(
            {
                LimitAddressSpace();
                c.allocate();
            },
            testing::ExitedFatally(), c.report)
            << c.what;
    }
#elif defined(EP_HAS_OPERATOR_NEW)
    GTEST_SKIP() << "Windows has no setrlimit to limit the address space so that an allocation fails";
#else
    GTEST_SKIP() << "this build keeps the sanitizer's operator new, and the sanitizer's shadow memory leaves no "
                    "address space to limit";
#endif
}

TEST_F(FatalExit, AllocationFailureNamesTheSize) {
    testing::TestHost host;
    EXPECT_EXIT(ReportAllocationFailure(123456789), testing::ExitedFatally(), "分配 123456789 字节内存失败!");
}

} // namespace
} // namespace ep
