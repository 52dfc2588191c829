// Error handling at the event loop.
#include "ui/platform/VelmoraApplication.h"

#include "core/platform/Error.h"
#include "ui/platform/Icons.h"
#include "ui/platform/MessageBoxQuestions.h"

namespace velmora::ui {

VelmoraApplication::VelmoraApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Velmora"));
    setApplicationDisplayName(QStringLiteral("Velmora"));
    // The desktop matches the window to the installed entry, and so to its icon.
    setDesktopFileName(QStringLiteral("velmora"));
    setWindowIcon(AppIcon());
}

bool ReportError(QWidget* parent, const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const platform::EAbort&) {
        return true;
    } catch (const std::exception& e) {
        ShowErrorBox(parent, e.what());
    } catch (...) {
        ShowErrorBox(parent, "Unknown error");
    }
    return true;
}

bool VelmoraApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ReportError(activeWindow(), std::current_exception());
        return true;
    }
}

} // namespace velmora::ui
