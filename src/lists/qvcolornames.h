#pragma once
// Qvcolorcombobox: TColorNames, the names of the colour combo box's entries (the
// default entry, the custom entry and the sixteen standard colours). Renaming one
// renames the entry of the owning combo box at once, keeping its selection.
#include "vcl/core/classes.h"

#include <QObject>
#include <array>

namespace Qvcolorcombobox {

class TqvColorCombo;

// The names of the colour combo box's entries: the default entry, the custom entry and
// the sixteen standard colours. Renaming one renames the owner's entry at once.
class TColorNames : public QObject, public vcl::TPersistent {
    Q_OBJECT
    Q_PROPERTY(QString Default READ Default WRITE SetDefault)
    Q_CLASSINFO("Default:Default", "'Assigned'")
    Q_PROPERTY(QString Black READ Black WRITE SetBlack)
    Q_CLASSINFO("Default:Black", "'Black'")
    Q_PROPERTY(QString Maroon READ Maroon WRITE SetMaroon)
    Q_CLASSINFO("Default:Maroon", "'Maroon'")
    Q_PROPERTY(QString Green READ Green WRITE SetGreen)
    Q_CLASSINFO("Default:Green", "'Green'")
    Q_PROPERTY(QString Olive READ Olive WRITE SetOlive)
    Q_CLASSINFO("Default:Olive", "'Olive'")
    Q_PROPERTY(QString Navy READ Navy WRITE SetNavy)
    Q_CLASSINFO("Default:Navy", "'Navy'")
    Q_PROPERTY(QString Purple READ Purple WRITE SetPurple)
    Q_CLASSINFO("Default:Purple", "'Purple'")
    Q_PROPERTY(QString Teal READ Teal WRITE SetTeal)
    Q_CLASSINFO("Default:Teal", "'Teal'")
    Q_PROPERTY(QString Gray READ Gray WRITE SetGray)
    Q_CLASSINFO("Default:Gray", "'Gray'")
    Q_PROPERTY(QString Silver READ Silver WRITE SetSilver)
    Q_CLASSINFO("Default:Silver", "'Silver'")
    Q_PROPERTY(QString Red READ Red WRITE SetRed)
    Q_CLASSINFO("Default:Red", "'Red'")
    Q_PROPERTY(QString Lime READ Lime WRITE SetLime)
    Q_CLASSINFO("Default:Lime", "'Lime'")
    Q_PROPERTY(QString Yellow READ Yellow WRITE SetYellow)
    Q_CLASSINFO("Default:Yellow", "'Yellow'")
    Q_PROPERTY(QString Blue READ Blue WRITE SetBlue)
    Q_CLASSINFO("Default:Blue", "'Blue'")
    Q_PROPERTY(QString Fuchsia READ Fuchsia WRITE SetFuchsia)
    Q_CLASSINFO("Default:Fuchsia", "'Fuchsia'")
    Q_PROPERTY(QString Aqua READ Aqua WRITE SetAqua)
    Q_CLASSINFO("Default:Aqua", "'Aqua'")
    Q_PROPERTY(QString White READ White WRITE SetWhite)
    Q_CLASSINFO("Default:White", "'White'")
    Q_PROPERTY(QString Custom READ Custom WRITE SetCustom)
    Q_CLASSINFO("Default:Custom", "'Custom'")
public:
    static constexpr int StandardColorCount = 16; // Black to white.
    // The built-in names of the sixteen standard colours, black to white.
    static const std::array<QString, StandardColorCount>& BuiltInNames();

    // The names of Owner's entries (null: names kept on their own).
    explicit TColorNames(TqvColorCombo* AOwner = nullptr);

    // Copies the names of another TColorNames, renaming the entries.
    void Assign(const vcl::TPersistent* Source) override;

    // The combo box whose entries are named.
    TqvColorCombo* Owner() const { return FOwner; }
    // The default entry's name.
    const QString& Default() const { return FDefault; }
    void SetDefault(const QString& Value);
    // The custom entry's name.
    const QString& Custom() const { return FCustom; }
    void SetCustom(const QString& Value);
    // Standard colour Index (0 black ... 15 white); an index outside 0..15 raises
    // EListError.
    const QString& GetStandardColor(int Index) const;
    void SetStandardColor(int Index, const QString& Value); // Renames standard colour Index, as above.

    // The names of the standard colours, one property each (see GetStandardColor).
    //@{
    const QString& Black() const { return GetStandardColor(0); }
    void SetBlack(const QString& V) { SetStandardColor(0, V); }
    const QString& Maroon() const { return GetStandardColor(1); }
    void SetMaroon(const QString& V) { SetStandardColor(1, V); }
    const QString& Green() const { return GetStandardColor(2); }
    void SetGreen(const QString& V) { SetStandardColor(2, V); }
    const QString& Olive() const { return GetStandardColor(3); }
    void SetOlive(const QString& V) { SetStandardColor(3, V); }
    const QString& Navy() const { return GetStandardColor(4); }
    void SetNavy(const QString& V) { SetStandardColor(4, V); }
    const QString& Purple() const { return GetStandardColor(5); }
    void SetPurple(const QString& V) { SetStandardColor(5, V); }
    const QString& Teal() const { return GetStandardColor(6); }
    void SetTeal(const QString& V) { SetStandardColor(6, V); }
    const QString& Gray() const { return GetStandardColor(7); }
    void SetGray(const QString& V) { SetStandardColor(7, V); }
    const QString& Silver() const { return GetStandardColor(8); }
    void SetSilver(const QString& V) { SetStandardColor(8, V); }
    const QString& Red() const { return GetStandardColor(9); }
    void SetRed(const QString& V) { SetStandardColor(9, V); }
    const QString& Lime() const { return GetStandardColor(10); }
    void SetLime(const QString& V) { SetStandardColor(10, V); }
    const QString& Yellow() const { return GetStandardColor(11); }
    void SetYellow(const QString& V) { SetStandardColor(11, V); }
    const QString& Blue() const { return GetStandardColor(12); }
    void SetBlue(const QString& V) { SetStandardColor(12, V); }
    const QString& Fuchsia() const { return GetStandardColor(13); }
    void SetFuchsia(const QString& V) { SetStandardColor(13, V); }
    const QString& Aqua() const { return GetStandardColor(14); }
    void SetAqua(const QString& V) { SetStandardColor(14, V); }
    const QString& White() const { return GetStandardColor(15); }
    void SetWhite(const QString& V) { SetStandardColor(15, V); }
    //@}

private:
    TqvColorCombo* FOwner;
    QString FDefault;
    QString FCustom;
    std::array<QString, StandardColorCount> FStandard;
};

} // namespace Qvcolorcombobox
