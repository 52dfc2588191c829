// The ID3v1 editor panel: six rows bound to a working copy of the tag, written back on request.
#pragma once

#include "core/tags/id3v1/Id3v1.h"
#include "core/tags/id3v1/Id3v1Tag.h"

#include <QColor>
#include <QFont>
#include <QWidget>
#include <array>
#include <optional>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;

namespace velmora::ui {

class VisualId3v1 : public QWidget {
    Q_OBJECT
public:
    explicit VisualId3v1(QWidget* parent = nullptr);

    const std::string& FileName() const { return fileName_; }
    // Reads the file's tag and shows it trimmed.
    void SetFileName(const std::string& fileName);
    // The same with a read made elsewhere (off the UI thread): nothing when that read failed,
    // which keeps the values shown.
    void ShowRead(const std::string& fileName, const std::optional<tags::Id3v1>& read);

    tags::Id3v1Tag& Id3Tag() { return tag_; }

    // Reads the tag into the working copy as it stands, without trimming; FileName stays.
    void LoadFromFile(const std::string& fileName);
    // Writes the working copy; false when the file could not be written.
    [[nodiscard]] bool SaveToFile(const std::string& fileName) const;
    // Cuts the tag off; the file's errors pass on.
    void RemoveTagFromFile(const std::string& fileName) const;

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    QFont EditFont() const { return editFont_; }
    void SetEditFont(const QFont& font);
    QFont LabelFont() const { return labelFont_; }
    void SetLabelFont(const QFont& font);
    QColor EditColor() const { return editColor_; }
    void SetEditColor(const QColor& color);

    // The rows' controls, top to bottom.
    QLineEdit* EditArtist = nullptr;
    QLineEdit* EditSongName = nullptr;
    QLineEdit* EditAlbum = nullptr;
    QLineEdit* EditYear = nullptr;
    QLineEdit* EditComment = nullptr;
    QComboBox* ComboGenre = nullptr;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    // Fired on every refresh and every edit.
    void OnChange();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void CopyRead(bool trimmed);
    void Refresh();
    void Edit();
    void MarkUnfitCharacters();
    struct RowMetrics {
        int captionWidth = 0;
        int captionHeight = 0;
        int boxHeight = 0;
        int pitch = 0;
        int left = 0; // where the boxes start
    };
    RowMetrics Metrics() const;
    void LayoutRows();
    void ApplyEditColor();
    // The edit colour, or the warning colour while the box holds characters the trailer cannot.
    void ApplyBoxColor(QLineEdit* box) const;
    std::array<QLineEdit*, 5> Boxes() const;

    tags::Id3v1 id3v1_;
    tags::Id3v1Tag tag_;
    std::string fileName_;
    std::array<QLabel*, 6> captions_{};
    bool readOnly_ = true;
    bool refreshing_ = false;
    bool editing_ = false;
    QFont editFont_;
    QFont labelFont_;
    QColor editColor_;
};

} // namespace velmora::ui
