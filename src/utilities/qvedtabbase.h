#pragma once
// Qvedtabbase: TqvCustomEdTab, the common part of the memo and rich-text tab editors:
// several documents, one editor per page of a page book, with a row of owner-drawn tabs
// below them that mark unsaved and read-only documents with small pictures. The first
// page, "untitled", always stays. The descendants only choose the editor and pictures.
#include "vcl/controls/controls.h"

#include <QDateTime>
#include <memory>
#include <vector>

class QEvent;

namespace vcl {
class TBitmap;
class TCanvas;
class TNotebook;
class TStrings;
class TTabSet;
} // namespace vcl

namespace Qvedtabbase {

// The document behind one tab (the control keeps one per tab, by position).
struct TDocumentInfo {
    QString Directory;      // "Not saved!" for a document without a file
    QString Title;          // the file name without its directory, or the given text
    QString FileName;       // the full name passed in
    bool ReadOnly = false;  // the file may not be written by this user
    bool NotSaved = false;  // as passed when the tab was added
    // The file's size and time when it was last read or written here, to notice a
    // change made by another program (both unset for a document without a file).
    int64_t DiskSize = -1;
    QDateTime DiskTime; // The file's modification time, as DiskSize.
    // The line break the file was read with: plain text is saved with the same one
    // (a new document gets the platform's "\n").
    bool CrLf = false;
};

// Asked for a file to browse; FileName arrives as a scratch name, and what the handler
// writes back is dropped.
using TBrowseRequestEvent = std::function<void(vcl::TObject* Sender, QString& FileName)>;

// The base of the tabbed editors: a row of tabs over a notebook with one editor per
// document, each document bound to its file and saved safely.
class TqvCustomEdTab : public vcl::TCustomControl {
    Q_OBJECT
    Q_CLASSINFO("Default:Color", "clWindow")
    Q_CLASSINFO("Default:ParentColor", "False")
    Q_PROPERTY(int RightMargin READ RightMargin WRITE SetRightMargin)
    Q_CLASSINFO("Default:RightMargin", "80")
    Q_PROPERTY(int Margin READ Margin WRITE SetMargin)
    Q_CLASSINFO("Default:Margin", "8")
    Q_PROPERTY(vcl::TColor MarginColor READ MarginColor WRITE SetMarginColor)
    Q_CLASSINFO("Default:MarginColor", "clWindow")
public:
    static constexpr int TabStartOffset = 34; // Where the first tab starts, in pixels.
    static inline const QString Untitled = QStringLiteral("untitled"); // The title of a new document without a file.
    static inline const QString NoFileDirectory = QStringLiteral("Not saved!"); // The Directory of a document without a file.

    ~TqvCustomEdTab() override;

    // Stored only: the editors keep their own look. A change re-creates the window.
    int RightMargin() const { return FRightMargin; }
    void SetRightMargin(int Value);
    // Added to the tab row's start offset once the control is loaded.
    int Margin() const { return FMargin; }
    void SetMargin(int Value);
    // Stored only, like RightMargin.
    vcl::TColor MarginColor() const { return FMarginColor; }
    void SetMarginColor(vcl::TColor Value);

    // Opens FileName in a new page; a file whose name (without folder) is already open
    // is reloaded into that page after a question.
    void AddNewFile(const QString& FileName, bool NotSaved);
    // Opens a new empty document titled Title in a new page.
    void AddNewBlank(const QString& Title, bool NotSaved);
    // Appends a tab with a new document record for Name.
    void AddNewTab(const QString& Name, bool NotSaved);
    // Rebinds the current document to FileName (as after saving under a new name).
    // Always false.
    bool SetNewFile(const QString& FileName);
    // Closes the current page: true; on the first page, which stays, its editor is
    // cleared and it is named "untitled" again: false.
    bool CloseActPage();
    // The editor of the current page (null when there is none).
    vcl::TWinControl* GetCurrentEditor() const;
    vcl::TWinControl* GetAll() const { return GetCurrentEditor(); } // The same as GetCurrentEditor.
    bool EditorReadOnly() const; // True when the current document's file may not be written.
    TDocumentInfo GetDocumentInfo() const; // A copy of the current document's record (an empty one when there is none).

    // Writes the current document to its file: the text goes to a temporary file in the
    // same folder, which replaces the file only when it was written completely, so a
    // failed save leaves the old file as it was. A document without a file or a
    // read-only one is not written. Failures are reported in an error box; false then.
    bool SaveActPage();
    // Saves the current document as FileName the same way and rebinds it to that file.
    bool SaveActPageAs(const QString& FileName);
    // Asks to reload the current document when its file was changed by another program
    // since it was read or written here; runs on activation and on a change of tab.
    void CheckDiskChange();

    // Calls OnRequestBrowseURL; the URL itself is never passed on.
    void BrowseRequest(vcl::TObject* Sender, const QString& URL);
    void BrowseDocumentFile(vcl::TObject* Sender, const QString& URL); // As BrowseRequest.

    vcl::TTabSet* TabSet() const { return FTabs; } // The tab row.
    vcl::TNotebook* Book() const { return FBook; } // The notebook holding the editors.
    vcl::TBitmap* NotSavedPicture() const { return FNotSavedPicture.get(); } // The tab mark of a document not saved yet.
    vcl::TBitmap* ReadOnlyPicture() const { return FReadOnlyPicture.get(); } // The tab mark of a read-only document.
    // The record of tab Index (null when out of range).
    TDocumentInfo* Document(int Index) const;

    TBrowseRequestEvent OnRequestBrowseURL; // See TBrowseRequestEvent.
    vcl::TKeyEvent OnActiveDocKeyDown; // A key went down in the current editor.
    vcl::TKeyEvent OnActiveDocKeyUp; // A key came up in the current editor.
    vcl::TKeyPressEvent OnActiveDocKeyPress; // A character was typed in the current editor.
    vcl::TMouseMoveEvent OnEditorTabMouseMove; // The mouse moved over the tab row.
    // The editors' mouse buttons, passed on; not published to form files.
    vcl::TMouseEvent OnActiveDocMouseDown;
    vcl::TMouseEvent OnActiveDocMouseUp; // A mouse button came up in the current editor.
    vcl::TDragDropEvent OnActiveDocDragDrop; // Something was dropped on the current editor.
    vcl::TDragOverEvent OnActiveDocDragOver; // Something is dragged over the current editor.

    // The tab row's handlers.
    void DrawTabs(vcl::TObject* Sender, vcl::TCanvas* TabCanvas, vcl::TRect R, int Index, bool Selected);
    void MeasureDrawTab(vcl::TObject* Sender, int Index, int& TabWidth); // Gives tab Index its width.
    void tabClick(vcl::TObject* Sender); // Shows the page of the clicked tab.

protected:
    // NotSavedResource and ReadOnlyResource name the two tab pictures.
    TqvCustomEdTab(vcl::TComponent* AOwner, const QString& NotSavedResource, const QString& ReadOnlyResource);
    // Builds the first page; the descendants' constructors call it once their own part
    // is ready, since it creates the first editor.
    void CreateFirstPage();
    virtual vcl::TWinControl* CreateEditor(vcl::TComponent* AOwner) = 0;
    virtual vcl::TStrings* EditorLines(vcl::TWinControl* Editor) const = 0;
    // Loads FileName into Editor (errors are not caught).
    virtual void LoadDocument(vcl::TWinControl* Editor, const QString& FileName);
    // True when Editor saves plain text (its bytes are the lines), not a formatted file.
    virtual bool SavesPlainText(vcl::TWinControl* Editor) const = 0;
    void Loaded() override;
    // The window's activation reaches its children as WindowActivate.
    bool event(QEvent* Event) override;

private:
    // Compare, store, and re-create the window on a change.
    template <class T>
    void ChangeAndRecreate(T& Field, T Value);
    void AddEditor(vcl::TWinControl* Editor, int Page);
    // A new tab for Name with a page PageName holding a new editor, made current.
    void AddDocumentPage(const QString& Name, const QString& PageName, bool NotSaved);
    // The page named exactly Title, or -1.
    int PageOf(const QString& Title) const;
    void HookEditor(vcl::TWinControl* Editor);
    // A record for Name; AsFile: as for an existing file even when there is none yet.
    void FillRecord(TDocumentInfo& Info, const QString& Name, bool NotSaved, bool AsFile = false) const;
    // Loads the document of page Index from its file and notes the file's state.
    void ReadDocument(int Index);
    static void TakeDiskStamp(TDocumentInfo& Info);
    bool WriteDocument(int Index, const QString& FileName);
    void SelectDocument(int Index);
    int CurrentIndex() const;

    int FRightMargin = 80;
    int FMargin = 8;
    vcl::TColor FMarginColor;
    vcl::TTabSet* FTabs = nullptr;
    vcl::TNotebook* FBook = nullptr;
    std::unique_ptr<vcl::TBitmap> FNotSavedPicture;
    std::unique_ptr<vcl::TBitmap> FReadOnlyPicture;
    // One editor and one record per page and tab, by position.
    std::vector<vcl::TWinControl*> FEditors;
    std::vector<std::unique_ptr<TDocumentInfo>> FDocuments;
    // Set while the change question is open: the box itself changes the activation.
    bool FCheckingDisk = false;
};

} // namespace Qvedtabbase
