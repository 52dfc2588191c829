// The information pane.
#include "ui/workspace/InfoPages.h"

#include "core/platform/Error.h"
#include "ui/editor/TextEditor.h"
#include "ui/platform/MessageBoxQuestions.h"
#include "ui/platform/QtText.h"
#include "ui/platform/VelmoraApplication.h"
#include "ui/tags/VisualId3v1.h"
#include "ui/tags/VisualId3v2.h"
#include "ui/workspace/FileDetailsLoader.h"

#include <QDateTime>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTimeZone>
#include <QVBoxLayout>

namespace velmora::ui {

InfoPages::InfoPages(QWidget* parent) : QTabWidget(parent) {
    setObjectName(QStringLiteral("PageControlInfo"));
    setAccessibleName(QStringLiteral("File information"));

    MemoInfo = new TextEditor(this);
    MemoInfo->setObjectName(QStringLiteral("MemoInfo"));
    MemoInfo->SetReadOnly(true);
    MemoInfo->SetGutterWidth(0);
    MemoInfo->SetWordWrap(false);
    // Five short lines: no scroll bars, no margin line.
    MemoInfo->SetScrollBars(TextEditor::ScrollStyle::ssNone);
    MemoInfo->RightMarginVisible = false;
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPixelSize(13);
    MemoInfo->setFont(fixed);
    MemoInfo->Color = palette().color(QPalette::Button);
    MemoInfo->setToolTip(QStringLiteral("File information"));
    MemoInfo->setAccessibleName(QStringLiteral("File information"));
    addTab(MemoInfo, QStringLiteral("File Info"));

    auto* v1Page = new QWidget(this);
    v1Page->setToolTip(QStringLiteral("MP3 ID3 V11 tag information (if available)"));
    v1Page->setAccessibleName(QStringLiteral("ID3 V11")); // a page is named like its tab
    auto* v1Row = new QHBoxLayout(v1Page);
    v1Row->setContentsMargins(0, 0, 4, 0);
    VisualId3v11 = new VisualId3v1(v1Page);
    VisualId3v11->SetReadOnly(false);
    v1Row->addWidget(VisualId3v11, 1);
    auto* buttons = new QVBoxLayout;
    buttons->setContentsMargins(0, 5, 0, 0);
    Button1 = new QPushButton(QStringLiteral("Write To File"), v1Page);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button4 = new QPushButton(QStringLiteral("Clear"), v1Page);
    Button4->setObjectName(QStringLiteral("Button4"));
    // Nothing to write to or clear until a file is shown.
    Button1->setEnabled(false);
    Button4->setEnabled(false);
    buttons->addWidget(Button1);
    buttons->addWidget(Button4);
    buttons->addStretch(1);
    v1Row->addLayout(buttons);
    addTab(v1Page, QStringLiteral("ID3 V11"));
    setTabToolTip(1, v1Page->toolTip());

    VisualId3v21 = new VisualId3v2(this);
    VisualId3v21->setToolTip(QStringLiteral("MP3 ID2 V21 tag information (if available)"));
    VisualId3v21->setAccessibleName(QStringLiteral("ID3 V21"));
    addTab(VisualId3v21, QStringLiteral("ID3 V21"));
    setTabToolTip(2, VisualId3v21->toolTip());

    connect(Button1, &QPushButton::clicked, this,
            [this] { Guarded(this, [this] { Button1Click(); }); });
    connect(Button4, &QPushButton::clicked, this,
            [this] { Guarded(this, [this] { Button4Click(); }); });

    loader_ = new FileDetailsLoader(this);
    connect(loader_, &FileDetailsLoader::Loaded, this,
            [this](const std::shared_ptr<const LoadedDetails>& d) { ShowDetails(*d); });
}

void InfoPages::ShowFile(const std::string& path) {
    loader_->Request(path);
}

void InfoPages::ShowNothing() {
    loader_->Cancel();
    shownFile_.reset();
    SetInfoLines({});
    VisualId3v11->ShowRead(std::string(), tags::Id3v1());
    VisualId3v11->Id3Tag().SetGenre(tags::grNone); // no file, so no genre either, not "Blues"
    VisualId3v21->ShowTag(std::make_shared<tags::Id3v2>());
    Button1->setEnabled(false);
    Button4->setEnabled(false);
}

void InfoPages::ListReloaded() {
    loader_->Cancel();
    if (!ShownFileIsThere()) ShowNothing();
}

bool InfoPages::ShownFileIsThere() const {
    return shownFile_ && fs::FileIdentity::Of(VisualId3v11->FileName()) == shownFile_->Identity;
}

bool InfoPages::Loading() const {
    return loader_->Busy();
}

void InfoPages::ShowDetails(const LoadedDetails& loaded) {
    const workspace::FileDetails& details = loaded.Details;
    if (!details.Information) {
        SetInfoLines({});
        emit DetailsShown();
        return;
    }
    SetInfoLines(details.Information->Lines(&InfoPages::FormatTime));
    shownFile_ = details.Information->Version;
    VisualId3v11->ShowRead(details.Path, details.Id3v1);
    Button1->setEnabled(true);
    Button4->setEnabled(true);
    emit DetailsShown();
    // The viewer's read error reaches the user; its pages stay as they were.
    if (details.Id3v2)
        VisualId3v21->ShowTag(details.Id3v2, loaded.FirstPicture);
    else
        ShowErrorBox(this, details.Id3v2Error);
}

void InfoPages::SetInfoLines(const std::vector<std::string>& lines) {
    platform::StringList& text = MemoInfo->Lines();
    text.BeginUpdate();
    text.Clear();
    for (const std::string& line : lines)
        text.Add(line);
    text.EndUpdate();
}

QStringList InfoPages::InfoLines() const {
    return ToQStringList(MemoInfo->Lines());
}

void InfoPages::RefreshInfoLines() {
    // After our own write: the file as it stands now is the one shown.
    if (auto info = fs::FileInformation::Read(VisualId3v11->FileName())) {
        SetInfoLines(info->Lines(&InfoPages::FormatTime));
        if (shownFile_ && shownFile_->Identity == info->Identity) shownFile_ = info->Version;
    }
}

std::string InfoPages::FormatTime(fs::FileTime utc, bool withTime) {
    const QLocale locale;
    const QDateTime t = QDateTime::fromSecsSinceEpoch(utc.Seconds, QTimeZone::utc());
    QString text = locale.toString(t.date(), QLocale::ShortFormat);
    if (withTime)
        text += QLatin1Char(' ') + locale.toString(t, locale.timeFormat(QLocale::LongFormat));
    return FromQString(text);
}

void InfoPages::CheckShownFileIsThere() {
    const std::string path = VisualId3v11->FileName();
    const std::optional<fs::FileVersion> now = fs::FileVersion::Of(path);
    if (shownFile_ && now == shownFile_) return;
    // Renamed away, replaced, overwritten in place or removed since it was read: writing by
    // name would change whatever file has that name now, with what another file held.
    const std::string text = platform::Format(
        "\"%s\" is no longer the file shown: it was renamed, replaced or removed. The tag was "
        "not changed.",
        {path});
    if (!now || !shownFile_) throw platform::Exception(text);
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Velmora"),
                    ToQString(text + "\n\nDo you want to read the file again?"),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    if (box.exec() == QMessageBox::Yes) ShowFile(path);
    platform::Abort();
}

void InfoPages::Button1Click() {
    CheckShownFileIsThere();
    const std::string& path = VisualId3v11->FileName();
    // The write reports failure only by its result; say so instead of leaving the user to
    // believe the tag was written.
    if (!VisualId3v11->SaveToFile(path))
        throw platform::Exception(
            platform::Format("The ID3v1 tag could not be written to \"%s\".", {path}));
    RefreshInfoLines();
}

void InfoPages::Button4Click() {
    CheckShownFileIsThere();
    const std::string path = VisualId3v11->FileName();
    VisualId3v11->RemoveTagFromFile(path);
    VisualId3v11->LoadFromFile(path);
    RefreshInfoLines();
}

} // namespace velmora::ui
