#pragma once
// The unit start-up table: every unit's start-up and shut-down pair, ordered so that
// each unit comes after the units it uses, walked by Initialize and Finalize.
//
// A unit registers itself with a static object in its source file:
//
//     static vcl::TUnitRegistration registration("Qvbgrad", {"Qvutils"}, StartUp, ShutDown);
//
// Each unit has a counter that starts at 0. Its start-up decrements the counter and
// runs the start-up body only when the counter goes below 0; its shut-down increments
// the counter and runs the shut-down body only when the counter comes back to 0. So
// repeated start-ups run the body once, and only the matching last shut-down runs the
// shut-down body.
#include <QString>
#include <QStringList>
#include <functional>
#include <initializer_list>
#include <vector>

namespace vcl {

using TUnitProc = std::function<void()>;

// Enters a unit into the table for as long as the object lives (the unit's source
// file keeps it as a static object, so it lives as long as the library is loaded).
class TUnitRegistration {
public:
    TUnitRegistration(const QString& UnitName, std::initializer_list<const char*> Uses, TUnitProc StartUp = {},
                      TUnitProc ShutDown = {});
    ~TUnitRegistration();
    TUnitRegistration(const TUnitRegistration&) = delete;
    TUnitRegistration& operator=(const TUnitRegistration&) = delete;
};

// One row of the table: the unit's guarded start-up and shut-down.
struct TPackageUnitEntry {
    QString Name;
    TUnitProc Init;
    TUnitProc FInit;
};

struct TPackageInfoTable {
    int UnitCount = 0;
    std::vector<TPackageUnitEntry> UnitInfo;
};

// The table in start-up order. Ties between units that do not depend on each other
// are broken by name, so the order never depends on the order of static start-up.
// A used unit that is not registered is skipped; a cycle of uses is broken where the
// walk meets it.
TPackageInfoTable GetPackageInfoTable();

// Runs every unit's start-up in table order. When a start-up body raises, the units
// already started are shut down again (in reverse order) and the exception passes on.
void Initialize();
// Runs every unit's shut-down in reverse table order.
void Finalize();

// A unit's counter (0 when it is not registered), for diagnostics and tests.
int UnitStartupCounter(const QString& UnitName);

} // namespace vcl
