// Spin buttons attached to an edit box that keeps any typed text.
#pragma once

#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

namespace velmora::ui {

// The buttons (and the Up and Down keys in the box) step the number in the box by one within
// [Min, Max], without wrapping and without thousands separators. The box itself accepts any
// text: it is converted only where it is used. Text that is no number steps from Min.
class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(QLineEdit* associate, int min, int max, QWidget* parent = nullptr);

    int Min() const { return min_; }
    int Max() const { return max_; }
    void Step(int delta);
    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* associate_;
    int min_;
    int max_;
    QToolButton* up_;
    QToolButton* down_;
};

} // namespace velmora::ui
