#include "vcl/core/unitstartup.h"

#include <QHash>
#include <algorithm>
#include <exception>
#include <memory>
#include <mutex>

namespace vcl {

namespace {

struct TUnit {
    QString Name;
    QStringList Uses;
    TUnitProc StartUp;
    TUnitProc ShutDown;
    int Counter = 0;
    const TUnitRegistration* Owner = nullptr;
};

using TUnitPtr = std::shared_ptr<TUnit>;

// Recursive, so that a start-up body may itself look at the table or register a unit.
struct TUnitTable {
    std::recursive_mutex Mutex;
    std::vector<TUnitPtr> Units;
};

TUnitTable& Table()
{
    static TUnitTable table;
    return table;
}

void StartUnit(TUnit& unit)
{
    std::lock_guard lock(Table().Mutex);
    if (--unit.Counter != -1 || !unit.StartUp)
        return;
    try {
        unit.StartUp();
    } catch (...) {
        // The unit did not start; a later start-up tries again.
        ++unit.Counter;
        throw;
    }
}

void ShutUnit(TUnit& unit)
{
    std::lock_guard lock(Table().Mutex);
    // A shut-down that no start-up balances would leave the counter above 0 and keep
    // the next start-up from running; it is ignored instead.
    if (unit.Counter == 0)
        return;
    if (++unit.Counter == 0 && unit.ShutDown)
        unit.ShutDown();
}

// Depth-first over the uses, units in name order: each unit after those it uses.
std::vector<TUnitPtr> OrderedUnits()
{
    std::vector<TUnitPtr> byName = Table().Units;
    std::stable_sort(byName.begin(), byName.end(), [](const TUnitPtr& a, const TUnitPtr& b) {
        return a->Name.compare(b->Name, Qt::CaseInsensitive) < 0;
    });
    QHash<QString, TUnitPtr> lookup;
    for (const TUnitPtr& unit : byName)
        if (!lookup.contains(unit->Name.toLower()))
            lookup.insert(unit->Name.toLower(), unit);

    std::vector<TUnitPtr> ordered;
    QHash<const TUnit*, bool> visited; // false while in progress, true when placed
    std::function<void(const TUnitPtr&)> visit = [&](const TUnitPtr& unit) {
        if (visited.contains(unit.get()))
            return;
        visited.insert(unit.get(), false);
        for (const QString& used : unit->Uses)
            if (const TUnitPtr dependency = lookup.value(used.toLower()))
                visit(dependency);
        visited[unit.get()] = true;
        ordered.push_back(unit);
    };
    for (const TUnitPtr& unit : byName)
        visit(unit);
    return ordered;
}

} // namespace

TUnitRegistration::TUnitRegistration(const QString& UnitName, std::initializer_list<const char*> Uses, TUnitProc StartUp,
                                     TUnitProc ShutDown)
{
    auto unit = std::make_shared<TUnit>();
    unit->Name = UnitName;
    for (const char* used : Uses)
        unit->Uses << QString::fromUtf8(used);
    unit->StartUp = std::move(StartUp);
    unit->ShutDown = std::move(ShutDown);
    unit->Owner = this;
    std::lock_guard lock(Table().Mutex);
    Table().Units.push_back(std::move(unit));
}

TUnitRegistration::~TUnitRegistration()
{
    std::lock_guard lock(Table().Mutex);
    auto& units = Table().Units;
    units.erase(std::remove_if(units.begin(), units.end(), [this](const TUnitPtr& u) { return u->Owner == this; }), units.end());
}

TPackageInfoTable GetPackageInfoTable()
{
    std::lock_guard lock(Table().Mutex);
    TPackageInfoTable table;
    for (const TUnitPtr& unit : OrderedUnits())
        table.UnitInfo.push_back({unit->Name, [unit] { StartUnit(*unit); }, [unit] { ShutUnit(*unit); }});
    table.UnitCount = static_cast<int>(table.UnitInfo.size());
    return table;
}

void Initialize()
{
    const TPackageInfoTable table = GetPackageInfoTable();
    for (int i = 0; i < table.UnitCount; ++i) {
        try {
            table.UnitInfo[static_cast<size_t>(i)].Init();
        } catch (...) {
            for (int j = i - 1; j >= 0; --j)
                table.UnitInfo[static_cast<size_t>(j)].FInit();
            throw;
        }
    }
}

void Finalize()
{
    const TPackageInfoTable table = GetPackageInfoTable();
    // Every unit gets its shut-down even when an earlier one raises; the first
    // exception is passed on at the end.
    std::exception_ptr first;
    for (int i = table.UnitCount - 1; i >= 0; --i) {
        try {
            table.UnitInfo[static_cast<size_t>(i)].FInit();
        } catch (...) {
            if (!first)
                first = std::current_exception();
        }
    }
    if (first)
        std::rethrow_exception(first);
}

int UnitStartupCounter(const QString& UnitName)
{
    std::lock_guard lock(Table().Mutex);
    for (const TUnitPtr& unit : Table().Units)
        if (unit->Name.compare(UnitName, Qt::CaseInsensitive) == 0)
            return unit->Counter;
    return 0;
}

} // namespace vcl
