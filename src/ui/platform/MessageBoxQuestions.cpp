// Modal message boxes.
#include "ui/platform/MessageBoxQuestions.h"

#include "ui/platform/LongText.h"
#include "ui/platform/QtText.h"

#include <QApplication>
#include <QMessageBox>

namespace velmora::ui {

using platform::ModalResult;

platform::ModalResult MessageBoxQuestions::Ask(platform::MsgIcon icon, const std::string& text,
                                               unsigned buttons) {
    QMessageBox box(parent_);
    box.setWindowTitle(QStringLiteral("Velmora"));
    box.setText(Breakable(ToQString(text))); // a long name wraps instead of being cut
    switch (icon) {
    case platform::MsgIcon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case platform::MsgIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case platform::MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    default:
        box.setIcon(QMessageBox::Information);
        break;
    }
    QMessageBox::StandardButtons sb;
    if (buttons & platform::mbYes) sb |= QMessageBox::Yes;
    if (buttons & platform::mbNo) sb |= QMessageBox::No;
    if (buttons & platform::mbCancel) sb |= QMessageBox::Cancel;
    if (buttons & platform::mbRetry) sb |= QMessageBox::Retry;
    if (buttons & platform::mbYesToAll) sb |= QMessageBox::YesToAll;
    if (buttons & platform::mbOK) sb |= QMessageBox::Ok;
    box.setStandardButtons(sb);
    if (buttons & platform::mbCancel) box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return ModalResult::mrYes;
    case QMessageBox::No:
        return ModalResult::mrNo;
    case QMessageBox::Retry:
        return ModalResult::mrRetry;
    case QMessageBox::YesToAll:
        return ModalResult::mrYesToAll;
    case QMessageBox::Ok:
        return ModalResult::mrOk;
    default:
        return ModalResult::mrCancel; // closing the box counts as Cancel
    }
}

void ShowErrorBox(QWidget* parent, const std::string& message) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Velmora"), Breakable(ToQString(message)),
                    QMessageBox::Ok, parent);
    box.exec();
}

} // namespace velmora::ui
