#pragma once
// The main program of the drawing benchmarks, and a console reporter that also keeps each benchmark's processor time per iteration,
// so a program can print how its own code compares with a peer measured in the same
// run (processor time: wall time on a shared machine says more about the neighbours).
#include <QApplication>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
public:
    // WallTime: keep the real time instead, for peers that run as programs of their own
    // (their processor time is not this process's).
    explicit RatioReporter(bool WallTime = false) : FWallTime(WallTime) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            // Named without the run options ("/min_time:0.500", "/process_time").
            std::string name = run.benchmark_name();
            name = name.substr(0, std::min(name.find("/min_time:"), name.find("/process_time")));
            FTimes[name] = FWallTime ? run.GetAdjustedRealTime() : run.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // The processor time per iteration of the named benchmark; 0 when it did not run.
    double Time(const std::string& Name) const
    {
        const auto found = FTimes.find(Name);
        return found != FTimes.end() ? found->second : 0;
    }

    // Prints "ours / peer" for each pair both of whose benchmarks ran.
    void PrintRatios(const std::vector<std::pair<std::string, std::string>>& Pairs) const
    {
        for (const auto& [ours, peer] : Pairs) {
            const auto a = FTimes.find(ours), b = FTimes.find(peer);
            if (a != FTimes.end() && b != FTimes.end() && b->second > 0)
                std::printf("ratio %s / %s: %.2f\n", ours.c_str(), peer.c_str(), a->second / b->second);
        }
    }

private:
    bool FWallTime;
    std::map<std::string, double> FTimes;
};

// Runs the benchmarks on an offscreen display (unless another is chosen) and prints the
// ratio of each pair, ours first.
inline int RunBenchmarksWithRatios(int argc, char** argv, const std::vector<std::pair<std::string, std::string>>& Pairs)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios(Pairs);
    benchmark::Shutdown();
    return 0;
}
