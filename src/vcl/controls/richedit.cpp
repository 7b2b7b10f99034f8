#include "vcl/controls/richedit.h"

#include "vcl/controls/textlines.h"
#include "vcl/core/streams.h"
#include "vcl/core/sysutils.h"
#include "vcl/richtext/rtfreader.h"
#include "vcl/richtext/rtfwriter.h"

#include <QTextDocument>
#include <QTextEdit>

namespace vcl {

// The rich edit's lines: loading and saving go through the edit's rich-text reader
// and writer unless PlainText is set.
class TRichEdit::TRichEditLines : public TTextLines {
public:
    explicit TRichEditLines(TRichEdit* Edit)
        : TTextLines([Edit] { return Edit->FEditor->document(); })
        , FEdit(Edit)
    {
    }

    void LoadFromStream(TStream& Stream) override
    {
        const QByteArray data = Stream.ReadBytes(Stream.Size() - Stream.Position());
        if (!FEdit->FPlainText && IsRtf(data))
            FEdit->LoadRichBytes(data);
        else
            FEdit->FEditor->setPlainText(QString::fromUtf8(data));
        FEdit->SetModified(false);
    }

    void SaveToStream(TStream& Stream) const override
    {
        if (FEdit->FPlainText) {
            TTextLines::SaveToStream(Stream);
            return;
        }
        const QByteArray data = FEdit->RichBytes();
        Stream.WriteBuffer(data.constData(), data.size());
    }

private:
    TRichEdit* FEdit;
};

TRichEdit::TRichEdit(TComponent* AOwner)
    : TWidgetControl(AOwner, new QTextEdit())
    , FEditor(static_cast<QTextEdit*>(InnerWidget()))
    , FLines(std::make_unique<TRichEditLines>(this))
{
    SetColor(clWindow);
    SetParentColor(false);
    SetBounds(0, 0, 185, 89);
    FEditor->setAcceptRichText(true);
    connect(FEditor, &QTextEdit::textChanged, this, [this] {
        FSettingText = true;
        SetText(FEditor->toPlainText());
        FSettingText = false;
        if (OnChange)
            OnChange(this);
    });
}

TRichEdit::~TRichEdit() = default;

TStrings* TRichEdit::Lines() const
{
    return FLines.get();
}

// Malformed rich text raises an error naming the fault and its byte; the edit keeps
// the text read before it, so nothing readable is lost. A truncated file loads as far
// as it goes.
void TRichEdit::LoadRichBytes(const QByteArray& Data)
{
    const TRtfReadResult result = ReadRtf(Data, *FEditor->document());
    if (!result.ok)
        throw EStreamError(QStringLiteral("Rich text could not be read at byte %1: %2").arg(result.errorOffset).arg(result.error));
}

QByteArray TRichEdit::RichBytes() const
{
    return WriteRtf(*FEditor->document());
}

bool TRichEdit::Modified() const
{
    return FEditor->document()->isModified();
}

void TRichEdit::SetModified(bool Value)
{
    FEditor->document()->setModified(Value);
}

bool TRichEdit::ReadOnly() const
{
    return FEditor->isReadOnly();
}

void TRichEdit::SetReadOnly(bool Value)
{
    FEditor->setReadOnly(Value);
}

void TRichEdit::SetWordWrap(bool Value)
{
    FWordWrap = Value;
    FEditor->setLineWrapMode(Value ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
}

void TRichEdit::CMTextChanged(TMessage& Message)
{
    // Text set by the program replaces the document with plain text.
    if (!FSettingText && FEditor->toPlainText() != Text())
        FEditor->setPlainText(Text());
    TWidgetControl::CMTextChanged(Message);
}

} // namespace vcl
