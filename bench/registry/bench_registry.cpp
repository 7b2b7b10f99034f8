// 10,000 writes and 10,000 reads of string values: the registry store (one SQLite
// transaction per write) against QSettings with an INI file (writes kept in memory and
// written out by one sync at the end).
#include "vcl/registry/registry.h"

#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

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

void BM_TRegistryWrite(benchmark::State& state)
{
    RegistryFolder();
    int round = 0;
    for (auto _ : state) {
        vcl::TRegistry reg;
        reg.OpenKey("Software\\Bench", true);
        for (int i = 0; i < Operations; ++i)
            reg.WriteString(Name(i), Text(i, round));
        ++round;
    }
    state.SetItemsProcessed(state.iterations() * Operations);
}

void BM_TRegistryRead(benchmark::State& state)
{
    RegistryFolder();
    vcl::TRegistry reg;
    reg.OpenKey("Software\\Bench", true);
    for (int i = 0; i < Operations; ++i)
        reg.WriteString(Name(i), Text(i, 0));
    for (auto _ : state) {
        vcl::TRegistry reader;
        reader.OpenKeyReadOnly("Software\\Bench");
        for (int i = 0; i < Operations; ++i)
            benchmark::DoNotOptimize(reader.ReadString(Name(i)));
    }
    state.SetItemsProcessed(state.iterations() * Operations);
}

void BM_QSettingsIniWrite(benchmark::State& state)
{
    int round = 0;
    for (auto _ : state) {
        QSettings settings(IniFile(), QSettings::IniFormat);
        settings.beginGroup("Bench");
        for (int i = 0; i < Operations; ++i)
            settings.setValue(Name(i), Text(i, round));
        settings.endGroup();
        settings.sync();
        ++round;
    }
    state.SetItemsProcessed(state.iterations() * Operations);
}

void BM_QSettingsIniRead(benchmark::State& state)
{
    {
        QSettings settings(IniFile(), QSettings::IniFormat);
        for (int i = 0; i < Operations; ++i)
            settings.setValue("Bench/" + Name(i), Text(i, 0));
    }
    for (auto _ : state) {
        QSettings settings(IniFile(), QSettings::IniFormat);
        settings.beginGroup("Bench");
        for (int i = 0; i < Operations; ++i)
            benchmark::DoNotOptimize(settings.value(Name(i)).toString());
        settings.endGroup();
    }
    state.SetItemsProcessed(state.iterations() * Operations);
}

} // namespace

BENCHMARK(BM_TRegistryWrite)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_QSettingsIniWrite)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_TRegistryRead)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_QSettingsIniRead)->Unit(benchmark::kMillisecond)->Iterations(5);

BENCHMARK_MAIN();
