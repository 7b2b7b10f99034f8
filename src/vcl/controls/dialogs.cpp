#include "vcl/controls/dialogs.h"

#include "vcl/controls/application.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>

namespace vcl {

namespace {

TMessageDlgResponder& MessageResponder()
{
    static TMessageDlgResponder responder;
    return responder;
}

TInputQueryResponder& InputResponder()
{
    static TInputQueryResponder responder;
    return responder;
}

TOpenDialog::TResponder& FileResponder()
{
    static TOpenDialog::TResponder responder;
    return responder;
}

TColorDialog::TResponder& ColorResponder()
{
    static TColorDialog::TResponder responder;
    return responder;
}

struct ButtonInfo {
    TMsgDlgBtn Button;
    const char* Caption;
    QMessageBox::ButtonRole Role;
};

// The buttons in the order the dialog shows them, with the original captions.
constexpr ButtonInfo Buttons[] = {
    {mbYes, "&Yes", QMessageBox::YesRole},
    {mbNo, "&No", QMessageBox::NoRole},
    {mbOK, "OK", QMessageBox::AcceptRole},
    {mbCancel, "Cancel", QMessageBox::RejectRole},
    {mbAbort, "&Abort", QMessageBox::RejectRole},
    {mbRetry, "&Retry", QMessageBox::AcceptRole},
    {mbIgnore, "&Ignore", QMessageBox::AcceptRole},
    {mbAll, "&All", QMessageBox::YesRole},
    {mbNoToAll, "N&o to All", QMessageBox::NoRole},
    {mbYesToAll, "Yes to &All", QMessageBox::YesRole},
    {mbHelp, "&Help", QMessageBox::HelpRole},
};

QMessageBox::Icon IconOf(TMsgDlgType DlgType)
{
    switch (DlgType) {
    case mtWarning: return QMessageBox::Warning;
    case mtError: return QMessageBox::Critical;
    case mtInformation: return QMessageBox::Information;
    case mtConfirmation: return QMessageBox::Question;
    default: return QMessageBox::NoIcon;
    }
}

} // namespace

QString MsgDlgCaption(TMsgDlgType DlgType)
{
    switch (DlgType) {
    case mtWarning: return QStringLiteral("Warning");
    case mtError: return QStringLiteral("Error");
    case mtInformation: return QStringLiteral("Information");
    case mtConfirmation: return QStringLiteral("Confirm");
    default: return Application()->Title();
    }
}

TModalResult ModalResultOf(TMsgDlgBtn Button)
{
    switch (Button) {
    case mbYes: return mrYes;
    case mbNo: return mrNo;
    case mbOK: return mrOk;
    case mbCancel: return mrCancel;
    case mbAbort: return mrAbort;
    case mbRetry: return mrRetry;
    case mbIgnore: return mrIgnore;
    case mbAll: return mrAll;
    case mbNoToAll: return mrNoToAll;
    case mbYesToAll: return mrYesToAll;
    default: return mrNone;
    }
}

void SetMessageDlgResponder(TMessageDlgResponder Responder)
{
    MessageResponder() = std::move(Responder);
}

void SetInputQueryResponder(TInputQueryResponder Responder)
{
    InputResponder() = std::move(Responder);
}

int MessageDlg(const QString& Msg, TMsgDlgType DlgType, TMsgDlgButtons ButtonSet, int HelpCtx)
{
    if (const auto& responder = MessageResponder())
        return responder(Msg, DlgType, ButtonSet);
    QMessageBox box(IconOf(DlgType), MsgDlgCaption(DlgType), Msg, QMessageBox::NoButton, QApplication::activeWindow());
    std::vector<std::pair<QAbstractButton*, TMsgDlgBtn>> shown;
    for (const ButtonInfo& info : Buttons) {
        if (ButtonSet.testFlag(info.Button))
            shown.emplace_back(box.addButton(QString::fromLatin1(info.Caption), info.Role), info.Button);
    }
    if (shown.empty())
        shown.emplace_back(box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole), mbOK);
    for (;;) {
        box.exec();
        const auto chosen = std::find_if(shown.begin(), shown.end(),
            [&box](const auto& entry) { return entry.first == box.clickedButton(); });
        if (chosen == shown.end())
            return mrCancel;
        if (chosen->second != mbHelp)
            return ModalResultOf(chosen->second);
        // Help answers without ending the question: the box comes back.
        Application()->HelpContext(HelpCtx);
    }
}

void ShowMessage(const QString& Msg)
{
    MessageDlg(Msg, mtCustom, mbOK);
}

bool InputQuery(const QString& ACaption, const QString& APrompt, QString& Value)
{
    if (const auto& responder = InputResponder())
        return responder(ACaption, APrompt, Value);
    bool ok = false;
    const QString text = QInputDialog::getText(QApplication::activeWindow(), ACaption, APrompt, QLineEdit::Normal, Value, &ok);
    if (ok)
        Value = text;
    return ok;
}

TCommonDialog::TCommonDialog(TComponent* AOwner)
    : TComponent(AOwner)
{
}

bool TCommonDialog::Execute()
{
    if (OnShow)
        OnShow(this);
    const bool accepted = DoExecute();
    if (OnClose)
        OnClose(this);
    return accepted;
}

// ---------------------------------------------------------------------------
// TOpenDialog

void TOpenDialog::SetResponder(TResponder Responder)
{
    FileResponder() = std::move(Responder);
}

TOpenDialog::TOpenDialog(TComponent* AOwner)
    : TCommonDialog(AOwner)
{
}

void TOpenDialog::SetFiles(const QStringList& Value)
{
    FFiles = Value;
    FFileName = Value.isEmpty() ? QString() : Value.first();
}

QStringList TOpenDialog::QtFilters() const
{
    QStringList result;
    const QStringList parts = FFilter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString masks = parts[i + 1];
        // "*.*" means every file, which Qt spells "*".
        masks.replace(QLatin1String("*.*"), QLatin1String("*")).replace(u';', u' ');
        result.append(QStringLiteral("%1 (%2)").arg(parts[i], masks));
    }
    return result;
}

QString TOpenDialog::WithDefaultExt(const QString& Name) const
{
    if (Name.isEmpty() || FDefaultExt.isEmpty() || !QFileInfo(Name).suffix().isEmpty())
        return Name;
    return Name + u'.' + FDefaultExt;
}

bool TOpenDialog::DoExecute()
{
    FFiles.clear();
    bool accepted = false;
    if (const auto& responder = FileResponder()) {
        accepted = responder(this);
    } else {
        QFileDialog dialog(QApplication::activeWindow(), FTitle, FInitialDir);
        dialog.setAcceptMode(IsSaveDialog() ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        if (IsSaveDialog())
            dialog.setOption(QFileDialog::DontConfirmOverwrite, !FOptions.testFlag(ofOverwritePrompt));
        else
            dialog.setFileMode(FOptions.testFlag(ofAllowMultiSelect) ? QFileDialog::ExistingFiles
                    : FOptions.testFlag(ofFileMustExist)             ? QFileDialog::ExistingFile
                                                                     : QFileDialog::AnyFile);
        const QStringList filters = QtFilters();
        if (!filters.isEmpty()) {
            dialog.setNameFilters(filters);
            dialog.selectNameFilter(filters.value(FFilterIndex - 1, filters.first()));
        }
        if (!FFileName.isEmpty())
            dialog.selectFile(FFileName);
        accepted = dialog.exec() == QDialog::Accepted;
        if (accepted) {
            SetFiles(dialog.selectedFiles());
            FFilterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
        }
    }
    if (accepted) {
        if (FFiles.isEmpty())
            FFiles = QStringList{FFileName};
        for (QString& name : FFiles)
            name = WithDefaultExt(name);
        FFileName = FFiles.first();
    }
    return accepted;
}

TSaveDialog::TSaveDialog(TComponent* AOwner)
    : TOpenDialog(AOwner)
{
}

// ---------------------------------------------------------------------------
// TColorDialog

void TColorDialog::SetResponder(TResponder Responder)
{
    ColorResponder() = std::move(Responder);
}

TColorDialog::TColorDialog(TComponent* AOwner)
    : TCommonDialog(AOwner)
{
}

bool TColorDialog::DoExecute()
{
    if (const auto& responder = ColorResponder())
        return responder(this);
    PutCustomColors();
    const QColor chosen = QColorDialog::getColor(ToQColor(FColor), QApplication::activeWindow());
    GetCustomColors();
    if (!chosen.isValid())
        return false;
    FColor = FromQColor(chosen);
    return true;
}

namespace {

QString CustomColorName(int Slot)
{
    return QStringLiteral("Color") + QChar(u'A' + Slot);
}

} // namespace

void TColorDialog::PutCustomColors() const
{
    for (int slot = 0; slot < QColorDialog::customCount(); ++slot) {
        const QString prefix = CustomColorName(slot) + u'=';
        for (const QString& line : FCustomColors) {
            bool ok = false;
            const uint value = line.startsWith(prefix, Qt::CaseInsensitive) ? line.mid(prefix.size()).toUInt(&ok, 16) : 0;
            if (ok && value <= 0xFFFFFF)
                QColorDialog::setCustomColor(slot, ToQColor(TColorOf(value)));
        }
    }
}

void TColorDialog::GetCustomColors()
{
    FCustomColors.clear();
    for (int slot = 0; slot < QColorDialog::customCount(); ++slot) {
        const uint32_t value = uint32_t(FromQColor(QColorDialog::customColor(slot)));
        FCustomColors.append(CustomColorName(slot) + u'=' + QStringLiteral("%1").arg(value, 6, 16, QChar(u'0')).toUpper());
    }
}

} // namespace vcl
