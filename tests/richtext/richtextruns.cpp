#include "richtextruns.h"

#include <QTextBlock>

namespace qvtest {

namespace {

TRun RunOf(int Block, const QTextCharFormat& Format)
{
    TRun run;
    run.Block = Block;
    run.Bold = Format.fontWeight() >= QFont::DemiBold;
    run.Italic = Format.fontItalic();
    run.Underline = Format.fontUnderline();
    run.Strike = Format.fontStrikeOut();
    const QStringList families = Format.fontFamilies().toStringList();
    run.Family = families.isEmpty() ? QString() : families.front();
    run.Points = Format.fontPointSize();
    if (Format.foreground().style() != Qt::NoBrush)
        run.Foreground = Format.foreground().color();
    if (Format.background().style() != Qt::NoBrush)
        run.Background = Format.background().color();
    return run;
}

} // namespace

std::vector<TRun> Runs(const QTextDocument& Document)
{
    std::vector<TRun> runs;
    int index = 0;
    for (QTextBlock block = Document.begin(); block.isValid(); block = block.next(), ++index)
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            TRun run = RunOf(index, it.fragment().charFormat());
            run.Text = it.fragment().text();
            if (!runs.empty()) {
                TRun last = runs.back();
                last.Text = run.Text;
                if (last == run) {
                    runs.back().Text += run.Text;
                    continue;
                }
            }
            runs.push_back(run);
        }
    return runs;
}

std::vector<TParagraph> Paragraphs(const QTextDocument& Document)
{
    std::vector<TParagraph> paragraphs;
    for (QTextBlock block = Document.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat f = block.blockFormat();
        TParagraph p{block.text(), f.alignment() & Qt::AlignHorizontal_Mask, qRound(f.leftMargin()),
                     qRound(f.rightMargin()), qRound(f.textIndent()), qRound(f.topMargin()), qRound(f.bottomMargin()),
                     {}};
        for (const QTextOption::Tab& tab : f.tabPositions())
            p.Tabs.push_back(tab.position);
        paragraphs.push_back(p);
    }
    return paragraphs;
}

TRun Run(int Block, const QString& Text)
{
    TRun run;
    run.Block = Block;
    run.Text = Text;
    return run;
}

void PrintTo(const TRun& Run, std::ostream* Os)
{
    *Os << "{block " << Run.Block << " \"" << Run.Text.toStdString() << "\"" << (Run.Bold ? " bold" : "")
        << (Run.Italic ? " italic" : "") << (Run.Underline ? " underline" : "") << (Run.Strike ? " strike" : "")
        << " font \"" << Run.Family.toStdString() << "\" " << Run.Points << "pt fg "
        << Run.Foreground.name().toStdString() << " bg " << Run.Background.name().toStdString() << "}";
}

void PrintTo(const TParagraph& P, std::ostream* Os)
{
    *Os << "{\"" << P.Text.toStdString() << "\" align " << int(P.Alignment) << " li " << P.Left << " ri " << P.Right
        << " fi " << P.FirstLine << " sb " << P.Before << " sa " << P.After << " tabs " << P.Tabs.size() << "}";
}

} // namespace qvtest
