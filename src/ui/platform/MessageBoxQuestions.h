// The core's questions as modal message boxes with the application title as caption.
#pragma once

#include "core/platform/Questions.h"

#include <QPointer>
#include <QWidget>

namespace velmora::ui {

class MessageBoxQuestions : public platform::Questions {
public:
    explicit MessageBoxQuestions(QWidget* parent) : parent_(parent) {}
    platform::ModalResult Ask(platform::MsgIcon icon, const std::string& text,
                              unsigned buttons) override;

private:
    QPointer<QWidget> parent_;
};

// Shows an error text in a modal box; the text may hold file names with any bytes.
void ShowErrorBox(QWidget* parent, const std::string& message);

} // namespace velmora::ui
