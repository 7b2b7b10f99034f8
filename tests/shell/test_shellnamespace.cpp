// The namespace on a tree each test builds in its own temporary home: parsing and
// binding, enumeration, display names, attributes, ordering, renaming, special folders
// and file information. Expected values come from how the test made the files.
#include "platform/shell/filetypes.h"
#include "platform/shell/idlist.h"
#include "platform/shell/shellapi.h"
#include "platform/shell/shellfileinfo.h"
#include "platform/shell/shelllocations.h"
#include "platform/shell/systemimagelist.h"
#include "platform/shell/trashcan.h"
#include "shell/pidlhelp.h"
#include "shell/shelltestkit.h"

#include <QDir>
#include <QMimeDatabase>
#include <QSet>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform::shell;
using namespace Pidlhelp;
using qvtest::Ref;

namespace {

class Namespace : public qvtest::ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        BuildTree();
        ASSERT_EQ(SHGetDesktopFolder(&FDesktop.Object), S_OK);
    }
    // The absolute list of a path in the temporary home (freed by the caller).
    LPITEMIDLIST Parse(const QByteArray& relative)
    {
        LPITEMIDLIST list = nullptr;
        GetPIDLFromPath(nullptr, FDesktop.get(), NameFromBytes(Home() + '/' + relative), list);
        return list;
    }
    IShellFolder* Bind(const QByteArray& relative)
    {
        LPITEMIDLIST list = Parse(relative);
        void* folder = nullptr;
        FDesktop->BindToObject(list, nullptr, IID_IShellFolder, &folder);
        FreePIDL(list);
        return static_cast<IShellFolder*>(folder);
    }
    // Enumerated children of a folder by their names' bytes.
    QSet<QByteArray> ChildNames(IShellFolder* folder, DWORD flags)
    {
        std::vector<LPITEMIDLIST> lists = qvtest::EnumerateAll(folder, flags);
        QSet<QByteArray> names;
        for (LPITEMIDLIST list : lists)
            names.insert(BytesFromName(GetDisplayName(folder, list, dntInFolder)));
        qvtest::FreeAll(lists);
        return names;
    }
    Ref<IShellFolder> FDesktop;
};

} // namespace

TEST_F(Namespace, ParsedAndEnumeratedListsOfAnItemAreTheSameBytes)
{
    const QByteArray names[] = {"plain.txt", "with space.txt", "new\nline.txt", qvtest::InvalidUtf8Name, "link-to-sub", "loop-a", "sub"};
    Ref<IShellFolder> tree(Bind("tree"));
    ASSERT_NE(tree.get(), nullptr);
    LPITEMIDLIST treeList = Parse("tree");
    for (const QByteArray& name : names) {
        SCOPED_TRACE(name.toHex().constData());
        LPITEMIDLIST parsed = Parse("tree/" + name);
        ASSERT_NE(parsed, nullptr);
        LPITEMIDLIST relative = nullptr;
        ASSERT_TRUE(GetPIDLFromPath(nullptr, tree.get(), NameFromBytes(name), relative));
        LPITEMIDLIST joined = ConcatPIDLs(treeList, relative);
        EXPECT_TRUE(ComparePIDLs(parsed, joined));
        EXPECT_EQ(PIDLCount(parsed), 3); // home, tree, the item
        char path[MAX_PATH];
        ASSERT_TRUE(SHGetPathFromIDList(parsed, path));
        EXPECT_EQ(QByteArray(path), Home() + "/tree/" + name);
        // The parsing name leads back to the same list, bytes and all.
        EXPECT_EQ(BytesFromName(GetDisplayName(tree.get(), relative, dntForParsing)), Home() + "/tree/" + name);
        EXPECT_EQ(BytesFromName(GetDisplayName(tree.get(), relative, dntNormal)), name);
        LPITEMIDLIST again = nullptr;
        ASSERT_TRUE(GetPIDLFromPath(nullptr, FDesktop.get(), GetDisplayName(tree.get(), relative, dntForParsing), again));
        EXPECT_TRUE(ComparePIDLs(again, parsed));
        for (LPITEMIDLIST* list : {&parsed, &relative, &joined, &again})
            FreePIDL(*list);
    }
    FreePIDL(treeList);
    LPITEMIDLIST missing = Parse("tree/not-there");
    EXPECT_EQ(missing, nullptr);
}

TEST_F(Namespace, DesktopComputerDrivesHomeAndSpecialFolders)
{
    ASSERT_EQ(::mkdir((Home() + "/Desktop").constData(), 0755), 0);
    MakeFileBytes("Desktop/note.txt");
    const QSet<QByteArray> rootNames = ChildNames(FDesktop.get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS);
    EXPECT_EQ(rootNames, (QSet<QByteArray>{"Computer", "Home", "Trash", "note.txt"}));
    LPITEMIDLIST root = nullptr;
    ASSERT_TRUE(GetPIDLFromPath(nullptr, FDesktop.get(), QStringLiteral("/"), root));
    EXPECT_EQ(PIDLCount(root), 2); // computer, the root volume
    EXPECT_EQ(GetDisplayName(FDesktop.get(), root, dntForParsing), QStringLiteral("/"));
    LPITEMIDLIST drives = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &drives), S_OK);
    Ref<IShellFolder> computer;
    ASSERT_EQ(FDesktop->BindToObject(drives, nullptr, IID_IShellFolder, computer.out()), S_OK);
    EXPECT_TRUE(ChildNames(computer.get(), SHCONTF_FOLDERS).contains("/"));
    LPITEMIDLIST home = nullptr;
    ASSERT_TRUE(GetPIDLFromPath(nullptr, FDesktop.get(), NameFromBytes(Home()), home));
    EXPECT_EQ(PIDLCount(home), 1);
    EXPECT_EQ(GetDisplayName(FDesktop.get(), home, dntNormal), QStringLiteral("Home"));
    LPITEMIDLIST desktopDir = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOPDIRECTORY, &desktopDir), S_OK);
    char path[MAX_PATH];
    ASSERT_TRUE(SHGetPathFromIDList(desktopDir, path));
    EXPECT_EQ(QByteArray(path), Home() + "/Desktop");
    LPITEMIDLIST desktop = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &desktop), S_OK);
    EXPECT_EQ(GetPidlSize(desktop), 2);
    LPITEMIDLIST none = nullptr;
    EXPECT_NE(SHGetSpecialFolderLocation(nullptr, 4 /* printers */, &none), S_OK);
    EXPECT_NE(SHGetSpecialFolderLocation(nullptr, CSIDL_PERSONAL, &none), S_OK); // no Documents folder made
    EXPECT_EQ(none, nullptr);
    // The folders below the XDG data and configuration homes the test points into.
    const struct { int Folder; const char* Variable; QByteArray Below; } xdg[] = {
        {CSIDL_PROGRAMS, "XDG_DATA_HOME", "/applications"}, {CSIDL_FONTS, "XDG_DATA_HOME", "/fonts"},
        {CSIDL_STARTUP, "XDG_CONFIG_HOME", "/autostart"},
    };
    for (const auto& c : xdg) {
        SCOPED_TRACE(c.Folder);
        const QByteArray folder = qgetenv(c.Variable) + c.Below;
        EXPECT_NE(SHGetSpecialFolderLocation(nullptr, c.Folder, &none), S_OK) << "not made yet";
        ASSERT_TRUE(QDir().mkpath(QFile::decodeName(folder)));
        LPITEMIDLIST special = nullptr;
        ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, c.Folder, &special), S_OK);
        ASSERT_TRUE(SHGetPathFromIDList(special, path));
        EXPECT_EQ(QByteArray(path), folder);
        FreePIDL(special);
    }
    for (LPITEMIDLIST* list : {&root, &drives, &home, &desktopDir, &desktop})
        FreePIDL(*list);
}

TEST_F(Namespace, AttributesHiddenItemsAndAnUnreadableFolder)
{
    struct Case {
        QByteArray Name;
        ULONG Set;
        ULONG Clear;
    };
    const Case cases[] = {
        {"plain.txt", SFGAO_FILESYSTEM | SFGAO_CANRENAME | SFGAO_CANDELETE | SFGAO_HASPROPSHEET, SFGAO_FOLDER | SFGAO_HIDDEN | SFGAO_LINK},
        {"sub", SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_FILESYSANCESTOR, SFGAO_LINK | SFGAO_HIDDEN},
        {"link-to-sub", SFGAO_FOLDER | SFGAO_LINK, SFGAO_HIDDEN},
        {"loop-a", SFGAO_LINK, SFGAO_FOLDER},
        {".dotfile", SFGAO_HIDDEN | SFGAO_GHOSTED, SFGAO_FOLDER},
        {"listed", SFGAO_HIDDEN | SFGAO_GHOSTED, SFGAO_FOLDER},
        {"locked", SFGAO_FOLDER, SFGAO_HIDDEN},
    };
    Ref<IShellFolder> tree(Bind("tree"));
    ASSERT_NE(tree.get(), nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name.constData());
        LPITEMIDLIST item = nullptr;
        ASSERT_TRUE(GetPIDLFromPath(nullptr, tree.get(), NameFromBytes(c.Name), item));
        ULONG attributes = ~ULONG(0);
        ASSERT_EQ(tree->GetAttributesOf(1, const_cast<const LPCITEMIDLIST*>(&item), &attributes), S_OK);
        EXPECT_EQ(attributes & c.Set, c.Set);
        EXPECT_EQ(attributes & c.Clear, 0u);
        FreePIDL(item);
    }
    const QSet<QByteArray> visible = ChildNames(tree.get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS);
    EXPECT_EQ(visible, (QSet<QByteArray>{"plain.txt", "with space.txt", "new\nline.txt", qvtest::InvalidUtf8Name, "sub",
                                         "link-to-sub", "loop-a", "loop-b", "locked"}));
    EXPECT_EQ(ChildNames(tree.get(), SHCONTF_FOLDERS), (QSet<QByteArray>{"sub", "link-to-sub", "locked"}));
    const QSet<QByteArray> all = ChildNames(tree.get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN);
    const QSet<QByteArray> hidden{".dotfile", "listed", ".hidden"};
    EXPECT_EQ(all, visible + hidden);

    // A folder without read permission still binds; listing it fails cleanly, except
    // for the superuser, whom permissions do not stop.
    Ref<IShellFolder> locked(Bind("tree/locked"));
    ASSERT_NE(locked.get(), nullptr);
    IEnumIDList* enumerator = nullptr;
    const HRESULT result = locked->EnumObjects(nullptr, SHCONTF_NONFOLDERS, &enumerator);
    if (::geteuid() == 0) {
        ASSERT_EQ(result, S_OK);
        enumerator->Release();
    } else {
        EXPECT_EQ(result, E_FAIL);
        EXPECT_EQ(enumerator, nullptr);
    }
}

TEST_F(Namespace, CompareIDsIsAStrictWeakOrdering)
{
    Ref<IShellFolder> tree(Bind("tree"));
    std::vector<LPITEMIDLIST> items = qvtest::EnumerateAll(tree.get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN);
    ASSERT_GE(items.size(), 12u);
    auto less = [&](LPCITEMIDLIST a, LPCITEMIDLIST b) { return COMPARE_RESULT_CODE(tree->CompareIDs(0, a, b)) < 0; };
    for (LPCITEMIDLIST a : items) {
        EXPECT_FALSE(less(a, a));
        for (LPCITEMIDLIST b : items) {
            EXPECT_FALSE(less(a, b) && less(b, a));
            for (LPCITEMIDLIST c : items)
                if (less(a, b) && less(b, c)) {
                    EXPECT_TRUE(less(a, c));
                }
        }
    }
    std::sort(items.begin(), items.end(), less);
    EXPECT_EQ(GetDisplayName(tree.get(), items.front(), dntInFolder), QStringLiteral("link-to-sub")); // folders first
    auto* broken = static_cast<LPITEMIDLIST>(IMalloc::Instance().Alloc(4));
    std::memcpy(broken, "\x09\x00\x00\x00", 4);
    EXPECT_EQ(tree->CompareIDs(0, broken, items.front()), E_INVALIDARG);
    IMalloc::Instance().Free(broken);
    qvtest::FreeAll(items);
}

// A file-system folder is read as its items are asked for: skipping, a clone taken
// half-way and a reset must each still see every wanted item exactly once.
TEST_F(Namespace, EnumeratorSkipsClonesAndResetsWhileReading)
{
    MakeFolderBytes("many");
    QSet<QByteArray> all;
    for (int i = 0; i < 10; ++i) {
        MakeFileBytes("many/f" + QByteArray::number(i));
        all.insert("f" + QByteArray::number(i));
    }
    MakeFileBytes("many/.dot");
    Ref<IShellFolder> many(Bind("many"));
    Ref<IEnumIDList> enumerator;
    ASSERT_EQ(many->EnumObjects(nullptr, SHCONTF_NONFOLDERS, reinterpret_cast<IEnumIDList**>(enumerator.out())), S_OK);
    auto drain = [&](IEnumIDList* from, QList<QByteArray>& names) {
        LPITEMIDLIST item = nullptr;
        while (from->Next(1, &item, nullptr) == S_OK) {
            names << BytesFromName(GetDisplayName(many.get(), item, dntInFolder));
            FreePIDL(item);
        }
    };
    QList<QByteArray> first;
    LPITEMIDLIST batch[3] = {};
    ULONG fetched = 0;
    ASSERT_EQ(enumerator->Next(3, batch, &fetched), S_OK);
    ASSERT_EQ(fetched, 3u);
    for (LPITEMIDLIST item : batch) {
        first << BytesFromName(GetDisplayName(many.get(), item, dntInFolder));
        FreePIDL(item);
    }
    EXPECT_EQ(enumerator->Skip(2), S_OK);
    Ref<IEnumIDList> clone;
    ASSERT_EQ(enumerator->Clone(reinterpret_cast<IEnumIDList**>(clone.out())), S_OK);
    QList<QByteArray> rest;
    QList<QByteArray> cloneRest;
    drain(enumerator.get(), rest);
    drain(clone.get(), cloneRest);
    EXPECT_EQ(rest.size(), 5);
    EXPECT_EQ(cloneRest, rest) << "the clone goes on where the original was";
    EXPECT_EQ(enumerator->Skip(1), S_FALSE);
    ASSERT_EQ(enumerator->Reset(), S_OK);
    QList<QByteArray> again;
    drain(enumerator.get(), again);
    EXPECT_EQ(QSet<QByteArray>(again.begin(), again.end()), all) << "the hidden file left out, nothing twice";
    EXPECT_EQ(again.size(), 10);
    EXPECT_EQ(again.mid(0, 3), first);
}

// Sizes and times are set here; the orders below are worked out by hand from them:
// folders first, then the column's key, ties by name.
TEST_F(Namespace, CompareIDsSortsByTheColumnAskedFor)
{
    const QMimeDatabase mime;
    const QString plain = mime.mimeTypeForName("text/plain").comment();
    const QString png = mime.mimeTypeForName("image/png").comment();
    const QString unknown = mime.mimeTypeForName("application/octet-stream").comment();
    ASSERT_TRUE(plain.compare(png, Qt::CaseInsensitive) < 0 && png.compare(unknown, Qt::CaseInsensitive) < 0)
        << "the MIME database's English type names are needed: " << plain.toStdString() << ", " << png.toStdString()
        << ", " << unknown.toStdString();
    const struct { const char* Name; int Size; int64_t Seconds; long Nanoseconds; } files[] = {
        {"b.txt", 300, 2000, 0}, {"a.png", 10, 3000, 0}, {"c.txt", 10, 1000, 0}, {"d", 5000, 3000, 0},
        {"e.png", 300, 1000, 500}, {"alpha", -1, 5000, 0}, {"zeta", -1, 4000, 0},
    };
    MakeFolderBytes("cols");
    for (const auto& file : files) {
        const QByteArray path = "cols/" + QByteArray(file.Name);
        if (file.Size < 0)
            MakeFolderBytes(path);
        else
            MakeFileBytes(path, QByteArray(file.Size, 'x'));
        const timespec times[2] = {{file.Seconds, file.Nanoseconds}, {file.Seconds, file.Nanoseconds}};
        ASSERT_EQ(::utimensat(AT_FDCWD, (Home() + '/' + path).constData(), times, 0), 0);
    }
    const struct { int Column; QStringList Ascending; } cases[] = {
        {0, {"alpha", "zeta", "a.png", "b.txt", "c.txt", "d", "e.png"}},
        {1, {"alpha", "zeta", "a.png", "c.txt", "b.txt", "e.png", "d"}},
        {2, {"alpha", "zeta", "b.txt", "c.txt", "a.png", "e.png", "d"}},
        {3, {"zeta", "alpha", "c.txt", "e.png", "b.txt", "a.png", "d"}},
        {4, {"alpha", "zeta", "a.png", "b.txt", "c.txt", "d", "e.png"}}, // no such column: by name
    };
    Ref<IShellFolder> cols(Bind("cols"));
    std::vector<LPITEMIDLIST> items = qvtest::EnumerateAll(cols.get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Column);
        for (const bool descending : {false, true}) {
            // The high half of the parameter is the caller's; only the low 16 bits count.
            const LPARAM column = c.Column | (descending ? 0x10000 : 0);
            std::sort(items.begin(), items.end(), [&](LPCITEMIDLIST a, LPCITEMIDLIST b) {
                const HRESULT order = cols->CompareIDs(column, descending ? b : a, descending ? a : b);
                return COMPARE_RESULT_CODE(order) < 0;
            });
            QStringList names;
            for (LPITEMIDLIST item : items)
                names << GetDisplayName(cols.get(), item, dntInFolder);
            QStringList expected = c.Ascending;
            if (descending)
                std::reverse(expected.begin(), expected.end());
            EXPECT_EQ(names, expected);
        }
    }
    qvtest::FreeAll(items);
}

// The per-suffix cache must give what the MIME database gives for every name, whatever
// order the names come in: case variants, several dots, no extension, dot files, names
// that patterns other than "*.ext" match, links and folders.
TEST_F(Namespace, CachedTypesAndIconsMatchTheUncachedLookup)
{
    QList<QByteArray> names = {
        "x.md", "README.md", "a.txt", "B.TXT", "c.Txt", "d.C", "e.c", "f.tar.gz", "g.TAR.GZ", "h.gz", "x.am",
        "Makefile.am", "Makefile", "makefile", "README", "readme.txt", "noext", ".bashrc", ".hidden.txt", "core",
        "x~", "file.so.1", "lib.so", "a.b.c.d", "trailingdot.", "..double", "ar.tar.bz2", "img.JPG", "img.jpeg",
        "CMakeLists.txt", "x.desktop", "name,v", "a.1", "b.3pm", "photo.PNG", "doc.pdf", "x.old~", "x.bak",
        qvtest::InvalidUtf8Name + ".txt",
    };
    MakeFolderBytes("types");
    for (const QByteArray& name : names)
        MakeFileBytes("types/" + name);
    MakeFolderBytes("types/folder.txt");
    MakeLink("types/link.png", "a.txt");
    MakeLink("types/dangling.pdf", "missing");
    for (int pass = 0; pass < 2; ++pass) {
        for (const QByteArray& name : names) {
            SCOPED_TRACE(name.constData());
            const TFileType& cached = FileTypeOfName(name);
            const TFileType uncached = UncachedFileTypeOfName(name);
            EXPECT_EQ(cached.MimeName, uncached.MimeName);
            EXPECT_EQ(cached.Comment, uncached.Comment);
            EXPECT_EQ(cached.IconName, uncached.IconName);
            EXPECT_EQ(cached.GenericIconName, uncached.GenericIconName);
        }
        std::reverse(names.begin(), names.end());
    }
    // Through the namespace: a file's icon is the one its uncached type names, a
    // folder's the folder icon, whatever its name says.
    LPITEMIDLIST folderList = Parse("types");
    std::vector<TShellItem> parent;
    ASSERT_TRUE(ILReadItems(folderList, parent));
    const int folderIcon = ItemIconIndex({{TItemKind::Entry, ifFolder, "any"}}, true, false);
    for (const bool small : {true, false}) {
        for (const QByteArray& name : names + QList<QByteArray>{"link.png", "dangling.pdf", "folder.txt"}) {
            SCOPED_TRACE(name.constData());
            std::vector<TShellItem> absolute = parent;
            ASSERT_TRUE(AppendPathEntries(Home() + "/types", Home() + "/types/" + name, absolute));
            const int icon = ItemIconIndex(absolute, small, false);
            TSystemImageList& list = small ? TSystemImageList::Small() : TSystemImageList::Large();
            if (absolute.back().IsFolder()) {
                EXPECT_EQ(ItemTypeName(absolute), QMimeDatabase().mimeTypeForName("inode/directory").comment());
                EXPECT_EQ(icon, small ? folderIcon : list.Find("look:folder"));
                continue;
            }
            const TFileType uncached = UncachedFileTypeOfName(name);
            EXPECT_EQ(ItemTypeName(absolute), uncached.Comment);
            EXPECT_EQ(icon, list.Find("look:" + uncached.MimeName));
            EXPECT_GE(icon, 0);
        }
    }
    FreePIDL(folderList);
}

TEST_F(Namespace, TrashedItemsShowTheirOriginalNames)
{
    MakeFolderBytes("one");
    MakeFolderBytes("two");
    MakeFileBytes("one/same.txt");
    MakeFileBytes("two/same.txt");
    for (const QByteArray& folder : {QByteArray("one"), QByteArray("two")}) {
        QString error;
        ASSERT_TRUE(MoveToTrash(Home() + '/' + folder + "/same.txt", nullptr, &error)) << error.toStdString();
    }
    LPITEMIDLIST trashList = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_BITBUCKET, &trashList), S_OK);
    Ref<IShellFolder> trash;
    ASSERT_EQ(FDesktop->BindToObject(trashList, nullptr, IID_IShellFolder, trash.out()), S_OK);
    std::vector<LPITEMIDLIST> items = qvtest::EnumerateAll(trash.get(), SHCONTF_NONFOLDERS);
    QStringList shown;
    QSet<QString> stored;
    for (LPITEMIDLIST item : items) {
        shown << GetDisplayName(trash.get(), item, dntInFolder);
        stored.insert(GetDisplayName(trash.get(), item, dntForParsing));
    }
    EXPECT_EQ(shown, (QStringList{"same.txt", "same.txt"}));
    EXPECT_EQ(stored.size(), 2) << "two items under distinct names in the trash";
    qvtest::FreeAll(items);
    FreePIDL(trashList);
}

TEST_F(Namespace, ForeignOrCraftedItemsAreRefusedAndSetNameOfNeverReplaces)
{
    Ref<IShellFolder> tree(Bind("tree"));
    // An item of our format, then edited into one whose name would climb out.
    LPITEMIDLIST list = ILFromItems({{TItemKind::Entry, 0, "ok"}});
    reinterpret_cast<char*>(list)[5] = '.'; // "ok" becomes ".k", still fine
    STRRET reply;
    EXPECT_EQ(tree->GetDisplayNameOf(list, SHGDN_NORMAL, &reply), S_OK);
    std::memcpy(reinterpret_cast<char*>(list) + 5, "..", 2); // now ".."
    EXPECT_EQ(tree->GetDisplayNameOf(list, SHGDN_FORPARSING, &reply), E_INVALIDARG);
    void* bound = nullptr;
    EXPECT_EQ(tree->BindToObject(list, nullptr, IID_IShellFolder, &bound), E_INVALIDARG);
    reinterpret_cast<char*>(list)[2] = 'X'; // not our signature
    EXPECT_EQ(tree->GetDisplayNameOf(list, SHGDN_NORMAL, &reply), E_INVALIDARG);
    IMalloc::Instance().Free(list);

    // SetNameOf renames, but never over another item or out of the folder.
    LPITEMIDLIST item = nullptr;
    ASSERT_TRUE(GetPIDLFromPath(nullptr, tree.get(), QStringLiteral("plain.txt"), item));
    LPITEMIDLIST renamed = nullptr;
    EXPECT_NE(tree->SetNameOf(nullptr, item, u"with space.txt", SHGDN_INFOLDER, &renamed), S_OK);
    EXPECT_NE(tree->SetNameOf(nullptr, item, u"../escaped", SHGDN_INFOLDER, &renamed), S_OK);
    EXPECT_NE(tree->SetNameOf(nullptr, item, u"", SHGDN_INFOLDER, &renamed), S_OK);
    EXPECT_TRUE(QFile::exists(QFile::decodeName(Home() + "/tree/plain.txt")));
    ASSERT_EQ(tree->SetNameOf(nullptr, item, u"renamed.txt", SHGDN_INFOLDER, &renamed), S_OK);
    EXPECT_EQ(GetDisplayName(tree.get(), renamed, dntInFolder), QStringLiteral("renamed.txt"));
    QFile moved(QFile::decodeName(Home() + "/tree/renamed.txt"));
    ASSERT_TRUE(moved.open(QIODevice::ReadOnly));
    EXPECT_EQ(moved.readAll(), QByteArray("hello"));
    FreePIDL(item);
    FreePIDL(renamed);
}

TEST_F(Namespace, FileInformationTypeNamesAndIcons)
{
    const QMimeDatabase mime;
    SHFILEINFO info;
    // By name and attributes, the file need not exist.
    ASSERT_NE(SHGetFileInfo("/nowhere/report.txt", 0, &info, sizeof info, SHGFI_USEFILEATTRIBUTES | SHGFI_TYPENAME | SHGFI_SYSICONINDEX), 0u);
    EXPECT_EQ(QString::fromUtf8(info.szTypeName), mime.mimeTypeForName("text/plain").comment());
    const int textIcon = info.iIcon;
    ASSERT_GE(textIcon, 0);
    LPITEMIDLIST plain = Parse("tree/plain.txt");
    LPITEMIDLIST sub = Parse("tree/sub");
    EXPECT_EQ(GetIconIndex(plain, SHGFI_SYSICONINDEX | SHGFI_PIDL), textIcon); // the same icon is added once
    const int folderIcon = GetIconIndex(sub, SHGFI_SYSICONINDEX | SHGFI_PIDL);
    EXPECT_NE(folderIcon, textIcon);
    int normal = -1;
    int selected = -1;
    GetNormalAndSelectedIcons(sub, normal, selected);
    EXPECT_GE(normal, 0);
    EXPECT_GE(selected, 0);
    EXPECT_EQ(TSystemImageList::Small().Image(normal).width(), 16);
    EXPECT_EQ(TSystemImageList::Large().Image(folderIcon).width(), 32);
    const int count = TSystemImageList::Large().Count();
    EXPECT_EQ(GetIconIndex(sub, SHGFI_SYSICONINDEX | SHGFI_PIDL), folderIcon);
    EXPECT_EQ(TSystemImageList::Large().Count(), count);
    ASSERT_NE(SHGetFileInfo(reinterpret_cast<const char*>(sub), 0, &info, sizeof info, SHGFI_PIDL | SHGFI_TYPENAME | SHGFI_ATTRIBUTES), 0u);
    EXPECT_EQ(QString::fromUtf8(info.szTypeName), mime.mimeTypeForName("inode/directory").comment());
    EXPECT_TRUE(info.dwAttributes & SFGAO_FOLDER);
    EXPECT_EQ(SHGetFileInfo((Home() + "/tree/missing").constData(), 0, &info, sizeof info, SHGFI_TYPENAME), 0u);
    Ref<IShellFolder> tree(Bind("tree"));
    LPITEMIDLIST relative = CopyLastID(plain);
    WIN32_FIND_DATAA found;
    ASSERT_EQ(SHGetDataFromIDList(tree.get(), relative, SHGDFIL_FINDDATA, &found, sizeof found), S_OK);
    EXPECT_EQ(found.nFileSizeLow, 5u);
    EXPECT_STREQ(found.cFileName, "plain.txt");
    for (LPITEMIDLIST* list : {&plain, &sub, &relative})
        FreePIDL(*list);
}
