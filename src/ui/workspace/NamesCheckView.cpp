// The names check's marks, summary and keys.
#include "ui/workspace/NamesCheckView.h"

#include "ui/editor/TextEditor.h"
#include "ui/platform/Icons.h"
#include "ui/platform/QtText.h"
#include "ui/workspace/FixedRowHeightDelegate.h"
#include "ui/workspace/NameListModel.h"

#include <QHelpEvent>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>
#include <QToolTip>

namespace velmora::ui {

using workspace::NameState;

namespace {

// The width of the names pane's gutter while the check is on: room for the marks.
constexpr int kMarkGutter = 5;

QSettings Settings() {
    return QSettings(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                         QStringLiteral("/velmora/velmora.conf"),
                     QSettings::IniFormat);
}

const QString kSettingKey = QStringLiteral("NamesCheck/Enabled");

// Colours that stand out from a light and from a dark background alike: darker ones on light,
// lighter ones on dark, each at least 3:1 against the background.
QColor Colour(NameState s, bool dark) {
    switch (s) {
    case NameState::Changed:
        return dark ? QColor(0x64, 0xA8, 0xFF) : QColor(0x1F, 0x5F, 0xC0);
    case NameState::Duplicate:
        return dark ? QColor(0xFF, 0xA0, 0x40) : QColor(0xB8, 0x50, 0x00);
    case NameState::Taken:
        return dark ? QColor(0xD5, 0x8C, 0xFF) : QColor(0x8E, 0x24, 0xAA);
    case NameState::Invalid:
    case NameState::Misaligned:
        return dark ? QColor(0xFF, 0x6B, 0x6B) : QColor(0xC6, 0x28, 0x28);
    case NameState::Unchanged:
        break;
    }
    return {};
}

bool Dark(const QColor& background) {
    return background.lightness() < 128;
}

} // namespace

NamesCheckView::NamesCheckView(workspace::Workspace& work, TextEditor* pane, QListView* list,
                               NameListModel* model, QStatusBar* bar, QMenu* etcMenu,
                               QWidget* window)
    : QObject(window), work_(work), pane_(pane), list_(list), model_(model) {
    Summary = new QLabel(window);
    Summary->setObjectName(QStringLiteral("LabelNamesCheck"));
    Summary->setAccessibleName(QStringLiteral("Names check"));
    Summary->setTextFormat(Qt::PlainText);
    bar->addPermanentWidget(Summary);

    CheckNames1 = new QAction(QStringLiteral("&Check Names"), window);
    CheckNames1->setObjectName(QStringLiteral("CheckNames1"));
    CheckNames1->setCheckable(true);
    CheckNames1->setIcon(ThemeIcon("tools-check-spelling", QStyle::SP_FileDialogContentsView));
    QAction* first = etcMenu->actions().value(0);
    etcMenu->insertAction(first, CheckNames1);
    etcMenu->insertSeparator(first);
    connect(CheckNames1, &QAction::toggled, this, [this](bool on) {
        Settings().setValue(kSettingKey, on);
        SetEnabled(on);
    });

    // The keys work anywhere in the window, the file list included.
    NextProblem = new QAction(QStringLiteral("Next Problem"), window);
    NextProblem->setObjectName(QStringLiteral("NextProblem1"));
    NextProblem->setShortcut(QKeySequence(Qt::Key_F8));
    PreviousProblem = new QAction(QStringLiteral("Previous Problem"), window);
    PreviousProblem->setObjectName(QStringLiteral("PreviousProblem1"));
    PreviousProblem->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F8));
    for (QAction* a : {NextProblem, PreviousProblem}) {
        a->setShortcutContext(Qt::WindowShortcut);
        window->addAction(a);
    }
    connect(NextProblem, &QAction::triggered, this, [this] { GoToProblem(false); });
    connect(PreviousProblem, &QAction::triggered, this, [this] { GoToProblem(true); });

    connect(pane_, &TextEditor::LinesChanged, this, &NamesCheckView::Follow);
    connect(model_, &QAbstractItemModel::modelReset, this, &NamesCheckView::Reload);
    pane_->viewport()->installEventFilter(this);

    const bool on = Settings().value(kSettingKey, true).toBool();
    SetEnabled(on);
    const QSignalBlocker quiet(CheckNames1);
    CheckNames1->setChecked(on);
}

void NamesCheckView::SetEnabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    NextProblem->setEnabled(on);
    PreviousProblem->setEnabled(on);
    Summary->setVisible(on);
    if (on) {
        pane_->RowMark = [this](int row) {
            return MarkColour(pane_->Lines().MapRow(row).Paragraph);
        };
        model_->RowData = [this](int row, int role) -> QVariant {
            if (role == FixedRowHeightDelegate::MarkRole) {
                const NameState s = check_.State(row);
                return s == NameState::Unchanged
                           ? QColor()
                           : Colour(s, Dark(list_->palette().color(list_->backgroundRole())));
            }
            if (role == Qt::ToolTipRole) {
                const QString tip = LineToolTip(row);
                if (!tip.isEmpty()) return tip;
            }
            return {};
        };
        pane_->SetGutterWidth(kMarkGutter);
        Reload();
    } else {
        pane_->RowMark = nullptr;
        model_->RowData = nullptr;
        pane_->SetGutterWidth(0);
        checked_ = false;
        Summary->clear();
        pane_->viewport()->update();
        list_->viewport()->update();
    }
}

void NamesCheckView::Reload() {
    if (!enabled_) return;
    const std::string& dir = work_.ListedDirectory();
    checked_ = !dir.empty();
    if (checked_) {
        check_.ReadFolder(dir, work_.Left());
        check_.Reset(work_.Left(), pane_->Lines(), work_.ListedWithoutExt());
    }
    pane_->Lines().TakeEdits();
    Show();
}

void NamesCheckView::Follow() {
    if (!enabled_ || !checked_) return;
    // Inside an update bracket (a load, a command rewriting many lines) the lines are checked
    // once, when the bracket has closed and the event loop is back.
    if (pane_->UpdateLock() > 0) {
        if (!followPending_) {
            followPending_ = true;
            QTimer::singleShot(0, this, [this] {
                followPending_ = false;
                Follow();
            });
        }
        return;
    }
    const auto span = pane_->Lines().TakeEdits();
    if (!span.Changed) return;
    check_.Edited(work_.Left(), pane_->Lines(), span.First, span.Tail, span.OldCount);
    Show();
}

void NamesCheckView::Show() {
    const QString text = checked_ ? ToQString(check_.Summary()) : QString();
    if (Summary->text() != text) {
        Summary->setText(text);
        Summary->setAccessibleDescription(text);
    }
    // Only the strips of the lines whose mark changed: the text of a row is repainted by its
    // own edit, and the file list's rows cost a styled paint each.
    const int paneStrip = pane_->TextAreaLeft();
    const int listStrip = FixedRowHeightDelegate::MarkWidth + 1;
    if (!checked_ || check_.TakeRestated(restated_)) {
        pane_->viewport()->update(QRect(0, 0, paneStrip, pane_->viewport()->height()));
        list_->viewport()->update(QRect(0, 0, listStrip, list_->viewport()->height()));
        return;
    }
    const int lh = pane_->LineHeight();
    for (const int line : restated_) {
        const int row = pane_->Lines().ParagraphToRow(line, 0).Y - pane_->TopRow();
        if (row >= 0 && row <= pane_->VisibleRowCount())
            pane_->viewport()->update(QRect(0, row * lh, paneStrip, lh));
        const QRect item = list_->visualRect(model_->index(line, 0));
        if (item.intersects(list_->viewport()->rect()))
            list_->viewport()->update(QRect(item.left(), item.top(), listStrip, item.height()));
    }
}

QString NamesCheckView::LineToolTip(int line) const {
    if (!checked_) return {};
    return ToQString(check_.Describe(line, work_.Left(), pane_->Lines()));
}

QColor NamesCheckView::MarkColour(int line) const {
    if (!checked_) return {};
    return Colour(check_.State(line), Dark(pane_->Color));
}

void NamesCheckView::GoToProblem(bool backwards) {
    if (!checked_) return;
    const int line = check_.NextProblem(pane_->CaretY(), backwards);
    if (line < 0) return;
    pane_->setFocus(Qt::ShortcutFocusReason);
    pane_->MoveCaret(0, line);
}

bool NamesCheckView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip && watched == pane_->viewport() && checked_) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int row = pane_->TopRow() + help->pos().y() / std::max(pane_->LineHeight(), 1);
        const QString tip =
            pane_->IsRowValid(row) ? LineToolTip(pane_->Lines().MapRow(row).Paragraph) : QString();
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, pane_->viewport());
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace velmora::ui
