// The Qt Designer plugin as Designer loads it: one collection whose entries are the
// palette's classes grouped by page in page order, widgets that are the real components,
// and, in Designer's own form editor, the component editors' verbs in the task menus and
// the panes a splitter window's verb makes kept with the form.
#include "designersession.h"
#include "qvdesigner/componenthost.h"
#include "gradient/qvwordcaption.h"
#include "layout/qvsplitterwindow.h"
#include "vcl/graphics/colors.h"
#include "vcl/graphics/graphicsobjects.h"
#include "vcl/streaming/designintf.h"

#include <QDomDocument>
#include <QPluginLoader>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerMetaDataBaseInterface>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace {

using TGroups = std::vector<std::pair<QString, QStringList>>;

QDesignerCustomWidgetCollectionInterface* LoadCollection()
{
    static QPluginLoader loader(QStringLiteral(QV_DESIGNER_PLUGIN));
    QObject* instance = loader.instance();
    if (instance == nullptr)
        ADD_FAILURE() << loader.errorString().toStdString();
    return qobject_cast<QDesignerCustomWidgetCollectionInterface*>(instance);
}

QDesignerCustomWidgetInterface* Entry(const QString& ClassName)
{
    for (QDesignerCustomWidgetInterface* entry : LoadCollection()->customWidgets())
        if (entry->toolTip() == ClassName)
            return entry;
    return nullptr;
}

// Designer shows the entries with a template in the order the collection gives them,
// each under its group.
TGroups GroupsOf(const QList<QDesignerCustomWidgetInterface*>& Entries)
{
    TGroups groups;
    for (QDesignerCustomWidgetInterface* entry : Entries) {
        if (entry->domXml().isEmpty())
            continue;
        if (groups.empty() || groups.back().first != entry->group())
            groups.emplace_back(entry->group(), QStringList());
        groups.back().second << entry->toolTip();
    }
    return groups;
}

// The palette's contents and order are checked against the registration procedures in
// test_package; here the widget box must mirror the registries, with the group names
// worked out by hand from the page captions.
TEST(DesignerPlugin, GroupsFollowThePalettePagesInOrder)
{
    QDesignerCustomWidgetCollectionInterface* collection = LoadCollection();
    ASSERT_NE(collection, nullptr);
    TGroups registered;
    for (const vcl::TPalettePage& page : vcl::PalettePages()) {
        QStringList names;
        for (vcl::TComponentClass c : page.Classes)
            names << c->ClassName();
        registered.emplace_back(page.Caption, names);
    }
    const QStringList groupNames = {"Velnor Software Dialogs", "Velnor Software ZiruRode", "Velnor Software Misc",
        "Velnor Software Win32", "Velnor Software Edit", "Velnor Software List & Combos", "Velnor Software Internet",
        "Velnor Software System"};
    ASSERT_EQ(registered.size(), size_t(groupNames.size()));
    for (qsizetype i = 0; i < groupNames.size(); ++i)
        registered[size_t(i)].first = groupNames[i];
    EXPECT_EQ(GroupsOf(collection->customWidgets()), registered);
    // 31 palette classes and, out of the widget box, the splitter window's pane.
    ASSERT_EQ(collection->customWidgets().size(), 32);
    QDesignerCustomWidgetInterface* pane = collection->customWidgets().back();
    EXPECT_EQ(pane->name(), "Qvdesigner::TPane");
    EXPECT_TRUE(pane->domXml().isEmpty());
    EXPECT_TRUE(pane->isContainer());
}

// Every entry names the generated class uic will write, makes a widget for the right
// component, and gives Designer a template whose class is the entry's.
TEST(DesignerPlugin, EntriesMakeTheirComponents)
{
    ASSERT_NE(LoadCollection(), nullptr);
    // The components without a face of their own, which Designer shows as icons.
    const QStringList nonVisual = {"TqvTipDlg", "TqvMsgDlg", "TqvSelectColorDlg", "TqvSaveForm",
        "TqvGradientCaption", "TqvTrayIcon", "TqvMySystem", "TqvExitWin"};
    QWidget form;
    for (QDesignerCustomWidgetInterface* entry : LoadCollection()->customWidgets()) {
        SCOPED_TRACE(entry->toolTip().toStdString());
        EXPECT_EQ(entry->name(), "Qvdesigner::" + entry->toolTip());
        EXPECT_EQ(entry->includeFile(), "qvdesigner/widgets.h");
        EXPECT_FALSE(entry->icon().isNull());
        QDomDocument dom;
        if (entry->toolTip() != "TPane") {
            ASSERT_TRUE(dom.setContent(entry->domXml()));
            EXPECT_EQ(dom.documentElement().attribute("displayname"), entry->toolTip());
            const QDomElement widget = dom.documentElement().firstChildElement("widget");
            EXPECT_EQ(widget.attribute("class"), entry->name());
            EXPECT_FALSE(widget.attribute("name").isEmpty());
            // Only the splitter window names a method that adds pages.
            EXPECT_EQ(dom.elementsByTagName("addpagemethod").size(), entry->toolTip() == "TqvSplitterWindow" ? 1 : 0);
        }

        QWidget* made = entry->createWidget(&form);
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(made->parentWidget(), &form);
        EXPECT_EQ(made->metaObject()->className(), entry->name()) << "Designer saves the class of the widget";
        vcl::TComponent* component = Qvdesigner::ComponentOf(made);
        ASSERT_NE(component, nullptr);
        EXPECT_EQ(component->ClassName(), entry->toolTip());
        EXPECT_EQ(qobject_cast<Qvdesigner::TComponentHost*>(made) != nullptr, nonVisual.contains(entry->toolTip()));
        delete made;
    }
}

// The caption's text objects have a registered editor that unfolds them; Designer's
// property editor shows their values as flat properties of the icon.
TEST(DesignerPlugin, UnfoldedTextObjectsReachTheCaption)
{
    ASSERT_NE(LoadCollection(), nullptr);
    QWidget form;
    QWidget* widget = Entry("TqvGradientCaption")->createWidget(&form);
    ASSERT_NE(widget, nullptr);
    ASSERT_TRUE(widget->setProperty("CompanyText_Caption", QStringLiteral("Velnor")));
    ASSERT_TRUE(widget->setProperty("CaptionText_Visible", false));
    auto* caption = dynamic_cast<Qvwordcaption::TqvGradientCaption*>(Qvdesigner::ComponentOf(widget));
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->CompanyText()->Caption(), "Velnor");
    EXPECT_FALSE(caption->CaptionText()->Visible());
    EXPECT_TRUE(caption->AppNameText()->Visible());
    EXPECT_EQ(widget->property("CompanyText_Caption").toString(), "Velnor");
}

// The widgets of a saved form below its main widget, as "parent/name:class", in order.
QStringList WidgetsOf(const QString& Ui)
{
    QDomDocument dom;
    EXPECT_TRUE(dom.setContent(Ui));
    QStringList widgets;
    const QDomNodeList elements = dom.elementsByTagName("widget");
    for (int i = 1; i < elements.size(); ++i) {
        const QDomElement widget = elements.at(i).toElement();
        widgets << QStringLiteral("%1/%2:%3").arg(widget.parentNode().toElement().attribute("name"),
            widget.attribute("name"), widget.attribute("class"));
    }
    return widgets;
}

// Designer's own form editor with the plugin, one per test program (making it loads
// every Designer plugin on the system).
class DesignerVerbs : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Session = std::make_unique<Qvdesignertest::TDesignerSession>(QStringLiteral(QV_DESIGNER_PLUGIN_PATH)); }
    static void TearDownTestSuite() { Session.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(Session->PluginLoaded()) << "Designer did not load " << QV_DESIGNER_PLUGIN;
        Form = Session->NewForm(QStringLiteral("VerbForm"), {600, 400});
    }
    void TearDown() override { delete Form; }

    static QStringList Texts(const QList<QAction*>& Actions)
    {
        QStringList texts;
        for (QAction* action : Actions)
            texts << action->text();
        return texts;
    }

    QWidget* PlaceSplitterWindow()
    {
        return Session->Place(Form, QStringLiteral("Qvdesigner::TqvSplitterWindow"), QStringLiteral("splitterWindow"),
            {10, 10, 300, 200});
    }

    static inline std::unique_ptr<Qvdesignertest::TDesignerSession> Session;
    QDesignerFormWindowInterface* Form = nullptr;
};

// The verbs as each registered editor declares them; classes without an editor have no
// task menu of ours. Every class placed on a form is being designed.
TEST_F(DesignerVerbs, TaskMenusListTheEditorsVerbs)
{
    const std::map<QString, QStringList> expected = {
        {"TqvTipDlg", {"Test Tips Dialog"}},
        {"TqvSaveForm", {"&Update Form Name", "&Delete Form at Registry", "Delete Registry Defaults",
                            "Refresh Form Values", "Store Form Bounds to Fixed Settings",
                            "Store Form Bounds to Design Settings", "Form Bounds (Execution)", "Form Bounds (Design)"}},
        {"TqvSplitterWindow", {"New Pane", "Equalize Panes"}},
        {"TqvFTP", {"Connect", "Disconnect"}},
    };
    int placed = 0;
    for (QDesignerCustomWidgetInterface* entry : LoadCollection()->customWidgets()) {
        if (entry->domXml().isEmpty())
            continue;
        SCOPED_TRACE(entry->toolTip().toStdString());
        QWidget* widget = Session->Place(Form, entry->name(), QStringLiteral("w%1").arg(++placed), {0, 0, 100, 50});
        EXPECT_TRUE(Qvdesigner::ComponentOf(widget)->ComponentState() & vcl::csDesigning);
        QDesignerTaskMenuExtension* menu = Session->TaskMenu(widget);
        const auto verbs = expected.find(entry->toolTip());
        if (verbs == expected.end()) {
            EXPECT_EQ(menu, nullptr);
            continue;
        }
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(Texts(menu->taskActions()), verbs->second);
        EXPECT_NE(menu->preferredEditAction(), nullptr);
    }
    EXPECT_EQ(placed, 31);
}

// "New Pane" from the task menu and a double-click (the editor's Edit, its first verb)
// give panes Pane1 and Pane2 that the form knows, mark the form modified, and are
// written by Designer's writer inside their window; a form read from that text holds
// the panes again. A pane's own task menu acts on its window.
TEST_F(DesignerVerbs, NewPanesAreSavedAndLoadedWithTheForm)
{
    QWidget* window = PlaceSplitterWindow();
    Form->setDirty(false);
    QDesignerTaskMenuExtension* menu = Session->TaskMenu(window);
    ASSERT_NE(menu, nullptr);
    menu->taskActions().at(0)->trigger();
    EXPECT_TRUE(Form->isDirty());
    menu->preferredEditAction()->trigger();
    auto* splitter = dynamic_cast<Qvsplitterwindow::TqvSplitterWindow*>(window);
    ASSERT_EQ(splitter->GetNumPanes(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(splitter->GetPane(i)->objectName(), QStringLiteral("Pane%1").arg(i + 1));
        EXPECT_EQ(splitter->GetPane(i)->metaObject()->className(), QByteArray("Qvdesigner::TPane"));
        EXPECT_NE(Session->Core()->metaDataBase()->item(splitter->GetPane(i)), nullptr);
    }
    QDesignerTaskMenuExtension* paneMenu = Session->TaskMenu(splitter->GetPane(1));
    ASSERT_NE(paneMenu, nullptr);
    paneMenu->taskActions().at(0)->trigger();
    ASSERT_EQ(splitter->GetNumPanes(), 3);
    EXPECT_EQ(splitter->GetPane(2)->objectName(), "Pane3");

    const QString saved = Form->contents();
    QDesignerFormWindowInterface* reloaded = Session->NewForm(QStringLiteral("Reloaded"), {600, 400});
    ASSERT_TRUE(reloaded->setContents(saved));
    auto* again = dynamic_cast<Qvsplitterwindow::TqvSplitterWindow*>(
        reloaded->mainContainer()->findChild<QWidget*>("splitterWindow"));
    ASSERT_NE(again, nullptr);
    ASSERT_EQ(again->GetNumPanes(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(again->GetPane(i)->objectName(), QStringLiteral("Pane%1").arg(i + 1));
        EXPECT_NE(Session->Core()->metaDataBase()->item(again->GetPane(i)), nullptr);
    }
    // A second save keeps the widgets; Designer adds the panes' geometry, which it reads back.
    EXPECT_EQ(WidgetsOf(reloaded->contents()), WidgetsOf(saved));
    EXPECT_EQ(WidgetsOf(saved), QStringList({"VerbForm/splitterWindow:Qvdesigner::TqvSplitterWindow",
                                    "splitterWindow/Pane1:Qvdesigner::TPane", "splitterWindow/Pane2:Qvdesigner::TPane",
                                    "splitterWindow/Pane3:Qvdesigner::TPane"}));
    delete reloaded;
}

// A colour property of the component Widget stands for, as the component's class declares
// it (a control's designer class declares it again as a QColor).
QVariant ComponentProperty(QWidget* Widget, const char* Property)
{
    QObject* component = Qvdesigner::ComponentOf(Widget)->AsQObject();
    const QMetaObject* meta = component == Widget ? Widget->metaObject()->superClass() : component->metaObject();
    return meta->property(meta->indexOfProperty(Property)).read(component);
}

vcl::TColor ComponentColour(QWidget* Widget, const char* Property)
{
    return ComponentProperty(Widget, Property).value<vcl::TColor>();
}

// Colours show in Designer's property editor as QColor, on a control (the cool label's
// ShadowColor) and on a component's icon (the tip dialog's PanelColor); what is picked
// reaches the component as a TColor, is saved as a colour, and comes back on loading.
// TColor holds blue in its third byte: red 0x12, green 0x34, blue 0x56 is 0x563412.
TEST_F(DesignerVerbs, ColoursAreEditedAsQColor)
{
    const std::pair<const char*, const char*> cases[] = {{"TqvCoolLabel", "ShadowColor"}, {"TqvTipDlg", "PanelColor"}};
    for (const auto& [className, property] : cases) {
        SCOPED_TRACE(className);
        const QString name = QString::fromLatin1(className).toLower();
        QWidget* widget = Session->Place(Form, QStringLiteral("Qvdesigner::") + className, name, {0, 0, 100, 50});
        EXPECT_EQ(widget->property(property).metaType(), QMetaType::fromType<QColor>());
        Session->SetProperty(widget, property, QColor(0x12, 0x34, 0x56));
        EXPECT_EQ(ComponentColour(widget, property), vcl::TColor(0x563412));

        QDesignerFormWindowInterface* reloaded = Session->NewForm(QStringLiteral("Reloaded"), {600, 400});
        ASSERT_TRUE(reloaded->setContents(Form->contents()));
        QWidget* again = reloaded->mainContainer()->findChild<QWidget*>(name);
        ASSERT_NE(again, nullptr);
        EXPECT_EQ(ComponentColour(again, property), vcl::TColor(0x563412));
        delete reloaded;
    }
    EXPECT_EQ(Form->contents().count(QStringLiteral("<color>\n     <red>18</red>\n     <green>52</green>\n     <blue>86</blue>")), 2)
        << Form->contents().toStdString();
}

// The TFont a font property of the component Widget stands for holds: Property of the
// component, or of the text object in its property Holder.
vcl::TFont* ComponentFont(QWidget* Widget, const char* Holder, const char* Property)
{
    if (Holder == nullptr)
        return ComponentProperty(Widget, Property).value<vcl::TFont*>();
    auto* part = Qvdesigner::ComponentOf(Widget)->AsQObject()->property(Holder).value<QObject*>();
    return part != nullptr ? part->property(Property).value<vcl::TFont*>() : nullptr;
}

// DejaVu Serif, 11 points, bold, italic, underlined and struck out: 11 points at 96 pixels
// per inch are 11 * 96 / 72 = 14.67 pixels, so the TFont's character height is -15.
void ExpectSerif11(vcl::TFont* Font)
{
    ASSERT_NE(Font, nullptr);
    EXPECT_EQ(Font->Name(), "DejaVu Serif");
    EXPECT_EQ(Font->Height(), -15);
    EXPECT_EQ(Font->Size(), 11);
    EXPECT_EQ(Font->Style(), vcl::TFontStyles(vcl::fsBold | vcl::fsItalic | vcl::fsUnderline | vcl::fsStrikeOut));
}

// Fonts show in Designer's property editor as QFont, on a control (Font), on a component's
// icon (the tip dialog's TipFont) and on a caption's unfolded text object; what is picked
// reaches the component's TFont, is saved as a <font>, and comes back on loading.
TEST_F(DesignerVerbs, FontsAreEditedAsQFont)
{
    struct {
        const char* ClassName;
        const char* Shown;   // the property in Designer's editor
        const char* Holder;  // the component's text object holding the font, if any
        const char* Property;
    } const cases[] = {{"TqvCoolLabel", "Font", nullptr, "Font"}, {"TqvTipDlg", "TipFont", nullptr, "TipFont"},
        {"TqvGradientCaption", "CompanyText_Font", "CompanyText", "Font"}};
    QFont serif;
    serif.setFamily(QStringLiteral("DejaVu Serif"));
    serif.setPointSize(11);
    serif.setBold(true);
    serif.setItalic(true);
    serif.setUnderline(true);
    serif.setStrikeOut(true);
    for (const auto& row : cases) {
        SCOPED_TRACE(row.ClassName);
        const QString name = QString::fromLatin1(row.ClassName).toLower();
        QWidget* widget = Session->Place(Form, QStringLiteral("Qvdesigner::") + row.ClassName, name, {0, 0, 100, 50});
        ASSERT_EQ(widget->property(row.Shown).metaType(), QMetaType::fromType<QFont>());
        vcl::TFont* font = ComponentFont(widget, row.Holder, row.Property);
        ASSERT_NE(font, nullptr);
        // Height -16 at 96 pixels per inch is 16 * 72 / 96 = 12 points.
        font->SetHeight(-16);
        EXPECT_EQ(widget->property(row.Shown).value<QFont>().pointSize(), 12);
        EXPECT_EQ(widget->property(row.Shown).value<QFont>().family(), font->Name());
        font->SetColor(vcl::TColor(0x563412));
        font->SetPitch(vcl::fpFixed);
        Session->SetProperty(widget, row.Shown, serif);
        ExpectSerif11(font);
        // What Designer's font has no word for stays the TFont's own.
        EXPECT_EQ(font->Color(), vcl::TColor(0x563412));
        EXPECT_EQ(font->Pitch(), vcl::fpFixed);

        QDesignerFormWindowInterface* reloaded = Session->NewForm(QStringLiteral("Reloaded"), {600, 400});
        ASSERT_TRUE(reloaded->setContents(Form->contents()));
        QWidget* again = reloaded->mainContainer()->findChild<QWidget*>(name);
        ASSERT_NE(again, nullptr);
        vcl::TFont* loaded = ComponentFont(again, row.Holder, row.Property);
        ExpectSerif11(loaded);
        EXPECT_EQ(loaded->Color(), vcl::clWindowText) << "the form holds no font colour";
        delete reloaded;
    }
    const QString ui = Form->contents();
    EXPECT_EQ(ui.count(QStringLiteral("<family>DejaVu Serif</family>")), 3) << ui.toStdString();
    EXPECT_EQ(ui.count(QStringLiteral("<pointsize>11</pointsize>")), 3);
    EXPECT_EQ(ui.count(QStringLiteral("<strikeout>true</strikeout>")), 3);
}

// Sizes between Designer's points and a TFont's Height, worked out by hand:
// Height = -round(points * PixelsPerInch / 72), points = round(|Height| * 72 / PixelsPerInch).
TEST(DesignerFonts, PointsAndHeightsConvertAtTheFontsResolution)
{
    const struct {
        int PixelsPerInch;
        int Points;  // set from Designer
        int Height;  // the TFont then holds
    } toHeight[] = {{96, 8, -11}, {96, 9, -12}, {96, 10, -13}, {96, 11, -15}, {96, 72, -96}, {120, 10, -17}, {72, 1, -1}};
    for (const auto& row : toHeight) {
        vcl::TFont font;
        font.SetPixelsPerInch(row.PixelsPerInch);
        QFont size;
        size.setPointSize(row.Points);
        Qvdesigner::AssignDesignFont(QVariant::fromValue(&font), size);
        EXPECT_EQ(font.Height(), row.Height) << row.Points << " points at " << row.PixelsPerInch;
        EXPECT_EQ(font.Name(), vcl::TFont::DefaultName()) << "a font naming no family keeps the TFont's";
    }
    const struct {
        int Height;
        int Points;  // Designer shows
    } toPoints[] = {{-11, 8}, {-15, 11}, {-16, 12}, {20, 15}, {0, 8}, {-1, 1}};
    for (const auto& row : toPoints) {
        vcl::TFont font;
        font.SetHeight(row.Height);
        EXPECT_EQ(Qvdesigner::DesignFont(QVariant::fromValue(&font)).pointSize(), row.Points) << "Height " << row.Height;
    }
    QFont pixels;
    pixels.setPixelSize(20);
    vcl::TFont font;
    Qvdesigner::AssignDesignFont(QVariant::fromValue(&font), pixels);
    EXPECT_EQ(font.Height(), -20);
}

// A form's <font> that names only some attributes changes only those: <bold> alone
// leaves family, size and the other styles; nothing at all leaves the font as it was.
TEST(DesignerFonts, OnlyTheAttributesAFontSetsAreWritten)
{
    vcl::TFont font;
    font.SetName(QStringLiteral("DejaVu Serif"));
    font.SetHeight(-20);
    font.SetStyle(vcl::TFontStyles(vcl::fsItalic | vcl::fsUnderline));
    QFont bold;
    bold.setBold(true);
    Qvdesigner::AssignDesignFont(QVariant::fromValue(&font), bold);
    EXPECT_EQ(font.Name(), "DejaVu Serif");
    EXPECT_EQ(font.Height(), -20);
    EXPECT_EQ(font.Style(), vcl::TFontStyles(vcl::fsBold | vcl::fsItalic | vcl::fsUnderline));
    QFont plain;
    plain.setItalic(false);
    plain.setUnderline(false);
    Qvdesigner::AssignDesignFont(QVariant::fromValue(&font), plain);
    EXPECT_EQ(font.Style(), vcl::TFontStyles(vcl::fsBold));
    Qvdesigner::AssignDesignFont(QVariant::fromValue(&font), QFont());
    EXPECT_EQ(font.Style(), vcl::TFontStyles(vcl::fsBold));
    EXPECT_EQ(font.Height(), -20);
    Qvdesigner::AssignDesignFont(QVariant(), bold);  // no font: nothing happens
}

} // namespace
