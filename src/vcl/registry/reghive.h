#pragma once
// The storage side of the registry: a hive is a tree of keys holding typed values.
// TRegistry works on hives through this interface; the SQLite store and the read-only
// view of the MIME database are its two kinds.
#include "vcl/core/sysutils.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>

namespace vcl {

// Raised for registry failures: bad data types, failed writes, an unusable store.
class ERegistryException : public Exception { public: using Exception::Exception; };

// The predefined root keys, with the numbers the original platform gives them.
using HKEY = uint32_t;
inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005u;

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

// One typed value: Text for the two string types, Integer for rdInteger, Bytes for rdBinary.
struct TRegValue {
    TRegDataType Type = rdUnknown;
    QString Text;
    int32_t Integer = 0;
    QByteArray Bytes;

    static TRegValue FromString(const QString& Text, TRegDataType Type = rdString);
    static TRegValue FromInteger(int32_t Value);
    static TRegValue FromBinary(const QByteArray& Bytes);

    // Size in bytes as the registry reports it. A string counts its UTF-8 bytes plus the
    // terminating zero the original platform stores; an integer is 4 bytes.
    int DataSize() const;
    friend bool operator==(const TRegValue&, const TRegValue&) = default;
};

using TRegKeyId = int64_t;

class TRegHive {
public:
    virtual ~TRegHive() = default;

    // The root key's name, "HKEY_CURRENT_USER" and so on.
    virtual QString Name() const = 0;
    virtual bool ReadOnly() const = 0;
    virtual TRegKeyId RootKey() const = 0;

    // The key reached from Parent through the names of Path (each one level; matched
    // without regard to case), or nothing when a level is missing.
    virtual std::optional<TRegKeyId> FindKey(TRegKeyId Parent, const QStringList& Path) = 0;
    // Like FindKey, creating missing levels, all in one transaction.
    virtual TRegKeyId CreateKey(TRegKeyId Parent, const QStringList& Path) = 0;
    // Deletes the key at Path below Parent with everything under it; false when missing.
    virtual bool DeleteKey(TRegKeyId Parent, const QStringList& Path) = 0;

    // Subkeys and values in the order they were first created or written.
    virtual QStringList SubKeyNames(TRegKeyId Key) = 0;
    virtual QStringList ValueNames(TRegKeyId Key) = 0;

    virtual std::optional<TRegValue> ReadValue(TRegKeyId Key, const QString& Name) = 0;
    virtual void WriteValue(TRegKeyId Key, const QString& Name, const TRegValue& Value) = 0;
    virtual bool DeleteValue(TRegKeyId Key, const QString& Name) = 0;
};

// The name of a root key ("HKEY_CURRENT_USER"), or an empty string for an unknown one.
QString RootKeyName(HKEY Root);
// The root key named by its full name or its usual abbreviation ("HKCU"), any case.
std::optional<HKEY> RootKeyFromName(const QString& Name);

// The folder holding the hive databases: $QVKIT_REGISTRY_DIR when set, otherwise
// "qvkit/registry" in the user's configuration folder.
QString RegistryDirectory();

// The hive of a root key, shared by every user in the process. Raises
// ERegistryException for an unknown root key or a store that cannot be used.
std::shared_ptr<TRegHive> OpenHive(HKEY Root);

} // namespace vcl
