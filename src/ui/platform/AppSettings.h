// The settings Velmora keeps between runs, in $XDG_CONFIG_HOME/velmora/velmora.conf.
#pragma once

#include <QSettings>
#include <memory>

namespace velmora::ui {

std::unique_ptr<QSettings> OpenAppSettings();

} // namespace velmora::ui
