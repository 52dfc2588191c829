// The application object: shows every error that reaches the event loop, none for an abort.
#pragma once

#include <QApplication>

namespace velmora::ui {

class VelmoraApplication : public QApplication {
    Q_OBJECT
public:
    VelmoraApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Runs fn; a platform error is shown in an error box, the silent abort shows nothing.
// Returns false when fn raised.
template <typename Fn> bool Guarded(QWidget* parent, Fn&& fn);
bool ReportError(QWidget* parent, const std::exception_ptr& error);

template <typename Fn> bool Guarded(QWidget* parent, Fn&& fn) {
    try {
        fn();
        return true;
    } catch (...) {
        ReportError(parent, std::current_exception());
        return false;
    }
}

} // namespace velmora::ui
