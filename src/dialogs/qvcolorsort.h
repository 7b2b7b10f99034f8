#pragma once
// TqvSelectColorDlg: a non-visual component that owns the stay-on-top colour window
// (TColorSotForm) and reports every colour picked there through OnColorChange.
#include "dialogs/qvcolorsotform.h"

#include <QObject>
#include <QPointer>

namespace Qvcolorsort {

// The colour window of the dialog created last (a later dialog replaces the
// reference), or null.
TColorSotForm* ColorSotForm();

// A dialog whose window was freed (by the application) reads black, no caption and no recent colours, and ignores writes.
class TqvSelectColorDlg : public QObject, public TComponent {
    Q_OBJECT
    Q_PROPERTY(vcl::TColor Color READ Color WRITE SetColor)
    Q_CLASSINFO("Default:Color", "clBlack")
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_CLASSINFO("Default:Caption", "'Color'")
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_CLASSINFO("Default:Visible", "True")
public:
    // Creates the window, owned by the application, and shows it.
    explicit TqvSelectColorDlg(TComponent* AOwner);
    ~TqvSelectColorDlg() override;

    // The current colour.
    TColor Color() const;
    // Sets the current and the committed colour.
    void SetColor(TColor Value);
    // The window's caption.
    QString Caption() const;
    void SetCaption(const QString& Value);
    // Whether the window is shown.
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);

    // Shows the window.
    void Show();
    void Close(); // Hides the window.
    // The recent colours, 0 to 3 from left to right; other indices read 0 and are
    // not written.
    TColor GetOldColor(int Index) const;
    void SetOldColor(int Index, TColor Color); // Sets recent colour Index (0 to 3); other indices are ignored.

    // The colour window (null once the application freed it).
    TColorSotForm* Form() const { return FForm.data(); }
    TColorChangeEvent OnColorChange; // Called with every colour picked in the window.

private:
    void AlterColor(TComponent* Sender, TColor NewColor);
    TPanel* RecentSwatch(int Index) const;

    QPointer<TColorSotForm> FForm;
    bool FVisible = false;
};

} // namespace Qvcolorsort
