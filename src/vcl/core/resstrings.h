#pragma once
// String resources: numbered texts compiled into the library as string tables.
#include "vcl/core/sysutils.h"
#include <QHash>
#include <QString>

namespace vcl {

// A string table that cannot be read: the message names the table and the line.
class EResStringError : public Exception { public: using Exception::Exception; };

// Numbered texts gathered from one or more tables. A table is UTF-8 text with one string
// a line, "id<TAB>text"; the id is decimal, 0 to 65535, the text is kept exactly as
// written after the tab, with the escapes \t, \n and \\. Empty lines and lines starting
// with "#" are comments.
class TStringTable {
public:
    // Adds the strings of the table Name; raises EResStringError for a malformed line
    // or an id seen before, and then adds nothing of that table.
    void AddTable(const QString& Name, const QString& Text);
    // Adds every "*.txt" table in Folder (a file folder or a resource path such as
    // ":/strings"), in name order.
    void AddFolder(const QString& Folder);
    // The text of Ident; empty when the tables do not hold it.
    QString Find(int Ident) const { return FStrings.value(Ident); }
    bool Contains(int Ident) const { return FStrings.contains(Ident); }
    qsizetype Count() const { return FStrings.size(); }
    // LoadString's copy: the text of ID into Buffer, cut to BufferMax - 1 characters
    // and ended by a null; returns the number of characters copied.
    int Copy(unsigned ID, char16_t* Buffer, int BufferMax) const;

private:
    QHash<int, QString> FStrings;
};

// The library's compiled-in tables (":/strings"), read on first use.
const TStringTable& ResStringTable();

// The text of the string resource Ident, or empty text when there is none.
QString LoadResString(int Ident);

// The platform's form of LoadResString, by TStringTable::Copy: 0 when there is no such
// string (or no room). The library is one module, so Instance is not looked at.
using HINSTANCE = void*;
int LoadString(HINSTANCE Instance, unsigned ID, char16_t* Buffer, int BufferMax);

} // namespace vcl
