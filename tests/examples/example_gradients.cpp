// A gradient progress bar, drawn off screen and saved as a picture.
#include "gradient/qvgprg.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Qvgprg::TqvGradientProgress bar(nullptr);
    bar.SetBounds(0, 0, 200, 24);
    bar.SetPosition(60); // of 0..100
    const QImage picture = bar.grab().toImage();
    std::printf("%dx%d at %d%%\n", picture.width(), picture.height(), bar.Position());
    return picture.save(argc > 1 ? argv[1] : "progress.png") ? 0 : 1;
}
