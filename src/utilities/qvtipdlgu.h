#pragma once
// Qvtipdlgu: TqvTipDlg, a tip-of-the-day dialog component. The tips come from its own
// list, from the string values of a registry key, or from the keys of an INI section;
// Execute shows them one at a time (in order or at random) in a TqvTipsForm and
// returns the state of its "show tips at startup" box.
#include "utilities/qvtipfrmdlg.h"
#include "vcl/core/classes.h"
#include "vcl/graphics/colors.h"

#include <QObject>
#include <QPointer>
#include <memory>

namespace vcl {
class TFont;
class TStrings;
class TStringList;
} // namespace vcl

namespace Qvtipdlgu {

Q_NAMESPACE

// The registry hive the tips are read from.
enum TRegRoot { CURRENT_USER, LOCAL_MACHINE, CURRENT_CONFIG };
Q_ENUM_NS(TRegRoot)
// Where the tips come from: the Tips property, the registry or an INI file.
enum TTipLocation { locEmbeded, locRegistry, locINIFile };
Q_ENUM_NS(TTipLocation)
// Where the window shows: centred on the screen or on the active form.
enum TALSShowPos { posScreenCenter, posFormCenter };
Q_ENUM_NS(TALSShowPos)

// A non-visual component that shows a tip-of-the-day window, with tips from its own
// list, the registry or an INI file, in order or at random.
class TqvTipDlg : public QObject, public vcl::TComponent {
    Q_OBJECT
    Q_PROPERTY(QString DlgCaption READ DlgCaption WRITE SetDlgCaption)
    Q_PROPERTY(QString TipTitle READ TipTitle WRITE SetTipTitle)
    Q_PROPERTY(vcl::TStrings* Tips READ Tips WRITE SetTipValues)
    Q_PROPERTY(vcl::TFont* TipTitleFont READ TipTitleFont WRITE SetTitleFont)
    Q_PROPERTY(vcl::TFont* TipFont READ TipFont WRITE SetTipFont)
    Q_PROPERTY(Qvtipdlgu::TRegRoot RegistryRoot READ RegistryRoot WRITE SetRegistryRoot)
    Q_CLASSINFO("Default:RegistryRoot", "CURRENT_USER")
    Q_PROPERTY(QString RegistryKey READ RegistryKey WRITE SetRegistryKey)
    Q_PROPERTY(QString INIFile READ INIFile WRITE SetINIFile)
    Q_PROPERTY(QString INISection READ INISection WRITE SetINISection)
    Q_PROPERTY(Qvtipdlgu::TTipLocation TipsLocation READ TipsLocation WRITE SetTipsLocation)
    Q_CLASSINFO("Default:TipsLocation", "locEmbeded")
    Q_PROPERTY(vcl::TColor PanelColor READ PanelColor WRITE SetPanelColor)
    Q_CLASSINFO("Default:PanelColor", "clInfoBk")
    Q_PROPERTY(QString CRLFSubstitute READ CRLFSubstitute WRITE SetCRLFSubstitute)
    Q_PROPERTY(bool RandomTips READ RandomTips WRITE SetRandomTips)
    Q_CLASSINFO("Default:RandomTips", "False")
    Q_PROPERTY(bool ShowAtStartup READ ShowAtStartup WRITE SetShowAtStartup)
    Q_CLASSINFO("Default:ShowAtStartup", "True")
    // No declared default: the position is always stored.
    Q_PROPERTY(Qvtipdlgu::TALSShowPos Position READ Position WRITE SetPosition)
public:
    // Creates the component, owned (and freed) by AOwner.
    explicit TqvTipDlg(vcl::TComponent* AOwner);
    ~TqvTipDlg() override;

    // Empty: "Tip of the day".
    const QString& DlgCaption() const { return FDlgCaption; }
    void SetDlgCaption(const QString& Value) { FDlgCaption = Value; }
    // Empty: "Did you know...".
    const QString& TipTitle() const { return FTipTitle; }
    void SetTipTitle(const QString& Value) { FTipTitle = Value; }
    // The built-in tips, one per line.
    vcl::TStrings* Tips() const;
    // Copies the lines of Value.
    void SetTipValues(vcl::TStrings* Value);
    // The font of the title.
    vcl::TFont* TipTitleFont() const { return FTipTitleFont.get(); }
    void SetTitleFont(vcl::TFont* Value);
    // The font of the tips.
    vcl::TFont* TipFont() const { return FTipFont.get(); }
    void SetTipFont(vcl::TFont* Value);
    // The registry hive for locRegistry.
    TRegRoot RegistryRoot() const { return FRegistryRoot; }
    void SetRegistryRoot(TRegRoot Value) { FRegistryRoot = Value; }
    // The registry key for locRegistry; its string values are the tips.
    const QString& RegistryKey() const { return FRegistryKey; }
    void SetRegistryKey(const QString& Value) { FRegistryKey = Value; }
    // The INI file for locINIFile.
    const QString& INIFile() const { return FINIFile; }
    void SetINIFile(const QString& Value) { FINIFile = Value; }
    // The INI section for locINIFile; its values are the tips, in file order.
    const QString& INISection() const { return FINISection; }
    void SetINISection(const QString& Value) { FINISection = Value; }
    // Where the tips come from.
    TTipLocation TipsLocation() const { return FTipsLocation; }
    void SetTipsLocation(TTipLocation Value) { FTipsLocation = Value; }
    // The colour of the panel behind the tip.
    vcl::TColor PanelColor() const { return FPanelColor; }
    void SetPanelColor(vcl::TColor Value) { FPanelColor = Value; }
    // A marker that stands for a line break inside a tip (empty: none).
    const QString& CRLFSubstitute() const { return FCRLFSubstitute; }
    void SetCRLFSubstitute(const QString& Value) { FCRLFSubstitute = Value; }
    // Shows the tips in random order (never the one shown now again).
    bool RandomTips() const { return FRandomTips; }
    void SetRandomTips(bool Value) { FRandomTips = Value; }
    // The state of the window's "show at startup" check box.
    bool ShowAtStartup() const { return FShowAtStartup; }
    void SetShowAtStartup(bool Value) { FShowAtStartup = Value; }
    // Where the window shows.
    TALSShowPos Position() const { return FPosition; }
    void SetPosition(TALSShowPos Value) { FPosition = Value; }

    // Shows the tips window modally; the final state of its check box, which is also
    // kept in ShowAtStartup. Registry and INI errors reach the caller.
    bool Execute();
    // Appends the string values of RegistryKey (in the store's order; other types are
    // skipped); true when Tips then holds a line. A missing key adds nothing: false.
    bool ReadFromRegistry();
    // Appends the values of the keys of INISection in file order; true when the file
    // was read, even when the section is empty or missing.
    bool ReadFromINIFile();

    // The window while Execute shows it (null otherwise).
    Qvtipfrmdlg::TqvTipsForm* Form() const { return FForm; }

private:
    void PrepareForm(Qvtipfrmdlg::TqvTipsForm& Form);
    void DrawPicture(Qvtipfrmdlg::TqvTipsForm& Form) const;
    void PlaceForm(Qvtipfrmdlg::TqvTipsForm& Form) const;

    QString FDlgCaption;
    QString FTipTitle;
    std::unique_ptr<vcl::TStringList> FTips;
    std::unique_ptr<vcl::TFont> FTipTitleFont;
    std::unique_ptr<vcl::TFont> FTipFont;
    TRegRoot FRegistryRoot = CURRENT_USER;
    QString FRegistryKey;
    QString FINIFile;
    QString FINISection;
    TTipLocation FTipsLocation = locEmbeded;
    vcl::TColor FPanelColor;
    QString FCRLFSubstitute;
    bool FRandomTips = false;
    bool FShowAtStartup = true;
    TALSShowPos FPosition = posScreenCenter;
    QPointer<Qvtipfrmdlg::TqvTipsForm> FForm;
};

} // namespace Qvtipdlgu
