#include "vcl/registry/registry.h"

#include "vcl/core/strings.h"

#include <algorithm>
#include <cstring>

namespace vcl {

namespace {

const QChar PathDelimiter = QLatin1Char('\\');
// The original platform's limit for one level of a key path.
constexpr int MaxKeyNameLength = 255;

[[noreturn]] void WriteError(const QString& Name)
{
    throw ERegistryException(QStringLiteral("Failed to set data for '%1'").arg(Name));
}

// Key names are printable text: a line break in one would break every line-based
// listing of keys.
bool HasControlCharacter(const QString& Name)
{
    return std::any_of(Name.begin(), Name.end(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; });
}

int LongestName(const QStringList& Names)
{
    int longest = 0;
    for (const QString& name : Names)
        longest = std::max(longest, int(name.size()));
    return longest;
}

} // namespace

TRegistry::TRegistry() = default;

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(HKEY Value)
{
    if (Value == FRootKey)
        return;
    CloseKey();
    FRootKey = Value;
    FHive.reset();
}

TRegHive& TRegistry::Hive()
{
    if (!FHive)
        FHive = OpenHive(FRootKey);
    return *FHive;
}

std::optional<TRegistry::KeyPath> TRegistry::ParsePath(const QString& Key)
{
    KeyPath path;
    QString rest = Key;
    if (rest.startsWith(PathDelimiter)) {
        path.Absolute = true;
        rest.remove(0, 1);
    }
    if (rest.endsWith(PathDelimiter))
        rest.chop(1);
    if (rest.isEmpty())
        return path;
    // Counted before splitting, so that a hostile path of a million levels costs no more
    // than reading it once.
    if (rest.count(PathDelimiter) >= MaxKeyDepth)
        return std::nullopt;
    path.Names = rest.split(PathDelimiter);
    for (const QString& name : path.Names)
        if (name.isEmpty() || name.size() > MaxKeyNameLength || HasControlCharacter(name))
            return std::nullopt;
    return path;
}

bool TRegistry::IsValidKeyPath(const QString& Key) { return ParsePath(Key).has_value(); }

TRegKeyId TRegistry::BaseKey(const KeyPath& Path)
{
    if (!Path.Absolute && FCurrentKey)
        return *FCurrentKey;
    return Hive().RootKey();
}

int TRegistry::Depth(const KeyPath& Path) const
{
    const bool relative = !Path.Absolute && FCurrentKey && !FCurrentPath.isEmpty();
    return int(Path.Names.size()) + (relative ? int(FCurrentPath.count(PathDelimiter)) + 1 : 0);
}

bool TRegistry::CanChangeBelow(const KeyPath& Path)
{
    const bool belowReadOnlyKey = !Path.Absolute && FCurrentKey && FCurrentReadOnly;
    return !Hive().ReadOnly() && !belowReadOnlyKey;
}

bool TRegistry::ChangeKey(const QString& Key, bool CanCreate, bool ReadOnly)
{
    const auto path = ParsePath(Key);
    if (!path || Depth(*path) > MaxKeyDepth)
        return false;
    TRegHive& hive = Hive();
    const TRegKeyId base = BaseKey(*path);
    std::optional<TRegKeyId> key = hive.FindKey(base, path->Names);
    if (!key && CanCreate && CanChangeBelow(*path))
        key = hive.CreateKey(base, path->Names);
    if (!key)
        return false;
    QStringList fullPath;
    if (!path->Absolute && !FCurrentPath.isEmpty())
        fullPath << FCurrentPath;
    fullPath << path->Names;
    FCurrentKey = key;
    FCurrentPath = fullPath.join(PathDelimiter);
    FCurrentReadOnly = ReadOnly;
    return true;
}

bool TRegistry::OpenKey(const QString& Key, bool CanCreate) { return ChangeKey(Key, CanCreate, false); }

bool TRegistry::OpenKeyReadOnly(const QString& Key) { return ChangeKey(Key, false, true); }

void TRegistry::CloseKey()
{
    FCurrentKey.reset();
    FCurrentPath.clear();
    FCurrentReadOnly = false;
}

bool TRegistry::CreateKey(const QString& Key)
{
    const auto path = ParsePath(Key);
    if (!path || Depth(*path) > MaxKeyDepth || !CanChangeBelow(*path))
        throw ERegistryException(QStringLiteral("Failed to create key %1").arg(Key));
    Hive().CreateKey(BaseKey(*path), path->Names);
    return true;
}

bool TRegistry::DeleteKey(const QString& Key)
{
    const auto path = ParsePath(Key);
    // An empty path would name the root or the open key itself.
    if (!path || path->Names.isEmpty() || !CanChangeBelow(*path))
        return false;
    return Hive().DeleteKey(BaseKey(*path), path->Names);
}

bool TRegistry::KeyExists(const QString& Key)
{
    const auto path = ParsePath(Key);
    return path && Hive().FindKey(BaseKey(*path), path->Names).has_value();
}

bool TRegistry::HasSubKeys()
{
    TRegKeyInfo info;
    return GetKeyInfo(info) && info.NumSubKeys > 0;
}

bool TRegistry::GetKeyInfo(TRegKeyInfo& Value)
{
    Value = {};
    if (!FCurrentKey)
        return false;
    TRegHive& hive = Hive();
    const QStringList keys = hive.SubKeyNames(*FCurrentKey);
    const QStringList values = hive.ValueNames(*FCurrentKey);
    Value.NumSubKeys = int(keys.size());
    Value.MaxSubKeyLen = LongestName(keys);
    Value.NumValues = int(values.size());
    Value.MaxValueLen = LongestName(values);
    for (const QString& name : values)
        if (const auto value = hive.ReadValue(*FCurrentKey, name))
            Value.MaxDataLen = std::max(Value.MaxDataLen, value->DataSize());
    return true;
}

void TRegistry::GetKeyNames(TStrings& Strings)
{
    Strings.SetQStringList(FCurrentKey ? Hive().SubKeyNames(*FCurrentKey) : QStringList());
}

void TRegistry::GetValueNames(TStrings& Strings)
{
    Strings.SetQStringList(FCurrentKey ? Hive().ValueNames(*FCurrentKey) : QStringList());
}

std::optional<TRegValue> TRegistry::ReadValue(const QString& Name)
{
    if (!FCurrentKey)
        return std::nullopt;
    return Hive().ReadValue(*FCurrentKey, Name);
}

void TRegistry::WriteValue(const QString& Name, const TRegValue& Value)
{
    if (!FCurrentKey || FCurrentReadOnly || Hive().ReadOnly())
        WriteError(Name);
    Hive().WriteValue(*FCurrentKey, Name, Value);
}

void TRegistry::ReadError(const QString& Name)
{
    throw ERegistryException(QStringLiteral("Invalid data type for '%1'").arg(Name));
}

bool TRegistry::ValueExists(const QString& Name) { return ReadValue(Name).has_value(); }

bool TRegistry::DeleteValue(const QString& Name)
{
    if (!FCurrentKey || FCurrentReadOnly || Hive().ReadOnly())
        return false;
    return Hive().DeleteValue(*FCurrentKey, Name);
}

bool TRegistry::GetDataInfo(const QString& ValueName, TRegDataInfo& Value)
{
    Value = {};
    const auto value = ReadValue(ValueName);
    if (!value)
        return false;
    Value.RegData = value->Type;
    Value.DataSize = value->DataSize();
    return true;
}

int TRegistry::GetDataSize(const QString& ValueName)
{
    TRegDataInfo info;
    return GetDataInfo(ValueName, info) ? info.DataSize : -1;
}

TRegDataType TRegistry::GetDataType(const QString& ValueName)
{
    TRegDataInfo info;
    GetDataInfo(ValueName, info);
    return info.RegData;
}

QString TRegistry::ReadString(const QString& Name)
{
    const auto value = ReadValue(Name);
    if (!value)
        return {};
    if (value->Type != rdString && value->Type != rdExpandString)
        ReadError(Name);
    return value->Text;
}

void TRegistry::WriteString(const QString& Name, const QString& Value)
{
    WriteValue(Name, TRegValue::FromString(Value));
}

void TRegistry::WriteExpandString(const QString& Name, const QString& Value)
{
    WriteValue(Name, TRegValue::FromString(Value, rdExpandString));
}

int TRegistry::ReadInteger(const QString& Name)
{
    const auto value = ReadValue(Name);
    if (!value)
        throw ERegistryException(QStringLiteral("Failed to get data for '%1'").arg(Name));
    if (value->Type != rdInteger)
        ReadError(Name);
    return value->Integer;
}

void TRegistry::WriteInteger(const QString& Name, int Value) { WriteValue(Name, TRegValue::FromInteger(Value)); }

bool TRegistry::ReadBool(const QString& Name) { return ReadInteger(Name) != 0; }

void TRegistry::WriteBool(const QString& Name, bool Value) { WriteInteger(Name, Value ? 1 : 0); }

QByteArray TRegistry::ReadBinaryData(const QString& Name)
{
    const auto value = ReadValue(Name);
    if (!value)
        return {};
    if (value->Type != rdBinary && value->Type != rdUnknown)
        ReadError(Name);
    return value->Bytes;
}

int TRegistry::ReadBinaryData(const QString& Name, void* Buffer, int BufSize)
{
    const QByteArray data = ReadBinaryData(Name);
    if (data.size() > BufSize)
        ReadError(Name);
    if (!data.isEmpty())
        std::memcpy(Buffer, data.constData(), size_t(data.size()));
    return int(data.size());
}

void TRegistry::WriteBinaryData(const QString& Name, const void* Buffer, int BufSize)
{
    if (BufSize < 0 || (BufSize > 0 && !Buffer))
        WriteError(Name);
    WriteBinaryData(Name, QByteArray(static_cast<const char*>(Buffer), BufSize));
}

void TRegistry::WriteBinaryData(const QString& Name, const QByteArray& Data)
{
    WriteValue(Name, TRegValue::FromBinary(Data));
}

} // namespace vcl
