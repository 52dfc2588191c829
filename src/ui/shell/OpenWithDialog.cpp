// The application chooser and the launch of the chosen application.
#include "ui/shell/OpenWithDialog.h"

#include "core/platform/Error.h"
#include "core/shell/DesktopExec.h"
#include "core/shell/DetachedProcess.h"
#include "ui/platform/LongText.h"
#include "ui/platform/QtText.h"
#include "ui/shell/SessionBus.h"

#include <QCheckBox>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QMimeDatabase>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <fcntl.h>
#include <unistd.h>

namespace velmora::ui {

namespace {

QIcon AppIcon(const std::string& icon, const QIcon& fallback) {
    if (icon.empty()) return fallback;
    const QString name = ToQString(icon);
    if (name.startsWith(QLatin1Char('/'))) return QIcon(name);
    return QIcon::fromTheme(name, fallback);
}

} // namespace

AppChooserDialog::AppChooserDialog(const std::string& file, const shell::AppAssociations& apps,
                                   const std::vector<std::string>& mimeTypes, QWidget* parent)
    : QDialog(parent), apps_(apps), mimeTypes_(mimeTypes) {
    setObjectName(QStringLiteral("AppChooserDialog"));
    setWindowTitle(QStringLiteral("Open With"));
    auto* column = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("Choose an application to open \"%1\".")
                                 .arg(Breakable(QFileInfo(ToQString(file)).fileName())),
                             this);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    column->addWidget(label);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("AppList"));
    list_->setAccessibleName(QStringLiteral("Applications"));
    list_->setIconSize(QSize(24, 24));
    label->setBuddy(list_);
    column->addWidget(list_, 1);
    empty_ = new QLabel(QStringLiteral("No installed application is known to open this kind of "
                                       "file. Show all applications to choose another one."),
                        this);
    empty_->setWordWrap(true);
    column->addWidget(empty_);
    showAll_ = new QCheckBox(QStringLiteral("Show &all applications"), this);
    column->addWidget(showAll_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    open_ = buttons->addButton(QStringLiteral("&Open"), QDialogButtonBox::AcceptRole);
    open_->setDefault(true);
    column->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemActivated, this, &QDialog::accept);
    connect(list_, &QListWidget::currentRowChanged, this,
            [this](int row) { open_->setEnabled(row >= 0); });
    connect(showAll_, &QCheckBox::toggled, this, &AppChooserDialog::Fill);
    resize(420, 460);
    KeepWithinScreen(this);
    Fill();
}

void AppChooserDialog::Fill() {
    shown_ = showAll_->isChecked() ? apps_.AllApps() : apps_.AppsFor(mimeTypes_);
    list_->clear();
    const QIcon fallback = style()->standardIcon(QStyle::SP_FileIcon); // once, not per row
    for (const shell::DesktopApp* app : shown_)
        new QListWidgetItem(AppIcon(app->icon, fallback), ToQString(app->name), list_);
    empty_->setVisible(shown_.empty());
    if (!shown_.empty()) list_->setCurrentRow(0);
    open_->setEnabled(!shown_.empty());
}

const shell::DesktopApp* AppChooserDialog::Chosen() const {
    const int row = list_->currentRow();
    return row >= 0 && row < static_cast<int>(shown_.size()) ? shown_[static_cast<std::size_t>(row)]
                                                             : nullptr;
}

OpenWithDialog::OpenWithDialog(QWidget* owner) : QObject(owner), owner_(owner) {}

std::vector<std::string> OpenWithDialog::MimeTypesOf(const std::string& file) {
    QMimeDatabase db;
    // The contents are read through the name's bytes: a QString path would re-encode a name
    // that is not UTF-8 and look into another file, or none.
    QMimeType type;
    QFile contents;
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0 && contents.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        type = db.mimeTypeForFileNameAndData(ToQString(file), &contents);
    else if (fd >= 0)
        ::close(fd);
    if (!type.isValid()) type = db.mimeTypeForFile(ToQString(file), QMimeDatabase::MatchExtension);
    std::vector<std::string> types{FromQString(type.name())};
    for (const QString& alias : type.aliases())
        types.push_back(FromQString(alias));
    for (const QString& parent : type.allAncestors())
        types.push_back(FromQString(parent));
    return types;
}

void OpenWithDialog::Launch(const shell::DesktopApp& app, const std::string& file) {
    shell::ExecContext ctx{{file}, app.icon, app.name, app.path};
    // The arguments go to the program as bytes: a name that is not UTF-8 must not be re-encoded
    // into another file's name on the way.
    for (const std::vector<std::string>& argv : shell::ExpandExec(app.exec, ctx)) {
        try {
            shell::DetachedProcess::Start(argv);
        } catch (const shell::EProcessStartError&) {
            throw platform::Exception(
                platform::Format("Could not start %s (%s).", {app.name, argv.front()}));
        }
    }
}

bool OpenWithDialog::OpenThroughPortal() {
    if (!SessionBus::PortalAppChooserAvailable()) return false;
    // The portal takes the file as an open descriptor, so it also works from a sandbox.
    const int fd = ::open(FileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    QDBusUnixFileDescriptor descriptor(fd);
    ::close(fd); // the wrapper holds its own duplicate
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.portal.Desktop"),
        QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.portal.OpenURI"), QStringLiteral("OpenFile"));
    QVariantMap options;
    options.insert(QStringLiteral("ask"), true);
    call << QString() << QVariant::fromValue(descriptor) << options;
    QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
    return reply.type() == QDBusMessage::ReplyMessage;
}

void OpenWithDialog::Execute() {
    if (FileName.empty()) return;
    if (OpenThroughPortal()) return;
    shell::AppAssociations apps(shell::AppAssociations::FromEnvironment());
    AppChooserDialog dialog(FileName, apps, MimeTypesOf(FileName), owner_);
    emit ChooserShown(&dialog);
    if (dialog.exec() != QDialog::Accepted) return;
    if (const shell::DesktopApp* app = dialog.Chosen()) Launch(*app, FileName);
}

} // namespace velmora::ui
