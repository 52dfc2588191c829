// The main window and its handlers.
#include "ui/workspace/MainWindow.h"

#include "core/editor/EditorCommands.h"
#include "core/fs/DirectoryListing.h"
#include "core/fs/PathUtils.h"
#include "core/platform/Error.h"
#include "core/shell/DesktopExec.h"
#include "core/shell/HelpLinks.h"
#include "core/shell/ShellRegistration.h"
#include "core/tagnames/PaneLines.h"
#include "core/workspace/CommandLine.h"
#include "core/workspace/DropSelection.h"
#include "core/workspace/NameCommands.h"
#include "core/workspace/NamingRules.h"
#include "ui/dirchooser/DirTreeCombo.h"
#include "ui/editor/TextEditor.h"
#include "ui/platform/Icons.h"
#include "ui/platform/MessageBoxQuestions.h"
#include "ui/platform/QtText.h"
#include "ui/platform/VelmoraApplication.h"
#include "ui/shell/DragDrop.h"
#include "ui/shell/ObjectPropertiesDialog.h"
#include "ui/shell/OpenWithDialog.h"
#include "ui/shell/SHFileOperation.h"
#include "ui/workspace/FixedRowHeightDelegate.h"
#include "ui/workspace/InfoPages.h"
#include "ui/workspace/LineNumbersDlg.h"
#include "ui/workspace/NameListModel.h"
#include "ui/workspace/NamesCheckView.h"
#include "ui/workspace/NamesFromTagsDlg.h"
#include "ui/workspace/PaneRowsLevel.h"
#include "ui/workspace/ReplaceDialog.h"
#include "ui/workspace/StatusBarSink.h"
#include "ui/workspace/UndoLastApply.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProcess>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

// Build settings (CMake cache variables of the same names); empty when not set.
#ifndef VELMORA_HOMEPAGE_URL
#define VELMORA_HOMEPAGE_URL ""
#endif
#ifndef VELMORA_CONTACT_ADDRESS
#define VELMORA_CONTACT_ADDRESS ""
#endif
#ifndef VELMORA_DOC_DIR
#define VELMORA_DOC_DIR ""
#endif
#ifndef VELMORA_SOURCE_DOC_DIR
#define VELMORA_SOURCE_DOC_DIR ""
#endif

namespace velmora::ui {

using platform::ModalResult;

template <typename Fn> void MainWindow::Run(Fn&& fn) {
    // Outside reports (the watcher's, the folder tree's) wait until the user's action has ended,
    // so no reload runs under its questions and dialogs (an Apply, a confirmation, Open With,
    // Number Lines) and replaces its lists.
    reports_.Hold();
    Guarded(this, std::forward<Fn>(fn));
    ReleaseReportsLater();
}

void MainWindow::ReleaseReportsLater() {
    QTimer::singleShot(0, this, [this] { Guarded(this, [this] { reports_.Release(); }); });
}

MainWindow::MainWindow(const std::vector<std::string>& args, QWidget* parent)
    : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Velmora"));
    resize(712, 624);
    move(404, 132);

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(4, 4, 4, 0);
    auto* top = new QWidget(central);
    top->setFixedHeight(73);
    BuildTopPanel(top);
    column->addWidget(top);

    auto* panelMain = new QSplitter(Qt::Horizontal, central);
    panelMain->setObjectName(QStringLiteral("PanelMain"));
    panelMain->setChildrenCollapsible(false);
    BuildNamePanes(panelMain);
    panelMain->setSizes({352, 352});
    panelMain->setStretchFactor(1, 1);
    // The name panes above, the information pane below, a splitter bar between them.
    auto* splitterInfo = new QSplitter(Qt::Vertical, central);
    splitterInfo->setObjectName(QStringLiteral("SplitterInfo"));
    splitterInfo->setChildrenCollapsible(false);
    splitterInfo->addWidget(panelMain);
    PageControlInfo = new InfoPages(splitterInfo);
    MemoInfo = PageControlInfo->MemoInfo;
    splitterInfo->addWidget(PageControlInfo);
    splitterInfo->setStretchFactor(0, 1);
    splitterInfo->setStretchFactor(1, 0);
    splitterInfo->setSizes({400, 224});
    PageControlInfo->hide();
    column->addWidget(splitterInfo, 1);
    setCentralWidget(central);

    StatusText = new QLabel(this);
    StatusText->setObjectName(QStringLiteral("StatusBar1"));
    StatusText->setTextFormat(Qt::PlainText);
    statusBar()->addWidget(StatusText, 1);
    status_ = new StatusBarSink(StatusText, this);
    questions_ = std::make_unique<MessageBoxQuestions>(this);

    workspace::WorkspaceHost host;
    host.GetSelectedPath = [this] { return EditDirectory->GetSelectedPath(); };
    host.Pattern = [this] { return FromQString(ComboBoxPattern->currentText()); };
    host.ExcludeExt = [this] { return CheckBoxExcludeExt->isChecked(); };
    changeNotify1_ = std::make_unique<watch::ChangeNotify>(poster_);
    watch::ChangeItem& item = changeNotify1_->Notifications().Add();
    item.OnChange = [this](watch::ChangeItem&) {
        Run([this] { ChangeNotify1Notifications0Change(); });
    };
    host.WatchDirectory = [this](const std::string& dir) { WatchDirectory(dir); };
    reports_.AddSource([this] { changeNotify1_->Hold(); }, [this] { changeNotify1_->Release(); });
    reports_.AddSource([this] { EditDirectory->HoldRebuilds(); },
                       [this] { EditDirectory->ReleaseRebuilds(); });
    host.HoldReports = [this](bool hold) {
        if (hold) {
            // Reports wait until the action has ended, so no reload happens while it asks or
            // renames.
            reports_.Hold();
            return;
        }
        status_->Flush();
        ReleaseReportsLater();
    };
    namesPane_ = std::make_unique<workspace::EditorNamesPane>(*MemoNew);
    workspace_ = std::make_unique<workspace::Workspace>(*leftModel_, *namesPane_, *questions_,
                                                        *status_, std::move(host));
    undoLastApply_ = std::make_unique<UndoLastApply>(this, *questions_, *status_);
    workspace_->SetRenameRecorder(&undoLastApply_->Recorder());
    SHFileOperation1 = new SHFileOperation(this);
    OpenWithDialog1 = new OpenWithDialog(this);
    ObjectPropertiesDialog1 = new ObjectPropertiesDialog(this);
    DragDrop1 = new DragDrop(this);
    DragDrop1->OnDrop = [this](QObject*, const QPoint&, const std::vector<std::string>& paths) {
        Run([this, &paths] { DragDrop1Drop(paths); });
    };
    BuildMenus();
    NamesCheck1 = new NamesCheckView(*workspace_, MemoNew, ListBoxOrg, leftModel_, statusBar(),
                                     PopupMenuEtc, this);
    connect(ListBoxOrg->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { Run([this] { ListBoxOrgClick(); }); });
    // After a reload a name may stand for another file (renamed by Apply or by someone else).
    connect(leftModel_, &QAbstractItemModel::modelReset, this, [this] {
        infoPendingPath_.clear();
        PageControlInfo->ListReloaded();
    });
    qApp->installEventFilter(this);

    ApplyCommandLine(args);
    InstallScrollForwarding();
    // Once the window is up, an Apply that was cut off last time is offered for undo.
    QTimer::singleShot(0, this, [this] { Run([this] { RecoverInterruptedApply(); }); });
}

MainWindow::~MainWindow() {
    changeNotify1_->SetActive(false);
    qApp->removeEventFilter(this);
    // The child widgets outlive this body and still signal while they close (a focus change
    // reports the pattern as chosen); none of that may reach the handlers of a dying window.
    for (QObject* child : findChildren<QObject*>())
        QObject::disconnect(child, nullptr, this, nullptr);
}

void MainWindow::BuildNamePanes(QSplitter* panelMain) {
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPixelSize(13);

    ListBoxOrg = new QListView(panelMain);
    ListBoxOrg->setObjectName(QStringLiteral("ListBoxOrg"));
    ListBoxOrg->setAccessibleName(QStringLiteral("Current names"));
    leftModel_ = new NameListModel(ListBoxOrg);
    ListBoxOrg->setModel(leftModel_);
    ListBoxOrg->setUniformItemSizes(true); // 100,000 names lay out without measuring each
    ListBoxOrg->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListBoxOrg->setBackgroundRole(QPalette::Button);
    ListBoxOrg->setAutoFillBackground(true);
    ListBoxOrg->setFont(fixed);

    MemoNew = new TextEditor(panelMain);
    MemoNew->setObjectName(QStringLiteral("MemoNew"));
    MemoNew->setAccessibleName(QStringLiteral("New names"));
    MemoNew->SetScrollBars(TextEditor::ScrollStyle::ssVertical);
    MemoNew->SetGutterWidth(0);
    MemoNew->RightMarginColor = QColor(0xC0, 0xC0, 0xC0);
    MemoNew->DoubleClickLine = true;
    MemoNew->TabSize = 4;
    MemoNew->IndentSize = 4;
    MemoNew->AutoIndentSize = 0;
    MemoNew->KeepTrailingBlanks = true;
    MemoNew->CursorBeyondEOF = true;
    MemoNew->CursorBeyondEOL = false;
    MemoNew->SetWordWrap(false);
    MemoNew->setFont(fixed);
    MemoNew->Lines().SetTextStr("MemoNew");
    MemoNew->SetModified(false);

    // Name i on the left stands level with line i on the right: same font, row height and top.
    ListBoxOrg->setItemDelegate(new FixedRowHeightDelegate(MemoNew->LineHeight(), ListBoxOrg));
    ListBoxOrg->setSpacing(0);
    panelMain->addWidget(ListBoxOrg);
    panelMain->addWidget(MemoNew);
}

void MainWindow::BuildTopPanel(QWidget* panel) {
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);

    auto* label1 = new QLabel(QStringLiteral("&Pattern"), panel);
    ComboBoxPattern = new QComboBox(panel);
    ComboBoxPattern->setObjectName(QStringLiteral("ComboBoxPattern"));
    ComboBoxPattern->setEditable(true);
    ComboBoxPattern->setInsertPolicy(QComboBox::NoInsert);
    // No completion while typing: "*" completed to "*.mp3" would list only what it completed to.
    ComboBoxPattern->setCompleter(nullptr);
    ComboBoxPattern->addItems({QStringLiteral("*.mp3"), QStringLiteral("*.wma"),
                               QStringLiteral("*.txt"), QStringLiteral("*.*")});
    ComboBoxPattern->setCurrentIndex(-1);
    ComboBoxPattern->setEditText(QString());
    ComboBoxPattern->setToolTip(QStringLiteral("File name pattern"));
    ComboBoxPattern->setMinimumWidth(140);
    label1->setBuddy(ComboBoxPattern);
    // Choosing an item reloads; typing alone does not, even when the typed text leaves the box
    // matching an item (the box then reports it as chosen).
    ComboBoxPattern->installEventFilter(this);
    connect(ComboBoxPattern, &QComboBox::activated, this, [this] {
        if (std::exchange(patternFocusLeaving_, false)) return;
        Run([this] { ButtonRefreshClick(); });
    });

    CheckBoxExcludeExt = new QCheckBox(QStringLiteral("E&xclude Extensions"), panel);
    CheckBoxExcludeExt->setObjectName(QStringLiteral("CheckBoxExcludeExt"));
    CheckBoxExcludeExt->setToolTip(QStringLiteral("Automatically handle file extensions"));
    connect(CheckBoxExcludeExt, &QCheckBox::toggled, this, [this] {
        if (excludeExtHandlerAttached_) Run([this] { CheckBoxExcludeExtClick(); });
    });

    auto* label2 = new QLabel(QStringLiteral("&Directory"), panel);
    EditDirectory = new DirTreeCombo(panel);
    EditDirectory->setToolTip(QStringLiteral("Choose a directory"));
    label2->setBuddy(EditDirectory);
    connect(EditDirectory, &DirTreeCombo::OnPathChange, this,
            [this] { Run([this] { EditDirectoryPathChange(); }); });

    ButtonCDUp = new QPushButton(QString(QChar(0x25B2)), panel); // an up arrow
    ButtonCDUp->setObjectName(QStringLiteral("ButtonCDUp"));
    ButtonCDUp->setToolTip(QStringLiteral("Cd .."));
    ButtonCDUp->setAccessibleName(QStringLiteral("Parent directory")); // not the arrow glyph
    ButtonCDUp->setFixedWidth(24);
    connect(ButtonCDUp, &QPushButton::clicked, this,
            [this] { Run([this] { ButtonCDUpClick(); }); });

    ButtonRefresh = new QPushButton(QStringLiteral("&Refresh"), panel);
    ButtonRefresh->setObjectName(QStringLiteral("ButtonRefresh"));
    ButtonRefresh->setToolTip(QStringLiteral("Reload file names"));
    connect(ButtonRefresh, &QPushButton::clicked, this,
            [this] { Run([this] { ButtonRefreshClick(); }); });

    ButtonApply = new QPushButton(QStringLiteral("&Apply"), panel);
    ButtonApply->setObjectName(QStringLiteral("ButtonApply"));
    ButtonApply->setToolTip(QStringLiteral("Rename files"));
    connect(ButtonApply, &QPushButton::clicked, this,
            [this] { Run([this] { ButtonApplyClick(); }); });
    // The Apply button is the window's cancel button: Escape presses it.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, ButtonApply, &QPushButton::click);

    ButtonEtc = new QPushButton(QStringLiteral("Etc..."), panel);
    ButtonEtc->setObjectName(QStringLiteral("ButtonEtc"));
    ButtonEtc->installEventFilter(this);
    connect(ButtonEtc, &QPushButton::clicked, this, &MainWindow::ShowEtcMenu);

    CheckBoxSynchScroll = new QCheckBox(QStringLiteral("Synch &Scroll"), panel);
    CheckBoxSynchScroll->setObjectName(QStringLiteral("CheckBoxSynchScroll"));
    CheckBoxSynchScroll->setChecked(true);

    grid->addWidget(label1, 0, 0);
    grid->addWidget(ComboBoxPattern, 0, 1);
    auto* options = new QHBoxLayout;
    options->addWidget(CheckBoxExcludeExt);
    options->addWidget(CheckBoxSynchScroll);
    options->addStretch(1);
    grid->addLayout(options, 0, 2);
    grid->addWidget(ButtonRefresh, 0, 3);
    grid->addWidget(ButtonApply, 0, 4);
    grid->addWidget(label2, 1, 0);
    auto* dirRow = new QHBoxLayout;
    dirRow->addWidget(EditDirectory, 1);
    dirRow->addWidget(ButtonCDUp);
    grid->addLayout(dirRow, 1, 1, 1, 3);
    grid->addWidget(ButtonEtc, 1, 4);
    grid->setColumnStretch(2, 1);
}

template <typename Fn>
QAction* MainWindow::AddMenuItem(QMenu* menu, QWidget* keysOwner, const QString& name,
                                 const QString& caption, const QKeySequence& key, const QIcon& icon,
                                 Fn fn) {
    QAction* a = menu->addAction(icon, caption);
    a->setObjectName(name);
    if (!key.isEmpty()) {
        // The key works while keysOwner has the focus, also with the menu closed.
        a->setShortcut(key);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        keysOwner->addAction(a);
    }
    connect(a, &QAction::triggered, this, [this, fn] { Run(fn); });
    return a;
}

void MainWindow::BuildMenus() {
    PopupMenuNew = new QMenu(this);
    PopupMenuNew->setObjectName(QStringLiteral("PopupMenuNew"));
    // The pane's menu takes its keys before the editor sees them.
    auto add = [this](const QString& name, const QString& caption, const QKeySequence& key,
                      const QString& icon, auto fn) {
        return AddMenuItem(PopupMenuNew, MemoNew, name, caption, key, ThemeIcon(icon), fn);
    };
    const auto ctrl = [](Qt::Key k) { return QKeySequence(Qt::CTRL | k); };
    const auto ctrlShift = [](Qt::Key k) { return QKeySequence(Qt::CTRL | Qt::SHIFT | k); };
    add(QStringLiteral("Apply1"), QStringLiteral("&Apply"), ctrl(Qt::Key_S),
        QStringLiteral("document-save"), [this] { ButtonApplyClick(); });
    PopupMenuNew->addSeparator();
    add(QStringLiteral("Find1"), QStringLiteral("&Find"), ctrl(Qt::Key_F),
        QStringLiteral("edit-find"), [this] { Find1Click(); });
    PopupMenuNew->addSeparator();
    add(QStringLiteral("NumberLines1"), QStringLiteral("&Number Lines"), ctrl(Qt::Key_N),
        QStringLiteral("format-list-numbered"), [this] { NumberLines1Click(); });
    PopupMenuNew->addSeparator();
    add(QStringLiteral("UPPERCASE1"), QStringLiteral("&UPPERCASE"), QKeySequence(),
        QStringLiteral("format-text-uppercase"), [this] { UPPERCASE1Click(); });
    add(QStringLiteral("lowercase1"), QStringLiteral("&lowercase"), QKeySequence(),
        QStringLiteral("format-text-lowercase"), [this] { lowercase1Click(); });
    add(QStringLiteral("Capitalize1"), QStringLiteral("Capi&talize"), QKeySequence(),
        QStringLiteral("format-text-capitalize"), [this] { Capitalize1Click(); });
    PopupMenuNew->addSeparator();
    add(QStringLiteral("NamesFromTags1"), QStringLiteral("Names From &Tags..."),
        ctrlShift(Qt::Key_T), QStringLiteral("audio-x-generic"), [this] { NamesFromTags1Click(); });
    add(QStringLiteral("SafeNames1"), QStringLiteral("&Safe Names"), QKeySequence(),
        QStringLiteral("edit-clear"), [this] { SafeNames1Click(); });
    PopupMenuNew->addSeparator();
    add(QStringLiteral("Record1"), QStringLiteral("&Record"), ctrlShift(Qt::Key_R),
        QStringLiteral("media-record"), [this] { Record1Click(); });
    Play1 = add(QStringLiteral("Play1"), QStringLiteral("&Play"), ctrlShift(Qt::Key_P),
                QStringLiteral("media-playback-start"), [this] { Play1Click(); });
    Play1->setEnabled(false); // until the first recording ends
    PopupMenuNew->addSeparator();
    add(QStringLiteral("Undo2"), QStringLiteral("&Undo"), ctrl(Qt::Key_Z),
        QStringLiteral("edit-undo"), [this] { MemoNew->Undo(); });
    PopupMenuNew->addSeparator();
    add(QStringLiteral("Cut2"), QStringLiteral("Cu&t"), ctrl(Qt::Key_X), QStringLiteral("edit-cut"),
        [this] { MemoNew->ClipboardCut(); });
    add(QStringLiteral("Copy2"), QStringLiteral("&Copy"), ctrl(Qt::Key_C),
        QStringLiteral("edit-copy"), [this] { MemoNew->ClipboardCopy(); });
    add(QStringLiteral("Paste2"), QStringLiteral("&Paste"), ctrl(Qt::Key_V),
        QStringLiteral("edit-paste"), [this] { MemoNew->ClipboardPaste(); });
    add(QStringLiteral("Delete2"), QStringLiteral("&Delete"), QKeySequence(),
        QStringLiteral("edit-delete"), [this] { MemoNew->ReplaceSelection(std::u32string()); });
    add(QStringLiteral("SelectAll1"), QStringLiteral("Select &All"), ctrl(Qt::Key_A),
        QStringLiteral("edit-select-all"), [this] { MemoNew->SelectAll(); });
    MemoNew->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(MemoNew, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
        Run([&] { PopupMenuNew->exec(MemoNew->viewport()->mapToGlobal(p)); });
    });
    // The keyboard opens the menu at the caret.
    for (const QKeySequence& key :
         {QKeySequence(Qt::Key_Menu), QKeySequence(Qt::SHIFT | Qt::Key_F10)}) {
        auto* open = new QAction(MemoNew);
        open->setShortcut(key);
        open->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        MemoNew->addAction(open);
        connect(open, &QAction::triggered, this, &MainWindow::PopupMenuNewAtCaret);
    }

    LineNumbersDlg1 = new LineNumbersDlg(this);
    ReplaceDialog1 = new ReplaceDialog(*MemoNew, MemoNew, this);
    ReplaceDialog1->Finder().Status = status_;

    BuildPopupMenuOrg();

    PopupMenuEtc = new QMenu(this);
    UndoLastApply1 = PopupMenuEtc->addAction(QStringLiteral("&Undo Last Apply"));
    UndoLastApply1->setObjectName(QStringLiteral("UndoLastApply1"));
    UndoLastApply1->setIcon(ThemeIcon("edit-undo", QStyle::SP_ArrowBack));
    connect(UndoLastApply1, &QAction::triggered, this,
            [this] { Run([this] { UndoLastApply1Click(); }); });
    connect(PopupMenuEtc, &QMenu::aboutToShow, this,
            [this] { UndoLastApply1->setEnabled(undoLastApply_->Available()); });
    PopupMenuEtc->addSeparator();
    QAction* reg = PopupMenuEtc->addAction(QStringLiteral("Shell Register"));
    reg->setObjectName(QStringLiteral("RegisterForDirecotries1"));
    reg->setIcon(ThemeIcon("list-add", QStyle::SP_DirLinkIcon));
    connect(reg, &QAction::triggered, this,
            [this] { Run([this] { RegisterForDirecotries1Click(); }); });
    QAction* unreg = PopupMenuEtc->addAction(QStringLiteral("Shell Unregister"));
    unreg->setObjectName(QStringLiteral("UnregisterShell1"));
    unreg->setIcon(ThemeIcon("list-remove", QStyle::SP_DialogDiscardButton));
    connect(unreg, &QAction::triggered, this, [this] { Run([this] { UnregisterShell1Click(); }); });
    PopupMenuEtc->addSeparator();
    // Without a homepage the item opens the user guide; with neither it, or Contact without an
    // address, has nothing to open and is not shown.
    const shell::HelpLinks links = CurrentHelpLinks();
    QAction* home =
        PopupMenuEtc->addAction(links.homepage.empty() ? QStringLiteral("&Velmora User Guide")
                                                       : QStringLiteral("&Velmora Homepage"));
    home->setObjectName(QStringLiteral("VelmoraHomepage1"));
    home->setIcon(links.homepage.empty() ? ThemeIcon("help-contents", QStyle::SP_DialogHelpButton)
                                         : ThemeIcon("go-home", QStyle::SP_DirHomeIcon));
    home->setVisible(!links.HomepageTarget().empty());
    connect(home, &QAction::triggered, this, &MainWindow::VelmoraHomepage1Click);
    QAction* contact = PopupMenuEtc->addAction(QStringLiteral("Contact"));
    contact->setObjectName(QStringLiteral("Contact1"));
    contact->setIcon(ThemeIcon("mail-message-new", QStyle::SP_FileDialogDetailedView));
    contact->setVisible(!links.ContactTarget().empty());
    connect(contact, &QAction::triggered, this, &MainWindow::Contact1Click);
    PopupMenuEtc->addSeparator();
    QAction* about = PopupMenuEtc->addAction(QStringLiteral("&About"));
    about->setObjectName(QStringLiteral("About1"));
    about->setIcon(ThemeIcon("help-about", QStyle::SP_MessageBoxInformation));
    connect(about, &QAction::triggered, this, [this] { Run([this] { About1Click(); }); });
}

void MainWindow::BuildPopupMenuOrg() {
    PopupMenuOrg = new QMenu(this);
    PopupMenuOrg->setObjectName(QStringLiteral("PopupMenuOrg"));
    FileInfo1 = PopupMenuOrg->addAction(QStringLiteral("File &Info"));
    FileInfo1->setObjectName(QStringLiteral("FileInfo1"));
    FileInfo1->setCheckable(true);
    connect(FileInfo1, &QAction::triggered, this, [this] { Run([this] { FileInfo1Click(); }); });
    PopupMenuOrg->addSeparator();
    auto add = [this](const QString& name, const QString& caption, const QKeySequence& key,
                      const QIcon& icon, auto fn) {
        return AddMenuItem(PopupMenuOrg, ListBoxOrg, name, caption, key, icon, fn);
    };
    add(QStringLiteral("Open1"), QStringLiteral("&Open"), QKeySequence(Qt::CTRL | Qt::Key_Return),
        ThemeIcon("document-open", QStyle::SP_DialogOpenButton), [this] { Open1Click(); });
    add(QStringLiteral("OpenWith1"), QStringLiteral("Open With..."), QKeySequence(),
        ThemeIcon("system-run", QStyle::SP_DirOpenIcon), [this] { OpenWith1Click(); });
    add(QStringLiteral("Properties1"), QStringLiteral("&Properties"),
        QKeySequence(Qt::ALT | Qt::Key_Return),
        ThemeIcon("document-properties", QStyle::SP_FileDialogInfoView),
        [this] { Properties1Click(); });
    PopupMenuOrg->addSeparator();
    add(QStringLiteral("Delete1"), QStringLiteral("&Delete"), QKeySequence(),
        ThemeIcon("user-trash", QStyle::SP_TrashIcon), [this] { Delete1Click(0); })
        ->setData(0);
    add(QStringLiteral("Destroy1"), QStringLiteral("Des&troy"), QKeySequence(),
        ThemeIcon("edit-delete", QStyle::SP_DialogDiscardButton), [this] { Delete1Click(1); })
        ->setData(1);
    // The keypad's Enter works like Return.
    for (QAction* a : PopupMenuOrg->actions())
        if (!a->shortcut().isEmpty()) {
            QKeySequence main = a->shortcut();
            QKeyCombination c = main[0];
            a->setShortcuts({main, QKeySequence(c.keyboardModifiers() | Qt::Key_Enter)});
        }
    ListBoxOrg->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ListBoxOrg, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
        // A right-click selects the item under the pointer first, as a click would.
        const QModelIndex at = ListBoxOrg->indexAt(p);
        if (at.isValid()) ListBoxOrg->setCurrentIndex(at);
        // The list must not be reloaded under the open menu: its items act on the chosen file.
        Run([&] { PopupMenuOrg->exec(ListBoxOrg->viewport()->mapToGlobal(p)); });
    });
    // Shift+F10 opens the menu like the Menu key, at the current item.
    auto* open = new QAction(ListBoxOrg);
    open->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10));
    open->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    ListBoxOrg->addAction(open);
    connect(open, &QAction::triggered, this, [this] {
        const QRect item = ListBoxOrg->visualRect(ListBoxOrg->currentIndex());
        const QPoint at = item.isValid() && ListBoxOrg->viewport()->rect().intersects(item)
                              ? item.bottomLeft()
                              : QPoint(0, 0);
        PopupMenuOrg->popup(ListBoxOrg->viewport()->mapToGlobal(at));
    });
    connect(ListBoxOrg, &QAbstractItemView::doubleClicked, this,
            [this] { Run([this] { Open1Click(); }); });
}

std::string MainWindow::SelectedFilePath() const {
    const QModelIndex current = ListBoxOrg->currentIndex();
    if (!current.isValid() || !ListBoxOrg->selectionModel()->isSelected(current)) return {};
    return CurrentFilePath();
}

std::string MainWindow::CurrentFilePath() const {
    const QModelIndex current = ListBoxOrg->currentIndex();
    if (!current.isValid() || workspace_->ListedDirectory().empty()) return {};
    return workspace_->ListedDirectory() + workspace_->Left().Get(current.row());
}

void MainWindow::ListBoxOrgClick() {
    // A mouse click moves the current row before it selects it, so the row is what counts here.
    const std::string path = CurrentFilePath();
    if (path.empty()) return;
    // A hidden pane reads nothing; it shows the selected file when it opens.
    if (PageControlInfo->isHidden()) {
        infoPendingPath_ = path;
        return;
    }
    infoPendingPath_.clear();
    PageControlInfo->ShowFile(path);
}

void MainWindow::FileInfo1Click() {
    PageControlInfo->setVisible(FileInfo1->isChecked());
    if (FileInfo1->isChecked() && !infoPendingPath_.empty())
        PageControlInfo->ShowFile(std::exchange(infoPendingPath_, {}));
}

void MainWindow::Open1Click() {
    const std::string path = SelectedFilePath();
    if (path.empty()) return;
    // Built from the name's bytes: a QString path would re-encode bytes that are not UTF-8.
    QDesktopServices::openUrl(QUrl::fromEncoded(QByteArray::fromStdString(shell::FileUri(path))));
}

void MainWindow::OpenWith1Click() {
    const std::string path = SelectedFilePath();
    if (path.empty()) return;
    OpenWithDialog1->FileName = path;
    OpenWithDialog1->Execute();
}

void MainWindow::Properties1Click() {
    const std::string path = SelectedFilePath();
    if (path.empty()) return;
    ObjectPropertiesDialog1->ObjectName = path;
    ObjectPropertiesDialog1->Execute();
}

void MainWindow::Delete1Click(int tag) {
    const std::string path = SelectedFilePath();
    if (path.empty()) return;
    SHFileOperation1->Operation = FileOperation::foDelete;
    if (tag == 0)
        SHFileOperation1->Options |= fofAllowUndo;
    else
        SHFileOperation1->Options &= ~static_cast<unsigned>(fofAllowUndo);
    SHFileOperation1->SourceFiles = {path};
    if (SHFileOperation1->Execute()) ButtonRefreshClick();
}

void MainWindow::DragDrop1Drop(const std::vector<std::string>& paths) {
    if (!workspace_->ResolvePendingEdits()) return;
    const workspace::DropSelection drop =
        workspace::DropSelection::FromPaths(paths, &fs::DirectoryExists);
    ComboBoxPattern->setEditText(ToQString(drop.pattern));
    EditDirectory->SetSelectedPath(drop.directory);
    workspace_->LoadFileList(); // the edits were resolved above: no second question
}

namespace {

// File managers look applications up by MIME type through a cache beside the entries; it is
// rebuilt where the desktop's tool for that is installed.
void RefreshApplicationCache() {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("update-desktop-database"));
    if (tool.isEmpty()) return;
    const QString apps =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/applications";
    QProcess::startDetached(tool, {QStringLiteral("-q"), apps});
}

} // namespace

void MainWindow::RegisterForDirecotries1Click() {
    const auto outcome = shell::ShellRegistration::ForEnvironment(
                             FromQString(QCoreApplication::applicationFilePath()))
                             .Register();
    if (!outcome.written.empty()) RefreshApplicationCache();
    if (outcome.foreign.empty()) return;
    std::string text = "These files were not written by Shell Register and were left unchanged:";
    for (const std::string& f : outcome.foreign)
        text += "\n" + f;
    questions_->Ask(platform::MsgIcon::Information, text, platform::mbOK);
}

void MainWindow::UnregisterShell1Click() {
    const auto removed = shell::ShellRegistration::ForEnvironment(
                             FromQString(QCoreApplication::applicationFilePath()))
                             .Unregister();
    if (!removed.empty()) RefreshApplicationCache();
}

void MainWindow::UndoLastApply1Click() {
    if (!workspace_->ResolvePendingEdits()) return;
    undoLastApply_->Execute([this](const std::string& folder) {
        if (folder == workspace_->ListedDirectory()) workspace_->LoadFileList();
    });
}

void MainWindow::RecoverInterruptedApply() {
    undoLastApply_->RecoverInterrupted([this](const std::string& folder) {
        if (folder == workspace_->ListedDirectory()) workspace_->LoadFileList();
    });
}

void MainWindow::InstallScrollForwarding() {
    QScrollBar* left = ListBoxOrg->verticalScrollBar();
    QScrollBar* right = MemoNew->verticalScrollBar();
    ListBoxOrg->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    new PaneRowsLevel(ListBoxOrg, MemoNew, CheckBoxSynchScroll, this);
    auto forward = [this](QScrollBar* from, QScrollBar* to, int action, bool fromEditor) {
        if (!CheckBoxSynchScroll->isChecked()) return;
        if (scrollGuard_) { // the replayed action arriving at the other pane
            scrollGuard_ = false;
            return;
        }
        if (action == QAbstractSlider::SliderMove) {
            // The editor follows only its own thumb; the list follows the editor's.
            if (!fromEditor) return;
            scrollGuard_ = true;
            to->setValue(from->sliderPosition());
            scrollGuard_ = false;
            return;
        }
        if (action == QAbstractSlider::SliderNoAction) return;
        scrollGuard_ = true;
        to->triggerAction(static_cast<QAbstractSlider::SliderAction>(action));
        scrollGuard_ = false;
        // The list pages by its whole window, the editor by a row less: the list takes the
        // editor's row, so that the names stay level page after page.
        QScrollBar* list = fromEditor ? to : from;
        list->setSliderPosition(MemoNew->TopRow());
    };
    connect(left, &QScrollBar::actionTriggered, this,
            [=](int action) { forward(left, right, action, false); });
    connect(right, &QScrollBar::actionTriggered, this,
            [=](int action) { forward(right, left, action, true); });
}

void MainWindow::ApplyCommandLine(const std::vector<std::string>& args) {
    workspace::CommandLine cl = workspace::CommandLine::Parse(
        args, fs::CurrentDirectory(), &fs::DirectoryExists, &fs::IsSymbolicLink);
    if (!cl.present || cl.action != workspace::CommandLine::Action::Open) return;
    // The folder, pattern and switch each reload on their own; one load at the end gives the
    // same lists without listing a large folder three times.
    applyingCommandLine_ = true;
    std::string dir = cl.directory;
    if (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    EditDirectory->GoToPath(dir);
    ComboBoxPattern->setEditText(ToQString(cl.pattern));
    CheckBoxExcludeExt->setChecked(cl.excludeExt);
    applyingCommandLine_ = false;
    Run([this] { workspace_->LoadFileList(); });
}

void MainWindow::WatchDirectory(const std::string& dir) {
    changeNotify1_->Notifications()[0].SetDirectory(dir);
    // A live watch on this folder goes on; one that has ended (the folder was removed, perhaps
    // made again) or a running watcher on another folder is restarted.
    if (watchedDirectory_ == dir && changeNotify1_->Watching(0)) return;
    changeNotify1_->SetActive(false);
    changeNotify1_->SetActive(true);
    watchedDirectory_ = dir;
}

void MainWindow::ChangeNotify1Notifications0Change() {
    platform::ModalResult r = questions_->Ask(
        platform::MsgIcon::Question,
        "The contents of the directory has changed.\n\nWould you like to reload the file list?",
        platform::mbYes | platform::mbNo);
    // Yes drops unapplied edits without asking about them.
    if (r == ModalResult::mrYes) workspace_->LoadFileList();
}

void MainWindow::Find1Click() {
    ReplaceDialog1->Execute();
}

void MainWindow::NumberLines1Click() {
    const int result = LineNumbersDlg1->exec();
    // Back to the names pane, with the window active so that the pane's keys work at once.
    activateWindow();
    MemoNew->setFocus(Qt::OtherFocusReason);
    if (result != QDialog::Accepted) return;
    LineNumbersDlg1->Numbering().Apply(*MemoNew);
}

namespace {

std::vector<std::string> ListedNames(const platform::StringList& left) {
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(left.Count()));
    for (int i = 0; i < left.Count(); ++i)
        names.push_back(left.Get(i));
    return names;
}

} // namespace

void MainWindow::NamesFromTags1Click() {
    const std::vector<std::string> names = ListedNames(workspace_->Left());
    if (names.empty()) return;
    const std::string& folder = workspace_->ListedDirectory();
    NamesFromTagsDlg dialog(this);
    const auto lines = dialog.Choose(names, folder, workspace_->ListedWithoutExt(),
                                     workspace::NamingRules::ForFolder(folder).FatNames(),
                                     [this](const QString& text) {
                                         status_->SetStatusText(FromQString(text));
                                         status_->Flush();
                                     });
    activateWindow();
    MemoNew->setFocus(Qt::OtherFocusReason);
    if (lines) tagnames::PaneLines::Write(*MemoNew, *lines);
}

void MainWindow::SafeNames1Click() {
    const std::string& folder = workspace_->ListedDirectory();
    const bool fat = !folder.empty() && workspace::NamingRules::ForFolder(folder).FatNames();
    tagnames::PaneLines::MakeSafe(*MemoNew, ListedNames(workspace_->Left()),
                                  workspace_->ListedWithoutExt(),
                                  NamesFromTagsDlg::SavedRules(fat));
}

void MainWindow::UPPERCASE1Click() {
    workspace::NameCommands::UpperCase(*MemoNew);
}

void MainWindow::lowercase1Click() {
    workspace::NameCommands::LowerCase(*MemoNew);
}

void MainWindow::Capitalize1Click() {
    workspace::NameCommands::Capitalize(*MemoNew);
}

void MainWindow::Record1Click() {
    if (workspace::NameCommands::Record(*MemoNew)) Play1->setEnabled(true);
}

void MainWindow::Play1Click() {
    MemoNew->ExecuteCommand(editor::cmdPlayMacro);
}

void MainWindow::PopupMenuNewAtCaret() {
    const QRect caret = MemoNew->CaretRect();
    QPoint at = caret.isValid() ? caret.bottomLeft() : QPoint(0, 0);
    at.setX(std::clamp(at.x(), 0, std::max(MemoNew->viewport()->width() - 1, 0)));
    at.setY(std::clamp(at.y(), 0, std::max(MemoNew->viewport()->height() - 1, 0)));
    PopupMenuNew->popup(MemoNew->viewport()->mapToGlobal(at));
}

void MainWindow::ButtonRefreshClick() {
    if (applyingCommandLine_) return;
    if (!workspace_->ResolvePendingEdits()) return;
    workspace_->LoadFileList();
}

void MainWindow::EditDirectoryPathChange() {
    ButtonRefreshClick();
}

void MainWindow::ButtonApplyClick() {
    workspace_->ApplyRenames();
    workspace_->LoadFileList();
}

void MainWindow::ButtonCDUpClick() {
    if (!workspace_->ResolvePendingEdits()) return;
    std::string up = fs::ParentPath(EditDirectory->GetSelectedPath());
    // A move reports the change, which reloads; otherwise reload from where the box stands.
    if (!EditDirectory->GoToPath(up)) ButtonRefreshClick();
}

void MainWindow::CheckBoxExcludeExtClick() {
    if (applyingCommandLine_) return;
    const bool newState = CheckBoxExcludeExt->isChecked();
    excludeExtHandlerAttached_ = false;
    struct Reattach {
        bool& attached;
        ~Reattach() { attached = true; }
    } reattach{excludeExtHandlerAttached_};

    ModalResult r = workspace_->AskApplyChanges();
    if (r == ModalResult::mrCancel) {
        CheckBoxExcludeExt->setChecked(!newState);
        return;
    }
    if (r == ModalResult::mrYes) {
        // Apply with the setting the lists were loaded with, so extensions come back right.
        CheckBoxExcludeExt->setChecked(!newState);
        workspace_->ApplyRenames();
        CheckBoxExcludeExt->setChecked(newState);
    }
    workspace_->LoadFileList();
}

shell::HelpLinks MainWindow::CurrentHelpLinks() {
    shell::HelpLinks links{VELMORA_HOMEPAGE_URL, VELMORA_CONTACT_ADDRESS, {}};
    // Installed beside the program (wherever the tree was moved), where it was installed, or,
    // for a program run from its build folder, in the sources.
    const std::string name = "/velmora-guide.html";
    const std::string besideProgram =
        FromQString(QCoreApplication::applicationDirPath()) + "/../share/doc/velmora" + name;
    const std::string installed = std::string(VELMORA_DOC_DIR);
    const std::string sources = std::string(VELMORA_SOURCE_DOC_DIR);
    links.guide = shell::HelpLinks::FindGuide(
        {besideProgram, installed.empty() ? installed : installed + name,
         sources.empty() ? sources : sources + name},
        [](const std::string& path) { return QFileInfo(ToQString(path)).isFile(); });
    if (!links.guide.empty())
        links.guide = FromQString(QFileInfo(ToQString(links.guide)).canonicalFilePath());
    return links;
}

void MainWindow::VelmoraHomepage1Click() {
    const std::string target = CurrentHelpLinks().HomepageTarget();
    if (!target.empty())
        QDesktopServices::openUrl(QUrl::fromEncoded(QByteArray::fromStdString(target)));
}

void MainWindow::Contact1Click() {
    const std::string target = CurrentHelpLinks().ContactTarget();
    if (!target.empty())
        QDesktopServices::openUrl(QUrl::fromEncoded(QByteArray::fromStdString(target)));
}

void MainWindow::About1Click() {
    QMessageBox::about(this, QStringLiteral("Velmora"),
                       QStringLiteral("Velmora %1\nA batch file renamer for music collections.")
                           .arg(QStringLiteral(VELMORA_VERSION)));
}

void MainWindow::ShowEtcMenu() {
    PopupMenuEtc->popup(ButtonEtc->mapToGlobal(QPoint(0, ButtonEtc->height())));
}

QString MainWindow::StatusBarText() const {
    return status_->Text();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    ModalResult r = workspace_->AskApplyChanges();
    if (r == ModalResult::mrCancel) {
        event->ignore();
        return;
    }
    if (r == ModalResult::mrYes && !Guarded(this, [this] { workspace_->ApplyRenames(); })) {
        event->ignore();
        return;
    }
    // Reports held while asking would offer a reload of a window that is gone.
    changeNotify1_->SetActive(false);
    event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ComboBoxPattern) {
        if (event->type() == QEvent::FocusOut)
            patternFocusLeaving_ =
                static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason;
        else if (event->type() == QEvent::FocusIn)
            patternFocusLeaving_ = false;
    }
    if (event->type() == QEvent::ToolTip) {
        // Hints go to the status bar instead of a hint window, and stay there.
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && w->window() == this && !w->toolTip().isEmpty()) {
            status_->SetStatusText(FromQString(w->toolTip()));
            status_->Flush();
            return true;
        }
    }
    if (watched == ButtonEtc && event->type() == QEvent::MouseButtonRelease) {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() != Qt::LeftButton &&
            ButtonEtc->rect().contains(me->position().toPoint())) {
            ShowEtcMenu();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace velmora::ui
