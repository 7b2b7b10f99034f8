#pragma once
// TRegIniFile: the INI file interface over a registry key.
#include "vcl/registry/inifiles.h"
#include "vcl/registry/registry.h"

namespace vcl {

// FileName is a key path below HKEY_CURRENT_USER, created when missing; each section
// is a subkey of it (the empty section is the key itself) and each entry a value.
// Strings, integers and Booleans are written as string values, as the original does,
// and integer values written by others read as their decimal text.
//
// The original derives this class from the registry class; here it is an INI file
// that owns its registry object, so that it can stand wherever a TCustomIniFile is
// expected. Registry() gives access to the key itself.
class TRegIniFile : public TCustomIniFile {
public:
    explicit TRegIniFile(const QString& FileName);

    TRegistry& Registry() { return FRegistry; }

    QString ReadString(const QString& Section, const QString& Ident, const QString& Default) override;
    void WriteString(const QString& Section, const QString& Ident, const QString& Value) override;
    void ReadSection(const QString& Section, TStrings& Strings) override;
    void ReadSections(TStrings& Strings) override;
    bool SectionExists(const QString& Section) override;
    void EraseSection(const QString& Section) override;
    void DeleteKey(const QString& Section, const QString& Ident) override;
    // Every write is already stored.
    void UpdateFile() override {}

private:
    // The section's key as an absolute path in FRegistry's hive.
    QString SectionPath(const QString& Section) const;
    // A registry object on FRegistry's hive, for one section at a time.
    TRegistry& SectionRegistry();

    TRegistry FRegistry;
    TRegistry FSectionRegistry;
};

} // namespace vcl
