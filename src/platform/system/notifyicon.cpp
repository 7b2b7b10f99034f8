#include "platform/system/notifyicon.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>
#include <QElapsedTimer>
#include <QPointer>
#include <QStyle>
#include <QStyleHints>
#include <QSystemTrayIcon>
#include <map>
#include <memory>

namespace platform::system {

namespace {

const QString WatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");

// Qt's tray shows nothing without a picture: an empty icon shows the application's.
QIcon ShownIcon(const QIcon& icon)
{
    if (!icon.isNull())
        return icon;
    const QIcon application = QApplication::windowIcon();
    return application.isNull() ? QApplication::style()->standardIcon(QStyle::SP_ComputerIcon) : application;
}

class TTrayEntry : public QObject {
public:
    explicit TTrayEntry(const TNotifyIconData& data)
        : FData(data)
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected() || bus.interface()->isServiceRegistered(WatcherService).value()) {
            Show();
            return;
        }
        FWatcher = new QDBusServiceWatcher(WatcherService, bus, QDBusServiceWatcher::WatchForRegistration, this);
        connect(FWatcher, &QDBusServiceWatcher::serviceRegistered, this, [this] {
            FWatcher->deleteLater();
            FWatcher = nullptr;
            Show();
        });
    }

    void Modify(const TNotifyIconData& data)
    {
        FData = data;
        if (FIcon)
            Apply();
    }

    bool Shown() const { return FIcon != nullptr; }

    // Hides the icon and stops its messages at once, and frees the entry later: the
    // delete may come from inside the entry's own callback.
    void Retire()
    {
        FData.Callback = nullptr;
        if (FIcon)
            FIcon->hide();
        deleteLater();
    }

private:
    void Show()
    {
        FIcon = std::make_unique<QSystemTrayIcon>();
        connect(FIcon.get(), &QSystemTrayIcon::activated, this, &TTrayEntry::Activated);
        Apply();
        FIcon->show();
    }

    void Apply()
    {
        if (FData.uFlags & NIF_ICON)
            FIcon->setIcon(ShownIcon(FData.Icon));
        else if (FIcon->icon().isNull())
            FIcon->setIcon(ShownIcon({}));
        if (FData.uFlags & NIF_TIP)
            FIcon->setToolTip(FData.Tip);
    }

    void Activated(QSystemTrayIcon::ActivationReason reason)
    {
        switch (reason) {
        case QSystemTrayIcon::Trigger: {
            const bool second = FLastTrigger.isValid()
                && FLastTrigger.elapsed() < QGuiApplication::styleHints()->mouseDoubleClickInterval();
            if (second) {
                FLastTrigger.invalidate();
                Deliver({LeftDoubleClick, LeftUp});
            } else {
                FLastTrigger.start();
                Deliver({LeftDown, LeftUp});
            }
            break;
        }
        case QSystemTrayIcon::DoubleClick: Deliver({LeftDoubleClick, LeftUp}); break;
        case QSystemTrayIcon::Context: Deliver({RightDown, RightUp}); break;
        case QSystemTrayIcon::MiddleClick: Deliver({MiddleDown, MiddleUp}); break;
        case QSystemTrayIcon::Unknown: break;
        }
        // A double click is two clicks of the left button with nothing between them.
        if (reason != QSystemTrayIcon::Trigger)
            FLastTrigger.invalidate();
    }

    // The callback may delete this entry (a handler that deactivates the icon), so the
    // messages are delivered while it is alive only.
    void Deliver(std::initializer_list<uint32_t> messages)
    {
        const QPointer<TTrayEntry> alive(this);
        for (uint32_t message : messages) {
            if (!alive || !(FData.uFlags & NIF_MESSAGE) || !FData.Callback)
                return;
            const TNotifyCallback callback = FData.Callback;
            callback(FData.uCallbackMessage, FData.uID, message);
        }
    }

    TNotifyIconData FData;
    std::unique_ptr<QSystemTrayIcon> FIcon;
    QDBusServiceWatcher* FWatcher = nullptr;
    QElapsedTimer FLastTrigger;
};

using TKey = std::pair<uint64_t, uint32_t>;

std::map<TKey, std::unique_ptr<TTrayEntry>>& Entries()
{
    static std::map<TKey, std::unique_ptr<TTrayEntry>> entries;
    return entries;
}

} // namespace

bool Shell_NotifyIcon(uint32_t Message, const TNotifyIconData& Data)
{
    auto& entries = Entries();
    const TKey key{Data.Window, Data.uID};
    const auto found = entries.find(key);
    switch (Message) {
    case NIM_ADD:
        if (found != entries.end())
            return false;
        entries.emplace(key, std::make_unique<TTrayEntry>(Data));
        return true;
    case NIM_MODIFY:
        if (found == entries.end())
            return false;
        found->second->Modify(Data);
        return true;
    case NIM_DELETE:
        if (found == entries.end())
            return false;
        found->second.release()->Retire();
        entries.erase(found);
        return true;
    default: return false;
    }
}

bool NotifyIconShown(uint64_t Window, uint32_t Id)
{
    const auto found = Entries().find({Window, Id});
    return found != Entries().end() && found->second->Shown();
}

} // namespace platform::system
