// The folder change watcher thread as its owner sees it: one call on the
// user-interface thread per change, silence when stopped, nothing left behind.
#include "fstestkit.h"

#include "shell/filechange.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QThread>
#include <QtCore/qtestsupport_core.h>

#include <gtest/gtest.h>

#include <thread>

using namespace Filechange;
using namespace platform::notify;
using namespace qvtest;

namespace {

constexpr int PatientMs = 10000;

// What an owner of a watcher sees of it.
struct Owner {
    std::atomic<bool> Destroyed = false;
    int Calls = 0;
    bool CalledOnUiThread = false;
    bool AliveInHandler = false;
    vcl::TObject* Sender = nullptr;
    TFileChangeThread* Watcher = nullptr;
};

// Tells its owner when it is freed.
class ObservedWatcher : public TFileChangeThread {
public:
    ObservedWatcher(const QString& directory, TFSFilterSet filter, bool subtree, std::atomic<bool>& destroyed)
        : TFileChangeThread(directory, filter, subtree), FDestroyed(destroyed) {}
    ~ObservedWatcher() override { FDestroyed = true; }

private:
    std::atomic<bool>& FDestroyed;
};

// Starts a watcher as an owner does: create it, set the handler, start it. The
// handler drops the owner's reference.
TFileChangeThread* StartWatcher(Owner& owner, const QString& directory, TFSFilterSet filter, bool subtree = false)
{
    auto* watcher = new ObservedWatcher(directory, filter, subtree, owner.Destroyed);
    watcher->OnTerminate = [&owner](vcl::TObject* Sender) {
        ++owner.Calls;
        owner.CalledOnUiThread = QThread::currentThread() == QCoreApplication::instance()->thread();
        owner.AliveInHandler = !owner.Destroyed;
        owner.Sender = Sender;
        owner.Watcher = nullptr;
    };
    owner.Watcher = watcher;
    watcher->Start();
    return watcher;
}

// The watcher opens its watches on its own thread; changes count from then on.
bool WaitUntilWatching(int watches)
{
    return QTest::qWaitFor([&] { return InotifyWatchCount() == watches; }, PatientMs);
}

// The filter members whose change-notification bits are among Kinds.
TFSFilterSet MembersFor(uint32_t kinds)
{
    TFSFilterSet members;
    if (kinds & FILE_NOTIFY_CHANGE_FILE_NAME)
        members = {fsfFilename};
    if (kinds & FILE_NOTIFY_CHANGE_DIR_NAME)
        members = {fsfDirname};
    if (kinds & FILE_NOTIFY_CHANGE_ATTRIBUTES)
        members = {fsfAttributes, fsfSecurity};
    if (kinds & FILE_NOTIFY_CHANGE_SIZE)
        members = {fsfSize, fsfLastWrite};
    return members;
}

TEST(TFileChangeThread, FilterToAPIValAddsTheFlagsOfTheMembers)
{
    struct Row {
        TFSFilterSet Filter;
        uint32_t Expected;
    };
    const Row rows[] = {
        {{}, 0x000},
        {{fsfFilename}, 0x001},
        {{fsfDirname}, 0x002},
        {{fsfAttributes}, 0x004},
        {{fsfSize}, 0x008},
        {{fsfLastWrite}, 0x010},
        {{fsfSecurity}, 0x100},
        {{fsfFilename, fsfDirname, fsfAttributes, fsfSize, fsfLastWrite}, 0x01F},
        {{fsfFilename, fsfDirname, fsfAttributes, fsfSize, fsfLastWrite, fsfSecurity}, 0x11F},
    };
    for (const Row& row : rows) {
        TFileChangeThread watcher(QStringLiteral("/"), row.Filter, false);
        EXPECT_EQ(watcher.FilterToAPIVal(), row.Expected);
    }
}

TEST(TFileChangeThread, EachChangeReachesTheOwnerOnceOnTheUiThreadThenTheThreadIsGone)
{
    for (const FolderChange& change : FolderChanges()) {
        SCOPED_TRACE(change.Name);
        QTemporaryDir folder;
        change.Prepare(folder.path());
        Owner owner;
        TFileChangeThread* watcher = StartWatcher(owner, folder.path(), MembersFor(change.Kinds));
        ASSERT_TRUE(WaitUntilWatching(1));
        change.Make(folder.path());
        ASSERT_TRUE(QTest::qWaitFor([&] { return owner.Destroyed.load(); }, PatientMs));
        EXPECT_EQ(owner.Calls, 1);
        EXPECT_TRUE(owner.CalledOnUiThread);
        EXPECT_TRUE(owner.AliveInHandler);
        EXPECT_EQ(owner.Sender, watcher);
        EXPECT_EQ(owner.Watcher, nullptr);
        EXPECT_EQ(InotifyWatchCount(), 0);
    }
}

TEST(TFileChangeThread, TheSubtreeFlagWatchesEverySubfolderAndNewOnes)
{
    QTemporaryDir folder;
    MakeDirectory(folder.filePath(QStringLiteral("sub")));
    MakeDirectory(folder.filePath(QStringLiteral("sub/deeper")));

    Owner flat;
    StartWatcher(flat, folder.path(), {fsfFilename});
    ASSERT_TRUE(WaitUntilWatching(1)) << "the folder alone";
    flat.Watcher->Terminate();
    ASSERT_TRUE(QTest::qWaitFor([&] { return flat.Destroyed.load(); }, PatientMs));

    Owner tree;
    StartWatcher(tree, folder.path(), {fsfFilename}, true);
    ASSERT_TRUE(WaitUntilWatching(3)) << "the folder and both subfolders";
    MakeDirectory(folder.filePath(QStringLiteral("sub/deeper/new")));
    ASSERT_TRUE(WaitUntilWatching(4)) << "the new subfolder too";
    MakeFile(folder.filePath(QStringLiteral("sub/deeper/new/file")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return tree.Destroyed.load(); }, PatientMs));
    EXPECT_EQ(tree.Calls, 1);
    EXPECT_EQ(flat.Calls, 0);
}

// Stopped before a change, or after it has seen one but before its handler was
// served: either way the owner is never called.
TEST(TFileChangeThread, AStoppedWatcherNeverCallsItsOwnerEvenAfterSeeingAChange)
{
    const int descriptors = OpenDescriptorCount();
    QTemporaryDir folder;
    for (const bool seenFirst : {false, true}) {
        SCOPED_TRACE(seenFirst ? "stopped after a change" : "stopped before a change");
        Owner owner;
        StartWatcher(owner, folder.path(), {fsfFilename});
        ASSERT_TRUE(WaitUntilWatching(1));
        const QString file = folder.filePath(seenFirst ? QStringLiteral("seen") : QStringLiteral("late"));
        if (seenFirst) {
            MakeFile(file);
            // The watcher closes its notification (and so the process's inotify instance)
            // after it has decided to report the change, and then waits for this thread to
            // serve its handler, which this thread does not do yet.
            QDeadlineTimer deadline(PatientMs);
            while (OpenDescriptorCount() != descriptors && !deadline.hasExpired())
                std::this_thread::yield();
            ASSERT_EQ(OpenDescriptorCount(), descriptors);
            ASSERT_FALSE(owner.Destroyed);
        }
        owner.Watcher->Terminate();
        if (!seenFirst)
            MakeFile(file);
        ASSERT_TRUE(QTest::qWaitFor([&] { return owner.Destroyed.load(); }, PatientMs));
        EXPECT_EQ(owner.Calls, 0);
        EXPECT_EQ(InotifyWatchCount(), 0);
    }
}

TEST(TFileChangeThread, AFolderThatCannotBeWatchedIsSilentAndWaitsToBeStopped)
{
    QTemporaryDir folder;
    MakeFile(folder.filePath(QStringLiteral("plain")));
    for (const QString& path : {folder.filePath(QStringLiteral("missing")), folder.filePath(QStringLiteral("plain"))}) {
        SCOPED_TRACE(path.toStdString());
        Owner broken;
        StartWatcher(broken, path, {fsfFilename});
        // A working watcher alongside gives the broken one time to fail.
        Owner working;
        StartWatcher(working, folder.path(), {fsfFilename});
        ASSERT_TRUE(WaitUntilWatching(1));
        MakeFile(folder.filePath(QStringLiteral("x")));
        ASSERT_TRUE(QTest::qWaitFor([&] { return working.Destroyed.load(); }, PatientMs));
        QFile::remove(folder.filePath(QStringLiteral("x")));
        ASSERT_FALSE(broken.Destroyed) << "the owner still holds it";
        broken.Watcher->Terminate();
        ASSERT_TRUE(QTest::qWaitFor([&] { return broken.Destroyed.load(); }, PatientMs));
        EXPECT_EQ(broken.Calls, 0);
    }
}

TEST(TFileChangeThread, AThousandWatchersStartedAndStoppedLeaveNothingOpen)
{
    constexpr int Count = 1000;
    const int descriptors = OpenDescriptorCount();
    QTemporaryDir folders[3];
    std::vector<std::unique_ptr<Owner>> owners;
    // As a tree view changing folders: each new watcher stops the previous one.
    for (int i = 0; i < Count; ++i) {
        owners.push_back(std::make_unique<Owner>());
        if (i > 0)
            owners[i - 1]->Watcher->Terminate();
        StartWatcher(*owners.back(), folders[i % 3].path(), {fsfFilename, fsfDirname, fsfAttributes, fsfSize, fsfLastWrite}, i % 2 == 0);
    }
    owners.back()->Watcher->Terminate();
    const auto allGone = [&] {
        for (const auto& owner : owners)
            if (!owner->Destroyed)
                return false;
        return true;
    };
    ASSERT_TRUE(QTest::qWaitFor(allGone, 60000));
    EXPECT_EQ(InotifyWatchCount(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return OpenDescriptorCount() == descriptors; }, PatientMs));
    for (const auto& owner : owners)
        EXPECT_EQ(owner->Calls, 0);
}

} // namespace
