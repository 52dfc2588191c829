// One settings file for the whole program, whatever the application's organisation name.
#include "ui/platform/AppSettings.h"

#include <QStandardPaths>

namespace velmora::ui {

std::unique_ptr<QSettings> OpenAppSettings() {
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return std::make_unique<QSettings>(dir + QStringLiteral("/velmora/velmora.conf"),
                                       QSettings::IniFormat);
}

} // namespace velmora::ui
