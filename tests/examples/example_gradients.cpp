// A gradient progress bar on a panel, drawn off screen and saved as a picture.
#include "gradient/qvgprg.h"

#include "vcl/controls/extctrls.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    vcl::TPanel panel(nullptr);
    panel.SetBounds(0, 0, 200, 24);
    auto* bar = new Qvgprg::TqvGradientProgress(&panel);
    bar->SetParent(&panel);
    bar->SetBounds(0, 0, 200, 24);
    bar->SetColorEnd(vcl::clLime); // the ramp runs from Color to ColorEnd
    bar->SetGradientBar(true);
    bar->SetPosition(60); // of 0..100
    const QImage picture = panel.grab().toImage();
    std::printf("%dx%d at %d%%\n", picture.width(), picture.height(), bar->Position());
    return picture.save(argc > 1 ? argv[1] : "progress.png") ? 0 : 1;
}
