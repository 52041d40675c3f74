#pragma once
/// What every benchmark shares: the clocks it measures with, the median of repeated runs, the line time
/// of bytes at 9600 bit/s, and the one line that prints a figure next to the limit it is measured against.

#include <vector>

namespace ep::bench {

/// Seconds of CPU time the calling thread has used.
double ThreadCpuSeconds();
/// Seconds of CPU time all threads of this process have used.
double ProcessCpuSeconds();
/// Seconds on a monotonic clock.
double WallSeconds();

double Median(std::vector<double> values);
double Maximum(const std::vector<double>& values);

/// Seconds that this many bytes take on an 8N1 line (ten bits a byte) at 9600 bit/s.
double LineSeconds(double bytes);

/// Whether a figure must stay below its target ratio or only must not exceed it.
enum class Target { Below, AtMost };

/// Prints "what: figure unit against limit unit (meaning); ratio r (target below|at most t): met|MISSED"
/// and whether the target was met.
void Report(const char* what, double figure, double limit, const char* unit, const char* limitMeaning, Target target,
            double targetRatio);

} // namespace ep::bench
