// The modeless find-and-replace dialog of the names pane.
#pragma once

#include "core/workspace/FindReplace.h"
#include "ui/platform/MessageBoxQuestions.h"

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

namespace velmora::editor {
class CustomTextEditor;
}

namespace velmora::ui {

// Keeps its texts and options between uses. Its buttons run Find Next, Replace and Replace All
// on the editor; Cancel and Escape close it and give the focus back to the editor's widget. Its
// messages ("Could not find ...") stand over the dialog, which has the focus again after them.
class ReplaceDialog : public QDialog {
    Q_OBJECT
public:
    ReplaceDialog(editor::CustomTextEditor& editor, QWidget* editorWidget,
                  QWidget* parent = nullptr);

    // Shows the dialog, or brings it to the front when it is open already.
    void Execute();

    // Button handlers; a failed search ends in the silent abort after its message.
    void FindDialog1Find();
    void ReplaceDialog1Replace(bool replaceAll);

    workspace::FindReplace& Finder() { return finder_; }

    QLineEdit* EditFind = nullptr;
    QLineEdit* EditReplace = nullptr;
    QCheckBox* CheckBoxWholeWord = nullptr;
    QCheckBox* CheckBoxMatchCase = nullptr;
    QCheckBox* CheckBoxRegularExpression = nullptr;
    QRadioButton* RadioUp = nullptr;
    QRadioButton* RadioDown = nullptr;
    QPushButton* ButtonFindNext = nullptr;
    QPushButton* ButtonReplace = nullptr;
    QPushButton* ButtonReplaceAll = nullptr;
    QPushButton* ButtonCancel = nullptr;

protected:
    void reject() override;

private:
    void TakeOptions();
    void FocusEditorWidget();
    // After a search ended in a message: the next keys go to the dialog again.
    void FocusDialog();

    MessageBoxQuestions questions_{this};
    workspace::FindReplace finder_;
    QPointer<QWidget> editorWidget_;
};

} // namespace velmora::ui
