#pragma once
// The drawing tools of a canvas: pen, brush and font, each a persistent object that
// reports its changes.
#include "vcl/core/classes.h"
#include "vcl/graphics/colors.h"

#include <QFlags>
#include <QFont>
#include <QObject>
#include <QString>

namespace vcl {

class TBitmap;

// Base of the drawing tools: OnChange fires after every change that alters the tool.
class TGraphicsObject : public TPersistent {
public:
    TNotifyEvent OnChange;

protected:
    virtual void Changed();
};

// The enumerations and sets the drawing tools publish, in a namespace of their own
// (one meta-object per header) brought into vcl by the using-directive.
namespace Graphics {
Q_NAMESPACE

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
Q_ENUM_NS(TPenStyle)
// How pen pixels combine with the pixels below (the platform's binary raster operations).
enum TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
Q_ENUM_NS(TPenMode)
enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
Q_ENUM_NS(TBrushStyle)
enum TFontStyle { fsBold = 0x1, fsItalic = 0x2, fsUnderline = 0x4, fsStrikeOut = 0x8 };
Q_DECLARE_FLAGS(TFontStyles, TFontStyle)
Q_FLAG_NS(TFontStyles)
enum TFontPitch { fpDefault, fpVariable, fpFixed };
Q_ENUM_NS(TFontPitch)

} // namespace Graphics
using namespace Graphics;
Q_DECLARE_OPERATORS_FOR_FLAGS(TFontStyles)

class TPen : public TGraphicsObject {
    Q_GADGET
    Q_PROPERTY(vcl::TColor Color READ Color WRITE SetColor)
    Q_CLASSINFO("Default:Color", "clBlack")
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_CLASSINFO("Default:Width", "1")
    Q_PROPERTY(vcl::Graphics::TPenStyle Style READ Style WRITE SetStyle)
    Q_CLASSINFO("Default:Style", "psSolid")
    Q_PROPERTY(vcl::Graphics::TPenMode Mode READ Mode WRITE SetMode)
    Q_CLASSINFO("Default:Mode", "pmCopy")
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    int Width() const { return FWidth; }
    // Widths below 1 are taken as 1.
    void SetWidth(int Value);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle Value);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode Value);

    void Assign(const TPersistent* Source) override;

private:
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
};

class TBrush : public TGraphicsObject {
    Q_GADGET
    Q_PROPERTY(vcl::TColor Color READ Color WRITE SetColor)
    Q_CLASSINFO("Default:Color", "clWhite")
    Q_PROPERTY(vcl::Graphics::TBrushStyle Style READ Style WRITE SetStyle)
    Q_CLASSINFO("Default:Style", "bsSolid")
public:
    TColor Color() const { return FColor; }
    // Setting a colour makes a clear brush solid, as the platform's brushes do.
    void SetColor(TColor Value);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle Value);
    // A pattern bitmap (its top-left 8x8 pixels are tiled); the brush does not own it.
    TBitmap* Bitmap() const { return FBitmap; }
    void SetBitmap(TBitmap* Value);

    void Assign(const TPersistent* Source) override;

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    TBitmap* FBitmap = nullptr;
};

constexpr int DEFAULT_CHARSET = 1;

// A font: name, size in points or height in pixels, style, colour and pitch.
// Height is the platform's: negative for the character height, positive for the cell
// height including internal leading. Size and Height convert at PixelsPerInch.
class TFont : public TGraphicsObject {
    Q_GADGET
    // Size follows from Height, so only Height is stored.
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(int Size READ Size WRITE SetSize STORED false)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(vcl::TColor Color READ Color WRITE SetColor)
    Q_CLASSINFO("Default:Color", "clWindowText")
    Q_PROPERTY(vcl::Graphics::TFontStyles Style READ Style WRITE SetStyle)
    Q_CLASSINFO("Default:Style", "[]")
    Q_PROPERTY(vcl::Graphics::TFontPitch Pitch READ Pitch WRITE SetPitch)
    Q_CLASSINFO("Default:Pitch", "fpDefault")
    Q_PROPERTY(int Charset READ Charset WRITE SetCharset)
    Q_CLASSINFO("Default:Charset", "1")
public:
    // Screen resolution used for points-to-pixels conversions.
    static constexpr int ScreenPixelsPerInch = 96;
    static QString DefaultName();

    TFont();

    const QString& Name() const { return FName; }
    void SetName(const QString& Value);
    int Size() const;
    void SetSize(int Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles Value);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch Value);
    int Charset() const { return FCharset; }
    void SetCharset(int Value);
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int Value);

    void Assign(const TPersistent* Source) override;

    // The Qt font that draws like this font (antialiasing off, so text pixels are
    // the same on every run).
    QFont ToQFont() const;
    // A font with the name, pixel height, style and pitch of a Qt font.
    void AssignQFont(const QFont& Font);

private:
    QString FName;
    int FHeight;
    TColor FColor = clWindowText;
    TFontStyles FStyle;
    TFontPitch FPitch = fpDefault;
    int FCharset = DEFAULT_CHARSET;
    int FPixelsPerInch = ScreenPixelsPerInch;
};

// The Qt font for a platform font description (shared by TFont and the GDI fonts).
// Height follows the platform's sign rule.
QFont MakeQFont(const QString& Name, int Height, bool Bold, bool Italic, bool Underline, bool StrikeOut,
    TFontPitch Pitch);

} // namespace vcl
