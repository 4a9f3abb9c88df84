#include "RatioReporter.h"

#include <algorithm>
#include <cstdio>

namespace sonavel {

std::string RatioReporter::MemcpyName(size_t bytes)
{
    return "memcpy/" + std::to_string(bytes);
}

void RatioReporter::ReportRuns(const std::vector<Run>& reports)
{
    ConsoleReporter::ReportRuns(reports);
    for (const Run& run : reports) {
        // With repetitions the median stands for the case; a single run reports itself.
        const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        if (!run.error_occurred && (single || median)) {
            nanoseconds_[run.run_name.str()] = run.GetAdjustedCPUTime();
        }
    }
}

double RatioReporter::TimeOf(const std::string& name) const
{
    const auto found = nanoseconds_.find(name);
    return found == nanoseconds_.end() ? 0.0 : found->second;
}

double RatioReporter::PrintRatios(const std::vector<Row>& rows) const
{
    std::printf("\n%-16s %8s %8s %10s %10s %10s %9s\n", "case", "src B", "out B", "ns/word", "x cpy(src)",
                "x cpy(out)", "x cpy(max)");
    double worst = 0.0;
    for (const Row& row : rows) {
        const double time = TimeOf(row.caseName);
        const double source = TimeOf(MemcpyName(row.sourceBytes));
        const double output = TimeOf(MemcpyName(row.outputBytes));
        const double larger = TimeOf(MemcpyName(std::max(row.sourceBytes, row.outputBytes)));
        if (time == 0.0 || source == 0.0 || output == 0.0 || larger == 0.0) {
            continue;
        }
        std::printf("%-16s %8zu %8zu %10.3f %10.2f %10.2f %9.2f\n", row.caseName.c_str(), row.sourceBytes,
                    row.outputBytes, time / static_cast<double>(row.words), time / source, time / output,
                    time / larger);
        worst = std::max(worst, time / larger);
    }
    return worst;
}

} // namespace sonavel
