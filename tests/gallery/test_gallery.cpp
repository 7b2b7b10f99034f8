// The gallery window as a design host: pages built from the palette, selection and the
// property inspector, component editor verbs, and form files saved and opened.
#include "componenticon.h"
#include "componentverbs.h"
#include "designsurface.h"
#include "eventinspector.h"
#include "gallerytestclasses.h"
#include "gallerywindow.h"
#include "propertydelegate.h"
#include "propertyinspector.h"

#include "support/testsupport.h"
#include "vcl/controls/controlevents.h"
#include "vcl/controls/dialogs.h"
#include "vcl/streaming/formfile.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QFile>
#include <QMenu>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <gtest/gtest.h>

using namespace gallery;
using namespace gallerytest;

using qvtest::WriteFile;

namespace {

const QString ToolsPage = QStringLiteral("<Test Controls && Tools>");
const QString SecondPage = QStringLiteral("<Second Page>");

void SendMouse(QWidget* Widget, QEvent::Type Type, Qt::MouseButton Button = Qt::LeftButton)
{
    const QPointF at(4, 4);
    QMouseEvent event(Type, at, Widget->mapToGlobal(at), Button, Button, Qt::NoModifier);
    QApplication::sendEvent(Widget, &event);
}

void SendMouseAt(QWidget* Widget, const QPoint& At, QEvent::Type Type)
{
    QMouseEvent event(Type, QPointF(At), Widget->mapToGlobal(QPointF(At)), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Widget, &event);
}

QByteArray ReadFile(const QString& Path)
{
    QFile file(Path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << Path.toStdString();
    return file.readAll();
}

class GalleryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        vcl::ClearDesignRegistries();
        vcl::RegisterComponents(ToolsPage, {vcl::ClassOf<TRedBox>(), vcl::ClassOf<TTicker>()});
        vcl::RegisterComponents(SecondPage, {vcl::ClassOf<TTicker>()});
        vcl::RegisterComponentEditor(vcl::ClassOf<TTicker>(), vcl::EditorClassOf<TTickerEditor>("TTickerEditor"));
        TTickerEditor::Executed().clear();
    }
    void TearDown() override { vcl::ClearDesignRegistries(); }

    static TRedBox* RedBoxOf(DesignSurface* Surface) { return dynamic_cast<TRedBox*>(Surface->Root()->FindComponent(QStringLiteral("RedBox1"))); }
    static TTicker* TickerOf(DesignSurface* Surface) { return dynamic_cast<TTicker*>(Surface->Root()->FindComponent(QStringLiteral("Ticker1"))); }
};

TEST_F(GalleryTest, OnePagePerPaletteEntryWithALiveInstanceOfEveryClass)
{
    GalleryWindow window;
    ASSERT_EQ(window.PageCount(), 2);
    EXPECT_EQ(window.PageCaption(0), ToolsPage);
    EXPECT_EQ(window.PageCaption(1), SecondPage);

    DesignSurface* tools = window.Surface(0);
    ASSERT_NE(tools, nullptr);
    TGalleryPage* root = tools->Root();
    ASSERT_EQ(root->ComponentCount(), 2);
    // Created in registration order, named as a designer names them.
    EXPECT_EQ(root->Components(0), RedBoxOf(tools));
    EXPECT_EQ(root->Components(1), TickerOf(tools));
    for (vcl::TComponent* c : {static_cast<vcl::TComponent*>(root), root->Components(0), root->Components(1)})
        EXPECT_TRUE(c->ComponentState().testFlag(vcl::csDesigning)) << c->Name().toStdString();

    TRedBox* box = RedBoxOf(tools);
    EXPECT_EQ(box->Parent(), root);
    EXPECT_EQ(box->Width(), 90);
    EXPECT_EQ(box->Height(), 30);
    EXPECT_TRUE(box->isVisibleTo(root));
    EXPECT_EQ(tools->IconOf(box), nullptr);

    ComponentIcon* icon = tools->IconOf(TickerOf(tools));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->parentWidget(), root);
    EXPECT_GE(icon->y(), box->Top() + box->Height()) << "icons sit below the controls";
    EXPECT_TRUE(root->rect().contains(icon->geometry()));

    ASSERT_NE(window.Surface(1), nullptr);
    EXPECT_EQ(window.Surface(1)->Root()->ComponentCount(), 1);
    EXPECT_NE(TickerOf(window.Surface(1)), nullptr);
    EXPECT_FALSE(window.windowTitle().endsWith(u'*'));
}

TEST_F(GalleryTest, EmptyPaletteShowsANoticePage)
{
    vcl::ClearDesignRegistries();
    GalleryWindow window;
    ASSERT_EQ(window.PageCount(), 1);
    EXPECT_EQ(window.Surface(0), nullptr);
    EXPECT_EQ(window.PageCaption(0), QStringLiteral("No components registered"));
    EXPECT_EQ(window.GetRoot(), nullptr);
    EXPECT_NE(window.PageContent(0), nullptr);
}

// A class that cannot be created is left out and named in the status bar; the rest
// of the page is built.
TEST_F(GalleryTest, ClassesThatFailToCreateAreReported)
{
    vcl::ClearDesignRegistries();
    vcl::RegisterComponents(ToolsPage, {vcl::ClassOf<TAbstractPart>(), vcl::ClassOf<TFailingPart>(), vcl::ClassOf<TTicker>()});
    const int live = LiveCount();
    GalleryWindow window;
    ASSERT_EQ(window.PageCount(), 1);
    TGalleryPage* root = window.Surface(0)->Root();
    ASSERT_EQ(root->ComponentCount(), 1);
    EXPECT_EQ(root->Components(0)->Name(), QStringLiteral("Ticker1"));
    EXPECT_EQ(LiveCount(), live + 1);
    const QString message = window.statusBar()->currentMessage();
    EXPECT_TRUE(message.contains(QStringLiteral("TAbstractPart"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("TFailingPart: no device"))) << message.toStdString();
}

TEST_F(GalleryTest, ClickingSelectsTheComponentOrItsIcon)
{
    GalleryWindow window;
    DesignSurface* tools = window.Surface(0);
    EXPECT_EQ(window.Inspector()->Component(), tools->Root()) << "a new page shows its root";

    SendMouse(RedBoxOf(tools), QEvent::MouseButtonPress);
    EXPECT_EQ(tools->Selected(), RedBoxOf(tools));
    EXPECT_EQ(window.Inspector()->Component(), RedBoxOf(tools));
    EXPECT_EQ(tools->Root()->SelectionRect(), RedBoxOf(tools)->geometry());

    SendMouse(tools->IconOf(TickerOf(tools)), QEvent::MouseButtonPress);
    EXPECT_EQ(window.Inspector()->Component(), TickerOf(tools));

    SendMouse(tools->Root(), QEvent::MouseButtonPress);
    EXPECT_EQ(window.Inspector()->Component(), tools->Root());
    EXPECT_TRUE(tools->Root()->SelectionRect().isEmpty());
}

TEST_F(GalleryTest, InspectorEditsValuesAndKeepsTheOldOneOnABadValue)
{
    GalleryWindow window;
    DesignSurface* tools = window.Surface(0);
    TTicker* ticker = TickerOf(tools);
    window.SelectComponent(ticker);
    PropertyInspectorModel* model = window.Inspector();
    QStringList errors;
    QObject::connect(model, &PropertyInspectorModel::ErrorRaised, [&](const QString& m) { errors << m; });
    auto value = [&](const QString& path) { return model->FindProperty(path).siblingAtColumn(PropertyInspectorModel::ValueColumn); };

    ASSERT_TRUE(value("Interval").isValid());
    EXPECT_EQ(value("Interval").data().toString(), QStringLiteral("100"));
    EXPECT_TRUE(model->setData(value("Interval"), QStringLiteral("250")));
    EXPECT_EQ(ticker->Interval(), 250);
    EXPECT_EQ(value("Interval").data().toString(), QStringLiteral("250"));
    EXPECT_TRUE(window.windowTitle().endsWith(QStringLiteral(" *"))) << window.windowTitle().toStdString();

    EXPECT_FALSE(model->setData(value("Interval"), QStringLiteral("12x")));
    EXPECT_EQ(ticker->Interval(), 250);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("12x"))) << errors[0].toStdString();

    // An enumeration: a drop-down of its names; a name it does not have is refused.
    EXPECT_EQ(value("Mode").data(PropertyInspectorModel::ValuesRole).toStringList(),
        (QStringList{"tmOnce", "tmRepeat", "tmBurst"}));
    EXPECT_TRUE(model->setData(value("Mode"), QStringLiteral("tmBurst")));
    EXPECT_EQ(ticker->Mode(), TTicker::tmBurst);
    EXPECT_FALSE(model->setData(value("Mode"), QStringLiteral("tmNever")));
    EXPECT_EQ(ticker->Mode(), TTicker::tmBurst);
    EXPECT_EQ(errors.size(), 2);

    // Read-only values are shown but cannot be edited.
    EXPECT_EQ(value("Ticks").data().toString(), QStringLiteral("7"));
    EXPECT_FALSE(value("Ticks").flags().testFlag(Qt::ItemIsEditable));
    EXPECT_FALSE(model->setData(value("Ticks"), QStringLiteral("9")));

    // An object value unfolds into child rows that edit the object.
    const QModelIndex border = model->FindProperty(QStringLiteral("Border"));
    EXPECT_EQ(model->rowCount(border), 2);
    EXPECT_EQ(value("Border").data().toString(), QStringLiteral("(TBorder)"));
    EXPECT_TRUE(model->setData(value("Border.Width"), QStringLiteral("3")));
    EXPECT_EQ(ticker->Border()->Width(), 3);
    EXPECT_TRUE(model->setData(value("Border.Style"), QStringLiteral("dashed")));
    EXPECT_EQ(ticker->Border()->Style(), QStringLiteral("dashed"));

    // Every published property has a row (the root's too, through the same path).
    EXPECT_EQ(model->rowCount(), 5);
}

// In-place editors: a drop-down for a value list, a line of text otherwise.
TEST_F(GalleryTest, DelegateEditsThroughTheModel)
{
    GalleryWindow window;
    TTicker* ticker = TickerOf(window.Surface(0));
    window.SelectComponent(ticker);
    PropertyInspectorModel* model = window.Inspector();
    PropertyDelegate delegate;
    QWidget parent;
    const QModelIndex mode = model->FindProperty(QStringLiteral("Mode")).siblingAtColumn(PropertyInspectorModel::ValueColumn);
    const QModelIndex interval = model->FindProperty(QStringLiteral("Interval")).siblingAtColumn(PropertyInspectorModel::ValueColumn);

    std::unique_ptr<QWidget> modeEditor(delegate.createEditor(&parent, {}, mode));
    auto* combo = qobject_cast<QComboBox*>(modeEditor.get());
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 3);
    delegate.setEditorData(combo, mode);
    EXPECT_EQ(combo->currentText(), QStringLiteral("tmOnce"));
    combo->setCurrentIndex(2);
    delegate.setModelData(combo, model, mode);
    EXPECT_EQ(ticker->Mode(), TTicker::tmBurst);

    std::unique_ptr<QWidget> intervalEditor(delegate.createEditor(&parent, {}, interval));
    auto* line = qobject_cast<QLineEdit*>(intervalEditor.get());
    ASSERT_NE(line, nullptr);
    delegate.setEditorData(line, interval);
    EXPECT_EQ(line->text(), QStringLiteral("100"));
    line->setText(QStringLiteral("-"));
    delegate.setModelData(line, model, interval);
    EXPECT_EQ(ticker->Interval(), 100);
    line->setText(QStringLiteral("40"));
    delegate.setModelData(line, model, interval);
    EXPECT_EQ(ticker->Interval(), 40);
}

// The inspector on a control, driven through the events a user makes: the drop-down of
// an enumeration's names, the colour dialog with its swatch, and an event bound to a
// test method of the page.
TEST_F(GalleryTest, InspectorNamesColoursAndEventsThroughRealEvents)
{
    static const bool published = vcl::PublishMouseEvents<TRedBox>();
    ASSERT_TRUE(published);
    GalleryWindow window;
    window.show();
    TRedBox* box = RedBoxOf(window.Surface(0));
    window.SelectComponent(box);
    PropertyInspectorModel* model = window.Inspector();
    QTreeView* view = nullptr;
    for (QTreeView* candidate : window.findChildren<QTreeView*>())
        if (candidate->model() == model)
            view = candidate;
    ASSERT_NE(view, nullptr);
    const QModelIndex align = model->FindProperty(QStringLiteral("Align")).siblingAtColumn(PropertyInspectorModel::ValueColumn);

    // Clicking the value opens a drop-down of names; Down picks the next name, alTop.
    view->scrollTo(align);
    SendMouseAt(view->viewport(), view->visualRect(align).center(), QEvent::MouseButtonPress);
    SendMouseAt(view->viewport(), view->visualRect(align).center(), QEvent::MouseButtonRelease);
    auto* combo = view->viewport()->findChild<QComboBox*>();
    ASSERT_NE(combo, nullptr) << "an in-place drop-down";
    EXPECT_EQ(combo->currentText(), QStringLiteral("alNone"));
    EXPECT_EQ(combo->itemText(combo->count() - 1), QStringLiteral("alClient"));
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(combo, &down);
    EXPECT_EQ(box->Align(), vcl::alTop);
    EXPECT_EQ(align.data().toString(), QStringLiteral("alTop"));

    // The colour's "..." button opens the framework's colour dialog (answered here).
    vcl::TColor preset = 0;
    vcl::TColorDialog::SetResponder([&](vcl::TColorDialog* Dialog) {
        preset = Dialog->Color();
        Dialog->SetColor(vcl::clLime);
        return true;
    });
    const QModelIndex color = model->FindProperty(QStringLiteral("Color")).siblingAtColumn(PropertyInspectorModel::ValueColumn);
    view->scrollTo(color);
    const QPoint at = view->visualRect(color).center();
    SendMouseAt(view->viewport(), at, QEvent::MouseButtonPress);
    SendMouseAt(view->viewport(), at, QEvent::MouseButtonRelease);
    QToolButton* dots = nullptr;
    for (QToolButton* button : view->viewport()->findChildren<QToolButton*>())
        if (button->isVisible() && button->text() == QStringLiteral("..."))
            dots = button;
    ASSERT_NE(dots, nullptr) << "the colour's editor has a dialog button";
    SendMouseAt(dots, QPoint(2, 2), QEvent::MouseButtonPress);
    SendMouseAt(dots, QPoint(2, 2), QEvent::MouseButtonRelease);
    vcl::TColorDialog::SetResponder(nullptr);
    EXPECT_EQ(preset, vcl::clBtnFace) << "the dialog opens on the present colour";
    EXPECT_EQ(box->Color(), vcl::clLime);
    EXPECT_EQ(color.data().toString(), QStringLiteral("clLime"));
    EXPECT_EQ(color.data(Qt::DecorationRole).value<QColor>(), QColor(0, 255, 0)) << "the swatch";

    // The events tab binds OnClick to a test method of the page; a click runs it.
    EventInspectorModel* events = window.Events();
    const QModelIndex onClick = events->FindEvent(QStringLiteral("OnClick")).siblingAtColumn(EventInspectorModel::HandlerColumn);
    EXPECT_TRUE(onClick.data(PropertyInspectorModel::ValuesRole).toStringList().contains(QStringLiteral("TestClick")));
    EXPECT_FALSE(events->setData(onClick, QStringLiteral("TestMouseDown"))) << "a mouse method does not fit OnClick";
    EXPECT_TRUE(events->setData(onClick, QStringLiteral("TestClick")));
    EXPECT_EQ(onClick.data().toString(), QStringLiteral("TestClick"));
    ASSERT_TRUE(box->OnClick);
    box->OnClick(box);
    EXPECT_EQ(window.statusBar()->currentMessage(), QStringLiteral("TestClick(RedBox1)"));
    EXPECT_TRUE(vcl::ComponentToText(window.GetRoot()).contains(QStringLiteral("    OnClick = TestClick\n")));
}

TEST_F(GalleryTest, EditorVerbsReachExecuteVerb)
{
    GalleryWindow window;
    DesignSurface* tools = window.Surface(0);
    TTicker* ticker = TickerOf(tools);

    QMenu menu;
    ASSERT_EQ(AddVerbActions(menu, ticker, &window, {}), 2);
    ASSERT_EQ(menu.actions().size(), 2);
    EXPECT_EQ(menu.actions()[0]->text(), QStringLiteral("&Start Ticker"));
    EXPECT_EQ(menu.actions()[1]->text(), QStringLiteral("Reset Ticks"));
    menu.actions()[1]->trigger();
    ASSERT_EQ(TTickerEditor::Executed().size(), 1u);
    EXPECT_EQ(TTickerEditor::Executed()[0], std::make_pair(static_cast<vcl::TComponent*>(ticker), 1));

    // A double-click on the icon runs the editor's first verb.
    SendMouse(tools->IconOf(ticker), QEvent::MouseButtonDblClick);
    ASSERT_EQ(TTickerEditor::Executed().size(), 2u);
    EXPECT_EQ(TTickerEditor::Executed()[1], std::make_pair(static_cast<vcl::TComponent*>(ticker), 0));

    // A component without an editor offers no verbs, and a double-click does nothing.
    QMenu none;
    EXPECT_EQ(AddVerbActions(none, RedBoxOf(tools), &window, {}), 0);
    EXPECT_TRUE(none.actions().isEmpty());
    SendMouse(RedBoxOf(tools), QEvent::MouseButtonDblClick);
    EXPECT_EQ(TTickerEditor::Executed().size(), 2u);
}

// A right click selects the component and pops up its verbs; the chosen one runs.
TEST_F(GalleryTest, RightClickOffersTheVerbs)
{
    GalleryWindow window;
    DesignSurface* tools = window.Surface(0);
    TTicker* ticker = TickerOf(tools);
    QStringList shown;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* menu = qobject_cast<QMenu*>(w);
            if (menu == nullptr || !menu->isVisible())
                continue;
            for (QAction* action : menu->actions())
                shown << action->text();
            menu->actions().constLast()->trigger();
            menu->close();
        }
    });
    SendMouse(tools->IconOf(ticker), QEvent::MouseButtonPress, Qt::RightButton);
    EXPECT_EQ(tools->Selected(), ticker);
    EXPECT_EQ(shown, (QStringList{"&Start Ticker", "Reset Ticks"}));
    ASSERT_EQ(TTickerEditor::Executed().size(), 1u);
    EXPECT_EQ(TTickerEditor::Executed()[0].second, 1);
}

TEST_F(GalleryTest, DesignerNamesAndSelectsOnTheRightPage)
{
    GalleryWindow window;
    EXPECT_EQ(window.UniqueName(QStringLiteral("TTicker")), QStringLiteral("Ticker2"));
    EXPECT_EQ(window.UniqueName(QStringLiteral("TPane")), QStringLiteral("Pane1"));

    TTicker* second = TickerOf(window.Surface(1));
    window.SelectComponent(second);
    EXPECT_EQ(window.CurrentSurface(), window.Surface(1));
    EXPECT_EQ(window.Inspector()->Component(), second);
    EXPECT_EQ(window.GetRoot(), window.Surface(1)->Root());

    window.Modified();
    EXPECT_TRUE(window.Surface(1)->IsModified());
    EXPECT_FALSE(window.Surface(0)->IsModified());
}

TEST_F(GalleryTest, SaveThenOpenGivesTheSameFormFile)
{
    QTemporaryDir dir;
    GalleryWindow window;
    DesignSurface* tools = window.Surface(0);
    TickerOf(tools)->SetInterval(250);
    TickerOf(tools)->SetCaption(QStringLiteral("Grüße, 'world'"));
    TickerOf(tools)->Border()->SetWidth(3);
    RedBoxOf(tools)->SetLevel(4);
    window.Modified();

    const QString first = dir.filePath(QStringLiteral("first.qvform"));
    window.SaveForm(first);
    EXPECT_FALSE(window.windowTitle().endsWith(u'*')) << "saving clears the modified mark";
    const QByteArray saved = ReadFile(first);
    EXPECT_TRUE(saved.startsWith("object GalleryPage1: TGalleryPage")) << saved.constData();
    EXPECT_TRUE(saved.contains(QStringLiteral("Grüße").toUtf8())) << "form files are UTF-8";

    DesignSurface* opened = window.OpenForm(first);
    ASSERT_EQ(window.PageCount(), 3);
    EXPECT_EQ(window.CurrentSurface(), opened);
    EXPECT_EQ(window.PageCaption(2), QStringLiteral("first"));
    EXPECT_EQ(vcl::ComponentToText(opened->Root()), vcl::ComponentToText(tools->Root()));
    EXPECT_EQ(TickerOf(opened)->Border()->Width(), 3);
    EXPECT_TRUE(opened->Root()->ComponentState().testFlag(vcl::csDesigning));
    EXPECT_TRUE(TickerOf(opened)->ComponentState().testFlag(vcl::csDesigning));
    EXPECT_NE(opened->IconOf(TickerOf(opened)), nullptr);
    EXPECT_TRUE(RedBoxOf(opened)->isVisibleTo(opened->Root()));
    EXPECT_EQ(RedBoxOf(opened)->Parent(), opened->Root());

    const QString second = dir.filePath(QStringLiteral("second.qvform"));
    window.SaveForm(second);
    EXPECT_EQ(ReadFile(second), saved);
}

TEST_F(GalleryTest, BadFormFilesNameTheLineAndLeaveNothingBehind)
{
    QTemporaryDir dir;
    GalleryWindow window;
    const int pages = window.PageCount();
    const int live = LiveCount();
    const struct {
        const char* Text;
        int Line;
    } cases[] = {
        {"object GalleryPage1: TGalleryPage\n"
         "  object Ticker1: TTicker\n"
         "    Interval = 5\n"
         "  end\n"
         "  object Thing1: TNoSuchClass\n"
         "  end\n"
         "end\n",
            5},
        {"object GalleryPage1: TGalleryPage\n"
         "  object RedBox1: TRedBox\n"
         "    Level = 2\n"
         "    Bogus = 1\n"
         "  end\n"
         "end\n",
            4},
        {"object GalleryPage1: TGalleryPage\n"
         "  object Ticker1: TTicker\n"
         "    Interval = 'not a number'\n"
         "  end\n"
         "end\n",
            3},
    };
    for (const auto& c : cases) {
        const QString path = dir.filePath(QStringLiteral("bad.qvform"));
        WriteFile(path, c.Text);
        try {
            window.OpenForm(path);
            ADD_FAILURE() << "read without error: " << c.Text;
        } catch (const vcl::EFormFileError& e) {
            EXPECT_EQ(e.Line(), c.Line) << e.Message().toStdString();
        }
        EXPECT_EQ(window.PageCount(), pages);
        EXPECT_EQ(LiveCount(), live);
    }
    EXPECT_THROW(window.OpenForm(dir.filePath(QStringLiteral("missing.qvform"))), vcl::EFOpenError);
    EXPECT_EQ(window.PageCount(), pages);
}

} // namespace
