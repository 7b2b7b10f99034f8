// TqvSaveForm on real forms with a registry store of its own in a temporary folder:
// saving on close, restoring on show, the failure messages, the design-time operations
// and their component editor (also in the gallery), and two processes at once. The
// child processes are this program itself, each running one ChildRole test selected by
// a filter; CTest leaves those out, and run by hand without QV_SAVEFORM_CHILD they return.
#include "support/childprocess.h"
#include "support/testsupport.h"
#include "utilities/qvsaveform.h"
#include "utilities/qvsaveformeditor.h"

#include "componentverbs.h"
#include "designsurface.h"
#include "gallerywindow.h"
#include "package/package.h"
#include "vcl/controls/dialogs.h"
#include "vcl/controls/forms.h"
#include "vcl/core/strings.h"
#include "vcl/registry/registry.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdlib>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace vcl;
using namespace Qvsaveform;
using qvtest::ChildDeadlineMs;
using qvtest::Say;
using qvtest::WaitForLine;

namespace {

const char* const ChildVariable = "QV_SAVEFORM_CHILD";
const QString FormKey = QStringLiteral("\\Software\\QvTest\\App\\Form1");
const QString RestoreFailed = QStringLiteral("Some Error Occurred Retrieving the Data\nfrom the registry.Values are not restored");
const QString SaveFailed = QStringLiteral("Some Error Occurred Saving the Data to\nthe registry.Values are not saved");

// A form named FormName with a save-form component keyed "QvTest" \ "App" \ FormName,
// designed at 10,20 and 150 x 100; Prepare runs on the form before the component is
// made. The form frees itself on close, so the test holds it through a guarded pointer.
struct SavedForm {
    QPointer<TForm> Form;
    TqvSaveForm* Saver = nullptr;
    explicit SavedForm(const QString& FormName = QStringLiteral("Form1"), const std::function<void(TForm&)>& Prepare = {})
        : Form(new TForm(nullptr))
    {
        Form->SetName(FormName);
        Form->SetBounds(10, 20, 150, 100);
        if (Prepare)
            Prepare(*Form);
        Saver = new TqvSaveForm(Form);
        Saver->SetRegCompanyNameString(QStringLiteral("QvTest"));
        Saver->SetRegAppNameString(QStringLiteral("App"));
        Saver->SetRegFormNameString(FormName);
    }
    ~SavedForm() { delete Form.data(); }
    QRect Bounds() const { return QRect(Form->Left(), Form->Top(), Form->Width(), Form->Height()); }
    // Closes the form and lets a freed form go.
    void Close()
    {
        Form->Close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

// The thirteen values of a form at 30,40 and 300 x 200, written directly.
void WriteStoredForm()
{
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(FormKey, true));
    const std::pair<const char*, int> numbers[] = {{"biSystemMenu", 1}, {"biMinimize", 0}, {"biMaximize", 0},
        {"biHelp", 1}, {"Height", 200}, {"PixelsPerInch", 120}, {"ShowHint", 1}, {"Left", 30}, {"Top", 40}, {"Width", 300}};
    for (const auto& [name, value] : numbers)
        registry.WriteInteger(name, value);
    registry.WriteString("FormStyle", "fsStayOnTop");
    registry.WriteString("Name", "Form1");
    registry.WriteString("WindowState", "wsNormal");
}

// Changes one value of the stored form.
void ChangeStoredValue(const std::function<void(TRegistry&)>& Change)
{
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(FormKey, false));
    Change(registry);
}

class SaveFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FDir.isValid());
        qputenv("QVKIT_REGISTRY_DIR", FDir.path().toUtf8());
        SetMessageDlgResponder([this](const QString& Msg, TMsgDlgType, TMsgDlgButtons) {
            Messages << Msg;
            if (Answers.empty())
                return int(mrOk);
            const int answer = Answers.front();
            Answers.pop_front();
            return answer;
        });
    }
    void TearDown() override
    {
        SetMessageDlgResponder({});
        qunsetenv("QVKIT_REGISTRY_DIR");
    }
    QString StoreFile() const { return FDir.filePath(QStringLiteral("HKEY_CURRENT_USER.sqlite")); }

    QStringList Messages;
    std::deque<int> Answers;
    QTemporaryDir FDir;
};

TEST_F(SaveFormTest, CloseWithoutHandlerSavesAndTheNextShowRestores)
{
    {
        SavedForm first;
        first.Form->SetFormStyle(fsStayOnTop);
        first.Form->SetBorderIcons(TBorderIcons(biSystemMenu) | biHelp);
        first.Form->SetShowHint(true);
        first.Form->Show();
        EXPECT_EQ(first.Bounds(), QRect(10, 20, 150, 100)) << "no stored state and no fixed size: as designed";
        first.Form->SetBounds(30, 40, 300, 200);
        first.Close();
        EXPECT_TRUE(first.Form.isNull()) << "without a handler the close action becomes free";
    }
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(FormKey, false));
    EXPECT_EQ(registry.ReadString("FormStyle") + registry.ReadString("WindowState"), "fsStayOnTopwsNormal");
    EXPECT_EQ(registry.GetDataType("biHelp"), rdInteger);
    EXPECT_EQ(registry.ReadInteger("biHelp"), 1);
    EXPECT_EQ(registry.ReadInteger("Width"), 300);
    ASSERT_TRUE(registry.OpenKey("\\Software\\Quillbrook\\qvSaveForm", false)) << "the names are remembered on close";
    EXPECT_EQ(registry.ReadString("RegCompanyNameString"), "QvTest");
    EXPECT_FALSE(registry.KeyExists("\\Software\\Quillbrook 1")) << "the design host's key is another one";

    SavedForm second;
    second.Form->Show();
    EXPECT_EQ(second.Bounds(), QRect(30, 40, 300, 200));
    EXPECT_EQ(second.Form->FormStyle(), fsStayOnTop);
    EXPECT_EQ(second.Form->BorderIcons(), TBorderIcons(biSystemMenu) | biHelp);
    EXPECT_TRUE(second.Form->ShowHint());
    EXPECT_TRUE(Messages.isEmpty()) << Messages.join('|').toStdString();
}

// The handlers the form had are called with the component as Sender; a close action
// of none or minimise saves nothing, not even the remembered names; freed first, the
// component hands the events back.
TEST_F(SaveFormTest, HandlerThatKeepsTheFormOpenSavesNothingAndAFreedComponentHandsTheEventsBack)
{
    for (const TCloseAction action : {caNone, caMinimize}) {
        SCOPED_TRACE(int(action));
        TObject* showSender = nullptr;
        TObject* closeSender = nullptr;
        TCloseAction seen = caNone;
        SavedForm form(QStringLiteral("Form1"), [&](TForm& f) {
            f.OnShow = [&](TObject* Sender) { showSender = Sender; };
            f.OnClose = [&](TObject* Sender, TCloseAction& Action) {
                closeSender = Sender;
                seen = Action;
                Action = action;
            };
        });
        form.Form->Show();
        form.Close();
        EXPECT_EQ(showSender, form.Saver);
        EXPECT_EQ(closeSender, form.Saver);
        EXPECT_EQ(seen, caFree);
        ASSERT_FALSE(form.Form.isNull());
        EXPECT_FALSE(form.Saver->ExistForm());
        TRegistry registry;
        EXPECT_FALSE(registry.KeyExists("\\Software\\Quillbrook"));
    }
    // A component freed before its form hands the form's events back.
    TObject* sender = nullptr;
    SavedForm form(QStringLiteral("Form1"), [&](TForm& f) { f.OnShow = [&](TObject* Sender) { sender = Sender; }; });
    delete form.Saver;
    form.Form->Show();
    EXPECT_EQ(sender, form.Form.data());
}

TEST_F(SaveFormTest, FixedSettingKeepsTheStoredPositionButAppliesTheFixedSize)
{
    WriteStoredForm();
    SavedForm form;
    form.Saver->SetFormSetting(fs_Fixed);
    form.Saver->SetFixedWidth(222);
    form.Saver->SetFixedHeight(111);
    form.Form->Show();
    EXPECT_EQ(form.Bounds(), QRect(30, 40, 222, 111));
    EXPECT_EQ(form.Form->FormStyle(), fsStayOnTop);
}

// Deleted through the editor's verb, after the question; the next show then applies
// the fixed size although the setting is fs_Auto.
TEST_F(SaveFormTest, DeletedFormKeyMakesTheNextShowApplyTheFixedSize)
{
    WriteStoredForm();
    SavedForm form;
    form.Saver->SetFixedWidth(250);
    form.Saver->SetFixedHeight(150);
    Answers = {mrYes, mrOk};
    TDialogComponent(form.Saver, nullptr).ExecuteVerb(1);
    EXPECT_EQ(Messages, (QStringList{"Are You Sure to delete de Registry\nKey for Form: Form1", "Key Succesfully Deleted"}));
    EXPECT_FALSE(form.Saver->ExistForm());
    form.Form->Show();
    EXPECT_EQ(form.Bounds(), QRect(10, 20, 250, 150));

    Messages.clear();
    form.Saver->DelRegistry();
    form.Saver->DelDefault();
    EXPECT_EQ(Messages, (QStringList{"Key for Form : Form1 does not exist", "Key for Default Values does not exist"}));
}

// Style and window state by their exact names; any other text leaves the form's own.
TEST_F(SaveFormTest, StyleAndStateAreRestoredByTheirExactNames)
{
    struct Case {
        const char* Style;
        const char* State;
        TFormStyle ExpectedStyle;
        TWindowState ExpectedState;
    } const cases[] = {
        {"fsStayOnTop", "wsMaximized", fsStayOnTop, wsMaximized},
        {"fsstayontop", "Maximized", fsMDIForm, wsNormal},
    };
    for (const Case& c : cases) {
        WriteStoredForm();
        ChangeStoredValue([&](TRegistry& r) {
            r.WriteString("FormStyle", c.Style);
            r.WriteString("WindowState", c.State);
        });
        SavedForm form(QStringLiteral("Form1"), [](TForm& f) { f.SetFormStyle(fsMDIForm); });
        form.Form->Show();
        EXPECT_EQ(form.Form->FormStyle(), c.ExpectedStyle) << c.Style;
        EXPECT_EQ(form.Form->WindowState(), c.ExpectedState) << c.State;
        EXPECT_EQ(form.Form->PixelsPerInch(), 120) << "the rest is restored";
    }
}

// Each damaged value fails the whole restore: nothing is applied and one message says so.
TEST_F(SaveFormTest, DamagedValueMakesTheRestoreApplyNothing)
{
    struct Damage {
        const char* What;
        std::function<void(TRegistry&)> Apply;
    };
    const Damage damages[] = {
        {"Height as text", [](TRegistry& r) { r.WriteString("Height", "200"); }},
        {"Left missing", [](TRegistry& r) { r.DeleteValue("Left"); }},
        {"biHelp as text", [](TRegistry& r) { r.WriteString("biHelp", "1"); }},
        {"FormStyle as number", [](TRegistry& r) { r.WriteInteger("FormStyle", 3); }},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.What);
        Messages.clear();
        WriteStoredForm();
        ChangeStoredValue(damage.Apply);
        SavedForm form;
        form.Form->Show();
        EXPECT_EQ(form.Bounds(), QRect(10, 20, 150, 100));
        EXPECT_EQ(form.Form->FormStyle(), fsNormal);
        EXPECT_EQ(Messages, QStringList{RestoreFailed});
    }
}

// A damaged store file: the form opens as designed, and the one message covers the
// show and the close after it. The file is left as it was.
TEST_F(SaveFormTest, UnusableStoreShowsOneMessageAndTheFormOpensAsDesigned)
{
    const QByteArray garbage(4096, '\x5a');
    qvtest::WriteFile(StoreFile(), garbage);
    SavedForm form;
    form.Saver->SetFixedWidth(250);
    form.Saver->SetFixedHeight(150);
    form.Form->Show();
    EXPECT_EQ(form.Bounds(), QRect(10, 20, 150, 100));
    form.Close();
    EXPECT_EQ(Messages, QStringList{RestoreFailed});
    QFile file(StoreFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), garbage);
}

// A level that cannot be opened (empty, holding "\", too long) fails the save; no
// value lands on the level above it.
TEST_F(SaveFormTest, FailedLevelNeverLetsAWriteLandOneLevelUp)
{
    for (const QString& application : {QString(), QStringLiteral("A\\B"), QString(256, 'x')}) {
        SCOPED_TRACE(application.left(8).toStdString());
        Messages.clear();
        SavedForm form;
        form.Saver->SetRegAppNameString(application);
        form.Form->Show();
        form.Close();
        EXPECT_EQ(Messages, QStringList{SaveFailed});
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey("\\Software\\QvTest", true));
        TStringList names;
        registry.GetValueNames(names);
        EXPECT_EQ(names.Count(), 0);
        registry.GetKeyNames(names);
        EXPECT_EQ(names.Count(), 0);
    }
}

// Hand-worked placements on screens 800 x 600 at the origin and 1024 x 768 right of it.
TEST(PlaceOnScreens, MovesAWindowOffEveryScreenOntoTheNearest)
{
    const QList<QRect> screens = {QRect(0, 0, 800, 600), QRect(800, 0, 1024, 768)};
    struct Case {
        QRect Bounds;
        QRect Expected;
    } const cases[] = {
        {{30, 40, 300, 200}, {30, 40, 300, 200}},        // on the first screen
        {{1200, 300, 300, 200}, {1200, 300, 300, 200}},  // on the second
        {{760, -10, 300, 200}, {760, -10, 300, 200}},    // 40 x 190 on the first, 260 on the second
        {{-280, 100, 300, 200}, {0, 100, 300, 200}},     // a 20 pixel strip is too little
        {{2000, 100, 300, 200}, {1524, 100, 300, 200}},  // right of both: 1824 - 300
        {{100, 900, 300, 200}, {100, 400, 300, 200}},    // below the first: 600 - 200
        {{-5000, -5000, 300, 200}, {0, 0, 300, 200}},    // far up left
        {{3000, 100, 2000, 900}, {800, 0, 2000, 900}},   // larger than the screen: top left on it
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlaceOnScreens(c.Bounds, screens), c.Expected) << c.Bounds.x() << "," << c.Bounds.y();
    EXPECT_EQ(PlaceOnScreens(QRect(5000, 5000, 10, 10), {}), QRect(5000, 5000, 10, 10)) << "no screens: left alone";
}

// ---------------------------------------------------------------- design time

// A form in design state, with a design names key left by an earlier session.
TEST_F(SaveFormTest, DesignTimeReadsItsNamesAndTheStoredState)
{
    {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey("\\Software\\Quillbrook 1\\qvSaveForm", true));
        registry.WriteString("RegCompanyNameString", "QvTest");
        registry.WriteString("RegAppNameString", "App");
    }
    WriteStoredForm();
    TForm form(nullptr);
    form.SetName("Form1");
    form.SetBounds(0, 0, 400, 300);
    form.SetDesigning(true);
    auto* saver = new TqvSaveForm(&form);
    EXPECT_EQ(saver->RegCompanyNameString(), "QvTest");
    EXPECT_EQ(saver->RegFormNameString(), "Form1");
    EXPECT_EQ(saver->FixedWidth(), 400);
    EXPECT_EQ(saver->DesignHeight(), 300);
    EXPECT_EQ(saver->FormValues()->st_Left(), 30) << "the stored state, not the form's";
    EXPECT_EQ(saver->FormValues()->st_FormStyle(), fsStayOnTop);
    EXPECT_EQ(saver->FormValues()->st_BorderIcons(), TBorderIcons(biSystemMenu) | biHelp);
    EXPECT_FALSE(bool(form.OnShow)) << "the designed form is never hooked";

    ChangeStoredValue([](TRegistry& r) { r.WriteString("Width", "wide"); });
    saver->RefreshFormValues();
    EXPECT_EQ(Messages, QStringList{"Some Error Occurred Retrieving the Data\nfrom the registry.Values are not Refreshed"});
    saver->SetDisableWarning(true);
    saver->RefreshFormValues();
    EXPECT_EQ(Messages.size(), 1);
}

// "Form Bounds (Design)" on an fs_Auto component: the answers decide.
TEST_F(SaveFormTest, FormBoundsDesignVerbFollowsTheAnswers)
{
    struct Case {
        std::deque<int> Answers;
        TARFormSetting Setting;
        QSize Size;
        int FixedWidth;
    } const cases[] = {
        {{mrNo}, fs_Auto, {400, 300}, 1},
        {{mrYes, mrNo}, fs_Fixed, {320, 240}, 1},
        {{mrYes, mrYes}, fs_Fixed, {320, 240}, 400},
    };
    for (const Case& c : cases) {
        TForm form(nullptr);
        form.SetBounds(0, 0, 400, 300);
        form.SetDesigning(true);
        auto* saver = new TqvSaveForm(&form);
        saver->SetFixedWidth(1);
        saver->SetDesignWidth(320);
        saver->SetDesignHeight(240);
        Answers = c.Answers;
        TDialogComponent(saver, nullptr).ExecuteVerb(7);
        EXPECT_EQ(saver->FormSetting(), c.Setting);
        EXPECT_EQ(QSize(form.Width(), form.Height()), c.Size);
        EXPECT_EQ(saver->FixedWidth(), c.FixedWidth);
    }
}

// The eight verbs on the gallery's Win32 page, run through the gallery's menu.
TEST_F(SaveFormTest, GalleryOffersTheEightVerbs)
{
    ClearDesignRegistries();
    Package::LoadPackage();
    {
        gallery::GalleryWindow window;
        TqvSaveForm* saver = nullptr;
        for (int i = 0; i < window.PageCount() && saver == nullptr; ++i)
            if (gallery::DesignSurface* surface = window.Surface(i))
                saver = dynamic_cast<TqvSaveForm*>(surface->Root()->FindComponent("qvSaveForm1"));
        ASSERT_NE(saver, nullptr);
        QMenu menu;
        ASSERT_EQ(gallery::AddVerbActions(menu, saver, &window, {}), 8);
        QStringList captions;
        for (QAction* action : menu.actions())
            captions << action->text();
        EXPECT_EQ(captions, (QStringList{"&Update Form Name", "&Delete Form at Registry", "Delete Registry Defaults",
                                "Refresh Form Values", "Store Form Bounds to Fixed Settings",
                                "Store Form Bounds to Design Settings", "Form Bounds (Execution)", "Form Bounds (Design)"}));
        auto* page = dynamic_cast<TControl*>(saver->Owner());
        ASSERT_NE(page, nullptr);
        saver->SetRegFormNameString("Other");
        menu.actions()[0]->trigger();
        EXPECT_EQ(saver->RegFormNameString(), page->Name());
        menu.actions()[4]->trigger();
        EXPECT_EQ(QSize(saver->FixedWidth(), saver->FixedHeight()), QSize(page->Width(), page->Height()));
        saver->SetFixedWidth(page->Width() + 40);
        menu.actions()[6]->trigger();
        EXPECT_EQ(page->Width(), saver->FixedWidth()) << "the page is the designed form";
        menu.actions()[2]->trigger();
        EXPECT_EQ(Messages, QStringList{"Key for Default Values does not exist"});
    }
    Package::UnloadPackage();
}

// ---------------------------------------------------------------- other processes

bool IsChild() { return qEnvironmentVariableIsSet(ChildVariable); }

// Starts this program running ChildRole.Role with Argument; Platform, when given, is
// the child's QT_QPA_PLATFORM.
std::unique_ptr<QProcess> StartChild(const char* Role, const QString& Argument, const QString& Platform = {})
{
    QProcessEnvironment extra;
    if (!Platform.isEmpty())
        extra.insert("QT_QPA_PLATFORM", Platform);
    return qvtest::StartChildRole(Role, ChildVariable, Argument, extra);
}

// Child, told "<form name> <left> <top> <screens>": checks that it has that many
// screens, shows the form at the given left and top, says "ready", closes it when
// told "close" on its input, says "closed" and ends at once, without any clean-up: what
// the close wrote must already be committed.
TEST(ChildRole, CloseOnCue)
{
    if (!IsChild())
        return;
    const QStringList args = qEnvironmentVariable(ChildVariable).split(' ');
    ASSERT_EQ(args.size(), 4);
    ASSERT_EQ(QGuiApplication::screens().size(), args[3].toInt());
    SavedForm form(args[0]);
    form.Form->Show();
    form.Form->SetBounds(args[1].toInt(), args[2].toInt(), 300, 200);
    ASSERT_EQ(form.Form->Left(), args[1].toInt());
    Say("ready\n");
    QTextStream input(stdin);
    ASSERT_EQ(input.readLine(), "close");
    form.Close();
    Say("closed\n");
    std::_Exit(::testing::Test::HasFailure() ? 1 : 0);
}

class SaveFormProcesses : public SaveFormTest {
protected:
    void SetUp() override
    {
        SaveFormTest::SetUp();
        if (IsChild())
            GTEST_SKIP() << "a child runs only its role";
    }
};

// Two applications close their forms at the same moment, one of them on a second
// screen right of the first. Both states are kept; restored here, on the one screen
// (800 pixels wide) the offscreen platform has, the second comes back onto it.
TEST_F(SaveFormProcesses, TwoApplicationsClosingAtOnceKeepTheirStatesAndAGoneScreenIsLeft)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const QRect area = screen->availableGeometry();
    ASSERT_TRUE(area.topLeft() == QPoint(0, 0) && area.width() == 800 && area.height() >= 500)
        << "the offscreen platform's one screen is 800 pixels wide";
    const QString config = FDir.filePath("two_screens.json");
    qvtest::WriteFile(config, R"({"screens": [
        {"name": "left", "x": 0, "y": 0, "width": 800, "height": 600, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1},
        {"name": "right", "x": 800, "y": 0, "width": 1024, "height": 768, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    auto first = StartChild("CloseOnCue", "FormA 31 41 1");
    auto second = StartChild("CloseOnCue", "FormB 1200 300 2", "offscreen:configfile=" + config);
    ASSERT_TRUE(WaitForLine(*first, "ready"));
    ASSERT_TRUE(WaitForLine(*second, "ready"));
    first->write("close\n");
    second->write("close\n");
    for (QProcess* child : {first.get(), second.get()}) {
        ASSERT_TRUE(WaitForLine(*child, "closed"));
        ASSERT_TRUE(child->waitForFinished(ChildDeadlineMs));
        EXPECT_EQ(child->exitCode(), 0);
    }
    SavedForm a(QStringLiteral("FormA"));
    SavedForm b(QStringLiteral("FormB"));
    a.Form->Show();
    b.Form->Show();
    EXPECT_EQ(a.Bounds(), QRect(31, 41, 300, 200));
    // 1200 + 300 lies past 800: moved in to 800 - 300; 300 + 200 fits under 500.
    EXPECT_EQ(b.Bounds(), QRect(500, 300, 300, 200));
    EXPECT_TRUE(Messages.isEmpty()) << Messages.join('|').toStdString();
}

} // namespace
