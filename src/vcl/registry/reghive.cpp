#include "vcl/registry/reghive.h"

#include "vcl/registry/mimeclasses.h"
#include "vcl/registry/regstore.h"

#include <QDir>
#include <QStandardPaths>
#include <map>
#include <mutex>

namespace vcl {

namespace {

struct RootKeyNames {
    HKEY Root;
    const char* Name;
    const char* Abbreviation;
};

constexpr RootKeyNames RootKeys[] = {
    {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT", "HKCR"},
    {HKEY_CURRENT_USER, "HKEY_CURRENT_USER", "HKCU"},
    {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", "HKLM"},
    {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG", "HKCC"},
};

} // namespace

TRegValue TRegValue::FromString(const QString& Text, TRegDataType Type)
{
    TRegValue value;
    value.Type = Type;
    value.Text = Text;
    return value;
}

TRegValue TRegValue::FromInteger(int32_t Value)
{
    TRegValue value;
    value.Type = rdInteger;
    value.Integer = Value;
    return value;
}

TRegValue TRegValue::FromBinary(const QByteArray& Bytes)
{
    TRegValue value;
    value.Type = rdBinary;
    value.Bytes = Bytes;
    return value;
}

int TRegValue::DataSize() const
{
    switch (Type) {
    case rdString:
    case rdExpandString: return int(Text.toUtf8().size()) + 1;
    case rdInteger: return int(sizeof(int32_t));
    case rdBinary:
    case rdUnknown: break;
    }
    return int(Bytes.size());
}

QString RootKeyName(HKEY Root)
{
    for (const auto& key : RootKeys)
        if (key.Root == Root)
            return QString::fromLatin1(key.Name);
    return {};
}

std::optional<HKEY> RootKeyFromName(const QString& Name)
{
    for (const auto& key : RootKeys)
        if (Name.compare(QLatin1String(key.Name), Qt::CaseInsensitive) == 0
            || Name.compare(QLatin1String(key.Abbreviation), Qt::CaseInsensitive) == 0)
            return key.Root;
    return std::nullopt;
}

QString RegistryDirectory()
{
    const QString chosen = qEnvironmentVariable("QVKIT_REGISTRY_DIR");
    if (!chosen.isEmpty())
        return QDir::cleanPath(chosen);
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/qvkit/registry");
}

std::shared_ptr<TRegHive> OpenHive(HKEY Root)
{
    const QString name = RootKeyName(Root);
    if (name.isEmpty())
        throw ERegistryException(QStringLiteral("Unknown root key 0x%1").arg(Root, 8, 16, QLatin1Char('0')));
    if (Root == HKEY_CLASSES_ROOT) {
        // Built once, on first use: reading the MIME database takes a moment.
        static const auto classes = std::make_shared<TMimeClassesHive>();
        return classes;
    }
    // One connection per database file for the life of the process: a store is checked
    // when it is opened, and every registry object of the process shares it.
    static std::mutex mutex;
    static std::map<QString, std::shared_ptr<TRegStore>> stores;
    const QString fileName = QDir(RegistryDirectory()).absoluteFilePath(name + QStringLiteral(".sqlite"));
    std::lock_guard lock(mutex);
    auto& store = stores[fileName];
    if (!store) {
        try {
            store = std::make_shared<TRegStore>(name, fileName);
        } catch (...) {
            stores.erase(fileName);
            throw;
        }
    }
    return store;
}

} // namespace vcl
