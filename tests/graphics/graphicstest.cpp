#include "graphicstest.h"

#include <QProcess>

using namespace vcl;

namespace graphicstest {

std::unique_ptr<TBitmap> FilledBitmap(int Width, int Height, TColor Color)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(Width, Height);
    bitmap->Canvas()->Brush()->SetColor(Color);
    bitmap->Canvas()->FillRect(Rect(0, 0, Width, Height));
    return bitmap;
}

std::unique_ptr<vcl::TBitmap> RandomBitmap(std::mt19937& Rng, int Width, int Height, vcl::TPixelFormat Format)
{
    static const vcl::TColor colours[] = {vcl::clLime, vcl::clBlack, vcl::clWhite, vcl::clRed, vcl::RGB(1, 2, 3),
        vcl::RGB(200, 100, 50)};
    auto bmp = FilledBitmap(Width, Height, vcl::clWhite);
    bmp->SetPixelFormat(Format);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            bmp->Canvas()->SetPixels(x, y, colours[Rng() % 6]);
    return bmp;
}

std::vector<std::string> Picture(TBitmap& Bitmap, const std::vector<std::pair<TColor, char>>& Legend)
{
    std::vector<std::string> rows;
    for (int y = 0; y < Bitmap.Height(); ++y) {
        std::string row;
        for (int x = 0; x < Bitmap.Width(); ++x) {
            const TColor c = Bitmap.Canvas()->Pixels(x, y);
            char ch = '?';
            for (const auto& [colour, symbol] : Legend)
                if (ColorToRGB(colour) == c)
                    ch = symbol;
            row += ch;
        }
        rows.push_back(row);
    }
    return rows;
}

int RunPython(const QString& Dir, const QString& Script)
{
    QProcess process;
    process.setWorkingDirectory(Dir);
    process.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), Script});
    if (!process.waitForFinished(30000))
        return -1;
    return process.exitCode();
}

} // namespace graphicstest
