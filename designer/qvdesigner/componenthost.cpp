#include "qvdesigner/componenthost.h"

#include "vcl/controls/controls.h"
#include "vcl/controls/forms.h"
#include "vcl/core/sysutils.h"
#include "vcl/graphics/colors.h"
#include "vcl/graphics/graphicsobjects.h"

#include <QLinearGradient>
#include <QPainter>
#include <cmath>

namespace Qvdesigner {

namespace {
enum HostMetrics {
    TileSize = 24,
    TileMargin = 4,
    HostWidth = 96,
};
// Designer's forms and the forms uic and QUiLoader build are plain widgets, not the
// framework's forms. A component that refuses to live without an owning form gets a
// hidden one (it then acts on that form: a caption painter paints its title bar).
vcl::TComponent* CreateComponent(vcl::TComponentClass ComponentClass, std::unique_ptr<vcl::TForm>& StandInForm)
{
    try {
        return ComponentClass->Create(nullptr);
    } catch (const vcl::Exception&) {
        StandInForm = std::make_unique<vcl::TForm>(nullptr);
        return ComponentClass->Create(StandInForm.get());
    }
}

// Designer and uic name a widget through its object name; the component takes the same
// name so that the framework's look-ups by name (FindComponent, form files) see it. A
// name the framework refuses (not an identifier, taken) leaves the component's name alone.
void FollowObjectName(QObject* Widget, vcl::TComponent* Component)
{
    QObject::connect(Widget, &QObject::objectNameChanged, Widget, [Component](const QString& Name) {
        try {
            Component->SetName(Name);
        } catch (const vcl::Exception&) {
        }
    });
}
} // namespace

TComponentHost::TComponentHost(vcl::TComponentClass ComponentClass, QWidget* Parent)
    : QWidget(Parent), FComponent(CreateComponent(ComponentClass, FStandInForm))
{
    setToolTip(FComponent->ClassName());
    FollowObjectName(this, FComponent);
    resize(sizeHint());
}

TComponentHost::~TComponentHost()
{
    // A stand-in form frees what it owns.
    if (FStandInForm == nullptr)
        delete FComponent;
}

QSize TComponentHost::sizeHint() const
{
    return {HostWidth, TileMargin + TileSize + TileMargin + fontMetrics().height() + TileMargin};
}

QObject* TComponentHost::Target(const char* Holder) const
{
    QObject* component = FComponent->AsQObject();
    return Holder == nullptr ? component : qvariant_cast<QObject*>(component->property(Holder));
}

QVariant TComponentHost::ReadForwarded(const char* Property, const char* Holder) const
{
    QObject* target = Target(Holder);
    return target != nullptr ? target->property(Property) : QVariant();
}

void TComponentHost::WriteForwarded(const char* Property, const char* Holder, const QVariant& Value)
{
    if (QObject* target = Target(Holder))
        target->setProperty(Property, Value);
    update();
}

// The class name under the tile names the component, which has no face of its own.
void TComponentHost::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect tile((width() - TileSize) / 2, TileMargin, TileSize, TileSize);
    PaintComponentTile(painter, tile, false);
    painter.setPen(palette().color(QPalette::WindowText));
    const QRect label(0, tile.bottom() + 1 + TileMargin, width(), fontMetrics().height());
    painter.drawText(label, Qt::AlignHCenter | Qt::AlignTop,
        fontMetrics().elidedText(FComponent->ClassName(), Qt::ElideRight, width()));
}

// Green for components that show only at design time, blue for controls.
void PaintComponentTile(QPainter& Painter, const QRect& Tile, bool Visual)
{
    QLinearGradient face(Tile.topLeft(), Tile.bottomLeft());
    face.setColorAt(0, Visual ? QColor(0x42, 0x8B, 0xCA) : QColor(0x4C, 0xAF, 0x50));
    face.setColorAt(1, Visual ? QColor(0x1A, 0x3F, 0x6B) : QColor(0x1B, 0x5E, 0x20));
    Painter.setPen(Qt::black);
    Painter.setBrush(face);
    Painter.drawRect(Tile.adjusted(0, 0, -1, -1));
    const int inset = Tile.width() / 3;
    Painter.fillRect(Tile.adjusted(inset, inset, -inset, -inset), Qt::white);
}

QColor DesignColor(const QVariant& Color)
{
    return vcl::ToQColor(Color.value<vcl::TColor>());
}

QVariant ComponentColor(const QColor& Color)
{
    return QVariant::fromValue(vcl::FromQColor(Color));
}

// A TFont keeps its size as Height in pixels: negative for the character height, positive
// for the cell height, converted at the font's PixelsPerInch (96 unless changed). Designer
// edits whole points, so it is shown Size = |Height| * 72 / PixelsPerInch, rounded (a
// Height of 0, the default height, shows as 8 points), and a point size p from Designer
// becomes the character height Height = -round(p * PixelsPerInch / 72): 11 points at 96
// pixels per inch are 14.67 pixels, Height -15. A font that gives its size in pixels
// (pixelSize) sets Height = -pixels.
QFont DesignFont(const QVariant& Font)
{
    const auto* font = Font.value<vcl::TFont*>();
    QFont result;
    if (font == nullptr)
        return result;
    result.setFamily(font->Name());
    result.setPointSize(font->Height() == 0 ? 8 : std::max(1, std::abs(font->Size())));
    result.setBold(font->Style().testFlag(vcl::fsBold));
    result.setItalic(font->Style().testFlag(vcl::fsItalic));
    result.setUnderline(font->Style().testFlag(vcl::fsUnderline));
    result.setStrikeOut(font->Style().testFlag(vcl::fsStrikeOut));
    return result;
}

// Only what Value has set is written: a form's <font> that names only <bold> leaves the
// family and size alone, as Qt does for a widget's font.
void AssignDesignFont(const QVariant& Font, const QFont& Value)
{
    auto* font = Font.value<vcl::TFont*>();
    if (font == nullptr)
        return;
    const uint set = Value.resolveMask();
    if ((set & (QFont::FamilyResolved | QFont::FamiliesResolved)) && !Value.family().isEmpty())
        font->SetName(Value.family());
    if ((set & QFont::SizeResolved) && Value.pixelSize() > 0)
        font->SetHeight(-Value.pixelSize());
    else if ((set & QFont::SizeResolved) && Value.pointSizeF() > 0)
        font->SetHeight(-static_cast<int>(std::lround(Value.pointSizeF() * font->PixelsPerInch() / 72.0)));
    const struct {
        vcl::TFontStyle Flag;
        QFont::ResolveProperties Attribute;
        bool On;
    } styles[] = {{vcl::fsBold, QFont::WeightResolved, Value.bold()}, {vcl::fsItalic, QFont::StyleResolved, Value.italic()},
        {vcl::fsUnderline, QFont::UnderlineResolved, Value.underline()},
        {vcl::fsStrikeOut, QFont::StrikeOutResolved, Value.strikeOut()}};
    vcl::TFontStyles style = font->Style();
    for (const auto& s : styles)
        if (set & s.Attribute)
            style.setFlag(s.Flag, s.On);
    font->SetStyle(style);
}

QVariant ReadBaseProperty(const QObject* Object, const QMetaObject& Base, const char* Name)
{
    return Base.property(Base.indexOfProperty(Name)).read(Object);
}

void WriteBaseProperty(QObject* Object, const QMetaObject& Base, const char* Name, const QVariant& Value)
{
    Base.property(Base.indexOfProperty(Name)).write(Object, Value);
}

vcl::TComponent* ComponentOf(QObject* Object)
{
    if (auto* host = qobject_cast<TComponentHost*>(Object))
        return host->Component();
    return dynamic_cast<vcl::TComponent*>(Object);
}

void PlaceControl(QWidget* Control, QWidget* Parent)
{
    auto* control = dynamic_cast<vcl::TControl*>(Control);
    if (auto* windowed = dynamic_cast<vcl::TWinControl*>(Parent); control != nullptr && windowed != nullptr)
        control->SetParent(windowed);
    else
        Control->setParent(Parent);
    if (control != nullptr)
        FollowObjectName(Control, control);
    if (Control->size().isEmpty()) {
        const QSize hint = Control->sizeHint();
        Control->resize(hint.isValid() && !hint.isEmpty() ? hint : DesignControlSize);
    }
}

} // namespace Qvdesigner

namespace Qvdesigner {

const TDesignerClass* FindDesignerClass(vcl::TComponentClass ComponentClass)
{
    for (const TDesignerClass& designerClass : DesignerClasses()) {
        if (designerClass.ComponentClass->MetaObject == ComponentClass->MetaObject)
            return &designerClass;
    }
    return nullptr;
}

} // namespace Qvdesigner
