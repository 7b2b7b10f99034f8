#include "vcl/registry/reginifile.h"

#include "vcl/core/strings.h"

namespace vcl {

namespace {

const QString PathDelimiter = QStringLiteral("\\");

} // namespace

TRegIniFile::TRegIniFile(const QString& FileName) : TCustomIniFile(FileName)
{
    if (!FRegistry.OpenKey(FileName, true))
        throw ERegistryException(QStringLiteral("Failed to create key %1").arg(FileName));
}

QString TRegIniFile::SectionPath(const QString& Section) const
{
    QString path = PathDelimiter + FRegistry.CurrentPath();
    if (!Section.isEmpty())
        path += PathDelimiter + Section;
    return path;
}

TRegistry& TRegIniFile::SectionRegistry()
{
    FSectionRegistry.CloseKey();
    FSectionRegistry.SetRootKey(FRegistry.RootKey());
    return FSectionRegistry;
}

QString TRegIniFile::ReadString(const QString& Section, const QString& Ident, const QString& Default)
{
    TRegistry& registry = SectionRegistry();
    if (!registry.OpenKeyReadOnly(SectionPath(Section)) || !registry.ValueExists(Ident))
        return Default;
    if (registry.GetDataType(Ident) == rdInteger)
        return QString::number(registry.ReadInteger(Ident));
    return registry.ReadString(Ident);
}

void TRegIniFile::WriteString(const QString& Section, const QString& Ident, const QString& Value)
{
    TRegistry& registry = SectionRegistry();
    if (!registry.OpenKey(SectionPath(Section), true))
        throw ERegistryException(QStringLiteral("Failed to create key %1").arg(Section));
    registry.WriteString(Ident, Value);
}

void TRegIniFile::ReadSection(const QString& Section, TStrings& Strings)
{
    TRegistry& registry = SectionRegistry();
    registry.OpenKeyReadOnly(SectionPath(Section));
    registry.GetValueNames(Strings);
}

void TRegIniFile::ReadSections(TStrings& Strings) { FRegistry.GetKeyNames(Strings); }

bool TRegIniFile::SectionExists(const QString& Section) { return FRegistry.KeyExists(SectionPath(Section)); }

void TRegIniFile::EraseSection(const QString& Section)
{
    if (!Section.isEmpty())
        FRegistry.DeleteKey(SectionPath(Section));
}

void TRegIniFile::DeleteKey(const QString& Section, const QString& Ident)
{
    TRegistry& registry = SectionRegistry();
    if (registry.OpenKey(SectionPath(Section), false))
        registry.DeleteValue(Ident);
}

} // namespace vcl
