#pragma once
// Components and an editor registered on a test palette page.
#include "vcl/controls/controls.h"
#include "vcl/graphics/canvas.h"
#include "vcl/streaming/designintf.h"

#include <QObject>
#include <vector>

namespace gallerytest {

// Counts live test components, so that tests can see that a failed read freed all.
inline int& LiveCount()
{
    static int count = 0;
    return count;
}

// A value object reached through a pointer, unfolded as sub-properties.
class TBorder {
    Q_GADGET
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(QString Style READ Style WRITE SetStyle)
public:
    int Width() const { return FWidth; }
    void SetWidth(int v) { FWidth = v; }
    const QString& Style() const { return FStyle; }
    void SetStyle(const QString& v) { FStyle = v; }

private:
    int FWidth = 1;
    QString FStyle = QStringLiteral("solid");
};

// A control that paints itself pure red, so pictures of a page can be checked.
class TRedBox : public vcl::TCustomControl {
    Q_OBJECT
    Q_PROPERTY(int Level READ Level WRITE SetLevel)
public:
    explicit TRedBox(vcl::TComponent* AOwner) : TCustomControl(AOwner)
    {
        ++LiveCount();
        SetBounds(0, 0, 90, 30);
    }
    ~TRedBox() override { --LiveCount(); }
    int Level() const { return FLevel; }
    void SetLevel(int v) { FLevel = v; }

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(vcl::clRed);
        Canvas()->FillRect(ClientRect());
    }

private:
    int FLevel = 0;
};

// A non-visual component with every kind of property the inspector shows.
class TTicker : public QObject, public vcl::TComponent {
    Q_OBJECT
    Q_PROPERTY(int Interval READ Interval WRITE SetInterval)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(TMode Mode READ Mode WRITE SetMode)
    Q_PROPERTY(int Ticks READ Ticks)
    Q_PROPERTY(gallerytest::TBorder* Border READ Border)
public:
    enum TMode { tmOnce, tmRepeat, tmBurst };
    Q_ENUM(TMode)

    explicit TTicker(vcl::TComponent* AOwner) : TComponent(AOwner) { ++LiveCount(); }
    ~TTicker() override { --LiveCount(); }
    int Interval() const { return FInterval; }
    void SetInterval(int v) { FInterval = v; }
    const QString& Caption() const { return FCaption; }
    void SetCaption(const QString& v) { FCaption = v; }
    TMode Mode() const { return FMode; }
    void SetMode(TMode v) { FMode = v; }
    int Ticks() const { return 7; }
    TBorder* Border() { return &FBorder; }

private:
    int FInterval = 100;
    QString FCaption;
    TMode FMode = tmOnce;
    TBorder FBorder;
};

// A class that cannot be created: abstract.
class TAbstractPart : public QObject, public vcl::TComponent {
    Q_OBJECT
public:
    explicit TAbstractPart(vcl::TComponent* AOwner) : TComponent(AOwner) {}
    virtual void Run() = 0;
};

// A class whose constructor fails.
class TFailingPart : public QObject, public vcl::TComponent {
    Q_OBJECT
public:
    explicit TFailingPart(vcl::TComponent* AOwner) : TComponent(AOwner)
    {
        throw vcl::EComponentError(QStringLiteral("no device"));
    }
};

// The ticker's component editor: two verbs, each recorded when run.
class TTickerEditor : public vcl::TComponentEditor {
public:
    using TComponentEditor::TComponentEditor;
    static std::vector<std::pair<vcl::TComponent*, int>>& Executed()
    {
        static std::vector<std::pair<vcl::TComponent*, int>> executed;
        return executed;
    }
    int GetVerbCount() override { return 2; }
    QString GetVerb(int Index) override { return Index == 0 ? QStringLiteral("&Start Ticker") : QStringLiteral("Reset Ticks"); }
    void ExecuteVerb(int Index) override { Executed().emplace_back(Component(), Index); }
};

} // namespace gallerytest
