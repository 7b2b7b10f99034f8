#include "demofiller.h"

#include "files/qvfilelistview.h"
#include "utilities/qvlinkparser.h"
#include "utilities/qvmemobrowser.h"
#include "vcl/controls/treeview.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <QPainter>

#include <fcntl.h>
#include <sys/stat.h>
#include <ctime>

namespace {

constexpr int DemoRows = 300;
constexpr int DemoFolders = 30;
constexpr int DemoFilesPerFolder = 10;

// Two 16x16 pictures drawn here: a folder (0) and a page (1), and a small arrow as
// overlay 0; owned by Owner, so not written to the page's form file.
vcl::TImageList* DemoImages(vcl::TComponent* Owner)
{
    auto* images = new vcl::TImageList(16, 16, Owner);
    QImage folder(16, 16, QImage::Format_ARGB32);
    folder.fill(Qt::transparent);
    QPainter(&folder).fillRect(1, 4, 14, 10, QColor(230, 190, 60));
    QImage page(16, 16, QImage::Format_ARGB32);
    page.fill(Qt::transparent);
    QPainter pagePainter(&page);
    pagePainter.fillRect(3, 1, 10, 14, Qt::white);
    pagePainter.setPen(QColor(60, 60, 160));
    pagePainter.drawRect(3, 1, 9, 13);
    pagePainter.end();
    QImage arrow(16, 16, QImage::Format_ARGB32);
    arrow.fill(Qt::transparent);
    QPainter(&arrow).fillRect(0, 11, 5, 5, QColor(20, 120, 20));
    images->AddImage(folder);
    images->AddImage(page);
    images->Overlay(images->AddImage(arrow), 0);
    return images;
}

void FillList(vcl::TCustomListView* List)
{
    vcl::TImageList* images = DemoImages(List);
    List->SetSmallImages(images);
    List->SetLargeImages(images);
    for (const char* caption : {"Name", "Size", "Type"}) {
        vcl::TListColumn* column = List->Columns()->Add();
        column->SetCaption(QString::fromLatin1(caption));
        column->SetWidth(90);
    }
    List->Columns()->Items(1)->SetAlignment(vcl::taRightJustify);
    List->Items()->BeginUpdate();
    for (int i = 0; i < DemoRows; ++i) {
        vcl::TListItem* item = List->Items()->Add();
        const bool folder = i % 10 == 0;
        item->SetCaption(folder ? QStringLiteral("Folder %1").arg(i / 10) : QStringLiteral("file%1.txt").arg(i));
        item->SubItems().Add(folder ? QString() : QStringLiteral("%1 KB").arg(i * 37 % 900 + 1));
        item->SubItems().Add(folder ? QStringLiteral("Folder") : QStringLiteral("Text document"));
        item->SetImageIndex(folder ? 0 : 1);
        if (i % 7 == 3)
            item->SetOverlayIndex(0);
    }
    List->Items()->EndUpdate();
}

void FillTree(vcl::TCustomTreeView* Tree)
{
    Tree->SetImages(DemoImages(Tree));
    vcl::TTreeNodes* nodes = Tree->Items();
    nodes->BeginUpdate();
    for (int f = 0; f < DemoFolders; ++f) {
        vcl::TTreeNode* folder = nodes->Add(nullptr, QStringLiteral("Folder %1").arg(f));
        folder->SetImageIndex(0);
        folder->SetSelectedIndex(0);
        for (int i = 0; i < DemoFilesPerFolder; ++i) {
            vcl::TTreeNode* file = nodes->AddChild(folder, QStringLiteral("file%1.txt").arg(i));
            file->SetImageIndex(1);
            file->SetSelectedIndex(1);
        }
    }
    nodes->EndUpdate();
    nodes->GetFirstNode()->Expand(false);
}

// The documents the page's editors open and the link parser reads.
const std::pair<const char*, const char*> SampleDocuments[] = {
    {"welcome.txt",
        "Welcome to the QvKit gallery.\n\nEach page holds the components of one palette page,\n"
        "live and in design state: select one to see its\nproperties, right-click it for its verbs.\n"},
    {"release notes.txt",
        "Release notes\n=============\n\n* Gradient captions paint in the form's title bar.\n"
        "* Splitter windows keep their panes in forms.\n* The FTP browser lists folders as they arrive.\n"},
    {"links.html",
        "<html><body><h1>Links</h1><ul>\n<li><a href=\"https://www.qt.io/\">Qt</a></li>\n"
        "<li><a href=\"https://www.debian.org/\">Debian</a></li>\n<li><a href=\"welcome.txt\">Welcome</a></li>\n"
        "<li><a href=\"mailto:gallery@example.org\">Write to us</a></li>\n</ul></body></html>\n"},
};

// Sets Path's modification and access times to SampleTime, so that the pages show the
// same times in every run (and their pictures stay the same for the same code).
void SetSampleTime(const QString& Path)
{
    // 15 January 2026, 09:30 UTC.
    constexpr time_t SampleTime = 1768469400;
    const timespec times[2] = {{SampleTime, 0}, {SampleTime, 0}};
    ::utimensat(AT_FDCWD, QFile::encodeName(Path).constData(), times, 0);
}

// A folder of sample files made once per run and removed at exit, so that a file list
// on a page never shows the user's own files. The folder shown is "Sample Files" inside
// the temporary one, so its name is the same in every run.
QString SampleFolder()
{
    static QTemporaryDir parent;
    static const QString folder = parent.filePath(QStringLiteral("Sample Files"));
    static const bool filled = [] {
        QDir().mkpath(folder);
        const QDir dir(folder);
        const std::pair<const char*, qint64> files[]
            = {{"readme.txt", 1234}, {"notes.log", 987}, {"report.pdf", 48'500}, {"archive.zip", 5'000'000}};
        for (const auto& [name, size] : files) {
            QFile file(dir.filePath(QString::fromLatin1(name)));
            if (file.open(QIODevice::WriteOnly))
                file.resize(size);
        }
        for (const auto& [name, text] : SampleDocuments) {
            QFile file(dir.filePath(QString::fromLatin1(name)));
            if (file.open(QIODevice::WriteOnly))
                file.write(text);
        }
        QImage picture(48, 32, QImage::Format_RGB32);
        picture.fill(QColor(40, 110, 200));
        const bool saved = picture.save(dir.filePath(QStringLiteral("picture.png")));
        dir.mkdir(QStringLiteral("Documents"));
        dir.mkdir(QStringLiteral("Pictures"));
        for (const QString& entry : dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
            SetSampleTime(dir.filePath(entry));
        SetSampleTime(folder);
        return saved;
    }();
    (void)filled;
    return folder;
}

} // namespace

void FillDemoViews(vcl::TComponent* Root)
{
    const QDir samples(SampleFolder());
    for (int i = 0; i < Root->ComponentCount(); ++i) {
        vcl::TComponent* component = Root->Components(i);
        if (auto* files = dynamic_cast<Qvfilectrls::TqvFileListView*>(component))
            files->SetDirectory(samples.path());
        else if (auto* editor = dynamic_cast<Qvmemobrowser::TqvMemoEdTab*>(component))
            editor->AddNewFile(samples.filePath(QString::fromLatin1(SampleDocuments[0].first)), false);
        else if (auto* rich = dynamic_cast<Qvedtabbase::TqvCustomEdTab*>(component))
            rich->AddNewFile(samples.filePath(QString::fromLatin1(SampleDocuments[1].first)), false);
        else if (auto* parser = dynamic_cast<Qvlinkparser::TqvLinkParser*>(component)) {
            parser->SetFileName(samples.filePath(QString::fromLatin1(SampleDocuments[2].first)));
            parser->Parse();
        }
        else if (auto* list = dynamic_cast<vcl::TCustomListView*>(component); list && list->Items()->Count() == 0)
            FillList(list);
        else if (auto* tree = dynamic_cast<vcl::TCustomTreeView*>(component); tree && tree->Items()->Count() == 0)
            FillTree(tree);
    }
}
