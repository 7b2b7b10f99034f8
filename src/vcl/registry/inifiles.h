#pragma once
// INI files: the common TCustomIniFile interface, and TIniFile and TMemIniFile over a
// file on disk.
#include "vcl/core/types.h"
#include "vcl/registry/inidocument.h"

#include <QString>
#include <sys/types.h>

namespace vcl {

class TStrings;

// Named values grouped in sections. Reads of a missing value return the caller's
// default; integers are read as decimal or hexadecimal ("$1F", "0x1F") text and a text
// that is no number gives the default; Booleans are integers, written as "1" and "0".
class TCustomIniFile : public TObject {
public:
    explicit TCustomIniFile(QString FileName) : FFileName(std::move(FileName)) {}

    const QString& FileName() const { return FFileName; }

    virtual QString ReadString(const QString& Section, const QString& Ident, const QString& Default) = 0;
    virtual void WriteString(const QString& Section, const QString& Ident, const QString& Value) = 0;
    virtual int ReadInteger(const QString& Section, const QString& Ident, int Default);
    virtual void WriteInteger(const QString& Section, const QString& Ident, int Value);
    virtual bool ReadBool(const QString& Section, const QString& Ident, bool Default);
    virtual void WriteBool(const QString& Section, const QString& Ident, bool Value);

    // The section's key names, each once, in file order.
    virtual void ReadSection(const QString& Section, TStrings& Strings) = 0;
    virtual void ReadSections(TStrings& Strings) = 0;
    // "name=value" for each key of the section, as ReadString reads it.
    virtual void ReadSectionValues(const QString& Section, TStrings& Strings);
    virtual bool SectionExists(const QString& Section) = 0;
    bool ValueExists(const QString& Section, const QString& Ident);
    virtual void EraseSection(const QString& Section) = 0;
    virtual void DeleteKey(const QString& Section, const QString& Ident) = 0;
    // Writes pending changes to the file.
    virtual void UpdateFile() = 0;

private:
    QString FFileName;
};

// The shared part of TIniFile and TMemIniFile: an INI file held as a TIniDocument.
// Derived classes decide when the file is read (Refresh) and written (Changed).
class TIniDocumentFile : public TCustomIniFile {
public:
    QString ReadString(const QString& Section, const QString& Ident, const QString& Default) override;
    void WriteString(const QString& Section, const QString& Ident, const QString& Value) override;
    void ReadSection(const QString& Section, TStrings& Strings) override;
    void ReadSections(TStrings& Strings) override;
    // True when the section's header is in the file, even with no keys under it.
    bool SectionExists(const QString& Section) override;
    void EraseSection(const QString& Section) override;
    void DeleteKey(const QString& Section, const QString& Ident) override;

protected:
    explicit TIniDocumentFile(QString FileName) : TCustomIniFile(std::move(FileName)) {}
    // Refresh runs before every access, Changed after every change of the document.
    virtual void Refresh() {}
    virtual void Changed() {}
    TIniDocument& Document() { return FDocument; }

private:
    TIniDocument FDocument;
};

// Reads the whole file when created; changes stay in memory until UpdateFile.
class TMemIniFile : public TIniDocumentFile {
public:
    explicit TMemIniFile(QString FileName);
    void UpdateFile() override;
};

// Every write goes to the file at once, and every access first picks up changes that
// others made to the file since it was last read.
class TIniFile : public TIniDocumentFile {
public:
    explicit TIniFile(QString FileName);
    // Nothing is pending: writes are already in the file.
    void UpdateFile() override {}

protected:
    void Refresh() override;
    void Changed() override;

private:
    // What identifies one version of the file: atomic rewrites give it a new inode.
    struct FileStamp {
        bool Exists = false;
        ino_t Inode = 0;
        off_t Size = 0;
        int64_t ModifiedNs = 0;
        friend bool operator==(const FileStamp&, const FileStamp&) = default;
    };
    FileStamp CurrentStamp() const;

    FileStamp FLoadedStamp;
};

} // namespace vcl
