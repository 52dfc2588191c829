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
    std::vector<std::string> texts;

private:
    void Poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        texts.push_back(box->text().toStdString());
        QMessageBox::StandardButton b = QMessageBox::Cancel;
        if (!answers_.empty()) {
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
};

} // namespace velmora::test
