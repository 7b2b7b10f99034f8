#include "utilities/qvedtabbase.h"

#include "vcl/controls/dialogs.h"
#include "vcl/controls/notebook.h"
#include "vcl/controls/tabset.h"
#include "vcl/core/streams.h"
#include "vcl/core/sysutils.h"
#include "vcl/core/unitstartup.h"
#include "vcl/graphics/bitmap.h"
#include "vcl/graphics/canvas.h"
#include "vcl/streaming/formfile.h"

#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QSaveFile>

namespace Qvedtabbase {

// The unit needs nothing set up or torn down.
static const vcl::TUnitRegistration UnitRegistration(QStringLiteral("Qvedtabbase"), {});

using namespace vcl;

static const bool EventsPublished = RegisterEvent(&TqvCustomEdTab::OnRequestBrowseURL, "OnRequestBrowseURL")
    && RegisterEvent(&TqvCustomEdTab::OnActiveDocKeyDown, "OnActiveDocKeyDown")
    && RegisterEvent(&TqvCustomEdTab::OnActiveDocKeyUp, "OnActiveDocKeyUp")
    && RegisterEvent(&TqvCustomEdTab::OnActiveDocKeyPress, "OnActiveDocKeyPress")
    && RegisterEvent(&TqvCustomEdTab::OnEditorTabMouseMove, "OnEditorTabMouseMove")
    && RegisterEvent(&TqvCustomEdTab::OnActiveDocDragDrop, "OnActiveDocDragDrop")
    && RegisterEvent(&TqvCustomEdTab::OnActiveDocDragOver, "OnActiveDocDragOver");

namespace {

// Tab row metrics: pictures sit 2 pixels in and 6 down, captions 2 down and 2 past
// the picture; the row's font is Arial 7 point and its tabs 15 pixels high.
enum TabMetrics { PictureLeft = 2, PictureTop = 6, CaptionTop = 2, CaptionGap = 4, CaptionPad = 2, TabRowHeight = 15,
    TabFontSize = 7, TabRowStartMargin = 32 };
// Bytes read to find a file's first line end.
constexpr qint64 LineBreakProbe = 65536;
constexpr TColor CaptionBlue = TColorOf(0xFF0000);
constexpr TColor CaptionBlack = TColorOf(0x000000);

// The name a file may be read or written under is taken as given; a user who may not
// write it sees it read-only (Linux has no read-only attribute of its own).
bool IsReadOnlyFile(const QFileInfo& Info)
{
    return !Info.isWritable() || !(Info.permissions() & QFileDevice::WriteOwner);
}

} // namespace

TqvCustomEdTab::TqvCustomEdTab(TComponent* AOwner, const QString& NotSavedResource, const QString& ReadOnlyResource)
    : TCustomControl(AOwner)
    , FMarginColor(clWindow)
    , FNotSavedPicture(std::make_unique<TBitmap>())
    , FReadOnlyPicture(std::make_unique<TBitmap>())
{
    SetBounds(Left(), Top(), 200, 150);
    SetParentColor(false);
    SetColor(clWindow);
    FNotSavedPicture->LoadFromResourceName(0, NotSavedResource);
    FReadOnlyPicture->LoadFromResourceName(0, ReadOnlyResource);
}

TqvCustomEdTab::~TqvCustomEdTab() = default;

void TqvCustomEdTab::CreateFirstPage()
{
    FBook = new TNotebook(this);
    FBook->SetParent(this);
    FBook->SetAlign(alClient);
    FBook->Pages()->SetStrings(0, Untitled);
    FEditors.push_back(nullptr);
    AddEditor(CreateEditor(this), 0);

    FTabs = new TTabSet(this);
    FTabs->SetParent(this);
    FTabs->SetAlign(alBottom);
    FTabs->SetAutoScroll(true);
    FTabs->SetStyle(tsOwnerDraw);
    FTabs->Font()->SetName(QStringLiteral("Arial"));
    FTabs->Font()->SetSize(TabFontSize);
    FTabs->SetTabHeight(TabRowHeight);
    FTabs->SetStartMargin(TabRowStartMargin);
    FTabs->OnDrawTab = [this](TObject* s, TCanvas* c, TRect r, int i, bool sel) { DrawTabs(s, c, r, i, sel); };
    FTabs->OnMeasureTab = [this](TObject* s, int i, int& w) { MeasureDrawTab(s, i, w); };
    FTabs->OnClick = [this](TObject* s) { tabClick(s); };
    FTabs->OnMouseMove = [this](TObject* s, TShiftState shift, int x, int y) {
        if (OnEditorTabMouseMove)
            OnEditorTabMouseMove(s, shift, x, y);
    };
    AddNewTab(Untitled, false);
    FTabs->SetTabIndex(0);
    tabClick(FTabs);
}

// Puts Editor on page Page, filling it, flat and with its events passed on.
void TqvCustomEdTab::AddEditor(TWinControl* Editor, int Page)
{
    Editor->SetParent(FBook->Page(Page));
    Editor->SetAlign(alClient);
    if (auto* frame = Editor->findChild<QFrame*>())
        frame->setFrameShape(QFrame::NoFrame);
    HookEditor(Editor);
    FEditors[size_t(Page)] = Editor;
}

void TqvCustomEdTab::HookEditor(TWinControl* Editor)
{
    Editor->OnKeyDown = [this](TObject* s, uint16_t& key, TShiftState shift) {
        if (OnActiveDocKeyDown)
            OnActiveDocKeyDown(s, key, shift);
    };
    Editor->OnKeyUp = [this](TObject* s, uint16_t& key, TShiftState shift) {
        if (OnActiveDocKeyUp)
            OnActiveDocKeyUp(s, key, shift);
    };
    Editor->OnKeyPress = [this](TObject* s, QChar& key) {
        if (OnActiveDocKeyPress)
            OnActiveDocKeyPress(s, key);
    };
    Editor->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState shift, int x, int y) {
        if (OnActiveDocMouseDown)
            OnActiveDocMouseDown(s, b, shift, x, y);
    };
    Editor->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState shift, int x, int y) {
        if (OnActiveDocMouseUp)
            OnActiveDocMouseUp(s, b, shift, x, y);
    };
    Editor->OnDragOver = [this](TObject* s, TObject* src, int x, int y, TDragState st, bool& accept) {
        if (OnActiveDocDragOver)
            OnActiveDocDragOver(s, src, x, y, st, accept);
    };
    Editor->OnDragDrop = [this](TObject* s, TObject* src, int x, int y) {
        if (OnActiveDocDragDrop)
            OnActiveDocDragDrop(s, src, x, y);
    };
}

void TqvCustomEdTab::Loaded()
{
    TCustomControl::Loaded();
    FTabs->SetStartMargin(TabStartOffset + FMargin);
    Invalidate();
}

template <class T>
void TqvCustomEdTab::ChangeAndRecreate(T& Field, T Value)
{
    if (Value == Field)
        return;
    Field = Value;
    RecreateWnd();
}

void TqvCustomEdTab::SetRightMargin(int Value)
{
    ChangeAndRecreate(FRightMargin, Value);
}

void TqvCustomEdTab::SetMargin(int Value)
{
    ChangeAndRecreate(FMargin, Value);
}

void TqvCustomEdTab::SetMarginColor(TColor Value)
{
    ChangeAndRecreate(FMarginColor, Value);
}

void TqvCustomEdTab::FillRecord(TDocumentInfo& Info, const QString& Name, bool NotSaved, bool AsFile) const
{
    Info.FileName = Name;
    Info.NotSaved = NotSaved;
    Info.DiskSize = -1;
    Info.DiskTime = QDateTime();
    if (!AsFile && !FileExists(Name)) {
        Info.Directory = NoFileDirectory;
        Info.Title = Name;
        Info.ReadOnly = false;
        return;
    }
    const QFileInfo file(Name);
    Info.Directory = file.absolutePath();
    Info.Title = file.fileName();
    Info.ReadOnly = file.exists() && IsReadOnlyFile(file);
    if (file.exists())
        TakeDiskStamp(Info);
}

void TqvCustomEdTab::TakeDiskStamp(TDocumentInfo& Info)
{
    const QFileInfo file(Info.FileName);
    Info.DiskSize = file.size();
    Info.DiskTime = file.lastModified();
}

void TqvCustomEdTab::AddNewTab(const QString& Name, bool NotSaved)
{
    auto info = std::make_unique<TDocumentInfo>();
    FillRecord(*info, Name, NotSaved);
    FTabs->Tabs()->Add(info->Title);
    FDocuments.push_back(std::move(info));
}

void TqvCustomEdTab::AddNewFile(const QString& FileName, bool NotSaved)
{
    if (FileName.isEmpty() || !FileExists(FileName)) {
        MessageDlg(Format(QStringLiteral("%s does not exists"), {FileName}), mtError, mbOK, 0);
        return;
    }
    const QString title = QFileInfo(FileName).fileName();
    // Pages go by name only: files of one name in two folders are one document, and
    // names differ in letter case as Linux file names do.
    const int open = PageOf(title);
    if (open >= 0) {
        if (MessageDlg(QStringLiteral("The file is already open, reload?"), mtConfirmation, mbYes | mbNo, 0) != mrYes)
            return;
        SelectDocument(open);
        // The page now holds the other file's text, so its record names that file: a
        // save must not write it over the first one.
        TDocumentInfo& info = *FDocuments[size_t(open)];
        FillRecord(info, FileName, info.NotSaved);
        ReadDocument(open);
        return;
    }
    AddDocumentPage(FileName, title, NotSaved);
    ReadDocument(CurrentIndex());
}

void TqvCustomEdTab::AddNewBlank(const QString& Title, bool NotSaved)
{
    AddDocumentPage(Title, Title, NotSaved);
}

void TqvCustomEdTab::AddDocumentPage(const QString& Name, const QString& PageName, bool NotSaved)
{
    AddNewTab(Name, NotSaved);
    FBook->Pages()->Add(PageName);
    FEditors.push_back(nullptr);
    const int page = FBook->Pages()->Count() - 1;
    AddEditor(CreateEditor(this), page);
    SelectDocument(page);
}

int TqvCustomEdTab::PageOf(const QString& Title) const
{
    for (int i = 0; i < FBook->Pages()->Count(); ++i)
        if (FBook->Pages()->Strings(i) == Title)
            return i;
    return -1;
}

void TqvCustomEdTab::SelectDocument(int Index)
{
    FBook->SetPageIndex(Index);
    FTabs->SetTabIndex(Index);
}

int TqvCustomEdTab::CurrentIndex() const
{
    return FBook->PageIndex();
}

void TqvCustomEdTab::LoadDocument(TWinControl* Editor, const QString& FileName)
{
    EditorLines(Editor)->LoadFromFile(FileName);
}

bool TqvCustomEdTab::SetNewFile(const QString& FileName)
{
    const int index = CurrentIndex();
    const QString title = QFileInfo(FileName).fileName();
    FBook->Pages()->SetStrings(index, title);
    TDocumentInfo* info = Document(FTabs->TabIndex());
    if (info == nullptr)
        return false;
    FillRecord(*info, FileName, false, true);
    FTabs->Tabs()->SetStrings(FTabs->TabIndex(), info->Title);
    return false;
}

bool TqvCustomEdTab::CloseActPage()
{
    const int index = CurrentIndex();
    if (index > 0) {
        const int tab = FTabs->TabIndex();
        FBook->Pages()->Delete(index);
        FEditors.erase(FEditors.begin() + index);
        if (tab >= 0 && tab < int(FDocuments.size())) {
            FTabs->Tabs()->Delete(tab);
            FDocuments.erase(FDocuments.begin() + tab);
        }
        SelectDocument(std::min(index, FBook->Pages()->Count() - 1));
        return true;
    }
    EditorLines(FEditors.front())->Clear();
    FBook->Pages()->SetStrings(0, Untitled);
    FillRecord(*FDocuments.front(), Untitled, false);
    FTabs->Tabs()->SetStrings(0, Untitled);
    return false;
}

TWinControl* TqvCustomEdTab::GetCurrentEditor() const
{
    const int index = CurrentIndex();
    return index >= 0 && index < int(FEditors.size()) ? FEditors[size_t(index)] : nullptr;
}

TDocumentInfo* TqvCustomEdTab::Document(int Index) const
{
    return Index >= 0 && Index < int(FDocuments.size()) ? FDocuments[size_t(Index)].get() : nullptr;
}

bool TqvCustomEdTab::EditorReadOnly() const
{
    const TDocumentInfo* info = Document(FTabs->TabIndex());
    return info != nullptr && info->ReadOnly;
}

TDocumentInfo TqvCustomEdTab::GetDocumentInfo() const
{
    const TDocumentInfo* info = Document(FTabs->TabIndex());
    return info != nullptr ? *info : TDocumentInfo();
}

void TqvCustomEdTab::tabClick(TObject*)
{
    const int tab = FTabs->TabIndex();
    if (tab < 0)
        return;
    FBook->SetActivePage(FTabs->Tabs()->Strings(tab));
    if (FBook->ActivePage() == Untitled && !FEditors.empty())
        FEditors.front()->Show();
    CheckDiskChange();
}

void TqvCustomEdTab::DrawTabs(TObject*, TCanvas* TabCanvas, TRect R, int Index, bool)
{
    const TDocumentInfo* info = Document(Index);
    const bool notSaved = info != nullptr && info->NotSaved;
    const bool readOnly = info != nullptr && info->ReadOnly;
    const QString caption = FTabs->Tabs()->Strings(Index);
    if (notSaved || !readOnly) {
        // The unsaved picture when the document is unsaved, else the read-only one:
        // a document that is neither shows the read-only picture.
        TBitmap* picture = notSaved ? FNotSavedPicture.get() : FReadOnlyPicture.get();
        TabCanvas->Draw(R.Left + PictureLeft, R.Top + PictureTop, picture);
        TabCanvas->Font()->SetColor(CaptionBlue);
        TabCanvas->TextOut(R.Left + picture->Width() + CaptionGap, R.Top + CaptionTop, caption);
    } else {
        TabCanvas->Font()->SetColor(CaptionBlack);
        TabCanvas->TextOut(R.Left + PictureLeft, R.Top + CaptionTop, caption);
    }
    TabCanvas->Font()->SetColor(CaptionBlack);
}

void TqvCustomEdTab::MeasureDrawTab(TObject*, int Index, int& TabWidth)
{
    const TDocumentInfo* info = Document(Index);
    const int text = FTabs->Canvas()->TextWidth(FTabs->Tabs()->Strings(Index));
    const bool both = info != nullptr && info->NotSaved && info->ReadOnly;
    TabWidth = both ? text + CaptionPad : FNotSavedPicture->Width() + text + CaptionPad;
}

void TqvCustomEdTab::BrowseRequest(TObject* Sender, const QString&)
{
    // The URL is never passed on: the handler gets a fixed scratch name, and what it
    // writes back is dropped.
    QString name = QStringLiteral("tijdelijk.fle");
    if (OnRequestBrowseURL)
        OnRequestBrowseURL(Sender, name);
}

void TqvCustomEdTab::BrowseDocumentFile(TObject* Sender, const QString& URL)
{
    BrowseRequest(Sender, URL);
}

bool TqvCustomEdTab::WriteDocument(int Index, const QString& FileName)
{
    TMemoryStream stream;
    TWinControl* editor = FEditors[size_t(Index)];
    EditorLines(editor)->SaveToStream(stream);
    QByteArray bytes = stream.Bytes();
    if (SavesPlainText(editor) && !FDocuments[size_t(Index)]->CrLf)
        bytes.replace("\r\n", "\n");
    QSaveFile file(FileName);
    const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    if (!written)
        MessageDlg(Format(QStringLiteral("%s could not be saved: %s"), {FileName, file.errorString()}), mtError, mbOK, 0);
    return written;
}

bool TqvCustomEdTab::SaveActPage()
{
    const int index = CurrentIndex();
    TDocumentInfo* info = Document(index);
    if (info == nullptr || info->Directory == NoFileDirectory || info->ReadOnly) {
        const QString name = info != nullptr ? info->FileName : QString();
        MessageDlg(Format(QStringLiteral("%s is read-only or has no file; use Save As"), {name}), mtError, mbOK, 0);
        return false;
    }
    if (!WriteDocument(index, info->FileName))
        return false;
    info->NotSaved = false;
    TakeDiskStamp(*info);
    FTabs->Invalidate();
    return true;
}

bool TqvCustomEdTab::SaveActPageAs(const QString& FileName)
{
    const int index = CurrentIndex();
    if (Document(index) == nullptr || !WriteDocument(index, FileName))
        return false;
    SetNewFile(FileName);
    FTabs->Invalidate();
    return true;
}

void TqvCustomEdTab::ReadDocument(int Index)
{
    TDocumentInfo& info = *FDocuments[size_t(Index)];
    LoadDocument(FEditors[size_t(Index)], info.FileName);
    TakeDiskStamp(info);
    // The first line end tells; a file without one keeps the platform's.
    QFile file(info.FileName);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray head = file.read(LineBreakProbe);
        const qsizetype lf = head.indexOf('\n');
        info.CrLf = lf > 0 && head[lf - 1] == '\r';
    }
}

void TqvCustomEdTab::CheckDiskChange()
{
    const int index = CurrentIndex();
    TDocumentInfo* info = Document(index);
    if (FCheckingDisk || info == nullptr || info->DiskSize < 0 || !FileExists(info->FileName))
        return;
    const QFileInfo file(info->FileName);
    if (file.size() == info->DiskSize && file.lastModified() == info->DiskTime)
        return;
    FCheckingDisk = true;
    const int answer = MessageDlg(Format(QStringLiteral("%s was changed by another program, reload?"), {info->FileName}),
        mtConfirmation, mbYes | mbNo, 0);
    FCheckingDisk = false;
    // On No the edits stay and the question waits for the next change.
    if (answer == mrYes)
        ReadDocument(index);
    else
        TakeDiskStamp(*info);
}

bool TqvCustomEdTab::event(QEvent* Event)
{
    if (Event->type() == QEvent::WindowActivate)
        CheckDiskChange();
    return TCustomControl::event(Event);
}

} // namespace Qvedtabbase
