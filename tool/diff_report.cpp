#include "tool/diff_report.h"

#include "tool/set_differences.h"

namespace ep {
namespace {

constexpr int kExitDifferent = 1;

} // namespace

int ReportDiff(Run& run, const Text& first, const Text& second) {
    const std::vector<FieldDifference> differences = SetDifferences(first, second);
    for (const FieldDifference& difference : differences)
        run.say(DiffLine(difference));
    run.say(DiffCountLine(differences));
    run.result["differences"] = DifferencesJson(differences, "a", "b");
    run.result["count"] = differences.size();
    return run.finish(differences.empty() ? kExitDone : kExitDifferent);
}

} // namespace ep
