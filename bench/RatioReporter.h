#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace sonavel {

// Prints the benchmarks as the console reporter does and keeps each one's time per iteration,
// so that a table can set every case against memcpy measured in the same run.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    struct Row {
        std::string caseName;
        size_t sourceBytes = 0; // read per iteration
        size_t outputBytes = 0; // written per iteration
        size_t words = 0;       // channel words per iteration
    };

    // The name under which the memcpy of `bytes` bytes is registered.
    static std::string MemcpyName(size_t bytes);

    void ReportRuns(const std::vector<Run>& reports) override;

    // Prints the table; returns the largest ratio to the memcpy of the larger of a case's source
    // and output byte counts (0 when nothing ran).
    double PrintRatios(const std::vector<Row>& rows) const;

  private:
    double TimeOf(const std::string& name) const;

    std::map<std::string, double> nanoseconds_;
};

} // namespace sonavel
