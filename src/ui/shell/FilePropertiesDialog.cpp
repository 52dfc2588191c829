// The properties window.
#include "ui/shell/FilePropertiesDialog.h"

#include "ui/platform/LongText.h"
#include "ui/platform/QtText.h"

#include <QDialogButtonBox>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMimeDatabase>
#include <QVBoxLayout>

namespace velmora::ui {

namespace {

QString Time(std::int64_t seconds) {
    return ToQString(fs::UtcTimeText(seconds));
}

} // namespace

QString FilePropertiesDialog::SizeText(std::uint64_t bytes) {
    if (bytes < 1024) return QStringLiteral("%1 bytes").arg(bytes);
    const QString exact =
        QStringLiteral("%1 bytes")
            .arg(QLocale(QLocale::English).toString(static_cast<qulonglong>(bytes)));
    static const char* const units[] = {"KiB", "MiB", "GiB", "TiB", "PiB", "EiB"};
    double value = static_cast<double>(bytes);
    int unit = -1;
    while (value >= 1024.0 && unit < 5) {
        value /= 1024.0;
        ++unit;
    }
    return QStringLiteral("%1 %2 (%3)")
        .arg(value, 0, 'f', 1)
        .arg(QLatin1String(units[unit]), exact);
}

FilePropertiesDialog::FilePropertiesDialog(const std::string& path, QWidget* parent)
    : QDialog(parent) {
    const fs::FileProperties p = fs::FileProperties::Read(path);
    setObjectName(QStringLiteral("FilePropertiesDialog"));
    setWindowTitle(QStringLiteral("%1 Properties").arg(ToQString(p.name)));
    auto* column = new QVBoxLayout(this);

    QMimeDatabase db;
    const QString qpath = ToQString(path);
    const QMimeType mime = p.kind == fs::FileProperties::Kind::Link
                               ? db.mimeTypeForName(QStringLiteral("inode/symlink"))
                               : db.mimeTypeForFile(qpath);
    auto* header = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon::fromTheme(mime.iconName(), QFileIconProvider().icon(QFileInfo(qpath)))
                        .pixmap(48, 48));
    icon->setAccessibleName(QStringLiteral("File icon"));
    header->addWidget(icon);
    auto* title = new QLabel(this);
    title->setTextFormat(Qt::PlainText);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    // The heading stays one line; the Name row below shows the whole name.
    title->setText(ElidedMiddle(ToQString(p.name), bold, 400));
    title->setToolTip(ToQString(p.name));
    title->setTextInteractionFlags(Qt::TextSelectableByMouse);
    header->addWidget(title, 1);
    column->addLayout(header);

    form_ = new QFormLayout;
    column->addLayout(form_);
    Add(QStringLiteral("Name"), ToQString(p.name));
    Add(QStringLiteral("Type"), QStringLiteral("%1 (%2)").arg(mime.comment(), mime.name()));
    const QString size = SizeText(p.size);
    switch (p.kind) {
    case fs::FileProperties::Kind::Folder:
        break;
    case fs::FileProperties::Kind::Link:
        Add(QStringLiteral("Link target"),
            ToQString(p.linkTarget) + (p.linkBroken ? QStringLiteral(" (missing)") : QString()));
        if (!p.linkBroken) Add(QStringLiteral("Size"), size);
        break;
    default:
        Add(QStringLiteral("Size"), size);
        break;
    }
    Add(QStringLiteral("Location"), ToQString(p.location));
    Add(QStringLiteral("Owner"), ToQString(p.owner));
    Add(QStringLiteral("Group"), ToQString(p.group));
    Add(QStringLiteral("Permissions"), QStringLiteral("%1 (%2)")
                                           .arg(ToQString(fs::PermissionText(p.permissions)))
                                           .arg(p.permissions, 4, 8, QLatin1Char('0')));
    Add(QStringLiteral("Modified"), Time(p.modified));
    Add(QStringLiteral("Accessed"), Time(p.accessed));
    Add(QStringLiteral("Changed"), Time(p.changed));
    Add(QStringLiteral("Created"), p.created ? Time(*p.created) : QStringLiteral("unknown"));
    if (!p.fileSystem.empty())
        Add(QStringLiteral("File system"),
            QStringLiteral("%1 on %2").arg(ToQString(p.fileSystem), ToQString(p.mountPoint)));
    if (p.freeSpace) Add(QStringLiteral("Free space"), SizeText(*p.freeSpace));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    column->addWidget(buttons);
    setMinimumWidth(460);
    KeepWithinScreen(this);
}

void FilePropertiesDialog::Add(const QString& caption, const QString& value) {
    // Names and paths may be long: they wrap, anywhere if they must.
    const bool wrap = caption == QLatin1String("Name") || caption == QLatin1String("Location") ||
                      caption == QLatin1String("Link target");
    auto* label = new QLabel(wrap ? Breakable(value) : value, this);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setAccessibleName(caption);
    label->setWordWrap(wrap);
    form_->addRow(caption + QLatin1Char(':'), label);
    fields_[caption] = label;
}

QString FilePropertiesDialog::Field(const QString& caption) const {
    auto it = fields_.find(caption);
    return it == fields_.end() ? QString() : it->second->text().remove(QChar(0x200B));
}

} // namespace velmora::ui
