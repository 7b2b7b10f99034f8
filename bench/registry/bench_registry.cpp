// 10,000 writes and 10,000 reads of string values, the registry store against QSettings
// with an INI file, side by side in each iteration. The store commits every write on
// its own and checks before every read that no other process has changed the store;
// QSettings keeps writes in memory until one sync at the end and never looks at the file
// again once read. Counters: microseconds per operation for each and their ratio, in
// elapsed time (ratio) and in the process's CPU time (cpu_ratio). On a shared, loaded
// machine the elapsed times mostly measure waiting for a core; the CPU times do not,
// but leave out the waits for the disk at checkpoints, which the elapsed ratio has.
#include "vcl/registry/registry.h"

#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <ctime>

namespace {

constexpr int Operations = 10000;

QString Name(int i) { return QStringLiteral("value%1").arg(i); }
QString Text(int i, int round) { return QStringLiteral("text %1 of round %2").arg(i).arg(round); }

// A registry folder of its own for the whole run.
const QTemporaryDir& RegistryFolder()
{
    static QTemporaryDir dir;
    qputenv("QVKIT_REGISTRY_DIR", dir.path().toUtf8());
    return dir;
}

QString IniFile() { return RegistryFolder().filePath("peer.ini"); }

// Elapsed and CPU seconds spent on one side, summed over the iterations.
struct Spent {
    double Wall = 0;
    double Cpu = 0;
};

double ProcessCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

template <class F>
void Measure(Spent& Total, F&& Body)
{
    const double cpuStart = ProcessCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    Body();
    Total.Wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    Total.Cpu += ProcessCpuSeconds() - cpuStart;
}

void RegistryWrites(int Round)
{
    vcl::TRegistry reg;
    reg.OpenKey("Software\\Bench", true);
    for (int i = 0; i < Operations; ++i)
        reg.WriteString(Name(i), Text(i, Round));
}

void SettingsWrites(int Round)
{
    QSettings settings(IniFile(), QSettings::IniFormat);
    settings.beginGroup("Bench");
    for (int i = 0; i < Operations; ++i)
        settings.setValue(Name(i), Text(i, Round));
    settings.endGroup();
    settings.sync();
}

void RegistryReads()
{
    vcl::TRegistry reader;
    reader.OpenKeyReadOnly("Software\\Bench");
    for (int i = 0; i < Operations; ++i)
        benchmark::DoNotOptimize(reader.ReadString(Name(i)));
}

void SettingsReads()
{
    QSettings settings(IniFile(), QSettings::IniFormat);
    settings.beginGroup("Bench");
    for (int i = 0; i < Operations; ++i)
        benchmark::DoNotOptimize(settings.value(Name(i)).toString());
    settings.endGroup();
}

void Report(benchmark::State& State, const Spent& Ours, const Spent& Peer)
{
    const double perOperation = 1e6 / double(State.iterations() * Operations);
    State.counters["QvKit_us"] = Ours.Wall * perOperation;
    State.counters["QSettings_us"] = Peer.Wall * perOperation;
    State.counters["ratio"] = Ours.Wall / Peer.Wall;
    State.counters["QvKit_cpu_us"] = Ours.Cpu * perOperation;
    State.counters["QSettings_cpu_us"] = Peer.Cpu * perOperation;
    State.counters["cpu_ratio"] = Ours.Cpu / Peer.Cpu;
    State.SetItemsProcessed(State.iterations() * Operations * 2);
}

void BM_Writes(benchmark::State& State)
{
    RegistryFolder();
    Spent ours;
    Spent peer;
    int round = 0;
    for (auto _ : State) {
        Measure(ours, [&] { RegistryWrites(round); });
        Measure(peer, [&] { SettingsWrites(round); });
        ++round;
    }
    Report(State, ours, peer);
}

// Both sides read what they wrote; the store's cache is as warm as QSettings' copy.
void BM_Reads(benchmark::State& State)
{
    RegistryFolder();
    RegistryWrites(0);
    SettingsWrites(0);
    Spent ours;
    Spent peer;
    for (auto _ : State) {
        Measure(ours, RegistryReads);
        Measure(peer, SettingsReads);
    }
    Report(State, ours, peer);
}

} // namespace

BENCHMARK(BM_Writes)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Reads)->Unit(benchmark::kMillisecond)->Iterations(5);

BENCHMARK_MAIN();
