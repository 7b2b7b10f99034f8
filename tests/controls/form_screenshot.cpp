// Shows a form on the X display in $DISPLAY, grabs what the display shows of it and
// saves it as a PNG. The form holds a background gradient and a gradient progress bar,
// or with "views" a report-view list and a tree, both with icons.
// Usage: form_screenshot OUTPUT.png [views]
#include "gradient/qvbgrad.h"
#include "gradient/qvgprg.h"
#include "support/screenshot.h"
#include "vcl/controls/forms.h"
#include "vcl/controls/listview.h"
#include "vcl/controls/treeview.h"

namespace {

void AddGradients(vcl::TForm& form)
{
    form.SetCaption(QStringLiteral("QvKit gradients"));
    auto* background = new Qvbgrad::TqvBackGradient(&form);
    background->SetParent(&form);
    background->SetAlign(vcl::alClient);
    background->SetCtl3D(true);

    auto* progress = new Qvgprg::TqvGradientProgress(&form);
    progress->SetParent(&form);
    progress->SetAlign(vcl::alBottom);
    progress->SetPosition(60);
}

// A list of five rows and a tree of a folder with three files; the images are a
// solid red square (0) and a solid blue one (1).
void AddViews(vcl::TForm& form)
{
    form.SetCaption(QStringLiteral("QvKit views"));
    auto* images = new vcl::TImageList(16, 16, &form);
    for (const QColor colour : {QColor(255, 0, 0), QColor(0, 0, 255)}) {
        QImage square(16, 16, QImage::Format_ARGB32);
        square.fill(colour);
        images->AddImage(square);
    }
    auto* list = new vcl::TListView(&form);
    list->SetParent(&form);
    list->SetBounds(0, 0, 220, 216);
    list->SetViewStyle(vcl::vsReport);
    list->SetSmallImages(images);
    for (const char* caption : {"Name", "Size"}) {
        vcl::TListColumn* column = list->Columns()->Add();
        column->SetCaption(QString::fromLatin1(caption));
        column->SetWidth(100);
    }
    for (int i = 0; i < 5; ++i) {
        vcl::TListItem* item = list->Items()->Add();
        item->SetCaption(QStringLiteral("file%1.txt").arg(i));
        item->SubItems().Add(QStringLiteral("%1 KB").arg(i + 1));
        item->SetImageIndex(0);
    }
    auto* tree = new vcl::TTreeView(&form);
    tree->SetParent(&form);
    tree->SetBounds(224, 0, 128, 216);
    tree->SetImages(images);
    vcl::TTreeNode* folder = tree->Items()->Add(nullptr, QStringLiteral("folder"));
    folder->SetImageIndex(1);
    for (int i = 0; i < 3; ++i)
        tree->Items()->AddChild(folder, QStringLiteral("file%1").arg(i))->SetImageIndex(1);
    folder->Expand(false);
}

} // namespace

int main(int argc, char** argv)
{
    return qvtest::ScreenshotMain(argc, argv, "form_screenshot", [](vcl::TForm& form, const QStringList& args) {
        form.SetBounds(40, 30, 360, 240);
        if (args.contains(QStringLiteral("views")))
            AddViews(form);
        else
            AddGradients(form);
    });
}
