#include "runtime/fatal.h"

#include "runtime/host.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace ep {
namespace {

std::function<void()>& ExitCleanup() {
    static std::function<void()> cleanup;
    return cleanup;
}

std::function<void()>& RuntimeShutdown() {
    static std::function<void()> shutdown;
    return shutdown;
}

constexpr std::array<const char*, 11> kRuntimeErrorTexts = {
    "数组成员引用下标超出定义范围",
    "未得到所需要的数值型数据",
    "引用数组成员时维数不为1且不等于该数组目前所具有的维数",
    "数组成员引用下标必须大于等于1",
    "数据或数组类型不匹配",
    "调用DLL命令后发现堆栈错误",
    "子语句参数未返回数据或者返回了非系统基本类型或数组型数据",
    "被比较数据只能使用等于或不等于命令比较",
    "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围",
    "“重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零",
    "所提供参数的数据类型不符合要求",
};

constexpr int kErrorIconOk = 0x10;

int g_suppressionCount = 0;

} // namespace

Text FatalReportText(const Text& message, int code) {
    Text text = "运行时出错!\r\n\r\n";
    if (code != 0)
        text += "错误代码：" + std::to_string(code) + "\r\n\r\n";
    if (!message.empty())
        text += "错误信息：" + message + "\r\n";
    return text;
}

Text RuntimeErrorText(int code) {
    if (code < 1 || code > static_cast<int>(kRuntimeErrorTexts.size()))
        return {};
    return kRuntimeErrorTexts[static_cast<std::size_t>(code - 1)];
}

void ReportFatal(const Text& message, int code) {
    // The clean-up must not run after a fatal error: clear it before anything else can reach it.
    ExitCleanup() = nullptr;
    SuppressEvents();
    const Text text = FatalReportText(message, code);
    std::fputs(text.c_str(), stderr);
    // A report before the host exists (a failed allocation at start-up) has standard error only; asking
    // for the host there would report again, without end.
    if (HasCurrentHost())
        CurrentHost().showMessageBox({text, "错误", kErrorIconOk});
    RunRuntimeShutdown();
    std::exit(-1);
}

void RaiseRuntimeError(int code) { ReportFatal(RuntimeErrorText(code), code); }

void ReportAllocationFailure(long long byteCount) {
    ReportFatal("分配 " + std::to_string(byteCount) + " 字节内存失败!");
}

void RegisterExitCleanup(std::function<void()> cleanup) { ExitCleanup() = std::move(cleanup); }

void RunExitCleanup() {
    auto cleanup = std::move(ExitCleanup());
    ExitCleanup() = nullptr;
    if (cleanup)
        cleanup();
}

void SuppressEvents() { ++g_suppressionCount; }

bool EventsSuppressed() { return g_suppressionCount > 0; }

void RegisterRuntimeShutdown(std::function<void()> shutdown) { RuntimeShutdown() = std::move(shutdown); }

void RunRuntimeShutdown() {
    auto shutdown = std::move(RuntimeShutdown());
    RuntimeShutdown() = nullptr;
    if (shutdown)
        shutdown();
}

} // namespace ep
