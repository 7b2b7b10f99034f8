#pragma once
// Composite boxes for the tests: a middle class with its own layout, a class derived
// from it with a second layout, and one whose layout is missing.
#include "layout/boxes.h"
#include "vcl/controls/timers.h"

namespace boxtest {

inline int& LiveBoxes()
{
    static int count = 0;
    return count;
}

class TTestMiddleBox : public Boxes::TBox {
    Q_OBJECT
public:
    explicit TTestMiddleBox(vcl::TComponent* AOwner) : TTestMiddleBox(AOwner, Boxes::TDeferLayout::Defer)
    {
        CreateLayout(this);
        FillFields();
    }
    ~TTestMiddleBox() override { --LiveBoxes(); }

    std::any MethodAddress(const QString& Name) const override
    {
        if (Name == QLatin1String("BoxCreate"))
            return vcl::TNotifyEvent([this](vcl::TObject*) { CreateEvents.push_back(Label1Caption()); });
        return {};
    }
    QString Label1Caption() const
    {
        auto* label = dynamic_cast<vcl::TLabel*>(FindComponent(QStringLiteral("Label1")));
        return label != nullptr ? label->Caption() : QString();
    }

    vcl::TLabel* Label1 = nullptr;
    vcl::TTimer* Timer1 = nullptr;
    mutable std::vector<QString> CreateEvents;

protected:
    TTestMiddleBox(vcl::TComponent* AOwner, Boxes::TDeferLayout) : TBox(AOwner) { ++LiveBoxes(); }
    void FillFields()
    {
        Label1 = LayoutField<vcl::TLabel>(this, "Label1");
        Timer1 = LayoutField<vcl::TTimer>(this, "Timer1");
    }
};

class TTestLeafBox : public TTestMiddleBox {
    Q_OBJECT
public:
    explicit TTestLeafBox(vcl::TComponent* AOwner) : TTestMiddleBox(AOwner, Boxes::TDeferLayout::Defer)
    {
        CreateLayout(this);
        FillFields();
        Label2 = LayoutField<vcl::TLabel>(this, "Label2");
    }

    std::any MethodAddress(const QString& Name) const override
    {
        if (Name == QLatin1String("Label2Click"))
            return vcl::TNotifyEvent([this](vcl::TObject*) { ++Label2Clicks; });
        return TTestMiddleBox::MethodAddress(Name);
    }

    vcl::TLabel* Label2 = nullptr;
    mutable int Label2Clicks = 0;
};

// No layout is stored for this class.
class TTestMissingBox : public Boxes::TBox {
    Q_OBJECT
public:
    explicit TTestMissingBox(vcl::TComponent* AOwner) : TBox(AOwner) { CreateLayout(this); }

private:
    // Members are destroyed also when the constructor fails, unlike the object itself.
    struct TCounted {
        TCounted() { ++LiveBoxes(); }
        ~TCounted() { --LiveBoxes(); }
        TCounted(const TCounted&) = delete;
        TCounted& operator=(const TCounted&) = delete;
    } FCounted;
};

} // namespace boxtest
