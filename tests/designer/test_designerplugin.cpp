// The Qt Designer plugin as Designer loads it: one collection whose entries are the
// palette's classes grouped by page in page order, widgets that are the real components,
// and the component editors' verbs in the task menus.
#include "qvdesigner/componenthost.h"
#include "gradient/qvwordcaption.h"
#include "layout/qvsplitterwindow.h"
#include "vcl/streaming/designintf.h"

#include <QDomDocument>
#include <QPluginLoader>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionManager>
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

// Designer shows the entries in the order the collection gives them, each under its group.
TGroups GroupsOf(const QList<QDesignerCustomWidgetInterface*>& Entries)
{
    TGroups groups;
    for (QDesignerCustomWidgetInterface* entry : Entries) {
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
    EXPECT_EQ(collection->customWidgets().size(), 31);
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
        ASSERT_TRUE(dom.setContent(entry->domXml()));
        EXPECT_EQ(dom.documentElement().attribute("displayname"), entry->toolTip());
        const QDomElement widget = dom.documentElement().firstChildElement("widget");
        EXPECT_EQ(widget.attribute("class"), entry->name());
        EXPECT_FALSE(widget.attribute("name").isEmpty());

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

// Designer's core as far as the extensions need it: an extension manager.
class TCore : public QDesignerFormEditorInterface {
public:
    TCore() { setExtensionManager(new QExtensionManager(this)); }
};

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

class DesignerVerbs : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(LoadCollection(), nullptr);
        for (QDesignerCustomWidgetInterface* entry : LoadCollection()->customWidgets())
            entry->initialize(&Core());
    }

    QDesignerTaskMenuExtension* TaskMenuOf(QWidget* Widget)
    {
        return qt_extension<QDesignerTaskMenuExtension*>(Core().extensionManager(), Widget);
    }

    static QStringList Texts(const QList<QAction*>& Actions)
    {
        QStringList texts;
        for (QAction* action : Actions)
            texts << action->text();
        return texts;
    }

    // Designer initializes the entries once, with its one core; so do the tests.
    static TCore& Core()
    {
        static TCore core;
        return core;
    }

    QWidget form;
};

// The verbs as each registered editor declares them; classes without an editor have no
// task menu of ours.
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
    for (QDesignerCustomWidgetInterface* entry : LoadCollection()->customWidgets()) {
        SCOPED_TRACE(entry->toolTip().toStdString());
        std::unique_ptr<QWidget> widget(entry->createWidget(&form));
        EXPECT_TRUE(Qvdesigner::ComponentOf(widget.get())->ComponentState() & vcl::csDesigning);
        QDesignerTaskMenuExtension* menu = TaskMenuOf(widget.get());
        const auto verbs = expected.find(entry->toolTip());
        if (verbs == expected.end()) {
            EXPECT_EQ(menu, nullptr);
            continue;
        }
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(Texts(menu->taskActions()), verbs->second);
        EXPECT_NE(menu->preferredEditAction(), nullptr);
    }
}

// "New Pane" on a splitter window in a form adds a pane named by the form, owned by the
// form's root and shown in the window; a second one (by double-click) gets the next number.
TEST_F(DesignerVerbs, NewPaneAddsAPaneToTheSplitterWindow)
{
    std::unique_ptr<QWidget> widget(Entry("TqvSplitterWindow")->createWidget(&form));
    auto* window = dynamic_cast<Qvsplitterwindow::TqvSplitterWindow*>(widget.get());
    ASSERT_NE(window, nullptr);
    QDesignerTaskMenuExtension* menu = TaskMenuOf(window);
    ASSERT_NE(menu, nullptr);
    menu->taskActions().at(0)->trigger();
    // Double-clicking runs the editor's Edit, which is its first verb.
    menu->preferredEditAction()->trigger();
    ASSERT_EQ(window->GetNumPanes(), 2);
    QStringList names;
    for (QWidget* child : window->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (auto* pane = dynamic_cast<Qvsplitterwindow::TPane*>(child))
            names << pane->Name();
    names.sort();
    EXPECT_EQ(names, QStringList({"Pane1", "Pane2"}));
    EXPECT_NE(form.findChild<QObject*>("qvkit_form_root"), nullptr) << "the form's root owns the panes";
}

} // namespace
