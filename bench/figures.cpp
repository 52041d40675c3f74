#include "bench/figures.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace ep::bench {
namespace {

double SecondsOf(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

constexpr double kLineBitsPerSecond = 9600.0;
constexpr double kBitsPerByte = 10.0; // start bit, eight data bits, stop bit

} // namespace

double ThreadCpuSeconds() { return SecondsOf(CLOCK_THREAD_CPUTIME_ID); }
double ProcessCpuSeconds() { return SecondsOf(CLOCK_PROCESS_CPUTIME_ID); }
double WallSeconds() { return SecondsOf(CLOCK_MONOTONIC); }

double Median(std::vector<double> values) {
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

double Maximum(const std::vector<double>& values) {
    return values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
}

double LineSeconds(double bytes) { return bytes * kBitsPerByte / kLineBitsPerSecond; }

void Report(const char* what, double figure, double limit, const char* unit, const char* limitMeaning, Target target,
            double targetRatio) {
    const double ratio = figure / limit;
    const bool met = target == Target::Below ? ratio < targetRatio : ratio <= targetRatio;
    std::printf("%s: %.4g %s against %.4g %s (%s); ratio %.4g (target %s %.4g): %s\n", what, figure, unit, limit, unit,
                limitMeaning, ratio, target == Target::Below ? "below" : "at most", targetRatio,
                met ? "met" : "MISSED");
    std::fflush(stdout);
}

} // namespace ep::bench
