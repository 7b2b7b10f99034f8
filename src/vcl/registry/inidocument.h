#pragma once
// The text of an INI file as a list of lines that can be read and changed in place.
#include "vcl/core/sysutils.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace vcl {

// Raised when an INI file cannot be read or written, or a name or value cannot be
// expressed in one.
class EIniFileException : public Exception { public: using Exception::Exception; };

// Keeps every line of the file, so that comments, blank lines and lines it does not
// understand come back unchanged, in their place, when the file is written again.
//
// A line "[name]" starts a section; "name=value" inside a section is an entry (name and
// value trimmed); lines starting with ";" or "#" are comments. Section and key names
// match without regard to case. When a key occurs more than once in a section the first
// occurrence counts, and a section that occurs more than once is read as one.
class TIniDocument {
public:
    // Replaces the lines by those of Data. UTF-8 text is expected; a file that is not
    // valid UTF-8 is taken as Latin-1 and written back as Latin-1. A UTF-8 byte order
    // mark and CR LF line ends are kept.
    void SetData(const QByteArray& Data);
    QByteArray Data() const;
    void Clear();

    // Reads FileName; a missing file reads as empty. Raises EIniFileException when the
    // file exists but cannot be read.
    void LoadFromFile(const QString& FileName);
    // Writes the lines to FileName atomically: readers see the old file or the new one.
    void SaveToFile(const QString& FileName) const;

    std::optional<QString> Value(const QString& Section, const QString& Key) const;
    // Changes the first entry of Key, or adds one at the end of the section's entries
    // (adding the section at the end of the file when it is missing). Raises
    // EIniFileException for a name or value that would not read back the same.
    void SetValue(const QString& Section, const QString& Key, const QString& Value);
    // Removes every entry of Key in the section; false when there was none.
    bool RemoveKey(const QString& Section, const QString& Key);
    // Removes the section's header and all its lines; false when there was none.
    bool RemoveSection(const QString& Section);

    bool HasSection(const QString& Section) const;
    // Section names and a section's key names, each once, in file order.
    QStringList Sections() const;
    QStringList Keys(const QString& Section) const;

private:
    enum class LineKind { Other, Section, Entry };
    struct Line {
        LineKind Kind = LineKind::Other;
        QString Text;
        QString Name;
        QString Value;
    };

    static Line ParseLine(const QString& Text);
    static Line EntryLine(const QString& Name, const QString& Value);
    // Indexes of the lines inside the section (headers excluded), in file order.
    std::vector<size_t> SectionLines(const QString& Section) const;
    std::optional<size_t> FindEntry(const QString& Section, const QString& Key) const;

    std::vector<Line> FLines;
    bool FCrLf = false;
    bool FByteOrderMark = false;
    bool FLatin1 = false;
};

} // namespace vcl
