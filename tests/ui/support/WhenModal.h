// Acting on a dialog the code under test opens modally: a timer finds it once it is shown.
#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>

namespace velmora::test {

// Runs act on the first visible modal dialog of type Dialog, once ready says it may; owner
// keeps the timer.
template <typename Dialog>
void WhenModal(QObject* owner, std::function<void(Dialog&)> act,
               std::function<bool(Dialog&)> ready = {}) {
    auto* timer = new QTimer(owner);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act, ready] {
        auto* dlg = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dlg || !dlg->isVisible() || (ready && !ready(*dlg))) return;
        timer->stop();
        timer->deleteLater();
        act(*dlg);
    });
    timer->start();
}

} // namespace velmora::test
