#pragma once
// A QTextDocument as lists of paragraphs and formatting runs, as the reader sees them:
// the properties RTF carries, with defaults resolved, so documents compare by what
// they show rather than by how their formats were set.
#include <QColor>
#include <QString>
#include <QTextDocument>
#include <ostream>
#include <vector>

namespace qvtest {

struct TRun {
    int Block = 0;
    QString Text;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool Strike = false;
    QString Family; // empty: the document's
    double Points = 0; // 0: the document's
    QColor Foreground; // invalid: none
    QColor Background;
    bool operator==(const TRun&) const = default;
};

struct TParagraph {
    QString Text;
    Qt::Alignment Alignment = Qt::AlignLeft;
    int Left = 0, Right = 0, FirstLine = 0, Before = 0, After = 0; // pixels, rounded
    std::vector<double> Tabs;
    bool operator==(const TParagraph&) const = default;
};

// Adjacent fragments with the same formatting are one run.
std::vector<TRun> Runs(const QTextDocument& Document);
std::vector<TParagraph> Paragraphs(const QTextDocument& Document);
// A run of Text in Block with the default formatting, for tables of expectations.
TRun Run(int Block, const QString& Text);

void PrintTo(const TRun& Run, std::ostream* Os);
void PrintTo(const TParagraph& Paragraph, std::ostream* Os);

} // namespace qvtest
