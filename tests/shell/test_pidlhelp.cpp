// The identifier-list helpers on hand-made lists: sizes, copies, joins, comparisons and
// walking, with malformed lists that must be refused without reading past their end.
// Expected sizes are worked out by hand from the item counts written below.
#include "platform/shell/idlist.h"
#include "platform/shell/shellapi.h"
#include "platform/shell/shellfileinfo.h"
#include "platform/shell/shellfolder.h"
#include "platform/shell/shellmalloc.h"
#include "shell/pidlhelp.h"
#include "shell/systemcontrolpack.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>
#include <cstring>
#include <initializer_list>

using namespace Pidlhelp;
using platform::shell::IMalloc;

namespace {

// A shell-allocated list of items with the given payload bytes; each item's count is
// its payload size + 2. Extra bytes can be appended after the terminator.
LPITEMIDLIST MakeList(std::initializer_list<QByteArray> payloads, bool terminate = true)
{
    QByteArray bytes;
    for (const QByteArray& payload : payloads) {
        const int cb = int(payload.size()) + 2;
        bytes += char(cb & 0xFF);
        bytes += char(cb >> 8);
        bytes += payload;
    }
    if (terminate)
        bytes += QByteArray(2, '\0');
    LPITEMIDLIST list = CreatePIDL(bytes.size());
    std::memcpy(list, bytes.constData(), size_t(bytes.size()));
    return list;
}

QByteArray BytesOf(LPCITEMIDLIST list)
{
    return QByteArray(reinterpret_cast<const char*>(list), qsizetype(GetPidlSize(list)));
}

class PidlHelpers : public ::testing::Test {
protected:
    void SetUp() override { FLive = IMalloc::Instance().LiveBlocks(); }
    void TearDown() override { EXPECT_EQ(IMalloc::Instance().LiveBlocks(), FLive); }
    int64_t FLive = 0;
};

} // namespace

TEST_F(PidlHelpers, SizesCountsAndWalking)
{
    LPITEMIDLIST empty = MakeList({});
    LPITEMIDLIST three = MakeList({"abc", "de", "f"}); // counts 5, 4, 3: size 12 + 2
    EXPECT_EQ(GetPidlSize(nullptr), 0);
    EXPECT_EQ(GetPidlSize(empty), 2);
    EXPECT_EQ(GetPidlSize(three), 14);
    EXPECT_EQ(PIDLCount(nullptr), 0);
    EXPECT_EQ(PIDLCount(empty), 0);
    EXPECT_EQ(PIDLCount(three), 3);
    LPITEMIDLIST second = NextPIDL(three);
    ASSERT_EQ(reinterpret_cast<char*>(second) - reinterpret_cast<char*>(three), 5);
    EXPECT_EQ(NextPIDL(NextPIDL(NextPIDL(three))), reinterpret_cast<LPITEMIDLIST>(reinterpret_cast<char*>(three) + 12));
    EXPECT_EQ(NextPIDL(empty), nullptr);
    EXPECT_EQ(NextPIDL(nullptr), nullptr);
    FreePIDL(empty);
    FreePIDL(three);
    EXPECT_EQ(three, nullptr);
    FreePIDL(three); // a null list is left alone
}

TEST_F(PidlHelpers, CopiesJoinsAndParts)
{
    LPITEMIDLIST a = MakeList({"abc", "de"});
    LPITEMIDLIST b = MakeList({"f"});
    LPITEMIDLIST three = MakeList({"abc", "de", "f"});
    LPITEMIDLIST joined = ConcatPIDLs(a, b);
    EXPECT_EQ(GetPidlSize(joined), GetPidlSize(a) + GetPidlSize(b) - 2);
    EXPECT_TRUE(ComparePIDLs(joined, three)); // equal lists at different addresses
    LPITEMIDLIST fromNull = ConcatPIDLs(nullptr, b);
    EXPECT_EQ(BytesOf(fromNull), BytesOf(b));
    EXPECT_EQ(ConcatPIDLs(a, nullptr), nullptr);
    LPITEMIDLIST last = CopyLastID(three);
    LPITEMIDLIST first = CopyFirstID(three);
    LPITEMIDLIST parent = CopyParentPIDL(three);
    EXPECT_EQ(BytesOf(last), BytesOf(b));
    EXPECT_EQ(BytesOf(first), QByteArray("\x05\x00" "abc\0\0", 7));
    EXPECT_EQ(BytesOf(parent), BytesOf(a));
    EXPECT_EQ(GetPidlSize(three), 14); // the argument is not changed
    for (LPITEMIDLIST* list : {&joined, &fromNull, &last, &first, &parent})
        FreePIDL(*list);
    FreePIDL(a);
    FreePIDL(b);
    FreePIDL(three);
}

TEST_F(PidlHelpers, EdgeCasesOfEmptyNullAndSingleLists)
{
    LPITEMIDLIST empty = MakeList({});
    LPITEMIDLIST one = MakeList({"x"});
    LPITEMIDLIST parentOfOne = CopyParentPIDL(one);
    LPITEMIDLIST parentOfEmpty = CopyParentPIDL(empty);
    LPITEMIDLIST lastOfEmpty = CopyLastID(empty);
    EXPECT_EQ(GetPidlSize(parentOfOne), 2);
    EXPECT_EQ(GetPidlSize(parentOfEmpty), 2);
    EXPECT_EQ(GetPidlSize(lastOfEmpty), 2);
    EXPECT_EQ(CopyParentPIDL(nullptr), nullptr);
    EXPECT_EQ(CopyLastID(nullptr), nullptr);
    EXPECT_EQ(CopyPIDL(nullptr), nullptr);
    EXPECT_TRUE(ComparePIDLs(nullptr, nullptr));
    EXPECT_FALSE(ComparePIDLs(one, nullptr));
    EXPECT_FALSE(ComparePIDLs(nullptr, one));
    LPITEMIDLIST changed = CopyPIDL(one);
    reinterpret_cast<char*>(changed)[2] = 'y';
    EXPECT_FALSE(ComparePIDLs(one, changed));
    EXPECT_EQ(CreatePIDL(0), nullptr);
    LPITEMIDLIST block = CreatePIDL(16);
    EXPECT_EQ(QByteArray(reinterpret_cast<char*>(block), 16), QByteArray(16, '\0'));
    for (LPITEMIDLIST* list : {&empty, &one, &parentOfOne, &parentOfEmpty, &lastOfEmpty, &changed, &block})
        FreePIDL(*list);
}

// Malformed lists count as no list: every helper answers as for null and reads nothing
// past the block (AddressSanitizer builds would report any such read).
TEST_F(PidlHelpers, MalformedListsAreRefused)
{
    struct Case {
        const char* Name;
        QByteArray Bytes;
    };
    const Case cases[] = {
        {"count past the end", QByteArray("\x09\x00" "ab\0\0", 6)},
        {"no terminator", QByteArray("\x04\x00" "ab", 4)},
        {"count of one in the middle", QByteArray("\x04\x00" "ab" "\x01\x00" "\0\0", 8)},
        {"empty item in the middle", QByteArray("\x04\x00" "ab" "\x02\x00" "\x04\x00" "cd" "\0\0", 12)},
        {"half a terminator", QByteArray("\x03\x00" "a" "\0", 4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        auto* list = static_cast<LPITEMIDLIST>(IMalloc::Instance().Alloc(size_t(c.Bytes.size())));
        std::memcpy(list, c.Bytes.constData(), size_t(c.Bytes.size()));
        EXPECT_EQ(GetPidlSize(list), 0);
        EXPECT_EQ(PIDLCount(list), 0);
        EXPECT_EQ(CopyPIDL(list), nullptr);
        EXPECT_EQ(CopyLastID(list), nullptr);
        EXPECT_EQ(CopyParentPIDL(list), nullptr);
        EXPECT_EQ(NextPIDL(list), nullptr);
        EXPECT_FALSE(ComparePIDLs(list, list));
        LPITEMIDLIST good = MakeList({"z"});
        EXPECT_EQ(ConcatPIDLs(list, good), nullptr);
        EXPECT_EQ(ConcatPIDLs(good, list), nullptr);
        FreePIDL(good);
        FreePIDL(list);
    }
}

TEST(ShellAllocator, KnowsItsBlocksAndCountsThem)
{
    IMalloc* malloc = nullptr;
    ASSERT_EQ(platform::shell::SHGetMalloc(&malloc), platform::shell::S_OK);
    const int64_t before = malloc->LiveBlocks();
    void* block = malloc->Alloc(10);
    EXPECT_EQ(malloc->LiveBlocks(), before + 1);
    EXPECT_EQ(malloc->GetSize(block), 10);
    EXPECT_EQ(malloc->BytesAvailable(static_cast<char*>(block) + 4), 6);
    EXPECT_EQ(malloc->BytesAvailable(static_cast<char*>(block) + 10), -1);
    int onStack = 0;
    EXPECT_EQ(malloc->DidAlloc(&onStack), 0);
    malloc->Free(&onStack); // not ours: left alone
    void* grown = malloc->Realloc(block, 20);
    ASSERT_NE(grown, nullptr);
    EXPECT_EQ(malloc->GetSize(grown), 20);
    EXPECT_EQ(static_cast<char*>(grown)[15], 0);
    malloc->Free(grown);
    EXPECT_EQ(malloc->LiveBlocks(), before);
    malloc->Release();
}

TEST(ShellAllocator, RepeatedQuestionsAndFreedBlocksAnswerExactly)
{
    IMalloc& malloc = IMalloc::Instance();
    const int64_t before = malloc.LiveBlocks();
    char* a = static_cast<char*>(malloc.Alloc(8));
    char* b = static_cast<char*>(malloc.Alloc(32));
    ASSERT_TRUE(a && b);
    // The same block twice in a row, an address inside it that starts no block, then
    // another block; answers worked out from the two sizes.
    EXPECT_EQ(malloc.BytesAvailable(a + 3), 5);
    EXPECT_EQ(malloc.BytesAvailable(a + 7), 1);
    EXPECT_EQ(malloc.GetSize(a + 1), -1);
    EXPECT_EQ(malloc.BytesAvailable(b + 31), 1);
    EXPECT_EQ(malloc.GetSize(b), 32);
    // The block asked about last is freed: it is not ours any more.
    EXPECT_EQ(malloc.GetSize(a), 8);
    malloc.Free(a);
    EXPECT_EQ(malloc.BytesAvailable(a + 3), -1);
    EXPECT_EQ(malloc.DidAlloc(a), 0);
    EXPECT_EQ(malloc.BytesAvailable(b), 32);
    malloc.Free(b);
    EXPECT_EQ(malloc.GetSize(b), -1);
    EXPECT_EQ(malloc.LiveBlocks(), before);
}

TEST(ShellNames, BytesThatAreNotUtf8SurviveTheRoundTrip)
{
    using platform::shell::BytesFromName;
    using platform::shell::NameFromBytes;
    const QByteArray names[] = {"plain", "\xc3\xa9t\xc3\xa9", "bad\xff\xfe", "\xed\xa0\x80", "\xc0\xaf", "a\xf0\x9f\x98\x80z", "\x80"};
    for (const QByteArray& name : names)
        EXPECT_EQ(BytesFromName(NameFromBytes(name)), name) << name.toHex().constData();
    EXPECT_EQ(NameFromBytes("\xc3\xa9"), QString(QChar(0xE9)));
    EXPECT_EQ(NameFromBytes("a\xff").at(1).unicode(), 0xDCFF);
}

TEST(FolderItemData, SizeFlagsAndMessages)
{
    Systemcontrolpack::TFolderItemData data;
    EXPECT_FALSE(data.Populated);
    data.FileSizeHigh = 1;
    EXPECT_EQ(data.GetFileSize(), 4294967296ULL);
    data.FileSizeLow = 5;
    EXPECT_EQ(data.GetFileSize(), 4294967301ULL);
    data.Attributes = platform::shell::SFGAO_HASPROPSHEET;
    EXPECT_TRUE(data.ItemHasFlag(platform::shell::SFGAO_HASPROPSHEET | platform::shell::SFGAO_FOLDER));
    EXPECT_FALSE(data.ItemHasFlag(platform::shell::SFGAO_FOLDER));
    EXPECT_EQ(Systemcontrolpack::ELeaking().Message(), QStringLiteral("Memory Leak Detected.  Not all folder data was freed."));
    EXPECT_EQ(Systemcontrolpack::ENoFolderData().Message(), QStringLiteral("Could not get folder data."));
    EXPECT_EQ(Systemcontrolpack::EInvokeFailed(platform::shell::E_FAIL).Message(), QStringLiteral("InvokeCommand failed. Result = $80004005"));
}

namespace {

using namespace platform::shell;

// What the namespace says about one entry: its attributes and its find data.
struct EntryAnswer {
    HRESULT AttributesResult = E_FAIL;
    ULONG Attributes = 0;
    HRESULT DataResult = E_FAIL;
    DWORD FileAttributes = 0;
    uint64_t Size = 0;
};

EntryAnswer Ask(IShellFolder* folder, const QByteArray& name)
{
    EntryAnswer answer;
    LPITEMIDLIST list = ILFromItems({{TItemKind::Entry, 0, name}});
    LPCITEMIDLIST one = list;
    answer.Attributes = SFGAO_LINK | SFGAO_FOLDER | SFGAO_READONLY;
    answer.AttributesResult = folder->GetAttributesOf(1, &one, &answer.Attributes);
    WIN32_FIND_DATAA found {};
    answer.DataResult = SHGetDataFromIDList(folder, list, SHGDFIL_FINDDATA, &found, sizeof found);
    answer.FileAttributes = found.dwFileAttributes;
    answer.Size = (uint64_t(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    FreePIDL(list);
    return answer;
}

void WriteBytes(const QString& path, qint64 count, QFile::Permissions permissions)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(QByteArray(count, 'x'));
    file.close();
    file.setPermissions(permissions);
}

IShellFolder* BindFolder(const QString& path)
{
    IShellFolder* desktop = nullptr;
    IShellFolder* folder = nullptr;
    LPITEMIDLIST list = nullptr;
    SHGetDesktopFolder(&desktop);
    const std::u16string wide = path.toStdU16String();
    if (SUCCEEDED(desktop->ParseDisplayName(nullptr, nullptr, wide.c_str(), nullptr, &list, nullptr)))
        desktop->BindToObject(list, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&folder));
    FreePIDL(list);
    desktop->Release();
    return folder;
}

} // namespace

// While an enumeration runs, attributes and find data come from one status read per
// entry against the folder's descriptor; the answers must be those the paths give.
TEST(EntryStatuses, AnswersDuringAnEnumerationEqualThoseFromThePaths)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QFile::Permissions writable = QFile::ReadOwner | QFile::WriteOwner;
    WriteBytes(dir.filePath("data.bin"), 1234, writable);
    WriteBytes(dir.filePath("locked.txt"), 10, QFile::ReadOwner);
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    ASSERT_EQ(::symlink("data.bin", QFile::encodeName(dir.filePath("to-data")).constData()), 0);
    ASSERT_EQ(::symlink("sub", QFile::encodeName(dir.filePath("to-sub")).constData()), 0);
    ASSERT_EQ(::symlink("missing", QFile::encodeName(dir.filePath("dangling")).constData()), 0);
    IShellFolder* folder = BindFolder(dir.path());
    ASSERT_NE(folder, nullptr);
    // Worked out by hand from the modes above; a dangling link is a read-only item
    // without find data, a link reports its target's kind and size.
    struct Case { const char* Name; ULONG Attributes; HRESULT Data; DWORD FileAttributes; uint64_t Size; };
    const Case cases[] = {
        {"data.bin", 0, S_OK, FILE_ATTRIBUTE_NORMAL, 1234},
        {"locked.txt", SFGAO_READONLY, S_OK, FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_READONLY, 10},
        {"sub", SFGAO_FOLDER, S_OK, FILE_ATTRIBUTE_DIRECTORY, 0},
        {"to-data", SFGAO_LINK, S_OK, FILE_ATTRIBUTE_NORMAL, 1234},
        {"to-sub", SFGAO_LINK | SFGAO_FOLDER, S_OK, FILE_ATTRIBUTE_DIRECTORY, 0},
        {"dangling", SFGAO_LINK | SFGAO_READONLY, E_FAIL, 0, 0},
    };
    auto check = [&](const char* when) {
        for (const Case& c : cases) {
            const EntryAnswer answer = Ask(folder, c.Name);
            EXPECT_EQ(answer.AttributesResult, S_OK) << when << c.Name;
            EXPECT_EQ(answer.Attributes, c.Attributes) << when << c.Name;
            EXPECT_EQ(answer.DataResult, c.Data) << when << c.Name;
            if (c.Data != S_OK)
                continue;
            if (c.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                EXPECT_TRUE(answer.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) << when << c.Name;
            } else {
                EXPECT_EQ(answer.FileAttributes, c.FileAttributes) << when << c.Name;
                EXPECT_EQ(answer.Size, c.Size) << when << c.Name;
            }
        }
    };
    IEnumIDList* enumerator = nullptr;
    ASSERT_EQ(folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN, &enumerator), S_OK);
    LPITEMIDLIST first = nullptr;
    ASSERT_EQ(enumerator->Next(1, &first, nullptr), S_OK);
    FreePIDL(first);
    check("during the enumeration: ");
    // Between batches the entries change: the next batch's answers see the change.
    WriteBytes(dir.filePath("data.bin"), 99, writable);
    ASSERT_TRUE(QFile::remove(dir.filePath("locked.txt")));
    LPITEMIDLIST second = nullptr;
    ASSERT_EQ(enumerator->Next(1, &second, nullptr), S_OK);
    FreePIDL(second);
    EXPECT_EQ(Ask(folder, "data.bin").Size, 99u);
    EXPECT_EQ(Ask(folder, "to-data").Size, 99u);
    EXPECT_EQ(Ask(folder, "locked.txt").AttributesResult, E_FAIL);
    EXPECT_EQ(Ask(folder, "locked.txt").DataResult, E_FAIL);
    enumerator->Release();
    WriteBytes(dir.filePath("data.bin"), 1234, writable);
    WriteBytes(dir.filePath("locked.txt"), 10, QFile::ReadOwner);
    check("without an enumeration: ");
    folder->Release();
}
