#pragma once
// TTextLines: the lines of a multi-line edit as a TStrings, read and changed in the
// edit's QTextDocument, so a change through the lines shows at once and keeps the
// rest of the document (its formatting, in a rich edit) as it is.
//
// A line is a paragraph of the document. A final line break adds no empty line: the
// text "a\nb\n" has two lines, and an empty document none.
#include "vcl/core/strings.h"

#include <functional>

class QTextDocument;

namespace vcl {

class TTextLines : public TStrings {
public:
    // Document gives the document of the moment (an edit may replace its document).
    explicit TTextLines(std::function<QTextDocument*()> Document);

    int Count() const override;
    void Insert(int Index, const QString& S) override;
    void Delete(int Index) override;
    void Clear() override;

protected:
    QString Get(int Index) const override;
    void Put(int Index, const QString& S) override;
    QTextDocument* Document() const { return FDocument(); }
    void CheckIndex(int Index, int Limit) const;

private:
    std::function<QTextDocument*()> FDocument;
};

} // namespace vcl
