#pragma once
// The properties window of an item: name, type, location, size, times and permissions.
#include "platform/shell/idlist.h"

#include <QDialog>

namespace platform::shell {

class TItemPropertiesWindow : public QDialog {
    Q_OBJECT
public:
    explicit TItemPropertiesWindow(const std::vector<TShellItem>& absolute, QWidget* parent = nullptr);
};

// Shows a new properties window for the item, not modal; it deletes itself when closed.
void ShowItemProperties(const std::vector<TShellItem>& absolute);

} // namespace platform::shell
