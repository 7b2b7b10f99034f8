#pragma once
// Qvgprg: TqvGradientProgress, a windowless progress bar drawn as a row of 10-pixel
// blocks that either all take Color or run through a ramp from Color to ColorEnd.
// Growing the position draws only the blocks; shrinking it repaints the control.
#include "vcl/controls/controls.h"

namespace Qvgprg {

using vcl::TColor;

// A windowless progress bar drawn as a row of blocks, all in Color or along a ramp
// from Color to ColorEnd.
class TqvGradientProgress : public vcl::TGraphicControl {
    Q_OBJECT
    Q_PROPERTY(int Min READ Min WRITE SetMin)
    Q_CLASSINFO("Default:Min", "0")
    Q_PROPERTY(int Max READ Max WRITE SetMax)
    Q_CLASSINFO("Default:Max", "100")
    Q_PROPERTY(int Position READ Position WRITE SetPosition)
    Q_CLASSINFO("Default:Position", "0")
    Q_PROPERTY(int Step READ Step WRITE SetStep)
    Q_CLASSINFO("Default:Step", "10")
    // Color (inherited) is the control's own from the start: clHighlight, not the parent's.
    Q_CLASSINFO("Default:Color", "clHighlight")
    Q_CLASSINFO("Default:ParentColor", "False")
    Q_PROPERTY(vcl::TColor ColorEnd READ ColorEnd WRITE SetColorEnd)
    Q_CLASSINFO("Default:ColorEnd", "clBtnFace")
    Q_PROPERTY(bool GradientBar READ GradientBar WRITE SetGradientBar)
    Q_CLASSINFO("Default:GradientBar", "True")
    Q_PROPERTY(bool Solid READ Solid WRITE SetSolid)
    Q_CLASSINFO("Default:Solid", "False")
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_CLASSINFO("Default:Transparent", "False")
    Q_PROPERTY(vcl::TColor BackgroundColor READ BackgroundColor WRITE SetBackgroundColor)
    Q_CLASSINFO("Default:BackgroundColor", "clBtnFace")
    Q_PROPERTY(vcl::TColor FrameColor1 READ FrameColor1 WRITE SetFrameColor1)
    Q_CLASSINFO("Default:FrameColor1", "clBtnShadow")
    Q_PROPERTY(vcl::TColor FrameColor2 READ FrameColor2 WRITE SetFrameColor2)
    Q_CLASSINFO("Default:FrameColor2", "clBtnHighlight")

public:
    // Block sizes in pixels.
    enum BlockMetrics {
        BlockPitch = 10, // one block and its gap
        GapBlockWidth = 8, // a block when Solid is off
        FrameInset = 2, // blocks start this far inside the frame
    };
    static constexpr int DefaultWidth = 150; // The size of a new bar, in pixels.
    static constexpr int DefaultHeight = 16; // (see DefaultWidth)
    static const QString RangeError; // The error message shown when a negative Min, Max, Position or Step is refused.

    // Creates the bar (0 to 100), owned (and freed) by AOwner.
    explicit TqvGradientProgress(vcl::TComponent* AOwner);

    // The lower end of the range; a negative value is refused with RangeError.
    int Min() const { return FMin; }
    void SetMin(int Value);
    // The upper end of the range; a negative value is refused with RangeError.
    int Max() const { return FMax; }
    void SetMax(int Value);
    // The position; a negative value is refused with RangeError.
    int Position() const { return FPosition; }
    void SetPosition(int Value);
    // What StepIt adds; a negative value is refused with RangeError.
    int Step() const { return FStep; }
    void SetStep(int Value);
    // Advances by Step; past Max it starts again at Min + Step.
    void StepIt();

    // Color (inherited) starts the ramp and colours every block without GradientBar.
    TColor ColorEnd() const { return FColorEnd; }
    void SetColorEnd(TColor Value);
    // Runs the blocks along the ramp from Color to ColorEnd; else every block takes Color.
    bool GradientBar() const { return FGradientBar; }
    void SetGradientBar(bool Value);
    // Draws the blocks without gaps.
    bool Solid() const { return FSolid; }
    void SetSolid(bool Value);
    // Leaves the background to the parent instead of filling it with BackgroundColor.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    // The colour behind the blocks.
    TColor BackgroundColor() const { return FBackgroundColor; }
    void SetBackgroundColor(TColor Value);
    // The frame's left and top lines.
    TColor FrameColor1() const { return FFrameColor1; }
    void SetFrameColor1(TColor Value);
    // The frame's right and bottom lines.
    TColor FrameColor2() const { return FFrameColor2; }
    void SetFrameColor2(TColor Value);

    // Index of the last block drawn for the current position (-1: none).
    int LastBlock() const;
    // The colour of block Index on the ramp.
    TColor BlockColor(int Index) const;

protected:
    void Paint() override;

private:
    // False (after telling the user) for a negative value.
    static bool Accepts(int Value);
    void DrawBlocks();
    void DrawBlock(int Index);
    // Draws the blocks over what is shown, into the back buffer and without erasing
    // (a growing position); the next full paint draws the rest.
    void RepaintBlocks();

    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FStep = 10;
    TColor FColorEnd = vcl::clBtnFace;
    bool FGradientBar = true;
    bool FSolid = false;
    bool FTransparent = false;
    TColor FBackgroundColor = vcl::clBtnFace;
    TColor FFrameColor1 = vcl::clBtnShadow;
    TColor FFrameColor2 = vcl::clBtnHighlight;
    int FPreviousPosition = 0;
};

} // namespace Qvgprg
