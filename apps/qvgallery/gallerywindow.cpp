#include "gallerywindow.h"

#include "captionsample.h"
#include "designsurface.h"
#include "eventinspector.h"
#include "pagecaption.h"
#include "propertydelegate.h"
#include "propertyinspector.h"
#include "shelldemo.h"

#include "vcl/core/streams.h"
#include "vcl/streaming/formfile.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QSaveFile>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeView>
#include <QVBoxLayout>

namespace gallery {

namespace {
const QString AppTitle = QStringLiteral("QvKit Gallery");
const QString NoComponentsCaption = QStringLiteral("No components registered");
const QString FormFileFilter = QStringLiteral("Form files (*.qvform);;All files (*)");
// How long a message stays in the status bar.
constexpr int StatusMessageMs = 10000;
// The window's first size: room for a page of three columns and the inspector.
constexpr QSize InitialWindowSize(1180, 720);
constexpr int InspectorWidth = 340;

} // namespace

GalleryWindow::GalleryWindow(QWidget* Parent)
    : QMainWindow(Parent),
      FPages(new QTabWidget),
      FSelectionLabel(new QLabel),
      FInspectorView(new QTreeView),
      FInspector(new PropertyInspectorModel(this)),
      FEvents(new EventInspectorModel(this))
{
    TGalleryPage::Register();
    TCaptionSample::Register();

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&Open form..."), QKeySequence::Open, this, &GalleryWindow::OpenFormFromFile);
    file->addAction(QStringLiteral("&Save form..."), QKeySequence::Save, this, &GalleryWindow::SaveFormAs);
    file->addSeparator();
    file->addAction(QStringLiteral("E&xit"), QKeySequence::Quit, this, &QWidget::close);
    QMenu* demos = menuBar()->addMenu(QStringLiteral("&Demos"));
    demos->addAction(QStringLiteral("&Shell controls"), this, [this] { ShowShellControlsDemo(this); });

    auto* splitter = new QSplitter;
    splitter->addWidget(FPages);
    splitter->addWidget(BuildInspector());
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    splitter->setSizes({InitialWindowSize.width() - InspectorWidth, InspectorWidth});
    setCentralWidget(splitter);

    BuildPalettePages();
    connect(FPages, &QTabWidget::currentChanged, this, &GalleryWindow::ShowCurrentPage);
    SetCurrentPage(0);
    ShowCurrentPage();
    resize(InitialWindowSize);
}

// The selection's name above two tabs: its properties and its events.
QWidget* GalleryWindow::BuildInspector()
{
    FInspectorView->setModel(FInspector);
    FInspectorView->setItemDelegate(new PropertyDelegate(FInspectorView));
    FInspectorView->setAlternatingRowColors(true);
    FInspectorView->setEditTriggers(QAbstractItemView::AllEditTriggers);
    FInspectorView->header()->setSectionResizeMode(QHeaderView::Interactive);
    FInspectorView->header()->resizeSection(PropertyInspectorModel::NameColumn, 150);
    connect(FInspector, &PropertyInspectorModel::ErrorRaised, this, &GalleryWindow::ShowError);
    connect(FInspector, &QAbstractItemModel::modelReset, FInspectorView, &QTreeView::expandAll);
    connect(FInspectorView, &QTreeView::doubleClicked, FInspector, &PropertyInspectorModel::EditWithDialog);

    auto* eventsView = new QTreeView;
    eventsView->setModel(FEvents);
    eventsView->setRootIsDecorated(false);
    eventsView->setItemDelegate(new PropertyDelegate(eventsView));
    eventsView->setEditTriggers(QAbstractItemView::AllEditTriggers);
    connect(FEvents, &EventInspectorModel::ErrorRaised, this, &GalleryWindow::ShowError);
    connect(FEvents, &EventInspectorModel::Bound, this, &GalleryWindow::Modified);

    auto* inspectorTabs = new QTabWidget;
    inspectorTabs->addTab(FInspectorView, QStringLiteral("Properties"));
    inspectorTabs->addTab(eventsView, QStringLiteral("Events"));
    auto* inspectorPanel = new QWidget;
    auto* inspectorLayout = new QVBoxLayout(inspectorPanel);
    inspectorLayout->setContentsMargins(0, 0, 0, 0);
    inspectorLayout->addWidget(FSelectionLabel);
    inspectorLayout->addWidget(inspectorTabs);
    return inspectorPanel;
}

// The inspector's editors point into the pages' components: drop them first.
GalleryWindow::~GalleryWindow()
{
    FInspector->SetComponent(nullptr, nullptr);
    FEvents->SetComponent(nullptr, nullptr);
}

void GalleryWindow::BuildPalettePages()
{
    std::vector<QString> problems;
    for (const vcl::TPalettePage& page : vcl::PalettePages())
        AddSurface(DesignSurface::CreatePalettePage(page, problems), page.Caption);
    if (FPages->count() == 0) {
        auto* notice = new QLabel(QStringLiteral("No components registered.\n\nThe palette is empty: no registration procedure placed a class on a page."));
        notice->setAlignment(Qt::AlignCenter);
        notice->setAutoFillBackground(true);
        const int index = FPages->addTab(notice, NoComponentsCaption);
        FPages->tabBar()->setTabData(index, NoComponentsCaption);
    }
    if (!problems.empty())
        ShowError(QStringList(problems.begin(), problems.end()).join(QStringLiteral("; ")));
}

DesignSurface* GalleryWindow::AddSurface(TGalleryPage* Root, const QString& Caption)
{
    auto* surface = new DesignSurface(Root, this);
    Root->OnMethodCalled = [this](const QString& Call) { statusBar()->showMessage(Call, StatusMessageMs); };
    surface->OnError = [this](const QString& Message) { ShowError(Message); };
    connect(surface, &DesignSurface::SelectionChanged, this, [this, surface](vcl::TComponent* Component) {
        if (surface == CurrentSurface())
            ShowSelection(Component);
    });
    // Tab texts keep the caption as registered: the tab bar shows "&&" as "&" itself.
    const int index = FPages->addTab(surface, Caption);
    FPages->tabBar()->setTabData(index, Caption);
    surface->Select(Root);
    return surface;
}

vcl::TComponent* GalleryWindow::GetRoot()
{
    DesignSurface* surface = CurrentSurface();
    return surface != nullptr ? surface->Root() : nullptr;
}

QString GalleryWindow::UniqueName(const QString& BaseName)
{
    return vcl::DefaultUniqueName(GetRoot(), BaseName);
}

void GalleryWindow::SelectComponent(vcl::TComponent* Instance)
{
    for (int i = 0; i < PageCount(); ++i) {
        DesignSurface* surface = Surface(i);
        if (surface != nullptr && Instance != nullptr && (Instance == surface->Root() || Instance->Owner() == surface->Root())) {
            SetCurrentPage(i);
            surface->Refresh();
            surface->Select(Instance);
            return;
        }
    }
}

void GalleryWindow::Modified()
{
    DesignSurface* surface = CurrentSurface();
    if (surface == nullptr)
        return;
    surface->SetModified(true);
    surface->Refresh();
    FInspector->RefreshValues();
    UpdateTitle();
}

int GalleryWindow::PageCount() const
{
    return FPages->count();
}

QString GalleryWindow::PageCaption(int Index) const
{
    return FPages->tabBar()->tabData(Index).toString();
}

DesignSurface* GalleryWindow::Surface(int Index) const
{
    return qobject_cast<DesignSurface*>(FPages->widget(Index));
}

QWidget* GalleryWindow::PageContent(int Index) const
{
    DesignSurface* surface = Surface(Index);
    return surface != nullptr ? surface->Root() : FPages->widget(Index);
}

DesignSurface* GalleryWindow::CurrentSurface() const
{
    return qobject_cast<DesignSurface*>(FPages->currentWidget());
}

void GalleryWindow::SetCurrentPage(int Index)
{
    FPages->setCurrentIndex(Index);
}

void GalleryWindow::SaveForm(const QString& FileName)
{
    DesignSurface* surface = CurrentSurface();
    if (surface == nullptr)
        throw vcl::EWriteError(QStringLiteral("This page holds no form to save"));
    vcl::TMemoryStream stream;
    vcl::WriteComponent(stream, surface->Root());
    // Written to a temporary file that replaces the old one only when complete.
    QSaveFile file(FileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(stream.Bytes()) != stream.Bytes().size() || !file.commit())
        throw vcl::EWriteError(QStringLiteral("Cannot write %1: %2").arg(FileName, file.errorString()));
    surface->SetModified(false);
    UpdateTitle();
}

DesignSurface* GalleryWindow::OpenForm(const QString& FileName)
{
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly))
        throw vcl::EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, file.errorString()));
    vcl::TMemoryStream stream(file.readAll());
    auto root = std::make_unique<TGalleryPage>(nullptr);
    root->SetDesigning(true);
    vcl::ReadComponent(stream, root.get());
    DesignSurface* surface = AddSurface(root.release(), QFileInfo(FileName).completeBaseName());
    SetCurrentPage(FPages->indexOf(surface));
    return surface;
}

void GalleryWindow::ShowCurrentPage()
{
    DesignSurface* surface = CurrentSurface();
    ShowSelection(surface != nullptr ? surface->Selected() : nullptr);
    UpdateTitle();
}

void GalleryWindow::ShowSelection(vcl::TComponent* Component)
{
    FInspector->SetComponent(Component, this);
    FEvents->SetComponent(Component, GetRoot());
    FSelectionLabel->setText(Component != nullptr ? QStringLiteral("%1: %2").arg(Component->Name(), Component->ClassName()) : QString());
}

void GalleryWindow::UpdateTitle()
{
    QString title = AppTitle;
    const int index = FPages->currentIndex();
    if (index >= 0)
        title += QStringLiteral(" - ") + DisplayCaption(PageCaption(index));
    DesignSurface* surface = CurrentSurface();
    if (surface != nullptr && surface->IsModified())
        title += QStringLiteral(" *");
    setWindowTitle(title);
}

void GalleryWindow::ShowError(const QString& Message)
{
    statusBar()->showMessage(Message, StatusMessageMs);
}

void GalleryWindow::SaveFormAs()
{
    if (CurrentSurface() == nullptr) {
        ShowError(QStringLiteral("This page holds no form to save"));
        return;
    }
    const QString fileName = QFileDialog::getSaveFileName(this, QStringLiteral("Save form"),
        PageFileName(PageCaption(FPages->currentIndex())) + QStringLiteral(".qvform"), FormFileFilter);
    if (fileName.isEmpty())
        return;
    try {
        SaveForm(fileName);
        statusBar()->showMessage(QStringLiteral("Saved %1").arg(fileName), StatusMessageMs);
    } catch (const vcl::Exception& e) {
        QMessageBox::warning(this, QStringLiteral("Save form"), e.Message());
    }
}

void GalleryWindow::OpenFormFromFile()
{
    const QString fileName = QFileDialog::getOpenFileName(this, QStringLiteral("Open form"), QString(), FormFileFilter);
    if (fileName.isEmpty())
        return;
    try {
        OpenForm(fileName);
    } catch (const vcl::Exception& e) {
        QMessageBox::warning(this, QStringLiteral("Open form"), e.Message());
    }
}

} // namespace gallery
