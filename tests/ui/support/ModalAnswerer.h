// Answers modal message boxes as they open, recording their texts.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <deque>
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
    void Then(QMessageBox::StandardButton b) { answers_.push_back(b); }
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
        const std::string text = box->text().toStdString();
        QMessageBox::StandardButton b = QMessageBox::Cancel;
        bool matched = false;
        for (auto r = rules_.rbegin(); r != rules_.rend() && !matched; ++r)
            if (text.rfind(r->first, 0) == 0) {
                b = r->second;
                matched = true;
            }
        if (matched)
            ruled.push_back(text);
        else
            texts.push_back(text);
        if (!matched && !answers_.empty()) {
            b = answers_.front();
            answers_.pop_front();
        }
        QAbstractButton* button = box->button(b);
        if (!button) button = box->button(QMessageBox::Ok);
        if (!button) button = box->buttons().value(0);
        button->click();
    }
    QTimer timer_;
    std::deque<QMessageBox::StandardButton> answers_;
    std::vector<std::pair<std::string, QMessageBox::StandardButton>> rules_;
};

} // namespace velmora::test
