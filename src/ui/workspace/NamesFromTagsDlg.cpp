// The names-from-tags dialog.
#include "ui/workspace/NamesFromTagsDlg.h"

#include "core/tagnames/NameFormat.h"
#include "ui/platform/AppSettings.h"
#include "ui/platform/QtText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace velmora::ui {

namespace {

const QString kFormatsKey = QStringLiteral("NamesFromTags/Formats");
const QString kMissingKey = QStringLiteral("NamesFromTags/LeaveMissingEmpty");
const QString kReplacementKey = QStringLiteral("NamesFromTags/Replacement");
const QString kSafeAllKey = QStringLiteral("NamesFromTags/SafeForAllFileSystems");

QStringList DefaultFormats() {
    return {QStringLiteral("%track:2% - %artist% - %title%"), QStringLiteral("%track:2% - %title%"),
            QStringLiteral("%artist% - %title%"), QStringLiteral("%disc%-%track:2% - %title%"),
            QStringLiteral("%artist% - %album% - %track:2% - %title%")};
}

} // namespace

NamesFromTagsDlg::NamesFromTagsDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("NamesFromTagsDlg"));
    setWindowTitle(QStringLiteral("Names From Tags"));
    setModal(true);
    auto* column = new QVBoxLayout(this);

    auto* formatRow = new QGridLayout;
    auto* formatLabel = new QLabel(QStringLiteral("&Format"), this);
    ComboBoxFormat = new QComboBox(this);
    ComboBoxFormat->setObjectName(QStringLiteral("ComboBoxFormat"));
    ComboBoxFormat->setEditable(true);
    ComboBoxFormat->setInsertPolicy(QComboBox::NoInsert);
    ComboBoxFormat->setAccessibleName(QStringLiteral("Format"));
    ComboBoxFormat->setMinimumContentsLength(40);
    // Completing inline would put a recent format's tail into what the user types.
    ComboBoxFormat->setCompleter(nullptr);
    formatLabel->setBuddy(ComboBoxFormat);
    formatRow->addWidget(formatLabel, 0, 0);
    formatRow->addWidget(ComboBoxFormat, 0, 1);
    auto* fieldsLabel = new QLabel(QStringLiteral("F&ields"), this);
    ListFields = new QListWidget(this);
    ListFields->setObjectName(QStringLiteral("ListFields"));
    ListFields->setAccessibleName(QStringLiteral("Fields"));
    ListFields->setFlow(QListView::LeftToRight);
    ListFields->setWrapping(true);
    ListFields->setMaximumHeight(ListFields->fontMetrics().height() * 4);
    for (std::string_view field : tagnames::NameFormat::FieldNames())
        ListFields->addItem(QLatin1Char('%') + ToQString(field) + QLatin1Char('%'));
    ListFields->setToolTip(QStringLiteral("Click a field, or press Enter on it, to insert it"));
    fieldsLabel->setBuddy(ListFields);
    formatRow->addWidget(fieldsLabel, 1, 0, Qt::AlignTop);
    formatRow->addWidget(ListFields, 1, 1);
    column->addLayout(formatRow);

    auto* missing = new QGroupBox(QStringLiteral("When a field is missing"), this);
    auto* missingRow = new QHBoxLayout(missing);
    RadioKeepOld = new QRadioButton(QStringLiteral("&Keep the old name"), missing);
    RadioKeepOld->setObjectName(QStringLiteral("RadioKeepOld"));
    RadioLeaveEmpty = new QRadioButton(QStringLiteral("&Leave the field empty"), missing);
    RadioLeaveEmpty->setObjectName(QStringLiteral("RadioLeaveEmpty"));
    missingRow->addWidget(RadioKeepOld);
    missingRow->addWidget(RadioLeaveEmpty);
    missingRow->addStretch();
    column->addWidget(missing);

    auto* replaceRow = new QHBoxLayout;
    auto* replaceLabel =
        new QLabel(QStringLiteral("&Replace characters a file name cannot hold with:"), this);
    EditReplacement = new QLineEdit(this);
    EditReplacement->setObjectName(QStringLiteral("EditReplacement"));
    EditReplacement->setAccessibleName(QStringLiteral("Replacement"));
    EditReplacement->setMaxLength(16);
    EditReplacement->setMaximumWidth(EditReplacement->fontMetrics().averageCharWidth() * 10);
    replaceLabel->setBuddy(EditReplacement);
    CheckBoxSafeAll = new QCheckBox(QStringLiteral("&Safe for all file systems"), this);
    CheckBoxSafeAll->setObjectName(QStringLiteral("CheckBoxSafeAll"));
    CheckBoxSafeAll->setToolTip(
        QStringLiteral("Also replace \\ : * ? \" < > | as FAT, exFAT and NTFS volumes require"));
    replaceRow->addWidget(replaceLabel);
    replaceRow->addWidget(EditReplacement);
    replaceRow->addWidget(CheckBoxSafeAll);
    replaceRow->addStretch();
    column->addLayout(replaceRow);

    auto* previewLabel = new QLabel(QStringLiteral("Pre&view"), this);
    Preview = new QTreeWidget(this);
    Preview->setObjectName(QStringLiteral("Preview"));
    Preview->setAccessibleName(QStringLiteral("Preview"));
    Preview->setRootIsDecorated(false);
    Preview->setHeaderLabels({QStringLiteral("Old name"), QStringLiteral("New name")});
    Preview->header()->setSectionResizeMode(QHeaderView::Stretch);
    previewLabel->setBuddy(Preview);
    column->addWidget(previewLabel);
    column->addWidget(Preview, 1);

    LabelProgress = new QLabel(this);
    LabelProgress->setObjectName(QStringLiteral("LabelProgress"));
    LabelProgress->setWordWrap(true);
    column->addWidget(LabelProgress);

    Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    column->addWidget(Buttons);
    connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    const auto settings = OpenAppSettings();
    QStringList formats = settings->value(kFormatsKey).toStringList();
    for (const QString& f : DefaultFormats())
        if (!formats.contains(f)) formats.append(f);
    ComboBoxFormat->addItems(formats);
    ComboBoxFormat->setCurrentIndex(0);
    (settings->value(kMissingKey, false).toBool() ? RadioLeaveEmpty : RadioKeepOld)
        ->setChecked(true);
    EditReplacement->setText(settings->value(kReplacementKey, QStringLiteral("_")).toString());
    CheckBoxSafeAll->setChecked(settings->value(kSafeAllKey, false).toBool());

    const auto changed = [this] {
        previewDone_ = 0;
        Refresh();
    };
    connect(ComboBoxFormat, &QComboBox::editTextChanged, this, changed);
    connect(RadioKeepOld, &QRadioButton::toggled, this, changed);
    connect(EditReplacement, &QLineEdit::textChanged, this, changed);
    connect(CheckBoxSafeAll, &QCheckBox::toggled, this, changed);
    connect(ListFields, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { InsertField(item->text()); });
    connect(ListFields, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { InsertField(item->text()); });
    poll_.setInterval(50);
    connect(&poll_, &QTimer::timeout, this, [this] { Refresh(); });
    resize(640, 520);
}

NamesFromTagsDlg::~NamesFromTagsDlg() = default;

void NamesFromTagsDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ComboBoxFormat->setFocus(Qt::OtherFocusReason);
    ComboBoxFormat->lineEdit()->selectAll();
}

tagnames::SafeNameRules NamesFromTagsDlg::SavedRules(bool fatVolume) {
    const auto settings = OpenAppSettings();
    tagnames::SafeNameRules rules;
    rules.replacement =
        FromQString(settings->value(kReplacementKey, QStringLiteral("_")).toString());
    rules.fatCharacters = fatVolume || settings->value(kSafeAllKey, false).toBool();
    return rules;
}

tagnames::TagNameOptions NamesFromTagsDlg::Options() const {
    tagnames::TagNameOptions o;
    o.missing = RadioLeaveEmpty->isChecked() ? tagnames::NameFormat::Missing::LeaveEmpty
                                             : tagnames::NameFormat::Missing::KeepOldName;
    o.rules.replacement = FromQString(EditReplacement->text());
    o.rules.fatCharacters = fatVolume_ || CheckBoxSafeAll->isChecked();
    return o;
}

void NamesFromTagsDlg::InsertField(const QString& field) {
    QLineEdit* edit = ComboBoxFormat->lineEdit();
    edit->insert(field);
    edit->setFocus(Qt::OtherFocusReason);
}

void NamesFromTagsDlg::Refresh() {
    if (!scan_) return;
    const tagnames::NameFormat format =
        tagnames::NameFormat::Parse(FromQString(ComboBoxFormat->currentText()));
    const std::size_t done = scan_->Done(), count = scan_->Count();
    const std::size_t shown = std::min<std::size_t>(count, kPreviewLines);
    if (Preview->topLevelItemCount() != static_cast<int>(shown)) {
        Preview->clear();
        for (std::size_t i = 0; i < shown; ++i)
            new QTreeWidgetItem(Preview, {ToQString(fileNames_[i]), QString()});
        previewDone_ = 0;
    }
    // Only rows whose tags arrived since the last refresh, or all after a change of options.
    const tagnames::TagNameOptions options = Options();
    for (std::size_t i = previewDone_; i < std::min(done, shown); ++i) {
        const std::string line = format.Valid()
                                     ? tagnames::TagNames::Line(format, scan_->At(i), fileNames_[i],
                                                                excludeExt_, options)
                                     : std::string();
        Preview->topLevelItem(static_cast<int>(i))->setText(1, ToQString(line));
    }
    previewDone_ = std::min(done, shown);

    QString progress;
    if (!format.Valid())
        progress = ToQString(format.Error());
    else if (done < count)
        progress = QStringLiteral("Reading tags: %1 of %2").arg(done).arg(count);
    LabelProgress->setText(progress);
    if (status_)
        status_(done < count ? QStringLiteral("Reading tags: %1 of %2").arg(done).arg(count)
                             : QString());
    Buttons->button(QDialogButtonBox::Ok)->setEnabled(format.Valid() && done == count);
    if (done == count) poll_.stop();
}

void NamesFromTagsDlg::SaveSettings() const {
    const auto settings = OpenAppSettings();
    QStringList formats = settings->value(kFormatsKey).toStringList();
    const QString current = ComboBoxFormat->currentText();
    formats.removeAll(current);
    formats.prepend(current);
    while (formats.size() > kRecentFormats)
        formats.removeLast();
    settings->setValue(kFormatsKey, formats);
    settings->setValue(kMissingKey, RadioLeaveEmpty->isChecked());
    settings->setValue(kReplacementKey, EditReplacement->text());
    settings->setValue(kSafeAllKey, CheckBoxSafeAll->isChecked());
}

std::optional<std::vector<std::string>>
NamesFromTagsDlg::Choose(const std::vector<std::string>& fileNames, const std::string& folder,
                         bool excludeExt, bool fatVolume,
                         std::function<void(const QString&)> status) {
    fileNames_ = fileNames;
    excludeExt_ = excludeExt;
    fatVolume_ = fatVolume;
    status_ = std::move(status);
    CheckBoxSafeAll->setEnabled(!fatVolume);
    if (fatVolume) CheckBoxSafeAll->setToolTip(QStringLiteral("This folder's volume requires it"));
    std::vector<std::string> paths;
    paths.reserve(fileNames.size());
    for (const std::string& name : fileNames)
        paths.push_back(folder + name);
    scan_ = std::make_unique<tagnames::TagScan>(std::move(paths));
    Preview->clear();
    previewDone_ = 0;
    poll_.start();
    Refresh();
    const int result = exec();
    poll_.stop();
    if (status_) status_(QString());
    std::optional<std::vector<std::string>> lines;
    if (result == QDialog::Accepted && scan_->Finished()) {
        SaveSettings();
        const tagnames::NameFormat format =
            tagnames::NameFormat::Parse(FromQString(ComboBoxFormat->currentText()));
        const tagnames::TagNameOptions options = Options();
        lines.emplace();
        lines->reserve(fileNames.size());
        for (std::size_t i = 0; i < fileNames.size(); ++i)
            lines->push_back(
                tagnames::TagNames::Line(format, scan_->At(i), fileNames[i], excludeExt, options));
    }
    scan_.reset(); // a cancelled reading stops here
    return lines;
}

} // namespace velmora::ui
