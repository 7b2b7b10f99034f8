#include "vcl/controls/textlines.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace vcl {

TTextLines::TTextLines(std::function<QTextDocument*()> Document)
    : FDocument(std::move(Document))
{
}

int TTextLines::Count() const
{
    const QTextDocument* document = Document();
    const int blocks = document->blockCount();
    // The empty paragraph after a final line break (or of an empty document) is no line.
    return document->lastBlock().length() <= 1 ? blocks - 1 : blocks;
}

void TTextLines::CheckIndex(int Index, int Limit) const
{
    if (Index < 0 || Index >= Limit)
        IndexError(Index);
}

QString TTextLines::Get(int Index) const
{
    CheckIndex(Index, Count());
    return Document()->findBlockByNumber(Index).text();
}

void TTextLines::Put(int Index, const QString& S)
{
    CheckIndex(Index, Count());
    const QTextBlock block = Document()->findBlockByNumber(Index);
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(S);
}

void TTextLines::Insert(int Index, const QString& S)
{
    const int count = Count();
    CheckIndex(Index, count + 1);
    QTextDocument* document = Document();
    if (Index < count) {
        // The new paragraph goes before line Index, which moves down unchanged.
        QTextCursor cursor(document->findBlockByNumber(Index));
        cursor.insertText(S);
        cursor.insertBlock();
        return;
    }
    QTextCursor cursor(document);
    cursor.movePosition(QTextCursor::End);
    // Appending fills the empty paragraph after the last line break, if there is one.
    if (count == document->blockCount())
        cursor.insertBlock();
    cursor.insertText(S);
}

void TTextLines::Delete(int Index)
{
    CheckIndex(Index, Count());
    QTextDocument* document = Document();
    const QTextBlock block = document->findBlockByNumber(Index);
    QTextCursor cursor(block);
    if (block.next().isValid()) {
        // The line with the break after it.
        cursor.setPosition(block.next().position(), QTextCursor::KeepAnchor);
    } else {
        // The last line, with the break before it.
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        if (block.previous().isValid()) {
            cursor.setPosition(block.position() + block.length() - 1);
            cursor.setPosition(block.previous().position() + block.previous().length() - 1, QTextCursor::KeepAnchor);
        }
    }
    cursor.removeSelectedText();
}

void TTextLines::Clear()
{
    Document()->clear();
}

} // namespace vcl
