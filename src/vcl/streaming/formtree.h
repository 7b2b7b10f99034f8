#pragma once
// The parsed shape of a form file, shared by the form reader and writer.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace vcl::formfile {

struct Value {
    enum Kind { Integer, Float, String, Ident, Set, List, Binary };
    Kind Type = Integer;
    int Line = 0;
    int64_t IntValue = 0;
    long double FloatValue = 0;
    QString Text;              // String, Ident
    QStringList Names;         // Set
    std::vector<Value> Items;  // List
    QByteArray Bytes;          // Binary
};

struct Property {
    QString Name;  // may be qualified: "Font.Name", "Lines.Strings"
    Value Data;
    int Line = 0;
};

struct Object {
    QString Name;
    QString ClassName;
    int Line = 0;
    std::vector<Property> Properties;
    std::vector<Object> Children;
};

// Parses form-file text; raises EFormFileError with the line of the first fault.
Object Parse(const QString& Text);
// Parses one value as it stands after "Name = " (a whole text, nothing after it).
Value ParseValue(const QString& Text);

// The form-file spelling of a value, as the writer puts it after "Name = ".
// Lists and binary data start on the next line, indented by Indent + 2.
QString Render(const Value& V, int Indent);
// A string literal: printable runs in quotes (quotes doubled), control characters as #n.
QString QuoteString(const QString& S);

} // namespace vcl::formfile
