// The number-lines dialog: created once and reused, so it shows the values of its last use.
#pragma once

#include "core/workspace/LineNumbering.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

namespace velmora::ui {

class UpDown;

class LineNumbersDlg : public QDialog {
    Q_OBJECT
public:
    explicit LineNumbersDlg(QWidget* parent = nullptr);

    // The dialog's values converted; raises EConvertError for a text that does not convert.
    workspace::LineNumbering Numbering() const;

    QLineEdit* EditStart = nullptr;
    UpDown* UpDownStart = nullptr;
    QLineEdit* EditStep = nullptr;
    UpDown* UpDownStep = nullptr;
    QLineEdit* EditDigits = nullptr;
    UpDown* UpDownDigits = nullptr;
    QComboBox* ComboBoxSep = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace velmora::ui
