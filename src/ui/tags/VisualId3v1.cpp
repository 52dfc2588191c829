// The ID3v1 editor panel.
#include "ui/tags/VisualId3v1.h"

#include "core/tags/id3v1/Genre.h"
#include "ui/platform/QtText.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

namespace velmora::ui {

namespace {

constexpr int kMargin = 5;      // captions from the left edge, and the first row from the top
constexpr int kCaptionGap = 10; // boxes from the widest caption
constexpr int kRowGap = 5;
constexpr int kRightGap = 4;
constexpr int kMinBoxWidth = 40;

// A highlight for boxes holding characters the trailer cannot store.
const QColor kUnfitColor(255, 224, 208);
const char* const kUnfitHint = "Characters other than ISO 8859-1 are written as \"?\"";

} // namespace

VisualId3v1::VisualId3v1(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("VisualId3v1"));
    editFont_ = font();
    labelFont_ = font();
    editColor_ = palette().color(QPalette::Base);

    struct Row {
        const char* caption;
        int limit;
        QLineEdit** box;
    };
    const Row rows[] = {{"Artist", 30, &EditArtist},
                        {"SongName", 30, &EditSongName},
                        {"Album", 30, &EditAlbum},
                        {"Year", 4, &EditYear},
                        {"Comment", 30, &EditComment}};
    int i = 0;
    for (const Row& row : rows) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("Edit") + QLatin1String(row.caption));
        // Characters, not bytes: "é" takes one of the 30 places although UTF-8 needs two bytes.
        box->setMaxLength(row.limit);
        box->setAccessibleName(QLatin1String(row.caption));
        connect(box, &QLineEdit::textChanged, this, [this] {
            if (!refreshing_) Edit();
        });
        *row.box = box;
        captions_[i] = new QLabel(QLatin1String(row.caption), this);
        captions_[i]->setBuddy(box);
        ++i;
    }
    ComboGenre = new QComboBox(this);
    ComboGenre->setObjectName(QStringLiteral("ComboGenre"));
    ComboGenre->setAccessibleName(QStringLiteral("Genre"));
    ComboGenre->setEditable(false);
    ComboGenre->setMaxVisibleItems(20);
    for (int g = 0; g < tags::GenreCount; ++g)
        ComboGenre->addItem(ToQString(tags::GenreToString(static_cast<tags::TGenre>(g))));
    ComboGenre->setCurrentIndex(-1);
    connect(ComboGenre, &QComboBox::currentIndexChanged, this, [this] {
        if (!refreshing_) Edit();
    });
    captions_[5] = new QLabel(QStringLiteral("Genre"), this);
    captions_[5]->setBuddy(ComboGenre);

    tag_.OnChange = [this](tags::Id3v1Tag&) { Refresh(); };
    SetReadOnly(true);
    LayoutRows();
}

std::array<QLineEdit*, 5> VisualId3v1::Boxes() const {
    return {EditArtist, EditSongName, EditAlbum, EditYear, EditComment};
}

void VisualId3v1::SetFileName(const std::string& fileName) {
    tags::Id3v1 reader;
    std::optional<tags::Id3v1> read;
    if (reader.ReadTag(fileName)) read = reader;
    ShowRead(fileName, read);
}

void VisualId3v1::ShowRead(const std::string& fileName, const std::optional<tags::Id3v1>& read) {
    fileName_ = fileName;
    if (read) id3v1_ = *read;
    CopyRead(true);
}

void VisualId3v1::LoadFromFile(const std::string& fileName) {
    id3v1_.ReadTag(fileName);
    CopyRead(false);
}

void VisualId3v1::CopyRead(bool trimmed) {
    auto value = [trimmed](const std::string& s) { return trimmed ? tags::Id3v1Tag::Trim(s) : s; };
    tag_.SetAlbum(value(id3v1_.Album()));
    tag_.SetArtist(value(id3v1_.Artist()));
    tag_.SetComment(value(id3v1_.Comment()));
    tag_.SetYear(value(id3v1_.Year()));
    tag_.SetSongName(value(id3v1_.SongName()));
    tag_.SetGenre(id3v1_.Genre());
}

bool VisualId3v1::SaveToFile(const std::string& fileName) const {
    return id3v1_.WriteTag(fileName, tag_.SongName(), tag_.Artist(), tag_.Album(), tag_.Year(),
                           tag_.Comment(), tag_.Genre());
}

void VisualId3v1::RemoveTagFromFile(const std::string& fileName) const {
    id3v1_.RemoveTag(fileName);
}

void VisualId3v1::Refresh() {
    // The copy's setters report each value an edit copies; the boxes already show them.
    if (editing_) return;
    refreshing_ = true;
    emit OnChange();
    const std::string values[] = {tag_.Artist(), tag_.SongName(), tag_.Album(), tag_.Year(),
                                  tag_.Comment()};
    int i = 0;
    for (QLineEdit* box : Boxes()) {
        const QString text = ToQString(values[i++]);
        if (box->text() != text) {
            box->setText(text);
            box->setCursorPosition(0);
        }
    }
    // A byte above 125 (grNone, 255, ...) selects nothing.
    ComboGenre->setCurrentIndex(tag_.Genre() < tags::GenreCount ? tag_.Genre() : -1);
    refreshing_ = false;
    MarkUnfitCharacters();
}

void VisualId3v1::Edit() {
    emit OnChange();
    editing_ = true;
    tag_.SetArtist(FromQString(EditArtist->text()));
    tag_.SetSongName(FromQString(EditSongName->text()));
    tag_.SetAlbum(FromQString(EditAlbum->text()));
    tag_.SetYear(FromQString(EditYear->text()));
    tag_.SetComment(FromQString(EditComment->text()));
    // No row selected is -1, which the one-byte genre keeps as 255.
    tag_.SetGenre(static_cast<tags::TGenre>(static_cast<std::uint8_t>(ComboGenre->currentIndex())));
    editing_ = false;
    MarkUnfitCharacters();
}

void VisualId3v1::MarkUnfitCharacters() {
    for (QLineEdit* box : Boxes()) {
        const bool unfit = !tags::Id3v1Tag::FitsTrailer(FromQString(box->text()));
        if (box->property("unfit").toBool() == unfit) continue;
        box->setProperty("unfit", unfit);
        ApplyBoxColor(box);
        box->setToolTip(unfit ? QString::fromLatin1(kUnfitHint) : QString());
        box->setAccessibleDescription(unfit ? QString::fromLatin1(kUnfitHint) : QString());
    }
}

void VisualId3v1::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    for (QLineEdit* box : Boxes())
        box->setEnabled(!readOnly);
    ComboGenre->setEnabled(!readOnly);
}

void VisualId3v1::SetEditFont(const QFont& font) {
    editFont_ = font;
    for (QLineEdit* box : Boxes())
        box->setFont(font);
    ComboGenre->setFont(font);
    LayoutRows();
}

void VisualId3v1::SetLabelFont(const QFont& font) {
    labelFont_ = font;
    for (QLabel* caption : captions_)
        caption->setFont(font);
    LayoutRows();
}

void VisualId3v1::SetEditColor(const QColor& color) {
    editColor_ = color;
    ApplyEditColor();
}

void VisualId3v1::ApplyBoxColor(QLineEdit* box) const {
    QPalette p = box->palette();
    p.setColor(QPalette::Base, box->property("unfit").toBool() ? kUnfitColor : editColor_);
    box->setPalette(p);
}

void VisualId3v1::ApplyEditColor() {
    for (QLineEdit* box : Boxes())
        ApplyBoxColor(box);
    QPalette p = ComboGenre->palette();
    p.setColor(QPalette::Base, editColor_);
    p.setColor(QPalette::Button, editColor_);
    ComboGenre->setPalette(p);
}

void VisualId3v1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutRows();
}

VisualId3v1::RowMetrics VisualId3v1::Metrics() const {
    RowMetrics m;
    for (QLabel* caption : captions_) {
        m.captionWidth = std::max(m.captionWidth, caption->sizeHint().width());
        m.captionHeight = std::max(m.captionHeight, caption->sizeHint().height());
    }
    m.boxHeight = std::max(EditArtist->sizeHint().height(), ComboGenre->sizeHint().height());
    m.pitch = std::max(m.captionHeight, m.boxHeight) + kRowGap;
    m.left = kMargin + m.captionWidth + kCaptionGap;
    return m;
}

void VisualId3v1::LayoutRows() {
    const RowMetrics m = Metrics();
    const int boxWidth =
        width() - m.left - kRightGap < 0 ? kMinBoxWidth : width() - m.left - kRightGap;
    QWidget* controls[] = {EditArtist, EditSongName, EditAlbum, EditYear, EditComment, ComboGenre};
    for (int row = 0; row < 6; ++row) {
        const int top = kMargin + row * m.pitch;
        captions_[row]->setGeometry(kMargin, top + (m.boxHeight - m.captionHeight) / 2,
                                    m.captionWidth, m.captionHeight);
        controls[row]->setGeometry(m.left, top, boxWidth, m.boxHeight);
    }
}

QSize VisualId3v1::sizeHint() const {
    const RowMetrics m = Metrics();
    return {m.left + 160 + kRightGap, kMargin + 6 * m.pitch};
}

} // namespace velmora::ui
