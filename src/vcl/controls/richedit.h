#pragma once
// TRichEdit: a multi-line edit of formatted text over QTextEdit. Lines is the text's
// lines as a TStrings; loading and saving through Lines read and write the rich-text
// file format unless PlainText is set. A file that starts with "{\rtf" loads as rich
// text, any other as plain UTF-8 text.
#include "vcl/controls/stdctrls.h"

#include <QByteArray>
#include <memory>

class QTextEdit;

namespace vcl {

class TRichEdit : public TWidgetControl {
    Q_OBJECT
    Q_PROPERTY(vcl::TStrings* Lines READ Lines)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_CLASSINFO("Default:ReadOnly", "False")
    Q_PROPERTY(bool PlainText READ PlainText WRITE SetPlainText)
    Q_CLASSINFO("Default:PlainText", "False")
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_CLASSINFO("Default:WordWrap", "True")
    Q_CLASSINFO("Default:Color", "clWindow")
    Q_CLASSINFO("Default:ParentColor", "False")
public:
    explicit TRichEdit(TComponent* AOwner);
    ~TRichEdit() override;

    TStrings* Lines() const;
    // Set by every change of the text, cleared by loading; the program may set it.
    bool Modified() const;
    void SetModified(bool Value);
    bool ReadOnly() const;
    void SetReadOnly(bool Value);
    // Loading and saving through Lines read and write plain text only.
    bool PlainText() const { return FPlainText; }
    void SetPlainText(bool Value) { FPlainText = Value; }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    QTextEdit* Editor() const { return FEditor; }

    TNotifyEvent OnChange;

protected:
    void CMTextChanged(TMessage& Message) override;

private:
    class TRichEditLines;
    friend class TRichEditLines;
    // The only two places that know the rich-text file format.
    void LoadRichBytes(const QByteArray& Data);
    QByteArray RichBytes() const;

    QTextEdit* FEditor;
    std::unique_ptr<TRichEditLines> FLines;
    bool FPlainText = false;
    bool FWordWrap = true;
    bool FSettingText = false;
};

} // namespace vcl
