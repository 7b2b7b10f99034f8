#include "vcl/core/unitstartup.h"

#include "support/testsupport.h"
#include "vcl/core/sysutils.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace vcl;

namespace {

// Units of these tests carry this prefix; the library's own units may be in the table too.
const QString Prefix = QStringLiteral("TestUnit");

QStringList TestUnitOrder()
{
    QStringList names;
    for (const TPackageUnitEntry& entry : GetPackageInfoTable().UnitInfo)
        if (entry.Name.startsWith(Prefix))
            names << entry.Name;
    return names;
}

// A unit that logs its start-up and shut-down bodies.
std::unique_ptr<TUnitRegistration> LoggingUnit(const char* name, std::initializer_list<const char*> uses, QStringList& log)
{
    const QString unit = QString::fromUtf8(name);
    return std::make_unique<TUnitRegistration>(
        unit, uses, [&log, unit] { log << "start " + unit; }, [&log, unit] { log << "stop " + unit; });
}

} // namespace

TEST(UnitStartup, EachUnitComesAfterTheUnitsItUses)
{
    QStringList log;
    // Registered in an order that contradicts both the uses and the names.
    auto mid = LoggingUnit("TestUnitMid", {"TestUnitAlpha", "SysUtils"}, log);
    auto alpha = LoggingUnit("TestUnitAlpha", {"TestUnitZeta"}, log);
    auto zeta = LoggingUnit("TestUnitZeta", {}, log);
    auto beta = LoggingUnit("TestUnitBeta", {"TestUnitMid", "TestUnitZeta"}, log);
    EXPECT_EQ(TestUnitOrder(), QStringList({"TestUnitZeta", "TestUnitAlpha", "TestUnitMid", "TestUnitBeta"}));

    Initialize();
    Finalize();
    EXPECT_EQ(log, QStringList({"start TestUnitZeta", "start TestUnitAlpha", "start TestUnitMid", "start TestUnitBeta",
                                "stop TestUnitBeta", "stop TestUnitMid", "stop TestUnitAlpha", "stop TestUnitZeta"}));
}

TEST(UnitStartup, CountersRunBodiesOnceOnlyTheLastShutDownStopsAndEntriesAreGuarded)
{
    QStringList log;
    auto unit = LoggingUnit("TestUnitCounted", {}, log);
    EXPECT_EQ(UnitStartupCounter("TestUnitCounted"), 0);
    Initialize();
    Initialize();
    EXPECT_EQ(log, QStringList({"start TestUnitCounted"}));
    EXPECT_EQ(UnitStartupCounter("TestUnitCounted"), -2);
    Finalize();
    EXPECT_EQ(log.size(), 1);
    EXPECT_EQ(UnitStartupCounter("TestUnitCounted"), -1);
    Finalize();
    EXPECT_EQ(log, QStringList({"start TestUnitCounted", "stop TestUnitCounted"}));
    EXPECT_EQ(UnitStartupCounter("TestUnitCounted"), 0);

    // An unbalanced shut-down changes nothing, so the next start-up runs again.
    Finalize();
    EXPECT_EQ(UnitStartupCounter("TestUnitCounted"), 0);
    Initialize();
    EXPECT_EQ(log.last(), QStringLiteral("start TestUnitCounted"));
    EXPECT_EQ(log.size(), 3);
    Finalize();
    EXPECT_EQ(log.last(), QStringLiteral("stop TestUnitCounted"));

    // The table's entries are the guarded pairs.
    log.clear();
    auto entryUnit = LoggingUnit("TestUnitEntry", {}, log);
    const TPackageInfoTable table = GetPackageInfoTable();
    EXPECT_EQ(table.UnitCount, static_cast<int>(table.UnitInfo.size()));
    const auto it = std::find_if(table.UnitInfo.begin(), table.UnitInfo.end(),
                                 [](const TPackageUnitEntry& e) { return e.Name == "TestUnitEntry"; });
    ASSERT_NE(it, table.UnitInfo.end());
    it->Init();
    it->Init();
    it->FInit();
    EXPECT_EQ(log, QStringList({"start TestUnitEntry"}));
    it->FInit();
    EXPECT_EQ(log, QStringList({"start TestUnitEntry", "stop TestUnitEntry"}));
}

TEST(UnitStartup, FailingStartUpShutsDownTheUnitsAlreadyStarted)
{
    QStringList log;
    bool fail = true;
    auto base = LoggingUnit("TestUnitBase", {}, log);
    TUnitRegistration broken("TestUnitBroken", {"TestUnitBase"}, [&] {
        if (fail)
            throw EInvalidOperation("no start");
        log << "start TestUnitBroken";
    });
    EXPECT_THROW(Initialize(), EInvalidOperation);
    EXPECT_EQ(log, QStringList({"start TestUnitBase", "stop TestUnitBase"}));
    EXPECT_EQ(UnitStartupCounter("TestUnitBase"), 0);
    EXPECT_EQ(UnitStartupCounter("TestUnitBroken"), 0);

    fail = false;
    Initialize();
    EXPECT_EQ(log.mid(2), QStringList({"start TestUnitBase", "start TestUnitBroken"}));
    Finalize();
    EXPECT_EQ(UnitStartupCounter("TestUnitBase"), 0);
}

TEST(UnitStartup, FailingShutDownStillStopsTheOthers)
{
    QStringList log;
    auto first = LoggingUnit("TestUnitFirst", {}, log);
    TUnitRegistration second("TestUnitSecond", {"TestUnitFirst"}, {}, [] { throw EInvalidOperation("no stop"); });
    Initialize();
    EXPECT_THROW(Finalize(), EInvalidOperation);
    EXPECT_EQ(log, QStringList({"start TestUnitFirst", "stop TestUnitFirst"}));
    EXPECT_EQ(UnitStartupCounter("TestUnitSecond"), 0);
}

TEST(UnitStartup, CyclesAndMissingUnitsDoNotBreakTheTable)
{
    QStringList log;
    auto x = LoggingUnit("TestUnitX", {"TestUnitY", "NoSuchUnit"}, log);
    auto y = LoggingUnit("TestUnitY", {"TestUnitX"}, log);
    // The walk starts at X (by name), meets the cycle at Y and places Y first.
    EXPECT_EQ(TestUnitOrder(), QStringList({"TestUnitY", "TestUnitX"}));
}

TEST(UnitStartup, DestroyedRegistrationsLeaveTheTable)
{
    QStringList log;
    auto gone = LoggingUnit("TestUnitGone", {}, log);
    EXPECT_EQ(TestUnitOrder(), QStringList({"TestUnitGone"}));
    gone.reset();
    EXPECT_TRUE(TestUnitOrder().isEmpty());
    EXPECT_EQ(UnitStartupCounter("TestUnitGone"), 0);
}
