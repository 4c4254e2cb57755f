#pragma once

// Keeps every repetition's time of each benchmark, so that a ratio is taken between medians and one slow
// repetition on a busy machine does not decide it.
#include <algorithm>
#include <benchmark/benchmark.h>
#include <map>
#include <string>
#include <vector>

class median_reporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration && !r.error_occurred)
                times[r.run_name.function_name].push_back(r.GetAdjustedRealTime());
    }
    // Of the real times, in the benchmark's unit; 0 when it did not run.
    double median(const std::string& name) {
        std::vector<double>& t = times[name];
        if (t.empty())
            return 0;
        std::sort(t.begin(), t.end());
        return t.size() % 2 ? t[t.size() / 2] : (t[t.size() / 2 - 1] + t[t.size() / 2]) / 2;
    }

private:
    std::map<std::string, std::vector<double>> times;
};
