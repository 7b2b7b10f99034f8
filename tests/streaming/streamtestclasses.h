#pragma once
// Components with every kind of published property, for the form-file tests.
#include "vcl/core/classes.h"
#include "vcl/core/strings.h"
#include "vcl/graphics/colors.h"
#include "vcl/streaming/formfile.h"

#include <QObject>
#include <QStringList>
#include <QWidget>
#include <map>

namespace streamtest {

// Counts live test components, so that tests can see that a failed read freed all.
inline int& LiveCount()
{
    static int count = 0;
    return count;
}

// A value object reached through a pointer (like a font).
class TCaptionFont {
    Q_GADGET
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(int Size READ Size WRITE SetSize)
    Q_CLASSINFO("Default:Size", "8")
public:
    const QString& Name() const { return FName; }
    void SetName(const QString& v) { FName = v; }
    int Size() const { return FSize; }
    void SetSize(int v) { FSize = v; }

private:
    QString FName;
    int FSize = 8;
};

// A persistent QObject that is not a component (like a nested text object).
class TNote : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE SetText)
public:
    const QString& Text() const { return FText; }
    void SetText(const QString& v) { FText = v; }

private:
    QString FText;
};

class TItem : public QObject, public vcl::TComponent {
    Q_OBJECT
    Q_PROPERTY(int Count READ Count WRITE SetCount)
    Q_PROPERTY(QObject* Buddy READ Buddy WRITE SetBuddy)
public:
    explicit TItem(vcl::TComponent* AOwner) : TComponent(AOwner) { ++LiveCount(); }
    ~TItem() override { --LiveCount(); }
    int Count() const { return FCount; }
    void SetCount(int v) { FCount = v; }
    QObject* Buddy() const { return FBuddy; }
    void SetBuddy(QObject* v) { FBuddy = v; }
    void Loaded() override
    {
        ++LoadedCalls;
        TComponent::Loaded();
    }
    int LoadedCalls = 0;
    vcl::TNotifyEvent OnChange;

private:
    int FCount = 0;
    QObject* FBuddy = nullptr;
};

class TPanelBox : public QWidget, public vcl::TComponent {
    Q_OBJECT
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(vcl::TColor Color READ Color WRITE SetColor)
    Q_CLASSINFO("Default:Color", "clBtnFace")
public:
    explicit TPanelBox(vcl::TComponent* AOwner) : TComponent(AOwner) { ++LiveCount(); }
    ~TPanelBox() override { --LiveCount(); }
    int Left() const { return FLeft; }
    void SetLeft(int v) { FLeft = v; }
    const QString& Caption() const { return FCaption; }
    void SetCaption(const QString& v) { FCaption = v; }
    vcl::TColor Color() const { return FColor; }
    void SetColor(vcl::TColor v) { FColor = v; }
    void Loaded() override
    {
        ++LoadedCalls;
        TComponent::Loaded();
    }
    int LoadedCalls = 0;

private:
    int FLeft = 0;
    QString FCaption;
    vcl::TColor FColor = vcl::clBtnFace;
};

// The root: a form-like component with every property kind and handlers by name.
class TSampleForm : public QWidget, public vcl::TComponent, public vcl::IMethodProvider {
    Q_OBJECT
public:
    enum TAlignment { taLeftJustify, taRightJustify, taCenter };
    Q_ENUM(TAlignment)
    enum TOption { opBold = 1, opItalic = 2, opBoxed = 4 };
    Q_DECLARE_FLAGS(TOptions, TOption)
    Q_FLAG(TOptions)

private:
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(bool Active READ Active WRITE SetActive)
    Q_PROPERTY(TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(TOptions Options READ Options WRITE SetOptions)
    Q_PROPERTY(vcl::TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(double Ratio READ Ratio WRITE SetRatio)
    Q_PROPERTY(QStringList Tags READ Tags WRITE SetTags)
    Q_PROPERTY(vcl::TStrings* Lines READ Lines)
    Q_PROPERTY(QByteArray Data READ Data WRITE SetData)
    Q_PROPERTY(streamtest::TCaptionFont* Font READ Font)
    Q_PROPERTY(streamtest::TNote* Note READ Note)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint STORED false)
    Q_CLASSINFO("Default:Width", "100")
    Q_CLASSINFO("Default:Alignment", "taLeftJustify")

public:
    explicit TSampleForm(vcl::TComponent* AOwner) : TComponent(AOwner) { ++LiveCount(); }
    ~TSampleForm() override
    {
        DestroyComponents();
        --LiveCount();
    }

    const QString& Caption() const { return FCaption; }
    void SetCaption(const QString& v)
    {
        FCaption = v;
        CaptionSetWhileLoading = ComponentState().testFlag(vcl::csLoading);
    }
    int Width() const { return FWidth; }
    void SetWidth(int v) { FWidth = v; }
    bool Active() const { return FActive; }
    void SetActive(bool v) { FActive = v; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v) { FAlignment = v; }
    TOptions Options() const { return FOptions; }
    void SetOptions(TOptions v) { FOptions = v; }
    vcl::TColor Color() const { return FColor; }
    void SetColor(vcl::TColor v) { FColor = v; }
    double Ratio() const { return FRatio; }
    void SetRatio(double v) { FRatio = v; }
    const QStringList& Tags() const { return FTags; }
    void SetTags(const QStringList& v) { FTags = v; }
    vcl::TStrings* Lines() { return &FLines; }
    const QByteArray& Data() const { return FData; }
    void SetData(const QByteArray& v) { FData = v; }
    TCaptionFont* Font() { return &FFont; }
    TNote* Note() { return &FNote; }
    const QString& Hint() const { return FHint; }
    void SetHint(const QString& v) { FHint = v; }

    void Loaded() override
    {
        ++LoadedCalls;
        TComponent::Loaded();
    }

    std::any MethodAddress(const QString& Name) const override
    {
        auto it = Methods.find(Name);
        return it == Methods.end() ? std::any() : it->second;
    }

    std::map<QString, std::any> Methods;
    int LoadedCalls = 0;
    bool CaptionSetWhileLoading = false;

private:
    QString FCaption;
    int FWidth = 100;
    bool FActive = false;
    TAlignment FAlignment = taLeftJustify;
    TOptions FOptions;
    vcl::TColor FColor = 0;
    double FRatio = 0;
    QStringList FTags;
    vcl::TStringList FLines;
    QByteArray FData;
    TCaptionFont FFont;
    TNote FNote;
    QString FHint;
};

} // namespace streamtest
