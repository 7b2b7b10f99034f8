#include "vcl/registry/regstore.h"

#include "vcl/registry/walframevfs.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <array>
#include <sqlite3.h>

namespace vcl {

namespace {

// Marks a database as a registry store ("QvKR"), and the layout version it holds.
constexpr int StoreApplicationId = 0x51764B52;
constexpr int StoreLayoutVersion = 1;

// How long a write waits for another process's transaction before it gives up. Writes
// are single small transactions, so a wait this long means the other side is stuck.
constexpr int BusyTimeoutMs = 10000;
// The pause between attempts where SQLite refuses to wait itself.
constexpr int RetryPauseMs = 2;

// Page size of a new store. Registry values are small, and every write appends each
// page it changed to the WAL, checksummed: a small page makes that a quarter of the
// copying and summing of SQLite's default. Existing stores keep the size they have.
constexpr int NewStorePageSize = 1024;
// How much the WAL may hold before a commit copies it back into the database (the only
// time anything waits for the disk). Each page is copied back once however often it was
// rewritten, so rarer checkpoints do less work in all; the WAL file is cut back to this
// size when it starts over.
constexpr int64_t WalCheckpointBytes = 8 * 1024 * 1024;

// Value type codes in the database: the original platform's numbers, so that a look
// at the file with the sqlite3 tool reads naturally to anyone who knows them.
enum StoredType { regNone = 0, regString = 1, regExpandString = 2, regBinary = 3, regInteger = 4 };

StoredType ToStored(TRegDataType Type)
{
    switch (Type) {
    case rdString: return regString;
    case rdExpandString: return regExpandString;
    case rdInteger: return regInteger;
    case rdBinary: return regBinary;
    case rdUnknown: break;
    }
    return regNone;
}

TRegDataType FromStored(int64_t Code)
{
    switch (Code) {
    case regString: return rdString;
    case regExpandString: return rdExpandString;
    case regInteger: return rdInteger;
    case regBinary: return rdBinary;
    default: return rdUnknown;
    }
}

// The value as a read from the database gives it back: only the field of its type, and
// text as its UTF-8 form decodes (a lone surrogate does not survive the encoding).
TRegValue AsStored(const TRegValue& Value)
{
    switch (Value.Type) {
    case rdString:
    case rdExpandString:
        return TRegValue::FromString(
            Value.Text.isValidUtf16() ? Value.Text : QString::fromUtf8(Value.Text.toUtf8()), Value.Type);
    case rdInteger: return TRegValue::FromInteger(Value.Integer);
    case rdBinary: return TRegValue::FromBinary(Value.Bytes);
    case rdUnknown: break;
    }
    TRegValue unknown = TRegValue::FromBinary(Value.Bytes);
    unknown.Type = rdUnknown;
    return unknown;
}

// Names match without regard to case, as on the original platform, but keep the
// spelling they were created with.
QString Folded(const QString& Name) { return Name.toCaseFolded(); }

const char* const SchemaSql = R"sql(
CREATE TABLE IF NOT EXISTS keys(
  id INTEGER PRIMARY KEY,
  parent INTEGER REFERENCES keys(id),
  name TEXT NOT NULL,
  folded TEXT NOT NULL);
CREATE UNIQUE INDEX IF NOT EXISTS keys_by_name ON keys(parent, folded);
CREATE TABLE IF NOT EXISTS vals(
  id INTEGER PRIMARY KEY,
  key INTEGER NOT NULL REFERENCES keys(id) ON DELETE CASCADE,
  name TEXT NOT NULL,
  folded TEXT NOT NULL,
  type INTEGER NOT NULL,
  data NOT NULL);
CREATE UNIQUE INDEX IF NOT EXISTS vals_by_name ON vals(key, folded);
INSERT OR IGNORE INTO keys(id, parent, name, folded) VALUES(1, NULL, '', '');
)sql";

const char* const FindChildSql = "SELECT id FROM keys WHERE parent = ?1 AND folded = ?2";
const char* const InsertKeySql = "INSERT INTO keys(parent, name, folded) VALUES(?1, ?2, ?3)";
const char* const KeyExistsSql = "SELECT 1 FROM keys WHERE id = ?1";
const char* const DeleteTreeSql =
    "WITH RECURSIVE tree(id) AS (SELECT ?1 UNION ALL "
    "SELECT keys.id FROM keys JOIN tree ON keys.parent = tree.id) "
    "DELETE FROM keys WHERE id IN tree";
const char* const SubKeyNamesSql = "SELECT name FROM keys WHERE parent = ?1 ORDER BY id";
const char* const ValueNamesSql = "SELECT name FROM vals WHERE key = ?1 ORDER BY id";
const char* const ReadValueSql = "SELECT type, data FROM vals WHERE key = ?1 AND folded = ?2";
// Rewriting a value keeps its row, so it keeps its place in the enumeration order.
const char* const WriteValueSql =
    "INSERT INTO vals(key, name, folded, type, data) VALUES(?1, ?2, ?3, ?4, ?5) "
    "ON CONFLICT(key, folded) DO UPDATE SET type = excluded.type, data = excluded.data";
const char* const DeleteValueSql = "DELETE FROM vals WHERE key = ?1 AND folded = ?2";

} // namespace

// One run of a prepared statement: binds, steps, and resets the statement afterwards so
// the cached statement can be used again.
class TRegStore::Query {
public:
    Query(TRegStore& Store, const char* Sql) : FStore(Store), FStmt(Store.Prepared(Sql)) {}
    ~Query()
    {
        sqlite3_reset(FStmt);
        sqlite3_clear_bindings(FStmt);
    }
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    Query& Bind(int Index, int64_t Value)
    {
        Check(sqlite3_bind_int64(FStmt, Index, Value));
        return *this;
    }
    // Text and blobs are bound without a copy: the bytes stay alive in the query until
    // the statement has been reset.
    Query& Bind(int Index, const QString& Value)
    {
        const QByteArray& utf8 = Keep(Index, Value.toUtf8());
        Check(sqlite3_bind_text(FStmt, Index, utf8.constData(), int(utf8.size()), SQLITE_STATIC));
        return *this;
    }
    Query& BindBlob(int Index, const QByteArray& Value)
    {
        // A null pointer would bind SQL NULL; an empty value is a zero-length blob.
        Check(Value.isEmpty() ? sqlite3_bind_zeroblob(FStmt, Index, 0)
                              : sqlite3_bind_blob(FStmt, Index, Keep(Index, Value).constData(), int(Value.size()),
                                                  SQLITE_STATIC));
        return *this;
    }

    // True while there is a row to read; raises on any failure.
    bool Step() { return Raise(sqlite3_step(FStmt)) == SQLITE_ROW; }
    // Like Step, but hands back a foreign key violation instead of raising it.
    int StepCode()
    {
        const int rc = sqlite3_step(FStmt);
        return rc == SQLITE_CONSTRAINT_FOREIGNKEY ? rc : Raise(rc);
    }

    int64_t Int(int Column) const { return sqlite3_column_int64(FStmt, Column); }
    QString Text(int Column) const
    {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(FStmt, Column));
        return QString::fromUtf8(text, sqlite3_column_bytes(FStmt, Column));
    }
    QByteArray Blob(int Column) const
    {
        const auto* data = static_cast<const char*>(sqlite3_column_blob(FStmt, Column));
        return QByteArray(data, sqlite3_column_bytes(FStmt, Column));
    }

private:
    static constexpr size_t MaxKeptParameters = 5;
    const QByteArray& Keep(int Index, QByteArray Bytes) { return FKept.at(size_t(Index - 1)) = std::move(Bytes); }

    int Raise(int rc)
    {
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            FStore.Fail(QStringLiteral("cannot run \"%1\"").arg(QString::fromUtf8(sqlite3_sql(FStmt))), rc);
        return rc;
    }
    void Check(int rc)
    {
        if (rc != SQLITE_OK)
            FStore.Fail(QStringLiteral("cannot bind a parameter"), rc);
    }

    TRegStore& FStore;
    sqlite3_stmt* FStmt;
    std::array<QByteArray, MaxKeptParameters> FKept;
};

// BEGIN IMMEDIATE takes the write lock at once, so the busy time-out covers the whole
// wait and a transaction never fails half-way because another writer came first. With
// the lock held nobody else commits, so the cache, checked once, stays valid throughout.
// Rolls back unless committed, and then forgets what the transaction put in the cache.
class TRegStore::WriteTransaction {
public:
    explicit WriteTransaction(TRegStore& Store) : FStore(Store)
    {
        Query(FStore, "BEGIN IMMEDIATE").Step();
        FStore.Refresh();
    }
    ~WriteTransaction()
    {
        if (!FCommitted) {
            sqlite3_exec(FStore.FDb, "ROLLBACK", nullptr, nullptr, nullptr);
            FStore.FCache.Clear();
        }
    }
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;

    void Commit()
    {
        Query(FStore, "COMMIT").Step();
        FCommitted = true;
    }

private:
    TRegStore& FStore;
    bool FCommitted = false;
};

TRegStore::TRegStore(QString HiveName, QString FileName)
    : FHiveName(std::move(HiveName)), FFileName(std::move(FileName))
{
    try {
        OpenDatabase();
    } catch (...) {
        CloseDatabase();
        throw;
    }
}

TRegStore::~TRegStore() { CloseDatabase(); }

void TRegStore::CloseDatabase()
{
    FChanges.reset();
    for (auto& [sql, stmt] : FStatements)
        sqlite3_finalize(stmt);
    FStatements.clear();
    sqlite3_close(FDb);
    FDb = nullptr;
}

void TRegStore::OpenDatabase()
{
    const QString folder = QFileInfo(FFileName).absolutePath();
    if (!QDir().mkpath(folder))
        throw ERegistryException(QStringLiteral("Cannot create the registry folder \"%1\"").arg(folder));
    const int rc = sqlite3_open_v2(QFile::encodeName(FFileName).constData(), &FDb,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                                   WalFrameVfsName());
    if (rc != SQLITE_OK)
        Fail(QStringLiteral("cannot open the database"), rc);
    sqlite3_extended_result_codes(FDb, 1);
    sqlite3_busy_timeout(FDb, BusyTimeoutMs);
    const bool empty = IsEmptyOrOurs();
    if (empty)
        Exec(QStringLiteral("PRAGMA page_size = %1").arg(NewStorePageSize).toUtf8().constData());
    UseWriteAheadLog();
    // NORMAL in WAL mode: a commit that returned has written its pages to the WAL file,
    // so it survives the process crashing or being killed; only a power loss or an
    // operating system crash may roll back the newest commits (the disk is waited for at
    // checkpoints only).
    Exec("PRAGMA synchronous = NORMAL; PRAGMA foreign_keys = ON");
    UseCheckpointInterval();
    if (empty)
        CreateSchema();
    // A read makes this connection open the WAL index and hold it for its lifetime, so
    // the index the watch reads is the one in use from here on.
    Exec("SELECT count(*) FROM sqlite_master");
    FChanges = std::make_unique<TWalChangeWatch>(FDb);
    if (!FChanges->Mapped())
        FChanges.reset();
}

// Switching a new store to WAL upgrades a read lock to an exclusive one. When two
// processes open a new store at once, both try; SQLite refuses one of them at once
// rather than wait (waiting could deadlock), so the refused one tries again, until the
// busy time-out, by when the other has finished the switch.
void TRegStore::UseWriteAheadLog()
{
    const QDeadlineTimer deadline(BusyTimeoutMs);
    for (;;) {
        const int rc = sqlite3_exec(FDb, "PRAGMA journal_mode = WAL", nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK)
            return;
        if ((rc & 0xFF) != SQLITE_BUSY || deadline.hasExpired())
            Fail(QStringLiteral("cannot switch to write-ahead logging"), rc);
        sqlite3_sleep(RetryPauseMs);
    }
}

void TRegStore::UseCheckpointInterval()
{
    int64_t pageSize = 0;
    {
        Query q(*this, "PRAGMA page_size");
        if (q.Step())
            pageSize = q.Int(0);
    }
    if (pageSize <= 0)
        Fail(QStringLiteral("cannot read the page size"), SQLITE_ERROR);
    Exec(QStringLiteral("PRAGMA wal_autocheckpoint = %1; PRAGMA journal_size_limit = %2")
             .arg(WalCheckpointBytes / pageSize)
             .arg(WalCheckpointBytes)
             .toUtf8()
             .constData());
}

// Refuses anything but an empty database or one of our own stores, and a store that
// SQLite's own check finds damaged, before anything is written. True when empty.
bool TRegStore::IsEmptyOrOurs()
{
    // One statement, so that all three come from one snapshot even while another
    // process is creating the store.
    int64_t applicationId = 0;
    int64_t version = 0;
    int64_t objects = 0;
    {
        Query q(*this, "SELECT a.application_id, v.user_version, (SELECT count(*) FROM sqlite_schema) "
                       "FROM pragma_application_id() a, pragma_user_version() v");
        if (q.Step()) {
            applicationId = q.Int(0);
            version = q.Int(1);
            objects = q.Int(2);
        }
    }
    if (applicationId == 0 && objects == 0)
        return true;
    if (applicationId != StoreApplicationId)
        throw ERegistryException(
            QStringLiteral("\"%1\" is not a registry store; it was left untouched").arg(FFileName));
    if (version > StoreLayoutVersion)
        throw ERegistryException(
            QStringLiteral("The registry store \"%1\" was written by a newer version (layout %2)").arg(FFileName).arg(version));
    Query q(*this, "PRAGMA quick_check");
    const QString verdict = q.Step() ? q.Text(0) : QString();
    if (verdict != QLatin1String("ok"))
        Damaged(verdict);
    return false;
}

void TRegStore::CreateSchema()
{
    WriteTransaction transaction(*this);
    Exec(SchemaSql);
    Exec(QStringLiteral("PRAGMA application_id = %1; PRAGMA user_version = %2")
             .arg(StoreApplicationId)
             .arg(StoreLayoutVersion)
             .toUtf8()
             .constData());
    transaction.Commit();
}

void TRegStore::Exec(const char* Sql)
{
    char* error = nullptr;
    const int rc = sqlite3_exec(FDb, Sql, nullptr, nullptr, &error);
    sqlite3_free(error);
    if (rc != SQLITE_OK)
        Fail(QStringLiteral("cannot run \"%1\"").arg(QString::fromUtf8(Sql).simplified()), rc);
}

sqlite3_stmt* TRegStore::Prepared(const char* Sql)
{
    auto found = FStatements.find(Sql);
    if (found != FStatements.end())
        return found->second;
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v3(FDb, Sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
    if (rc != SQLITE_OK)
        Fail(QStringLiteral("cannot prepare \"%1\"").arg(QString::fromUtf8(Sql)), rc);
    FStatements.emplace(Sql, stmt);
    return stmt;
}

void TRegStore::Fail(const QString& What, int ResultCode) const
{
    const QString detail = FDb ? QString::fromUtf8(sqlite3_errmsg(FDb)) : QString::fromUtf8(sqlite3_errstr(ResultCode));
    const int primary = ResultCode & 0xFF;
    if (primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB)
        Damaged(detail);
    throw ERegistryException(QStringLiteral("Registry store \"%1\": %2: %3").arg(FFileName, What, detail));
}

void TRegStore::Damaged(const QString& Detail) const
{
    throw ERegistryException(QStringLiteral("The registry store \"%1\" is damaged (%2); it was left untouched. "
                                            "Move it aside to start an empty store.")
                                 .arg(FFileName, Detail));
}

void TRegStore::Refresh()
{
    if (FChanges) {
        if (FChanges->Changed())
            FCache.Clear();
        return;
    }
    Query q(*this, "PRAGMA data_version");
    if (q.Step())
        FCache.Validate(q.Int(0));
}

std::optional<TRegKeyId> TRegStore::FindChild(TRegKeyId Parent, const QString& Name)
{
    const QString folded = Folded(Name);
    if (const auto known = FCache.Child(Parent, folded))
        return *known;
    std::optional<TRegKeyId> child;
    {
        Query q(*this, FindChildSql);
        q.Bind(1, Parent).Bind(2, folded);
        if (q.Step())
            child = q.Int(0);
    }
    FCache.PutChild(Parent, folded, child);
    return child;
}

std::optional<TRegKeyId> TRegStore::FindPath(TRegKeyId Parent, const QStringList& Path)
{
    std::optional<TRegKeyId> key = Parent;
    if (Path.isEmpty()) {
        Query q(*this, KeyExistsSql);
        q.Bind(1, Parent);
        return q.Step() ? key : std::nullopt;
    }
    for (const QString& name : Path) {
        key = FindChild(*key, name);
        if (!key)
            break;
    }
    return key;
}

std::optional<TRegKeyId> TRegStore::FindKey(TRegKeyId Parent, const QStringList& Path)
{
    std::lock_guard lock(FMutex);
    Refresh();
    return FindPath(Parent, Path);
}

TRegKeyId TRegStore::CreateKey(TRegKeyId Parent, const QStringList& Path)
{
    std::lock_guard lock(FMutex);
    WriteTransaction transaction(*this);
    if (!FindPath(Parent, {}))
        throw ERegistryException(QStringLiteral("Cannot create a key under a key that was deleted"));
    TRegKeyId key = Parent;
    for (const QString& name : Path) {
        if (auto child = FindChild(key, name)) {
            key = *child;
            continue;
        }
        {
            Query insert(*this, InsertKeySql);
            insert.Bind(1, key).Bind(2, name).Bind(3, Folded(name));
            insert.Step();
        }
        const TRegKeyId parent = key;
        key = sqlite3_last_insert_rowid(FDb);
        FCache.PutChild(parent, Folded(name), key);
    }
    transaction.Commit();
    return key;
}

bool TRegStore::DeleteKey(TRegKeyId Parent, const QStringList& Path)
{
    std::lock_guard lock(FMutex);
    WriteTransaction transaction(*this);
    const auto key = FindPath(Parent, Path);
    if (!key || *key == RootKeyId)
        return false;
    {
        Query q(*this, DeleteTreeSql);
        q.Bind(1, *key);
        q.Step();
    }
    transaction.Commit();
    FCache.Clear();
    return true;
}

QStringList TRegStore::Names(const char* Sql, TRegKeyId Key)
{
    std::lock_guard lock(FMutex);
    QStringList names;
    Query q(*this, Sql);
    q.Bind(1, Key);
    while (q.Step())
        names << q.Text(0);
    return names;
}

QStringList TRegStore::SubKeyNames(TRegKeyId Key) { return Names(SubKeyNamesSql, Key); }

QStringList TRegStore::ValueNames(TRegKeyId Key) { return Names(ValueNamesSql, Key); }

std::optional<TRegValue> TRegStore::ReadValue(TRegKeyId Key, const QString& Name)
{
    std::lock_guard lock(FMutex);
    Refresh();
    const QString folded = Folded(Name);
    if (const auto* known = FCache.Value(Key, folded))
        return *known;
    std::optional<TRegValue> value = ReadStoredValue(Key, folded);
    FCache.PutValue(Key, folded, value);
    return value;
}

std::optional<TRegValue> TRegStore::ReadStoredValue(TRegKeyId Key, const QString& FoldedName)
{
    Query q(*this, ReadValueSql);
    q.Bind(1, Key).Bind(2, FoldedName);
    if (!q.Step())
        return std::nullopt;
    TRegValue value;
    value.Type = FromStored(q.Int(0));
    switch (value.Type) {
    case rdString:
    case rdExpandString: value.Text = q.Text(1); break;
    case rdInteger: value.Integer = int32_t(q.Int(1)); break;
    case rdBinary:
    case rdUnknown: value.Bytes = q.Blob(1); break;
    }
    return value;
}

// One statement outside an explicit transaction is a transaction of its own, committed
// when it ends; it takes the write lock under the busy time-out like BEGIN IMMEDIATE.
// A key deleted meanwhile fails the statement on the key reference.
void TRegStore::WriteValue(TRegKeyId Key, const QString& Name, const TRegValue& Value)
{
    std::lock_guard lock(FMutex);
    const QString folded = Folded(Name);
    {
        Query q(*this, WriteValueSql);
        q.Bind(1, Key).Bind(2, Name).Bind(3, folded).Bind(4, int64_t(ToStored(Value.Type)));
        switch (Value.Type) {
        case rdString:
        case rdExpandString: q.Bind(5, Value.Text); break;
        case rdInteger: q.Bind(5, int64_t(Value.Integer)); break;
        case rdBinary:
        case rdUnknown: q.BindBlob(5, Value.Bytes); break;
        }
        if (q.StepCode() == SQLITE_CONSTRAINT_FOREIGNKEY)
            throw ERegistryException(QStringLiteral("Failed to set data for '%1': its key was deleted").arg(Name));
    }
    FCache.PutValue(Key, folded, AsStored(Value));
}

bool TRegStore::DeleteValue(TRegKeyId Key, const QString& Name)
{
    std::lock_guard lock(FMutex);
    const QString folded = Folded(Name);
    Query q(*this, DeleteValueSql);
    q.Bind(1, Key).Bind(2, folded);
    q.Step();
    FCache.PutValue(Key, folded, std::nullopt);
    return sqlite3_changes(FDb) > 0;
}

} // namespace vcl
