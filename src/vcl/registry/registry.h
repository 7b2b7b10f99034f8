#pragma once
// TRegistry: typed access to the keys and values of a registry hive.
#include "vcl/core/types.h"
#include "vcl/registry/reghive.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>

namespace vcl {

class TStrings;

struct TRegKeyInfo {
    int NumSubKeys = 0;
    int MaxSubKeyLen = 0;
    int NumValues = 0;
    int MaxValueLen = 0;
    int MaxDataLen = 0;
};

struct TRegDataInfo {
    TRegDataType RegData = rdUnknown;
    int DataSize = 0;
};

// Opens one key at a time below RootKey (HKEY_CURRENT_USER by default) and reads and
// writes its values. Key paths use "\" between levels; a path that starts with "\"
// counts from the root, any other from the open key (or the root when none is open).
// Names of keys and values match without regard to case.
//
// Reads of a missing value: a string reads as empty and binary data as 0 bytes, while
// an integer or Boolean raises ERegistryException naming the value. A value of another
// type raises ERegistryException too. Writes raise ERegistryException when they fail.
class TRegistry : public TObject {
public:
    TRegistry();
    ~TRegistry() override;

    HKEY RootKey() const { return FRootKey; }
    // Closes the open key and switches to another hive.
    void SetRootKey(HKEY Value);
    // The open key's path below the root, without a leading "\" ("" when none is open).
    const QString& CurrentPath() const { return FCurrentPath; }
    bool HasCurrentKey() const { return FCurrentKey.has_value(); }

    // Opens Key, creating missing levels one by one when CanCreate is set. False when a
    // level is missing (and may not be created) or the path is not a valid key path.
    bool OpenKey(const QString& Key, bool CanCreate);
    // Opens an existing key for reading; writes through it fail.
    bool OpenKeyReadOnly(const QString& Key);
    void CloseKey();

    // Creates Key (and missing levels) without opening it; raises ERegistryException
    // "Failed to create key ..." when that is impossible. True when the key exists.
    bool CreateKey(const QString& Key);
    // Deletes Key with all its subkeys and values; false when it did not exist or
    // cannot be deleted.
    bool DeleteKey(const QString& Key);
    bool KeyExists(const QString& Key);
    bool HasSubKeys();
    bool GetKeyInfo(TRegKeyInfo& Value);
    // Fills Strings with the open key's subkeys or values, in the order they were created.
    void GetKeyNames(TStrings& Strings);
    void GetValueNames(TStrings& Strings);

    bool ValueExists(const QString& Name);
    bool DeleteValue(const QString& Name);
    bool GetDataInfo(const QString& ValueName, TRegDataInfo& Value);
    // The value's size in bytes, -1 when it does not exist.
    int GetDataSize(const QString& ValueName);
    // rdUnknown when the value does not exist.
    TRegDataType GetDataType(const QString& ValueName);

    QString ReadString(const QString& Name);
    void WriteString(const QString& Name, const QString& Value);
    void WriteExpandString(const QString& Name, const QString& Value);
    int ReadInteger(const QString& Name);
    void WriteInteger(const QString& Name, int Value);
    // Stored as a 32-bit integer 0 or 1; any non-zero integer reads as true.
    bool ReadBool(const QString& Name);
    void WriteBool(const QString& Name, bool Value);
    // Copies the value into Buffer and returns its size; 0 for a missing value. Raises
    // when the value is not binary data or does not fit in BufSize bytes.
    int ReadBinaryData(const QString& Name, void* Buffer, int BufSize);
    QByteArray ReadBinaryData(const QString& Name);
    void WriteBinaryData(const QString& Name, const void* Buffer, int BufSize);
    void WriteBinaryData(const QString& Name, const QByteArray& Data);

    // The value with its type, or nothing when it does not exist (or no key is open).
    std::optional<TRegValue> ReadValue(const QString& Name);
    // Writes a value of any type; raises ERegistryException as the typed writes do.
    void WriteValue(const QString& Name, const TRegValue& Value);

    // Whether Key is a usable key path: no empty level, no level longer than 255
    // characters, no control characters, at most MaxKeyDepth levels.
    static bool IsValidKeyPath(const QString& Key);
    // The deepest a key may lie below its root key, as on the original platform. Deeper
    // keys cannot be opened or created.
    static constexpr int MaxKeyDepth = 512;

private:
    struct KeyPath {
        bool Absolute = false;
        QStringList Names;
    };
    // Splits a key path; nothing when it is not valid.
    static std::optional<KeyPath> ParsePath(const QString& Key);

    TRegHive& Hive();
    TRegKeyId BaseKey(const KeyPath& Path);
    // How deep below the root the key named by Path lies.
    int Depth(const KeyPath& Path) const;
    // Whether keys may be created or deleted below the base of Path.
    bool CanChangeBelow(const KeyPath& Path);
    bool ChangeKey(const QString& Key, bool CanCreate, bool ReadOnly);
    [[noreturn]] static void ReadError(const QString& Name);

    HKEY FRootKey = HKEY_CURRENT_USER;
    std::shared_ptr<TRegHive> FHive;
    std::optional<TRegKeyId> FCurrentKey;
    QString FCurrentPath;
    bool FCurrentReadOnly = false;
};

} // namespace vcl
