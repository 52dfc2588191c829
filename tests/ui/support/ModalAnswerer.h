// Answers modal message boxes as they open, recording their texts.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace velmora::test {

class ModalAnswerer : public QObject {
public:
    ModalAnswerer() {
        timer_.setInterval(5);
        connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::Poll);
        timer_.start();
    }
    // Queue the button to press for the next box; with none queued, boxes get Cancel/Ok.
    void Then(QMessageBox::StandardButton b) { answers_.push_back({b, {}, 0}); }
    // The same, but first runs whileOpen when the box opens and keeps the box open for
    // keepOpenMs more, answering any box that opens on top of it meanwhile.
    void Then(QMessageBox::StandardButton b, std::function<void()> whileOpen, int keepOpenMs) {
        answers_.push_back({b, std::move(whileOpen), keepOpenMs});
    }
    // Boxes whose text starts with prefix always get b and are counted apart, not in texts.
    // A later rule for the same prefix wins.
    void Always(const std::string& prefix, QMessageBox::StandardButton b) {
        rules_.push_back({prefix, b});
    }
    std::vector<std::string> texts;
    std::vector<std::string> ruled;

private:
    void Poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        // Long names carry zero-width break opportunities for display; the text is without them.
        const std::string text = box->text().remove(QChar(0x200B)).toStdString();
        QMessageBox::StandardButton b = QMessageBox::Cancel;
        bool matched = false;
        for (auto r = rules_.rbegin(); r != rules_.rend() && !matched; ++r)
            if (text.rfind(r->first, 0) == 0) {
                b = r->second;
                matched = true;
            }
        if (!matched && !answers_.empty()) {
            Answer& next = answers_.front();
            if (next.whileOpen) {
                next.whileOpen();
                next.whileOpen = nullptr;
                openUntil_.start();
                return;
            }
            if (openUntil_.isValid() && openUntil_.elapsed() < next.keepOpenMs) return;
            openUntil_.invalidate();
            b = next.button;
            answers_.pop_front();
        }
        if (matched)
            ruled.push_back(text);
        else
            texts.push_back(text);
        QAbstractButton* button = box->button(b);
        if (!button) button = box->button(QMessageBox::Ok);
        if (!button) button = box->buttons().value(0);
        button->click();
    }
    struct Answer {
        QMessageBox::StandardButton button;
        std::function<void()> whileOpen;
        int keepOpenMs;
    };
    QTimer timer_;
    QElapsedTimer openUntil_;
    std::deque<Answer> answers_;
    std::vector<std::pair<std::string, QMessageBox::StandardButton>> rules_;
};

} // namespace velmora::test
