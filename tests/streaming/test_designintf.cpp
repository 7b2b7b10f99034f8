#include "streamtestclasses.h"
#include "support/testsupport.h"

#include "vcl/controls/forms.h"
#include "vcl/controls/timers.h"
#include "vcl/streaming/designintf.h"

#include <gtest/gtest.h>

using namespace vcl;
using namespace streamtest;

namespace {

QStringList PageCaptions()
{
    QStringList captions;
    for (const TPalettePage& page : PalettePages())
        captions.push_back(page.Caption);
    return captions;
}

QStringList ClassNames(const QString& caption)
{
    QStringList names;
    for (const TPalettePage& page : PalettePages())
        if (page.Caption == caption)
            for (TComponentClass c : page.Classes)
                names.push_back(c->ClassName());
    return names;
}

class DesignRegistries : public ::testing::Test {
protected:
    void SetUp() override { ClearDesignRegistries(); }
    void TearDown() override { ClearDesignRegistries(); }
};

// An editor with two verbs that records what ran.
class TItemEditor : public TComponentEditor {
public:
    using TComponentEditor::TComponentEditor;
    int GetVerbCount() override { return 2; }
    QString GetVerb(int Index) override { return Index == 0 ? QStringLiteral("&Reset") : QStringLiteral("Add &One"); }
    void ExecuteVerb(int Index) override
    {
        auto* item = dynamic_cast<TItem*>(Component());
        item->SetCount(Index == 0 ? 0 : item->Count() + 1);
        Designer()->Modified();
    }
};

class TOtherEditor : public TComponentEditor {
public:
    using TComponentEditor::TComponentEditor;
    int GetVerbCount() override { return 1; }
    QString GetVerb(int) override { return QStringLiteral("Other"); }
};

// A second item class, to check that editors follow the class tree.
class TSpecialItem : public TItem {
    Q_OBJECT
public:
    using TItem::TItem;
};

struct TestDesigner : IDesigner {
    TComponent* Root = nullptr;
    int ModifiedCount = 0;
    TComponent* Selected = nullptr;
    TComponent* GetRoot() override { return Root; }
    QString UniqueName(const QString& BaseName) override { return DefaultUniqueName(Root, BaseName); }
    void SelectComponent(TComponent* Instance) override { Selected = Instance; }
    void Modified() override { ++ModifiedCount; }
};

class TNameEditor : public TPropertyEditor { public: using TPropertyEditor::TPropertyEditor; };
class TAnyStringEditor : public TPropertyEditor { public: using TPropertyEditor::TPropertyEditor; };
class TNoteEditor : public TPropertyEditor { public: using TPropertyEditor::TPropertyEditor; };

} // namespace

TEST_F(DesignRegistries, PagesAppearInOrderOfFirstUseCollectClassesInCallOrderAndNamesCountUp)
{
    RegisterComponents("<Dialogs>", {ClassOf<TItem>()});
    RegisterComponents("<Misc>", {ClassOf<TPanelBox>()});
    RegisterComponents("<Dialogs>", {ClassOf<TSampleForm>(), ClassOf<TSpecialItem>()});
    EXPECT_EQ(PageCaptions(), (QStringList{"<Dialogs>", "<Misc>"}));
    EXPECT_EQ(ClassNames("<Dialogs>"), (QStringList{"TItem", "TSampleForm", "TSpecialItem"}));
    EXPECT_EQ(GetClass("TSpecialItem"), ClassOf<TSpecialItem>()) << "palette classes stream by name";
    // Unique names drop the T and count up.
    TSampleForm form(nullptr);
    (new TItem(&form))->SetName("Item1");
    EXPECT_EQ(DefaultUniqueName(&form, "TItem"), "Item2");
    EXPECT_EQ(DefaultUniqueName(&form, "TPane"), "Pane1");
}

TEST_F(DesignRegistries, ComponentEditorsFollowTheNearestRegisteredClass)
{
    RegisterComponentEditor(ClassOf<TItem>(), EditorClassOf<TItemEditor>("TItemEditor"));
    TestDesigner designer;
    TSpecialItem special(nullptr);
    special.SetCount(5);
    auto editor = GetComponentEditor(&special, &designer);
    ASSERT_EQ(editor->GetVerbCount(), 2);
    EXPECT_EQ(editor->GetVerb(1), "Add &One");
    editor->ExecuteVerb(1);
    EXPECT_EQ(special.Count(), 6);
    editor->Edit();
    EXPECT_EQ(special.Count(), 0) << "a double-click runs the first verb";
    EXPECT_EQ(designer.ModifiedCount, 2);

    RegisterComponentEditor(ClassOf<TSpecialItem>(), EditorClassOf<TOtherEditor>("TOtherEditor"));
    RegisterComponentEditor(ClassOf<TItem>(), EditorClassOf<TItemEditor>("TItemEditor"));
    EXPECT_EQ(GetComponentEditor(&special, &designer)->GetVerb(0), "Other") << "the nearer class wins over a newer rule";

    TPanelBox panel(nullptr);
    EXPECT_EQ(GetComponentEditor(&panel, &designer)->GetVerbCount(), 0);
}

TEST_F(DesignRegistries, PropertyEditorRulesPreferTheMostSpecificAndNewest)
{
    TSampleForm form(nullptr);
    const QMetaObject* meta = form.metaObject();
    const QMetaProperty caption = meta->property(meta->indexOfProperty("Caption"));
    const QMetaProperty hint = meta->property(meta->indexOfProperty("Hint"));

    EXPECT_EQ(GetEditorClass(meta, caption), nullptr);
    auto anyString = PropertyEditorClassOf<TAnyStringEditor>("TAnyStringEditor");
    auto named = PropertyEditorClassOf<TNameEditor>("TNameEditor");
    RegisterPropertyEditor(TypeInfoOf<QString>(), ClassOf<TSampleForm>(), "Caption", named);
    RegisterPropertyEditor(TypeInfoOf<QString>(), nullptr, "", anyString);
    EXPECT_EQ(GetEditorClass(meta, caption), named) << "a rule limited to a class and name beats a newer general one";
    EXPECT_EQ(GetEditorClass(meta, hint), anyString);
    TPanelBox panel(nullptr);
    const QMetaProperty panelCaption = panel.metaObject()->property(panel.metaObject()->indexOfProperty("Caption"));
    EXPECT_EQ(GetEditorClass(panel.metaObject(), panelCaption), anyString) << "the class limit excludes other classes";
}

TEST_F(DesignRegistries, ClassPropertyUnfoldsObjectValues)
{
    TSampleForm form(nullptr);
    form.Font()->SetName("Serif");
    TestDesigner designer;
    designer.Root = &form;
    auto editors = GetComponentProperties(&designer, &form);
    TPropertyEditor* font = nullptr;
    for (auto& e : editors)
        if (e->GetName() == "Font")
            font = e.get();
    ASSERT_NE(font, nullptr);
    EXPECT_TRUE(font->GetAttributes().testFlag(paSubProperties));
    EXPECT_EQ(font->GetValue(), "(TCaptionFont)");
    auto subs = font->GetProperties();
    ASSERT_EQ(subs.size(), 2u);
    EXPECT_EQ(subs[0]->GetValue(), "Serif");
    subs[1]->SetValue("14");
    EXPECT_EQ(form.Font()->Size(), 14);
    EXPECT_EQ(designer.ModifiedCount, 1);

    // A rule for the note's class reaches the property through the class type.
    RegisterPropertyEditor(TypeInfoOf<TNote>(), nullptr, "", PropertyEditorClassOf<TNoteEditor>("TNoteEditor"));
    const QMetaProperty note = form.metaObject()->property(form.metaObject()->indexOfProperty("Note"));
    EXPECT_NE(dynamic_cast<TNoteEditor*>(CreatePropertyEditor(&designer, &form, note).get()), nullptr);
}

TEST_F(DesignRegistries, PlainEditorsConvertTextBothWays)
{
    TSampleForm form(nullptr);
    TestDesigner designer;
    auto editors = GetComponentProperties(&designer, &form);
    auto find = [&](const char* name) -> TPropertyEditor& {
        for (auto& e : editors)
            if (e->GetName() == QLatin1String(name))
                return *e;
        throw std::runtime_error(name);
    };
    find("Alignment").SetValue("taRightJustify");
    EXPECT_EQ(form.Alignment(), TSampleForm::taRightJustify);
    EXPECT_EQ(find("Alignment").GetValues().size(), 3);
    find("Options").SetValue("opItalic,opBoxed");
    EXPECT_EQ(find("Options").GetValue(), "[opItalic, opBoxed]");
    find("Active").SetValue("True");
    EXPECT_TRUE(form.Active());
    find("Color").SetValue("clBlue");
    EXPECT_EQ(find("Color").GetValue(), "clBlue");
    find("Color").SetValue("$00102030");
    EXPECT_EQ(form.Color(), 0x102030);
    EXPECT_EQ(find("Color").GetValue(), "$00102030");
    find("Width").SetValue("250");
    EXPECT_EQ(form.Width(), 250);
    EXPECT_THROW(find("Width").SetValue("wide"), EConvertError);
    EXPECT_THROW(find("Alignment").SetValue("taNowhere"), EConvertError);
    EXPECT_EQ(form.Width(), 250);
}

// A reference to another component (a control's PopupMenu) is chosen by name among the
// form's components of its class, not unfolded; a name of another class is refused.
TEST_F(DesignRegistries, ComponentReferencesAreChosenByName)
{
    TForm form(nullptr);
    auto* menu = new TPopupMenu(&form);
    menu->SetName("Menu1");
    (new TTimer(&form))->SetName("Timer1");
    TestDesigner designer;
    designer.Root = &form;
    std::unique_ptr<TPropertyEditor> popup;
    for (auto& editor : GetComponentProperties(&designer, &form))
        if (editor->GetName() == QLatin1String("PopupMenu"))
            popup = std::move(editor);
    ASSERT_NE(dynamic_cast<TComponentProperty*>(popup.get()), nullptr);
    EXPECT_EQ(popup->GetValues(), QStringList{"Menu1"});
    popup->SetValue("Menu1");
    EXPECT_EQ(form.PopupMenu(), menu);
    EXPECT_EQ(popup->GetValue(), "Menu1");
    EXPECT_THROW(popup->SetValue("Timer1"), EConvertError);
    EXPECT_THROW(popup->SetValue("Nobody"), EConvertError);
    EXPECT_EQ(form.PopupMenu(), menu);
    popup->SetValue("");
    EXPECT_EQ(form.PopupMenu(), nullptr);
}

#include "test_designintf.moc"
