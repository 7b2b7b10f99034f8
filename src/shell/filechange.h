#pragma once
// A worker thread that tells its owner, once, that something in a folder changed.
#include "platform/notify/changenotification.h"
#include "vcl/core/thread.h"

#include <QString>
#include <cstdint>
#include <initializer_list>

namespace Filechange {

// The kinds of change a watcher reports: file names, directory names, attributes,
// sizes, last-write times, security settings.
enum TFSFilter : uint8_t { fsfFilename, fsfDirname, fsfAttributes, fsfSize, fsfLastWrite, fsfSecurity };

// A set of TFSFilter members in one byte (bit n for the member of ordinal n).
class TFSFilterSet {
public:
    constexpr TFSFilterSet() = default;
    // The set of the listed members (repeats are harmless).
    constexpr TFSFilterSet(std::initializer_list<TFSFilter> Members)
    {
        for (TFSFilter member : Members)
            FBits |= Bit(member);
    }
    // True when Member is in the set.
    constexpr bool Contains(TFSFilter Member) const { return (FBits & Bit(Member)) != 0; }

private:
    static constexpr uint8_t Bit(TFSFilter Member) { return static_cast<uint8_t>(1u << Member); }
    uint8_t FBits = 0;
};

// Watches one directory. Create it, set OnTerminate, then Start it. At the first
// change of a kind the filter names, OnTerminate runs on the user-interface thread
// (Sender is the thread) and the thread frees itself right after: drop every
// reference to it in the handler. Terminate stops it within one wait period without
// calling OnTerminate, and it frees itself then too. A directory that cannot be
// watched (missing, no access) is never reported: the thread only waits to be
// stopped, so that the owner's reference stays good until it lets go. Never delete
// a started watcher; stop it.
class TFileChangeThread : public vcl::TThread {
public:
    // How long one wait for a change lasts; it bounds how late a stop request is seen.
    static constexpr uint32_t WaitPeriod = 10; // ms
    // The name a running watcher gives its thread.
    static constexpr const char* ThreadName = "qv-filechange";

    // A watcher of Directory (and with WatchSubtree every folder below it) for the
    // changes Filter names; it does nothing until Start.
    TFileChangeThread(const QString& Directory, TFSFilterSet Filter, bool WatchSubtree);

    // The filter as the change-notification filter bits.
    uint32_t FilterToAPIVal() const;

protected:
    void Execute() override;
    void DoTerminate() override;

private:
    // True when the thread ends without a change to report.
    bool FCancelled = false;
    const QString FDirectory;
    const bool FWatchSubtree;
    const TFSFilterSet FFilter;
    platform::notify::HCHANGE FHandle = nullptr;
};

} // namespace Filechange
