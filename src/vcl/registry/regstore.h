#pragma once
// A hive kept in one SQLite database file.
#include "vcl/registry/reghive.h"
#include "vcl/registry/regstorecache.h"
#include "vcl/registry/walchangewatch.h"

#include <QString>
#include <map>
#include <memory>
#include <mutex>

struct sqlite3;
struct sqlite3_stmt;

namespace vcl {

// Keys form a tree of rows; values belong to a key and keep the order in which they
// were first written. The database runs in WAL mode with a busy time-out and every
// change is one immediate transaction, so several processes may write at once and a
// process killed halfway through a write leaves the last committed state behind.
//
// Lookups and value reads are answered from a cache of what this process has read,
// checked before each use against the header of the WAL index (or SQLite's change
// counter), which moves with every commit, so another process's write is seen at the
// next read.
//
// A file that is not a QvKit registry store, or one that SQLite finds damaged, is
// reported with ERegistryException and never written to.
class TRegStore final : public TRegHive {
public:
    TRegStore(QString HiveName, QString FileName);
    ~TRegStore() override;
    TRegStore(const TRegStore&) = delete;
    TRegStore& operator=(const TRegStore&) = delete;

    QString Name() const override { return FHiveName; }
    bool ReadOnly() const override { return false; }
    TRegKeyId RootKey() const override { return RootKeyId; }
    const QString& FileName() const { return FFileName; }

    std::optional<TRegKeyId> FindKey(TRegKeyId Parent, const QStringList& Path) override;
    TRegKeyId CreateKey(TRegKeyId Parent, const QStringList& Path) override;
    bool DeleteKey(TRegKeyId Parent, const QStringList& Path) override;
    QStringList SubKeyNames(TRegKeyId Key) override;
    QStringList ValueNames(TRegKeyId Key) override;
    std::optional<TRegValue> ReadValue(TRegKeyId Key, const QString& Name) override;
    void WriteValue(TRegKeyId Key, const QString& Name, const TRegValue& Value) override;
    bool DeleteValue(TRegKeyId Key, const QString& Name) override;

private:
    static constexpr TRegKeyId RootKeyId = 1;
    class Query;
    class WriteTransaction;

    void OpenDatabase();
    void CloseDatabase();
    bool IsEmptyOrOurs();
    void UseWriteAheadLog();
    void UseCheckpointInterval();
    void CreateSchema();
    void Exec(const char* Sql);
    sqlite3_stmt* Prepared(const char* Sql);
    // Forgets cached answers when another connection has committed since the last call.
    void Refresh();
    std::optional<TRegKeyId> FindChild(TRegKeyId Parent, const QString& Name);
    std::optional<TRegKeyId> FindPath(TRegKeyId Parent, const QStringList& Path);
    std::optional<TRegValue> ReadStoredValue(TRegKeyId Key, const QString& FoldedName);
    QStringList Names(const char* Sql, TRegKeyId Key);
    [[noreturn]] void Fail(const QString& What, int ResultCode) const;
    [[noreturn]] void Damaged(const QString& Detail) const;

    QString FHiveName;
    QString FFileName;
    sqlite3* FDb = nullptr;
    std::map<const char*, sqlite3_stmt*> FStatements;
    TRegStoreCache FCache;
    // Set once the store is open; without it Refresh asks SQLite for its change counter.
    std::unique_ptr<TWalChangeWatch> FChanges;
    std::mutex FMutex;
};

} // namespace vcl
