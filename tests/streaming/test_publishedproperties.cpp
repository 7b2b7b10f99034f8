// Every class in the class registry, whoever registered it: its published properties
// set away from their defaults come back from a form file, and a fresh instance writes
// none of the properties that equal their declared defaults. A new class is covered
// as soon as it is registered.
#include "package/package.h"
#include "gradient/qvbgrad.h"
#include "support/testsupport.h"

#include "vcl/controls/forms.h"
#include "vcl/core/streams.h"
#include "vcl/graphics/bitmap.h"
#include "vcl/streaming/classregistry.h"
#include "vcl/streaming/formfile.h"
#include "vcl/streaming/propertyvalue.h"

#include <QMetaEnum>
#include <gtest/gtest.h>
#include <memory>

using namespace vcl;

namespace {

// An object whose published properties are read and written: a QObject or a gadget.
struct Holder {
    void* Ptr;
    const QMetaObject* Meta;
    bool Gadget;

    QVariant Read(const QMetaProperty& P) const
    {
        return Gadget ? P.readOnGadget(Ptr) : P.read(static_cast<QObject*>(Ptr));
    }
    bool Write(const QMetaProperty& P, const QVariant& V) const
    {
        return Gadget ? P.writeOnGadget(Ptr, V) : P.write(static_cast<QObject*>(Ptr), V);
    }
    // The gadget a gadget-pointer property points to, or a null Ptr.
    Holder GadgetAt(const QMetaProperty& P) const
    {
        const QVariant v = Read(P);
        void* gadget = v.constData() != nullptr ? *static_cast<void* const*>(v.constData()) : nullptr;
        return {gadget, P.metaType().metaObject(), true};
    }
};

Holder HolderOf(TComponent* Component)
{
    QObject* object = Component->AsQObject();
    return {object, object->metaObject(), false};
}

bool IsGadgetPointer(const QMetaProperty& P)
{
    return P.metaType().flags().testFlag(QMetaType::PointerToGadget);
}

// The declared default of P on Meta as a property value, or an invalid QVariant.
QVariant DeclaredDefault(const QMetaObject* Meta, const QMetaProperty& P)
{
    const int info = Meta->indexOfClassInfo(QByteArray("Default:") + P.name());
    if (info < 0)
        return {};
    return formfile::FromValue(P, formfile::ParseValue(QString::fromUtf8(Meta->classInfo(info).value())));
}

// The BMP image of one white pixel.
QByteArray OnePixelBmp()
{
    TBitmap b;
    b.SetSize(1, 1);
    TMemoryStream s;
    b.SaveToStream(s);
    return s.Bytes();
}

// A value of P's type other than Base: the next name of an enumeration, another set,
// another colour, the other Boolean, a larger number, a text naming the property.
QVariant OtherValue(const QMetaProperty& P, const QVariant& Base)
{
    if (P.isFlagType()) {
        const QMetaEnum e = P.enumerator();
        const int bit = e.value(0) != 0 ? e.value(0) : e.value(1);
        return Base.toInt() ^ bit;
    }
    if (P.isEnumType()) {
        const QMetaEnum e = P.enumerator();
        for (int i = 0; i < e.keyCount(); ++i)
            if (e.value(i) == Base.toInt())
                return e.value((i + 1) % e.keyCount());
        return e.value(0);
    }
    if (IsColorProperty(P))
        return QVariant::fromValue(TColor(Base.value<TColor>() == 0x123456 ? clRed : TColor(0x123456)));
    switch (P.metaType().id()) {
    case QMetaType::Bool:
        return !Base.toBool();
    case QMetaType::QString:
        return QStringLiteral("Text of %1").arg(QString::fromLatin1(P.name()));
    case QMetaType::QStringList:
        return QStringList{QStringLiteral("first"), QStringLiteral("second")};
    case QMetaType::QByteArray:
        // Published data are pictures (a bitmap's BMP image): a 1 x 1 one.
        if (qstrcmp(P.name(), "Data") == 0)
            return OnePixelBmp();
        return QByteArray("\x01\x02", 2);
    case QMetaType::Double: case QMetaType::Float:
        return Base.toDouble() + 0.5;
    default:
        break;
    }
    if (P.metaType() == QMetaType::fromType<long double>())
        return QVariant::fromValue(Base.value<long double>() + 0.25L);
    QVariant next = QVariant::fromValue(Base.toLongLong() + 7);
    return next.convert(P.metaType()) ? next : QVariant();
}

// Sets every writable published property of H away from its declared default (or its
// present value), recursing into gadgets such as fonts.
void SetAwayFromDefaults(const Holder& H)
{
    for (const QMetaProperty& p : PublishedProperties(H.Meta)) {
        if (IsGadgetPointer(p)) {
            if (Holder gadget = H.GadgetAt(p); gadget.Ptr != nullptr)
                SetAwayFromDefaults(gadget);
            continue;
        }
        // The name is the object line's; an aligned control's bounds follow its parent's
        // layout, which an AutoSize label and a reader reach in different orders.
        if (!p.isWritable() || qstrcmp(p.name(), "Name") == 0 || qstrcmp(p.name(), "Align") == 0
            || !formfile::IsPlainType(p))
            continue;
        const QVariant declared = DeclaredDefault(H.Meta, p);
        const QVariant other = OtherValue(p, declared.isValid() ? declared : H.Read(p));
        if (other.isValid())
            H.Write(p, other);
    }
}

// Every published value of Original equals that of Copy (gadgets property by property).
void ExpectSameProperties(const Holder& Original, const Holder& Copy, const QString& Path)
{
    for (const QMetaProperty& p : PublishedProperties(Original.Meta)) {
        const QString name = Path + QString::fromLatin1(p.name());
        if (IsGadgetPointer(p)) {
            const Holder a = Original.GadgetAt(p);
            const Holder b = Copy.GadgetAt(p);
            if (a.Ptr != nullptr && b.Ptr != nullptr)
                ExpectSameProperties(a, b, name + u'.');
        } else if (formfile::IsPlainType(p) && p.isWritable()) {
            // Read-only values are live facts (memory, processors), never streamed.
            const QVariant a = Original.Read(p);
            const QVariant b = Copy.Read(p);
            EXPECT_TRUE(a == b) << name.toStdString() << ": " << formfile::ValueText(p, a).toStdString()
                                << " came back as " << formfile::ValueText(p, b).toStdString();
        }
    }
}

// Every declared default of H is its value now (H is fresh), and none is in Node.
void ExpectDefaultsTrueAndUnwritten(const Holder& H, const formfile::Object& Node, const QString& Path)
{
    for (const QMetaProperty& p : PublishedProperties(H.Meta)) {
        const QString name = Path + QString::fromLatin1(p.name());
        if (IsGadgetPointer(p)) {
            if (Holder gadget = H.GadgetAt(p); gadget.Ptr != nullptr)
                ExpectDefaultsTrueAndUnwritten(gadget, Node, name + u'.');
            continue;
        }
        const QVariant declared = DeclaredDefault(H.Meta, p);
        if (!declared.isValid())
            continue;
        EXPECT_EQ(formfile::ValueText(p, H.Read(p)), formfile::ValueText(p, declared))
            << name.toStdString() << ": a fresh instance differs from the declared default";
        for (const formfile::Property& written : Node.Properties)
            EXPECT_NE(written.Name, name) << "a value equal to its declared default is written";
    }
}

// A form file holding a component of class Class: the component itself when it is a
// form, else a form with the component on it (named Subject).
struct Sample {
    std::unique_ptr<TComponent> Root;
    TComponent* Subject = nullptr;

    explicit Sample(TComponentClass Class)
    {
        if (Class->InheritsFrom(ClassOf<TCustomForm>())) {
            Root.reset(Class->Create(nullptr));
            Subject = Root.get();
        } else {
            Root = std::make_unique<TForm>(nullptr);
            Subject = Class->Create(Root.get());
            if (Subject->HasParent())
                Subject->SetParentComponent(Root.get());
        }
        Root->SetName(QStringLiteral("Root"));
        if (Subject != Root.get())
            Subject->SetName(QStringLiteral("Subject"));
    }

    static TComponent* SubjectOf(TComponent* Root)
    {
        TComponent* subject = Root->FindComponent(QStringLiteral("Subject"));
        return subject != nullptr ? subject : Root;
    }
};

class PublishedProperties : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Package::LoadPackage(); }
    static void TearDownTestSuite() { Package::UnloadPackage(); }

    static std::vector<TComponentClass> ConcreteClasses()
    {
        std::vector<TComponentClass> classes;
        for (TComponentClass c : RegisteredClasses())
            if (c->Create != nullptr)
                classes.push_back(c);
        return classes;
    }
};

} // namespace

TEST_F(PublishedProperties, EveryRegisteredClassComesBackFromAFormFileAwayFromItsDefaults)
{
    ASSERT_NE(GetClass(QStringLiteral("TqvBackGradient")), nullptr) << "the package's classes are registered";
    for (TComponentClass c : ConcreteClasses()) {
        SCOPED_TRACE(c->ClassName().toStdString());
        Sample sample(c);
        SetAwayFromDefaults(HolderOf(sample.Subject));
        const QString text = ComponentToText(sample.Root.get());
        std::unique_ptr<TComponent> copyRoot(TextToComponent(text, nullptr));
        TComponent* copy = Sample::SubjectOf(copyRoot.get());
        ASSERT_EQ(copy->AsQObject()->metaObject(), sample.Subject->AsQObject()->metaObject()) << text.toStdString();
        ExpectSameProperties(HolderOf(sample.Subject), HolderOf(copy), QString());
        EXPECT_EQ(ComponentToText(copyRoot.get()), text);
    }
}

TEST_F(PublishedProperties, AFreshInstanceHasItsDeclaredDefaultsAndWritesNoneOfThem)
{
    for (TComponentClass c : ConcreteClasses()) {
        SCOPED_TRACE(c->ClassName().toStdString());
        Sample sample(c);
        const formfile::Object tree = formfile::Parse(ComponentToText(sample.Root.get()));
        const formfile::Object& node = sample.Subject == sample.Root.get() ? tree : tree.Children.at(0);
        ExpectDefaultsTrueAndUnwritten(HolderOf(sample.Subject), node, QString());
    }
}

TEST_F(PublishedProperties, GradientFormFilesHoldNamesOldNumberFilesLoadAndBadStylesAreRefused)
{
    TForm form(nullptr);
    form.SetName(QStringLiteral("Form1"));
    const QString old = QStringLiteral(
        "object Form1: TForm\n"
        "  object Back: TqvBackGradient\n"
        "    BeginColor = 255\n"      // clRed as the number files used to hold
        "    GradientStyle = 6\n"     // qvRadial1
        "  end\n"
        "  object Bar: TqvGradientProgress\n"
        "    Color = -2147483633\n"   // $8000000F, clBtnFace
        "    Position = 40\n"
        "  end\n"
        "end\n");
    TextToComponent(old, &form);
    const QString text = ComponentToText(&form);
    EXPECT_TRUE(text.contains(QStringLiteral("    BeginColor = clRed\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("    GradientStyle = qvRadial1\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("    Color = clBtnFace\n"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("EndColor"))) << "clAqua is EndColor's default";

    // GradientStyle refuses unknown names and numbers out of range, naming the line.
    struct Case {
        const char* Value;
        const char* Message;
    };
    for (const Case& c : {Case{"qvDiagonal", "qvDiagonal is not a value of TGradientStyle"},
             Case{"8", "8 is out of the range of TGradientStyle"}, Case{"-1", "-1 is out of the range"}}) {
        SCOPED_TRACE(c.Value);
        TForm target(nullptr);
        const QString bad = QStringLiteral("object Form1: TForm\n  object Back: TqvBackGradient\n"
                                            "    Steps = 10\n    GradientStyle = %1\n  end\nend\n").arg(QString::fromLatin1(c.Value));
        try {
            TextToComponent(bad, &target);
            ADD_FAILURE() << "accepted";
        } catch (const EFormFileError& e) {
            EXPECT_EQ(e.Line(), 4);
            EXPECT_TRUE(e.Message().contains(QString::fromLatin1(c.Message))) << e.what();
        }
        EXPECT_EQ(target.ComponentCount(), 0);
    }
}

TEST_F(PublishedProperties, EventsBindByMethodNameAndAreWrittenBack)
{
    struct Form : TForm, IMethodProvider {
        using TForm::TForm;
        std::any MethodAddress(const QString& Name) const override
        {
            if (Name == QLatin1String("BarClick"))
                return TNotifyEvent([this](TObject*) { ++Clicks; });
            return {};
        }
        mutable int Clicks = 0;
    } form(nullptr);
    form.SetName(QStringLiteral("Form1"));
    const QString text = QStringLiteral("object Form1: TForm\n  object Bar: TqvGradientProgress\n"
                                        "    OnClick = BarClick\n  end\nend\n");
    TextToComponent(text, &form);
    auto* bar = dynamic_cast<TControl*>(form.FindComponent(QStringLiteral("Bar")));
    ASSERT_TRUE(bar != nullptr && bar->OnClick);
    bar->OnClick(bar);
    EXPECT_EQ(form.Clicks, 1);
    EXPECT_TRUE(ComponentToText(&form).contains(QStringLiteral("    OnClick = BarClick\n")));
    EXPECT_TRUE(PublishedEvents(bar->metaObject()).contains(QStringLiteral("OnMouseDown")));
    EXPECT_TRUE(PublishedEvents(&Qvbgrad::TqvBackGradient::staticMetaObject).isEmpty())
        << "the background gradient publishes no events";
}
