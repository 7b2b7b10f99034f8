// DrawFrameControl's buttons, check boxes, radio buttons and scroll arrows, checked
// pixel for pixel against pictures drawn by hand. The system colours are made distinct
// for the test, so every pixel shows which colour the drawing chose.
#include "graphicstest.h"

#include "vcl/graphics/canvas.h"
#include "vcl/graphics/framecontrol.h"

#include <gtest/gtest.h>

using namespace vcl;
using graphicstest::FilledBitmap;
using graphicstest::Picture;
using Rows = std::vector<std::string>;

namespace {

const TColor Background = RGB(9, 9, 9);

const std::vector<std::pair<TColor, char>> Legend = {{Background, '.'}, {RGB(200, 200, 200), 'f'},
    {RGB(128, 128, 128), 's'}, {RGB(255, 255, 255), 'h'}, {RGB(0, 0, 0), 'd'}, {RGB(220, 220, 220), 'l'},
    {RGB(250, 250, 240), 'w'}, {RGB(0, 0, 128), 't'}, {RGB(128, 0, 0), 'k'}};

class FrameControls : public ::testing::Test {
protected:
    void SetUp() override
    {
        TSysColorTable table = SysColors();
        table[COLOR_BTNFACE] = RGB(200, 200, 200);
        table[COLOR_BTNSHADOW] = RGB(128, 128, 128);
        table[COLOR_BTNHIGHLIGHT] = RGB(255, 255, 255);
        table[COLOR_3DDKSHADOW] = RGB(0, 0, 0);
        table[COLOR_3DLIGHT] = RGB(220, 220, 220);
        table[COLOR_WINDOW] = RGB(250, 250, 240);
        table[COLOR_WINDOWTEXT] = RGB(0, 0, 128);
        table[COLOR_BTNTEXT] = RGB(128, 0, 0);
        SetSysColors(table);
    }
    void TearDown() override { ResetSysColors(); }
};

struct FrameCase {
    const char* Name;
    UINT Type;
    UINT State;
    Rows Expected; // its size is the rectangle drawn in
};

const std::vector<FrameCase>& Cases()
{
    static const std::vector<FrameCase> cases = {
        {"push button: raised soft edge", DFC_BUTTON, DFCS_BUTTONPUSH,
            {"hhhhhd", "hlllsd", "hlffsd", "hssssd", "dddddd"}},
        {"push button pushed: sunken soft edge", DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED,
            {"dddddh", "dssslh", "dsfflh", "dllllh", "hhhhhh"}},
        {"check box checked, in the square at the left", DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED,
            {"ssssssssssssh..", "sddddddddddlh..", "sdwwwwwwwwwlh..", "sdwwwwwwwtwlh..", "sdwwwwwwttwlh..",
                "sdwtwwwtttwlh..", "sdwttwtttwwlh..", "sdwtttttwwwlh..", "sdwwtttwwwwlh..", "sdwwwtwwwwwlh..",
                "sdwwwwwwwwwlh..", "slllllllllllh..", "hhhhhhhhhhhhh.."}},
        {"three-state box: grey tick on the face when pushed", DFC_BUTTON,
            DFCS_BUTTON3STATE | DFCS_CHECKED | DFCS_PUSHED,
            {"ssssssssssssh", "sddddddddddlh", "sdffffffffflh", "sdfffffffsflh", "sdffffffssflh", "sdfsfffsssflh",
                "sdfssfsssfflh", "sdfsssssffflh", "sdffsssfffflh", "sdfffsffffflh", "sdffffffffflh", "slllllllllllh",
                "hhhhhhhhhhhhh"}},
        {"small check box: the tick stays inside", DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED,
            {"ssssssh", "sddddlh", "sdwwtlh", "sdwttlh", "sdtttlh", "slllllh", "hhhhhhh"}},
        {"radio button checked", DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED,
            {"....ssss....", "..ssddddss..", ".sddwwwwdlh.", ".sdwwwwwwlh.", "sdwwwttwwwlh", "sdwwttttwwlh",
                "sdwwttttwwlh", "sdwwwttwwwlh", ".sdwwwwwwlh.", ".sllwwwwllh.", "..hhllllhh..", "....hhhh...."}},
        {"scroll down: 4-row arrow centred", DFC_SCROLL, DFCS_SCROLLDOWN,
            {"llllllllllllllld", "lhhhhhhhhhhhhhsd", "lhffffffffffffsd", "lhffffffffffffsd", "lhffffffffffffsd",
                "lhffffffffffffsd", "lhffkkkkkkkfffsd", "lhfffkkkkkffffsd", "lhffffkkkfffffsd", "lhfffffkffffffsd",
                "lhffffffffffffsd", "lhffffffffffffsd", "lhffffffffffffsd", "lhffffffffffffsd", "lssssssssssssssd",
                "dddddddddddddddd"}},
        {"scroll right pushed: flat frame, arrow one pixel on", DFC_SCROLL, DFCS_SCROLLRIGHT | DFCS_PUSHED,
            {"ssssssss", "sffffffs", "sffffffs", "sfffkffs", "sfffkkfs", "sfffkffs", "sffffffs", "ssssssss"}},
        {"combo arrow inactive: embossed", DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_INACTIVE,
            {"lllllllld", "lhhhhhhsd", "lhfffffsd", "lhfsssfsd", "lhffshhsd", "lhfffhfsd", "lsssssssd", "ddddddddd"}},
    };
    return cases;
}

} // namespace

TEST_F(FrameControls, EachKindAndStateDrawsItsClassicPictureWithinTheClipAndUnknownKindsAreRefused)
{
    for (const FrameCase& c : Cases()) {
        SCOPED_TRACE(c.Name);
        const int width = int(c.Expected[0].size()), height = int(c.Expected.size());
        auto bmp = FilledBitmap(width, height, Background);
        EXPECT_TRUE(DrawFrameControl(bmp->Canvas()->Handle(), Rect(0, 0, width, height), c.Type, c.State));
        EXPECT_EQ(Picture(*bmp, Legend), c.Expected);
    }
    // Drawing keeps to the clip, and unknown kinds are refused.
    auto clipped = FilledBitmap(6, 5, Background);
    HDC dc = clipped->Canvas()->Handle();
    IntersectClipRect(dc, 0, 0, 3, 5);
    EXPECT_TRUE(DrawFrameControl(dc, Rect(0, 0, 6, 5), DFC_BUTTON, DFCS_BUTTONPUSH));
    EXPECT_EQ(Picture(*clipped, Legend), (Rows{"hhh...", "hll...", "hlf...", "hss...", "ddd..."}));

    const Rows untouched = Picture(*clipped, Legend);
    EXPECT_FALSE(DrawFrameControl(dc, Rect(0, 0, 6, 5), 2, 0));                      // menu glyphs: not offered
    EXPECT_FALSE(DrawFrameControl(dc, Rect(0, 0, 6, 5), DFC_SCROLL, 8));             // size grip
    EXPECT_FALSE(DrawFrameControl(dc, Rect(0, 0, 6, 5), DFC_CAPTION, 5));            // no such caption button
    EXPECT_FALSE(DrawFrameControl(nullptr, Rect(0, 0, 6, 5), DFC_BUTTON, DFCS_BUTTONPUSH));
    EXPECT_EQ(Picture(*clipped, Legend), untouched);
}
