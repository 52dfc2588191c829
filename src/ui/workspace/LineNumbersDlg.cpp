// The number-lines dialog.
#include "ui/workspace/LineNumbersDlg.h"

#include "ui/platform/QtText.h"
#include "ui/workspace/UpDown.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

namespace velmora::ui {

LineNumbersDlg::LineNumbersDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("LineNumbersDlg"));
    setWindowTitle(QStringLiteral("Number Lines"));
    setModal(true);
    auto* grid = new QGridLayout(this);

    // Spin limits: the minimums are fixed; the maximums keep numbers a name can hold.
    auto addSpin = [&](int row, const QString& caption, const QString& name, const QString& value,
                       int min, int max, QLineEdit*& edit, UpDown*& upDown) {
        auto* label = new QLabel(caption, this);
        edit = new QLineEdit(value, this);
        edit->setObjectName(name);
        edit->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
        label->setBuddy(edit);
        upDown = new UpDown(edit, min, max, this);
        upDown->setObjectName(QStringLiteral("UpDown") + name.mid(4));
        auto* box = new QHBoxLayout;
        box->setSpacing(0);
        box->addWidget(edit);
        box->addWidget(upDown);
        grid->addWidget(label, row, 0);
        grid->addLayout(box, row, 1);
    };
    addSpin(0, QStringLiteral("&Start At"), QStringLiteral("EditStart"), QStringLiteral("1"), 0,
            999999, EditStart, UpDownStart);
    addSpin(1, QStringLiteral("Ste&p"), QStringLiteral("EditStep"), QStringLiteral("1"), 1, 999999,
            EditStep, UpDownStep);
    addSpin(2, QStringLiteral("&Digits"), QStringLiteral("EditDigits"), QStringLiteral("2"), 0, 255,
            EditDigits, UpDownDigits);

    auto* sepLabel = new QLabel(QStringLiteral("Sep&arator"), this);
    ComboBoxSep = new QComboBox(this);
    ComboBoxSep->setObjectName(QStringLiteral("ComboBoxSep"));
    ComboBoxSep->setEditable(true);
    ComboBoxSep->setInsertPolicy(QComboBox::NoInsert);
    ComboBoxSep->addItems(
        {QStringLiteral(" - "), QStringLiteral("-"), QStringLiteral("_"), QStringLiteral(" ")});
    ComboBoxSep->setCurrentIndex(0);
    ComboBoxSep->setAccessibleName(QStringLiteral("Separator"));
    sepLabel->setBuddy(ComboBoxSep);
    grid->addWidget(sepLabel, 3, 0);
    grid->addWidget(ComboBoxSep, 3, 1);

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject); // Escape too
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    buttons->addStretch(1);
    grid->addLayout(buttons, 0, 2, 4, 1);
    grid->setColumnStretch(1, 1);
    resize(293, 136);
}

void LineNumbersDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The box that has the focus shows its text selected, so that typing replaces the old value.
    QWidget* focus = focusWidget();
    if (!focus) {
        EditStart->setFocus(Qt::OtherFocusReason);
        focus = EditStart;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(focus))
        edit->selectAll();
    else if (focus == ComboBoxSep)
        ComboBoxSep->lineEdit()->selectAll();
}

workspace::LineNumbering LineNumbersDlg::Numbering() const {
    return workspace::LineNumbering(FromQString(EditStart->text()), FromQString(EditStep->text()),
                                    FromQString(EditDigits->text()),
                                    FromQString(ComboBoxSep->currentText()));
}

} // namespace velmora::ui
