#include "streamtestclasses.h"
#include "support/testsupport.h"

#include "utilities/qvscontrols.h"
#include "vcl/core/streams.h"
#include "vcl/graphics/colors.h"
#include "vcl/streaming/classregistry.h"
#include "vcl/streaming/formfile.h"

#include <gtest/gtest.h>

Q_DECLARE_OPERATORS_FOR_FLAGS(streamtest::TSampleForm::TOptions)

using namespace vcl;
using namespace streamtest;

namespace {

const bool registered = [] {
    RegisterClasses({ClassOf<TSampleForm>(), ClassOf<TItem>(), ClassOf<TPanelBox>()});
    return RegisterEvent(&TItem::OnChange, "OnChange");
}();

// A form with one of everything: nested value and sub-objects, lists, sets, child
// controls inside child controls, a non-visual component and a bound event.
TSampleForm* BuildSample(std::vector<QString>* calls = nullptr)
{
    auto* form = new TSampleForm(nullptr);
    form->SetName("Sample");
    if (calls != nullptr)
        form->Methods["ItemChange"] = TNotifyEvent([calls](TObject*) { calls->push_back("ItemChange"); });
    form->SetCaption("It's 'quoted'\tand tabbed");
    form->SetWidth(320);
    form->SetActive(true);
    form->SetAlignment(TSampleForm::taCenter);
    form->SetOptions(TSampleForm::opBold | TSampleForm::opBoxed);
    form->SetColor(clRed);
    form->SetRatio(0.375);
    form->SetTags({"alpha", "be ta"});
    form->Lines()->Add("first line");
    form->Lines()->Add(QString::fromUtf8("zweite Zeile \xc3\xa4"));
    form->SetData(QByteArray::fromHex("00ff10"));
    form->Font()->SetName("DejaVu Sans");
    form->Font()->SetSize(12);
    form->Note()->SetText("note");
    form->SetHint("not stored");
    auto* outer = new TPanelBox(form);
    outer->SetName("Outer");
    outer->SetParentComponent(form);
    outer->SetLeft(8);
    auto* inner = new TPanelBox(form);
    inner->SetName("Inner");
    inner->SetParentComponent(outer);
    inner->SetCaption("inside");
    inner->SetColor(0x123456);
    auto* item = new TItem(form);
    item->SetName("Item1");
    item->SetCount(-3);
    item->SetBuddy(inner);
    return form;
}

const char* const SampleText = R"(object Sample: TSampleForm
  Caption = 'It''s ''quoted'''#9'and tabbed'
  Width = 320
  Active = True
  Alignment = taCenter
  Options = [opBold, opBoxed]
  Color = clRed
  Ratio = 0.375
  Tags = (
    'alpha'
    'be ta')
  Lines.Strings = (
    'first line'
    'zweite Zeile )" "\xc3\xa4" R"(')
  Data = {
    00FF10}
  Font.Name = 'DejaVu Sans'
  Font.Size = 12
  Note.Text = 'note'
  object Outer: TPanelBox
    Left = 8
    object Inner: TPanelBox
      Left = 0
      Caption = 'inside'
      Color = $00123456
    end
  end
  object Item1: TItem
    Count = -3
    Buddy = Inner
  end
end
)";

} // namespace

TEST(FormFile, RoundTripWritesEveryPropertyKindRestoresValuesAndTextAndCallsLoadedOnce)
{
    std::unique_ptr<TSampleForm> original(BuildSample());
    const QString text = ComponentToText(original.get());
    EXPECT_EQ(text, QString::fromUtf8(SampleText));

    TSampleForm copy(nullptr);
    TextToComponent(text, &copy);
    EXPECT_EQ(copy.Name(), "Sample");
    EXPECT_EQ(copy.Caption(), original->Caption());
    EXPECT_EQ(copy.Width(), 320);
    EXPECT_TRUE(copy.Active());
    EXPECT_EQ(copy.Alignment(), TSampleForm::taCenter);
    EXPECT_EQ(copy.Options(), TSampleForm::opBold | TSampleForm::opBoxed);
    EXPECT_EQ(copy.Color(), clRed);
    EXPECT_DOUBLE_EQ(copy.Ratio(), 0.375);
    EXPECT_EQ(copy.Tags(), original->Tags());
    EXPECT_EQ(copy.Lines()->Text(), original->Lines()->Text());
    EXPECT_EQ(copy.Data(), QByteArray::fromHex("00ff10"));
    EXPECT_EQ(copy.Font()->Name(), "DejaVu Sans");
    EXPECT_EQ(copy.Font()->Size(), 12);
    EXPECT_EQ(copy.Note()->Text(), "note");
    EXPECT_TRUE(copy.Hint().isEmpty()) << "a property that is not stored is not written";

    auto* outer = dynamic_cast<TPanelBox*>(copy.FindComponent("Outer"));
    auto* inner = dynamic_cast<TPanelBox*>(copy.FindComponent("Inner"));
    auto* item = dynamic_cast<TItem*>(copy.FindComponent("Item1"));
    ASSERT_TRUE(outer && inner && item);
    EXPECT_EQ(inner->parentWidget(), outer) << "children nest in their parent";
    EXPECT_EQ(outer->parentWidget(), &copy);
    EXPECT_EQ(inner->Color(), 0x123456);
    EXPECT_EQ(item->Buddy(), inner) << "references resolve after every component exists";
    EXPECT_EQ(ComponentToText(&copy), text);

    // Loaded runs once per component after reading, with csLoading set meanwhile.
    EXPECT_TRUE(copy.CaptionSetWhileLoading);
    EXPECT_EQ(copy.LoadedCalls, 1);
    for (const char* name : {"Outer", "Inner"})
        EXPECT_EQ(dynamic_cast<TPanelBox*>(copy.FindComponent(name))->LoadedCalls, 1) << name;
    EXPECT_EQ(dynamic_cast<TItem*>(copy.FindComponent("Item1"))->LoadedCalls, 1);
    EXPECT_FALSE(copy.ComponentState().testFlag(csLoading));
}

TEST(FormFile, EventsBindToTheRootsMethodsByNameAndAreWrittenBack)
{
    const QString text = QStringLiteral("object F: TSampleForm\n  object I: TItem\n    OnChange = ItemChange\n  end\nend\n");
    std::vector<QString> calls;
    TSampleForm form(nullptr);
    form.Methods["ItemChange"] = TNotifyEvent([&calls](TObject*) { calls.push_back("ItemChange"); });
    TextToComponent(text, &form);
    auto* item = dynamic_cast<TItem*>(form.FindComponent("I"));
    ASSERT_TRUE(item && item->OnChange);
    item->OnChange(item);
    EXPECT_EQ(calls, std::vector<QString>{"ItemChange"});
    // Properties without a declared default are always written; empty texts and lists are not.
    EXPECT_EQ(ComponentToText(&form), QStringLiteral("object F: TSampleForm\n  Active = False\n  Options = []\n"
                                                     "  Color = clBlack\n  Ratio = 0\n  object I: TItem\n"
                                                     "    Count = 0\n    OnChange = ItemChange\n  end\nend\n"));
}

TEST(FormFile, ValuesParseInEverySpelling)
{
    const QString text = QStringLiteral(
        "object F: TSampleForm\n"
        "  Caption = 'a'#13#10'b' +\n    'c'\n"
        "  Width = $20\n"
        "  Color = -16777201\n"
        "  Options = 5\n"
        "  Alignment = 2\n"
        "end\n");
    TSampleForm form(nullptr);
    TextToComponent(text, &form);
    EXPECT_EQ(form.Caption(), "a\r\nbc");
    EXPECT_EQ(form.Width(), 32);
    EXPECT_EQ(form.Color(), -16777201);
    // Numbers for enumerations and sets, as files written before names were, still read.
    EXPECT_EQ(form.Options(), TSampleForm::opBold | TSampleForm::opBoxed);
    EXPECT_EQ(form.Alignment(), TSampleForm::taCenter);
}

TEST(FormFile, ReadingCreatesTheRootByClassNameWhenNoInstanceIsGiven)
{
    const int before = LiveCount();
    TMemoryStream stream;
    {
        std::unique_ptr<TSampleForm> form(BuildSample());
        WriteComponent(stream, form.get());
    }
    stream.SetPosition(0);
    std::unique_ptr<TComponent> read(ReadComponent(stream, nullptr));
    auto* form = dynamic_cast<TSampleForm*>(read.get());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Lines()->Count(), 2);
    EXPECT_EQ(LiveCount(), before + 4);
    read.reset();
    EXPECT_EQ(LiveCount(), before);
}

struct BadForm {
    const char* Name;
    const char* Text;
    int Line;
    const char* Message;
};

void PrintTo(const BadForm& Bad, std::ostream* Os)
{
    *Os << Bad.Name;
}

class FormFileErrors : public ::testing::TestWithParam<BadForm> {};

TEST_P(FormFileErrors, FailWithTheLineAndLeaveNothingBehind)
{
    const BadForm& bad = GetParam();
    TSampleForm form(nullptr);
    const int before = LiveCount();
    try {
        TextToComponent(QString::fromUtf8(bad.Text), &form);
        FAIL() << "no error for " << bad.Name;
    } catch (const EFormFileError& e) {
        EXPECT_EQ(e.Line(), bad.Line) << e.what();
        EXPECT_TRUE(e.Message().contains(QString::fromUtf8(bad.Message))) << e.what();
    }
    EXPECT_EQ(form.ComponentCount(), 0) << "components created by the failed read are freed";
    EXPECT_EQ(LiveCount(), before);
    EXPECT_FALSE(form.ComponentState().testFlag(csLoading));
}

INSTANTIATE_TEST_SUITE_P(Bad, FormFileErrors, ::testing::Values(
    BadForm{"UnknownClass", "object F: TSampleForm\n  object A: TItem\n  end\n  object B: TNoSuchThing\n  end\nend\n", 4, "Class TNoSuchThing not found"},
    BadForm{"UnknownProperty", "object F: TSampleForm\n  object A: TItem\n    Count = 1\n    Colour = 2\n  end\nend\n", 4, "Property Colour does not exist"},
    BadForm{"WrongType", "object F: TSampleForm\n  object A: TPanelBox\n    Left = 'wide'\n  end\nend\n", 3, "Invalid value for Left: a number expected"},
    BadForm{"UnknownEnumName", "object F: TSampleForm\n  Alignment = taNowhere\n  object A: TItem\n  end\nend\n", 2, "taNowhere is not a value of TAlignment"},
    BadForm{"EnumNumberOutOfRange", "object F: TSampleForm\n\n  Alignment = 3\nend\n", 3, "3 is out of the range of TAlignment"},
    BadForm{"SetNumberWithUnknownBits", "object F: TSampleForm\n  Options = 8\nend\n", 2, "8 is not a set of TOptions"},
    BadForm{"UnknownColourName", "object F: TSampleForm\n  Color = clNoSuchColour\nend\n", 2, "clNoSuchColour is not a colour"},
    BadForm{"ColourBeyond32Bits", "object F: TSampleForm\n  Color = $100000000\nend\n", 2, "is not a colour"},
    BadForm{"PropertyAfterChild", "object F: TSampleForm\n  object A: TItem\n  end\n  Width = 3\nend\n", 4, "'end' expected"},
    BadForm{"BadSetMember", "object F: TSampleForm\n  Options = [opBold, opUnknown]\nend\n", 2, "opUnknown is not a value of TOptions"},
    BadForm{"IntegerTooBig", "object F: TSampleForm\n  Width = 4294967296\nend\n", 2, "4294967296 is out of range"},
    BadForm{"UnterminatedString", "object F: TSampleForm\n  Caption = 'open\nend\n", 2, "Unterminated string"},
    BadForm{"MissingEnd", "object F: TSampleForm\n  object A: TItem\n    Count = 1\n", 4, "'end' expected"},
    BadForm{"MissingEquals", "object F: TSampleForm\n\n  Width 3\nend\n", 3, "'=' expected"},
    BadForm{"OddBinary", "object F: TSampleForm\n  Data = {ABC}\nend\n", 2, "Invalid binary value"},
    BadForm{"DuplicateName", "object F: TSampleForm\n  object A: TItem\n  end\n  object A: TItem\n  end\nend\n", 4, "A component named A already exists"},
    BadForm{"DanglingReference", "object F: TSampleForm\n  object A: TItem\n    Buddy = Nobody\n  end\nend\n", 3, "Component Nobody not found"},
    BadForm{"UnknownMethod", "object F: TSampleForm\n  object A: TItem\n    OnChange = Missing\n  end\nend\n", 3, "Method Missing not found"},
    BadForm{"TrailingText", "object F: TSampleForm\nend\nobject G: TSampleForm\nend\n", 3, "Text after the end"}),
    [](const ::testing::TestParamInfo<BadForm>& info) { return std::string(info.param.Name); });

TEST(FormFile, LayoutResourcesLoadIntoAnExistingComponent)
{
    TPanelBox box(nullptr);
    ASSERT_TRUE(InitInheritedComponent(&box, &QWidget::staticMetaObject));
    EXPECT_EQ(box.Caption(), "from the layout");
    ASSERT_NE(box.FindComponent("Counter"), nullptr);
    EXPECT_EQ(dynamic_cast<TItem*>(box.FindComponent("Counter"))->Count(), 7);
    EXPECT_EQ(box.LoadedCalls, 1);

    TItem noLayout(nullptr);
    EXPECT_FALSE(InitInheritedComponent(&noLayout, &QObject::staticMetaObject));
}

TEST(FormFile, ExtendedValuesKeepEveryBitAndDeclaredDefaultsAreLeftOut)
{
    RegisterClass(ClassOf<Qvscontrols::TqvCalc>());
    TSampleForm form(nullptr);
    auto* calc = new Qvscontrols::TqvCalc(&form);
    calc->SetName("Calc");
    calc->SetRegisterANum(1.0L / 3.0L);
    calc->SetRegisterBNum(2.5L);
    const QString text = ComponentToText(&form);
    // 1/3 in 80 bits is 12297829382473034411 / 2^65 = 0.333333333333333333342 (21 digits,
    // worked out with Python's decimal module).
    EXPECT_TRUE(text.contains("    RegisterANum = 0.333333333333333333342\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("    RegisterBNum = 2.5\n"));
    EXPECT_FALSE(text.contains("PushResult")) << "PushResult is True, its declared default";

    calc->SetPushResult(false);
    TSampleForm copy(nullptr);
    TextToComponent(ComponentToText(&form), &copy);
    auto* read = dynamic_cast<Qvscontrols::TqvCalc*>(copy.FindComponent("Calc"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->RegisterANum(), 1.0L / 3.0L);
    EXPECT_EQ(read->RegisterBNum(), 2.5L);
    EXPECT_FALSE(read->PushResult());
}
