// "Properties": the file manager's properties window over D-Bus, or our own.
#pragma once

#include "ui/shell/FilePropertiesDialog.h"

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <string>

namespace velmora::ui {

enum class ShellObjectType : std::uint8_t { sdPathObject, sdPrinterObject };

class ObjectPropertiesDialog : public QObject {
    Q_OBJECT
public:
    explicit ObjectPropertiesDialog(QWidget* owner);

    std::string ObjectName;
    // Only file paths have properties here; printers are left to the printing dialogs.
    ShellObjectType ObjectType = ShellObjectType::sdPathObject;

    // Shows the properties and returns at once, the window staying open on its own; true when
    // it was shown. A file that cannot be examined is reported as an error.
    bool Execute();

    // The last window of our own, while it is open.
    FilePropertiesDialog* OwnDialog() const { return own_; }

private:
    QPointer<QWidget> owner_;
    QPointer<FilePropertiesDialog> own_;
};

} // namespace velmora::ui
