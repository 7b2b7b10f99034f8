#pragma once
// The original platform's notification-area call, Shell_NotifyIcon, over Qt's system
// tray icon (a StatusNotifierItem on the session bus where the desktop has a
// StatusNotifierWatcher, the XEmbed tray otherwise).
//
// The item protocol knows no button presses, releases or double clicks, only three
// activations. They arrive as the mouse messages the original's callback carried:
//   Activate (Qt's Trigger)          left down, left up; a second one within the
//                                    double-click time: left double click, left up
//   ContextMenu (Qt's Context)       right down, right up
//   SecondaryActivate (MiddleClick)  middle down, middle up
// A double click Qt reports itself (the XEmbed tray) gives left double click, left up,
// as the original platform orders a double click after its first press and release.
//
// Where a session bus exists but no watcher is registered on it, an added icon waits
// for one and shows when it arrives (the add still succeeds): Qt decides once per
// process between the item protocol and XEmbed, at its first tray icon, so no tray icon
// is made before a watcher is there to take it.
#include <QIcon>
#include <QString>
#include <cstdint>
#include <functional>

namespace platform::system {

constexpr uint32_t NIM_ADD = 0, NIM_MODIFY = 1, NIM_DELETE = 2;
constexpr uint32_t NIF_MESSAGE = 1, NIF_ICON = 2, NIF_TIP = 4;
// The mouse messages a callback carries.
constexpr uint32_t MouseMove = 0x200, LeftDown = 0x201, LeftUp = 0x202, LeftDoubleClick = 0x203,
                   RightDown = 0x204, RightUp = 0x205, MiddleDown = 0x207, MiddleUp = 0x208;

// Called on the user-interface thread with the icon's callback message, its
// identifier and the mouse message (the original's message, WParam and LParam).
using TNotifyCallback = std::function<void(uint32_t CallbackMessage, uint32_t Id, uint32_t MouseMessage)>;

struct TNotifyIconData {
    uint32_t cbSize = 88;
    uint64_t Window = 0; // a window-handle number; together with uID it names the icon
    uint32_t uID = 0;
    uint32_t uFlags = 0;
    uint32_t uCallbackMessage = 0;
    QIcon Icon;
    QString Tip;
    TNotifyCallback Callback; // where the original posted to Window
};

// Adds, modifies or deletes the icon named by Window and uID. Adding an icon that is
// there, or modifying or deleting one that is not, fails.
bool Shell_NotifyIcon(uint32_t Message, const TNotifyIconData& Data);

// Whether the icon named by Window and uID is on a notification area now (false while
// it waits for a watcher).
bool NotifyIconShown(uint64_t Window, uint32_t Id);

} // namespace platform::system
