// The file list view on folders the tests build: its texts in each language, the ten
// sort orders, the attribute filter, link rows, the pop-up menu, the companions and
// thumbnails. Expected texts are those of the language tables, typed in below; orders
// are worked out by hand from the sample folder's sizes, times and names.
#include "controls/waituntil.h"
#include "filelisttestfolder.h"
#include "files/qvfilelistmenu.h"
#include "files/qvfilelistview.h"
#include "files/qvthumbnails.h"
#include "platform/shell/shellfileinfo.h"
#include "platform/shell/systemimagelist.h"
#include "support/testsupport.h"
#include "vcl/controls/forms.h"

#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

using namespace Qvfilectrls;

namespace {

struct TLanguageTexts {
    TFileViewLanguage Language;
    std::vector<const char*> Texts; // column captions 11-15, then the menu items 41-75
};
const TLanguageTexts LanguageTexts[] = {
#include "languagetexts.inc"
};
// The menu items in the order of their texts in LanguageTexts.
const char* const MenuItemNames[] = {"SubMenuView", "ItemViewIcon", "ItemViewSmal", "ItemViewList", "ItemViewRepr",
    "ItemViewBrow", "SubMenuBrow", "ItemBrowMask", "SubMenuSort", "ItemSortName", "ItemSortSize", "ItemSortType",
    "ItemSortDate", "ItemSortAttr", "SubMenuSend", "ItemOpDelete", "ItemOpRename", "ItemOpFolder", "SubMenuOpen"};

class FileListView : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FFolder.IsValid());
        FForm.SetBounds(0, 0, 640, 400);
        FList = new TqvFileListView(&FForm);
        FList->SetParent(&FForm);
        FList->SetBounds(0, 0, 600, 360);
        FList->SetLanguage(lnEnglish);
    }

    QStringList Captions() const
    {
        QStringList captions;
        for (int i = 0; i < FList->Items()->Count(); ++i)
            captions << FList->Items()->Item(i)->Caption();
        return captions;
    }
    vcl::TListItem* Row(const QString& Caption) const
    {
        for (int i = 0; i < FList->Items()->Count(); ++i)
            if (FList->Items()->Item(i)->Caption() == Caption)
                return FList->Items()->Item(i);
        return nullptr;
    }
    vcl::TMenuItem* MenuItem(const char* Name) const
    {
        return dynamic_cast<vcl::TMenuItem*>(FList->FileMenu()->FindComponent(QString::fromLatin1(Name)));
    }

    qvtest::TFileListFolder FFolder;
    vcl::TForm FForm{nullptr};
    TqvFileListView* FList = nullptr;
};

} // namespace

TEST_F(FileListView, ColumnsAndMenuInEachLanguageAndEnglishForOthers)
{
    for (const TLanguageTexts& language : LanguageTexts) {
        SCOPED_TRACE(language.Language);
        FList->SetLanguage(language.Language);
        ASSERT_EQ(FList->Columns()->Count(), 5);
        for (int c = 0; c < 5; ++c)
            EXPECT_EQ(FList->Columns()->Items(c)->Caption(), QString::fromUtf8(language.Texts[c]));
        for (size_t m = 0; m < std::size(MenuItemNames); ++m) {
            vcl::TMenuItem* item = MenuItem(MenuItemNames[m]);
            ASSERT_NE(item, nullptr) << MenuItemNames[m];
            EXPECT_EQ(item->Caption(), QString::fromUtf8(language.Texts[5 + m])) << MenuItemNames[m];
        }
        EXPECT_EQ(MenuItem("ItemBrow1616")->Caption(), QStringLiteral(" &16 x 16"));
        EXPECT_EQ(MenuItem("ItemBrow128x")->Caption(), QStringLiteral("&128 x 128"));
    }
    // Report columns: widths and alignments.
    const int widths[] = {135, 60, 125, 120, 50};
    const vcl::TAlignment aligns[]
        = {vcl::taLeftJustify, vcl::taRightJustify, vcl::taLeftJustify, vcl::taLeftJustify, vcl::taRightJustify};
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(FList->Columns()->Items(c)->Width(), widths[c]);
        EXPECT_EQ(FList->Columns()->Items(c)->Alignment(), aligns[c]);
    }
    // A system language without a table shows English.
    const QByteArray saved = qgetenv("LC_ALL");
    qputenv("LC_ALL", "ja_JP.UTF-8");
    FList->SetLanguage(lnSystemDefault);
    qputenv("LC_ALL", saved);
    EXPECT_EQ(FList->TextBase(), 900);
    EXPECT_EQ(FList->Columns()->Items(0)->Caption(), QStringLiteral("Name"));
    EXPECT_EQ(MenuItem("ItemOpDelete")->Caption(), QStringLiteral("&Delete"));
}

TEST_F(FileListView, RowsCarrySizesTimesAndAttributes)
{
    FList->SetDirectory(FFolder.Path());
    ASSERT_EQ(FList->Items()->Count(), 7);
    vcl::TListItem* b = Row(QStringLiteral("b.txt"));
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->SubItems().Strings(fcSize), QStringLiteral("1,234"));
    EXPECT_EQ(b->SubItems().Strings(fcAttr), QStringLiteral(" "));
    EXPECT_EQ(b->SubItems().Strings(fcFileName), QStringLiteral("b.txt"));
    EXPECT_EQ(b->SubItems().Strings(fcDate), DateText(QDateTime({2020, 1, 2}, {12, 0}, Qt::UTC)));
    EXPECT_FALSE(b->SubItems().Strings(fcDate).isEmpty());
    EXPECT_EQ(Row(QStringLiteral("big.bin"))->SubItems().Strings(fcSize), QStringLiteral("5,000,000,000"));
    EXPECT_EQ(Row(QStringLiteral("c.dat"))->SubItems().Strings(fcSize), QStringLiteral(" "));
    EXPECT_EQ(Row(QStringLiteral("c.dat"))->SubItems().Strings(fcAttr), QStringLiteral("r "));
    EXPECT_EQ(Row(QStringLiteral(".hidden"))->SubItems().Strings(fcAttr), QStringLiteral("h "));
    EXPECT_EQ(Row(QStringLiteral("alpha"))->SubItems().Strings(fcAttr), QStringLiteral("d "));
    // 10 + 987 + 1234 + 0 + 5,000,000,000
    EXPECT_EQ(FList->TotalSize(), 5'000'002'231);
}

TEST_F(FileListView, EverySortOrderWithFoldersFirst)
{
    FList->SetDirectory(FFolder.Path());
    const QStringList filesByName{".hidden", "A.log", "b.txt", "big.bin", "c.dat"};
    const QStringList filesBySize{"c.dat", ".hidden", "A.log", "b.txt", "big.bin"};
    const QStringList filesByDate{".hidden", "A.log", "b.txt", "c.dat", "big.bin"}; // newest first
    const auto reversed = [](QStringList list) {
        std::reverse(list.begin(), list.end());
        return list;
    };
    const struct {
        TSortedBy By;
        QStringList Folders; // empty: folders tie under this key
        QStringList Files;
    } orders[] = {
        {sbName, {"alpha", "Beta"}, filesByName},
        {sbNameInv, {"Beta", "alpha"}, reversed(filesByName)},
        {sbSize, {}, filesBySize},
        {sbSizeInv, {}, reversed(filesBySize)},
        {sbDate, {"alpha", "Beta"}, filesByDate},
        {sbDateInv, {"Beta", "alpha"}, reversed(filesByDate)},
    };
    for (const auto& order : orders) {
        SCOPED_TRACE(order.By);
        FList->SetSortedBy(order.By);
        const QStringList rows = Captions();
        ASSERT_EQ(rows.size(), 7);
        EXPECT_EQ(QSet<QString>(rows.begin(), rows.begin() + 2), (QSet<QString>{"alpha", "Beta"}));
        if (!order.Folders.isEmpty()) {
            EXPECT_EQ(rows.mid(0, 2), order.Folders);
        }
        EXPECT_EQ(rows.mid(2), order.Files);
    }
    // Attributes: " " (three files) < "h " < "r ", reversed by sbAttrInv; types in the
    // order of their names, compared without case.
    for (TSortedBy by : {sbAttr, sbAttrInv, sbType, sbTypeInv}) {
        SCOPED_TRACE(by);
        FList->SetSortedBy(by);
        const int column = by % SortKeyCount == sbAttr ? fcAttr : fcType;
        const int sign = by >= SortKeyCount ? -1 : 1;
        for (int i = 3; i < FList->Items()->Count(); ++i) {
            const QString prev = FList->Items()->Item(i - 1)->SubItems().Strings(column);
            const QString next = FList->Items()->Item(i)->SubItems().Strings(column);
            EXPECT_LE(sign * QString::compare(prev, next, Qt::CaseInsensitive), 0) << prev.toStdString();
        }
    }
    FList->SetSortedBy(sbAttr);
    EXPECT_EQ(Captions().mid(5), (QStringList{".hidden", "c.dat"}));
    FList->SetSortedBy(sbAttrInv);
    EXPECT_EQ(Captions().mid(2, 2), (QStringList{"c.dat", ".hidden"}));
}

TEST_F(FileListView, ColumnClicksSortAndToggle)
{
    FList->SetViewIconStyle(visReport);
    FList->SetDirectory(FFolder.Path());
    FForm.Show();
    auto* report = qobject_cast<QTreeView*>(FList->View());
    ASSERT_NE(report, nullptr);
    QHeaderView* header = report->header();
    ASSERT_TRUE(WaitUntil([&] { return header->isVisible(); }));
    const auto click = [&](int section) {
        const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    };
    const struct {
        int Section;
        TSortedBy Expected;
    } clicks[] = {{1, sbSize}, {1, sbSizeInv}, {1, sbSize}, {3, sbDate}, {3, sbDateInv}, {0, sbName}};
    for (const auto& c : clicks) {
        click(c.Section);
        EXPECT_EQ(FList->SortedBy(), c.Expected) << c.Section;
    }
}

TEST_F(FileListView, HiddenAndReadOnlyFilesOnlyWhileAllowed)
{
    FList->SetDirectory(FFolder.Path());
    EXPECT_NE(Row(QStringLiteral(".hidden")), nullptr);
    FList->SetFileViewType(TFileListViewAttrs(flvReadOnly) | flvSystem);
    EXPECT_EQ(Row(QStringLiteral(".hidden")), nullptr);
    EXPECT_NE(Row(QStringLiteral("c.dat")), nullptr);
    FList->SetFileViewType(TFileListViewAttrs(flvHidden));
    EXPECT_NE(Row(QStringLiteral(".hidden")), nullptr);
    EXPECT_EQ(Row(QStringLiteral("c.dat")), nullptr);
    FList->SetMask(QStringLiteral("*.txt;*.log"));
    EXPECT_EQ(Captions(), (QStringList{"alpha", "Beta", "A.log", "b.txt"}));
    // While reading is off, nothing changes.
    FList->SetReadEnabled(false);
    FList->SetMask(QStringLiteral("*.bin"));
    EXPECT_EQ(FList->Items()->Count(), 4);
}

TEST_F(FileListView, ShortcutShowsLAndKeepsItsTarget)
{
    ASSERT_TRUE(QFile::link(FFolder.File("b.txt"), FFolder.File("short.txt")));
    FList->SetDirectory(FFolder.Path());
    vcl::TListItem* link = Row(QStringLiteral("short.txt"));
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->SubItems().Strings(fcAttr), QStringLiteral("L"));
    ASSERT_EQ(link->SubItems().Count(), 6);
    EXPECT_EQ(link->SubItems().Strings(fcLinkTarget), FFolder.File("b.txt"));
    EXPECT_EQ(Row(QStringLiteral("b.txt"))->SubItems().Count(), 5);
}

TEST_F(FileListView, PopupMenuChoosesAndShowsTheStateAndNewFoldersTakeTheLanguagesName)
{
    FList->SetDirectory(FFolder.Path());
    vcl::TPopupMenu::SetResponder([this](vcl::TPopupMenu*, int, int) { return MenuItem("ItemSortDate"); });
    FList->FileMenu()->Popup(10, 10);
    EXPECT_EQ(FList->SortedBy(), sbDate);
    // The checks show the state when the menu opens.
    vcl::TPopupMenu::SetResponder([](vcl::TPopupMenu*, int, int) { return nullptr; });
    FList->FileMenu()->Popup(10, 10);
    EXPECT_TRUE(MenuItem("ItemSortDate")->Checked());
    EXPECT_FALSE(MenuItem("ItemSortName")->Checked());
    EXPECT_FALSE(MenuItem("ItemOpDelete")->Enabled()); // nothing selected
    vcl::TPopupMenu::SetResponder([this](vcl::TPopupMenu*, int, int) { return MenuItem("ItemViewRepr"); });
    int viewChanges = 0;
    FList->OnViewChange = [&](vcl::TObject*) { ++viewChanges; };
    FList->FileMenu()->Popup(10, 10);
    vcl::TPopupMenu::SetResponder(nullptr);
    EXPECT_EQ(FList->ViewIconStyle(), visReport);
    EXPECT_EQ(FList->ViewStyle(), vcl::vsReport);
    EXPECT_EQ(viewChanges, 1);
    FList->SetPoPupImageBrowserEnabled(false);
    EXPECT_EQ(FList->PopupMenu(), nullptr);

    // A new folder takes the language's name and is numbered.
    FList->SetLanguage(lnItalian);
    FList->MenuAction(QStringLiteral("ItemOpFolder"));
    FList->MenuAction(QStringLiteral("ItemOpFolder"));
    EXPECT_TRUE(QFileInfo(FFolder.File("Nuova Cartella")).isDir());
    EXPECT_TRUE(QFileInfo(FFolder.File("Nuova Cartella (2)")).isDir());
}

TEST_F(FileListView, CompanionsFollowTheList)
{
    auto* combo = new TqvFolderCombo(&FForm);
    combo->SetParent(&FForm);
    auto* edit = new TqvFilenameEdit(&FForm);
    edit->SetParent(&FForm);
    FList->SetDirCombo(combo);
    FList->SetFileEdit(edit);
    QStringList changes;
    FList->OnDirectoryChange = [&](vcl::TObject*, const QString& Old, const QString& New, bool CanGoBack) {
        changes << Old + "|" + New + "|" + (CanGoBack ? "back" : "-");
    };
    FList->SetDirectory(FFolder.Path());
    const QString alpha = FFolder.File("alpha");
    FList->SetDirectory(alpha);
    ASSERT_GE(combo->ItemIndex(), 0);
    EXPECT_EQ(combo->Paths()[combo->ItemIndex()], QDir(alpha).absolutePath());
    EXPECT_TRUE(combo->Items()->Strings(combo->ItemIndex()).trimmed() == QStringLiteral("alpha"));
    EXPECT_TRUE(combo->Paths().contains(QDir(FFolder.Path()).absolutePath()));
    FList->GoBack();
    EXPECT_EQ(FList->Directory(), FFolder.Path());
    EXPECT_EQ(changes, (QStringList{"|" + FFolder.Path() + "|-", FFolder.Path() + "|" + alpha + "|back",
                           alpha + "|" + FFolder.Path() + "|-"}));
    QString selected;
    FList->OnFileSelect = [&](vcl::TObject*, const QString& Path) { selected = Path; };
    FList->SetSelected(Row(QStringLiteral("b.txt")));
    EXPECT_EQ(edit->Text(), QStringLiteral("b.txt"));
    EXPECT_EQ(edit->FileName(), FFolder.File("b.txt"));
    EXPECT_EQ(selected, FFolder.File("b.txt"));
    delete combo;
    EXPECT_EQ(FList->DirCombo(), nullptr);
}

TEST(Thumbnails, DecodedPicturesAndFailures)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage red(100, 50, QImage::Format_RGB32);
    red.fill(qRgb(255, 0, 0));
    ASSERT_TRUE(red.save(dir.filePath("red.png")));
    QImage blue(8, 8, QImage::Format_RGB32);
    blue.fill(qRgb(0, 0, 255));
    ASSERT_TRUE(blue.save(dir.filePath("blue.bmp"))); // read by the library's BMP reader
    qvtest::WriteFile(dir.filePath("bad.gif"), "GIF89a\x05\x00garbage");
    qvtest::WriteFile(dir.filePath("bad.png"), "\x89PNG\r\n\x1a\n broken");
    qvtest::WriteFile(dir.filePath("empty.bmp"), "");

    // 100 x 50 into 32 x 32: 32 x 16, rows 8..23.
    const QImage png = DecodeThumbnail(dir.filePath("red.png"), 32);
    ASSERT_EQ(png.size(), QSize(32, 32));
    EXPECT_EQ(png.pixel(16, 16), qRgb(255, 0, 0));
    EXPECT_EQ(qAlpha(png.pixel(16, 3)), 0);
    // 8 x 8 is not enlarged: pixels 12..19.
    const QImage bmp = DecodeThumbnail(dir.filePath("blue.bmp"), 32);
    ASSERT_EQ(bmp.size(), QSize(32, 32));
    EXPECT_EQ(bmp.pixel(12, 12), qRgb(0, 0, 255));
    EXPECT_EQ(qAlpha(bmp.pixel(11, 11)), 0);
    for (const char* name : {"bad.gif", "bad.png", "empty.bmp", "missing.gif"})
        EXPECT_TRUE(DecodeThumbnail(dir.filePath(name), 32).isNull()) << name;
    EXPECT_TRUE(IsPictureFile("a.PCX"));
    EXPECT_FALSE(IsPictureFile("a.txt"));
}

TEST_F(FileListView, CorruptPictureKeepsItsTypeIcon)
{
    QImage red(40, 40, QImage::Format_RGB32);
    red.fill(qRgb(255, 0, 0));
    ASSERT_TRUE(red.save(FFolder.File("good.png")));
    qvtest::WriteFile(FFolder.File("bad.gif"), "GIF89a\x05\x00garbage");
    FList->SetViewIconStyle(visBrowseImage);
    FList->SetMaskBrowseImage(true);
    FList->SetDirectory(FFolder.Path());
    EXPECT_EQ(Captions(), (QStringList{"alpha", "Beta", "bad.gif", "good.png"}));
    ASSERT_TRUE(WaitUntil([&] { return !FList->ThumbnailsPending(); }));
    vcl::TCustomImageList* thumbnails = FList->LargeImages();
    ASSERT_EQ(thumbnails->Width(), 32);
    const QImage good = thumbnails->ToQImage(Row(QStringLiteral("good.png"))->ImageIndex());
    EXPECT_EQ(good.pixel(16, 16) | 0xFF000000u, qRgb(255, 0, 0));
    // The corrupt picture shows the system's large icon for its type.
    using namespace platform::shell;
    SHFILEINFO info;
    ASSERT_NE(SHGetFileInfo(FFolder.File("bad.gif").toUtf8().constData(), 0, &info, sizeof info,
                  SHGFI_SYSICONINDEX | SHGFI_LARGEICON),
        0u);
    const QImage icon = TSystemImageList::Large().Image(info.iIcon).toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage bad = thumbnails->ToQImage(Row(QStringLiteral("bad.gif"))->ImageIndex()).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(icon.size(), QSize(32, 32));
    EXPECT_EQ(bad, icon);
    EXPECT_NE(bad.pixel(16, 16), good.pixel(16, 16));
}
