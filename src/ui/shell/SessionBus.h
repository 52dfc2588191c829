// Whether a D-Bus service on the session bus runs or can be started.
#pragma once

#include <QString>

namespace velmora::ui {

class SessionBus {
public:
    // True when name is registered or activatable on a connected session bus.
    static bool ServiceAvailable(const QString& name);
    // True when a desktop portal runs and one of its backends offers an application chooser.
    static bool PortalAppChooserAvailable();
};

} // namespace velmora::ui
