// The find-and-replace dialog.
#include "ui/workspace/ReplaceDialog.h"

#include "core/platform/Utf8.h"
#include "ui/platform/QtText.h"
#include "ui/platform/VelmoraApplication.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace velmora::ui {

ReplaceDialog::ReplaceDialog(editor::CustomTextEditor& editor, QWidget* editorWidget,
                             QWidget* parent)
    : QDialog(parent), finder_(editor, questions_), editorWidget_(editorWidget) {
    setObjectName(QStringLiteral("ReplaceDialog1"));
    setWindowTitle(QStringLiteral("Replace"));
    setModal(false);
    finder_.FocusEditor = [this] { FocusEditorWidget(); };

    auto* findLabel = new QLabel(QStringLiteral("Fi&nd what:"), this);
    EditFind = new QLineEdit(this);
    EditFind->setObjectName(QStringLiteral("EditFind"));
    EditFind->setAccessibleName(QStringLiteral("Find what"));
    findLabel->setBuddy(EditFind);
    auto* replaceLabel = new QLabel(QStringLiteral("Re&place with:"), this);
    EditReplace = new QLineEdit(this);
    EditReplace->setObjectName(QStringLiteral("EditReplace"));
    EditReplace->setAccessibleName(QStringLiteral("Replace with"));
    replaceLabel->setBuddy(EditReplace);

    CheckBoxWholeWord = new QCheckBox(QStringLiteral("Match &whole word only"), this);
    CheckBoxWholeWord->setObjectName(QStringLiteral("CheckBoxWholeWord"));
    CheckBoxMatchCase = new QCheckBox(QStringLiteral("Match &case"), this);
    CheckBoxMatchCase->setObjectName(QStringLiteral("CheckBoxMatchCase"));
    CheckBoxRegularExpression = new QCheckBox(QStringLiteral("Regular e&xpression"), this);
    CheckBoxRegularExpression->setObjectName(QStringLiteral("CheckBoxRegularExpression"));
    CheckBoxRegularExpression->setToolTip(
        QStringLiteral("Find a Perl-compatible pattern within each line; replace with \\1..\\9, "
                       "$1..$9, \\U...\\E, \\L...\\E"));
    auto* direction = new QGroupBox(QStringLiteral("Direction"), this);
    RadioUp = new QRadioButton(QStringLiteral("&Up"), direction);
    RadioUp->setObjectName(QStringLiteral("RadioUp"));
    RadioDown = new QRadioButton(QStringLiteral("&Down"), direction);
    RadioDown->setObjectName(QStringLiteral("RadioDown"));
    RadioUp->setChecked(true); // every option starts off, Down included
    auto* directionRow = new QHBoxLayout(direction);
    directionRow->addWidget(RadioUp);
    directionRow->addWidget(RadioDown);

    auto makeButton = [this](const QString& caption, const QString& name) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    ButtonFindNext = makeButton(QStringLiteral("&Find Next"), QStringLiteral("ButtonFindNext"));
    ButtonFindNext->setDefault(true);
    ButtonReplace = makeButton(QStringLiteral("&Replace"), QStringLiteral("ButtonReplace"));
    ButtonReplaceAll =
        makeButton(QStringLiteral("Replace &All"), QStringLiteral("ButtonReplaceAll"));
    ButtonCancel = makeButton(QStringLiteral("Cancel"), QStringLiteral("ButtonCancel"));
    connect(ButtonFindNext, &QPushButton::clicked, this, [this] { FindDialog1Find(); });
    connect(ButtonReplace, &QPushButton::clicked, this, [this] { ReplaceDialog1Replace(false); });
    connect(ButtonReplaceAll, &QPushButton::clicked, this, [this] { ReplaceDialog1Replace(true); });
    connect(ButtonCancel, &QPushButton::clicked, this, &ReplaceDialog::reject);

    auto* grid = new QGridLayout;
    grid->addWidget(findLabel, 0, 0);
    grid->addWidget(EditFind, 0, 1);
    grid->addWidget(replaceLabel, 1, 0);
    grid->addWidget(EditReplace, 1, 1);
    auto* options = new QHBoxLayout;
    auto* checks = new QVBoxLayout;
    checks->addWidget(CheckBoxWholeWord);
    checks->addWidget(CheckBoxMatchCase);
    checks->addWidget(CheckBoxRegularExpression);
    checks->addStretch(1);
    options->addLayout(checks);
    options->addWidget(direction, 0, Qt::AlignTop);
    auto* left = new QVBoxLayout;
    left->addLayout(grid);
    left->addLayout(options);
    left->addStretch(1);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {ButtonFindNext, ButtonReplace, ButtonReplaceAll, ButtonCancel})
        buttons->addWidget(b);
    buttons->addStretch(1);
    auto* row = new QHBoxLayout(this);
    row->addLayout(left, 1);
    row->addLayout(buttons);
}

void ReplaceDialog::Execute() {
    show();
    raise();
    activateWindow();
    EditFind->setFocus(Qt::OtherFocusReason);
    EditFind->selectAll();
}

void ReplaceDialog::TakeOptions() {
    workspace::FindOptions& o = finder_.Options;
    o.FindText = platform::DecodeUtf8(FromQString(EditFind->text()));
    o.ReplaceText = platform::DecodeUtf8(FromQString(EditReplace->text()));
    o.Down = RadioDown->isChecked();
    o.WholeWord = CheckBoxWholeWord->isChecked();
    o.MatchCase = CheckBoxMatchCase->isChecked();
    o.RegularExpression = CheckBoxRegularExpression->isChecked();
}

void ReplaceDialog::FindDialog1Find() {
    TakeOptions();
    if (!Guarded(this, [this] { finder_.FindDialog1Find(); })) FocusDialog();
}

void ReplaceDialog::ReplaceDialog1Replace(bool replaceAll) {
    TakeOptions();
    if (!Guarded(this, [this, replaceAll] { finder_.ReplaceDialog1Replace(replaceAll); }))
        FocusDialog();
}

void ReplaceDialog::FocusDialog() {
    if (!isVisible()) return;
    raise();
    activateWindow();
    EditFind->setFocus(Qt::OtherFocusReason);
}

void ReplaceDialog::reject() {
    QDialog::reject();
    FocusEditorWidget();
}

void ReplaceDialog::FocusEditorWidget() {
    if (!editorWidget_) return;
    editorWidget_->activateWindow();
    editorWidget_->setFocus(Qt::OtherFocusReason);
}

} // namespace velmora::ui
