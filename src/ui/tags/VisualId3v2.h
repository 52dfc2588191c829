// The ID3v2 viewer panel: a tree of topics beside one page of values per topic, read-only.
#pragma once

#include "core/tags/id3v2/Id3v2.h"
#include "ui/tags/PId3v2Editor.h"

#include <QImage>
#include <QMap>
#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QStackedWidget;
class QTreeWidget;

namespace velmora::ui {

class PictureBox;

// A picture made ready away from the window: the kind shown first and its image.
struct PreparedPicture {
    int type = -1;
    QImage image;
};

class VisualId3v2 : public QWidget {
    Q_OBJECT
public:
    explicit VisualId3v2(QWidget* parent = nullptr);

    std::string FileName() const { return tag_ ? tag_->FileName() : std::string(); }
    // Reads the file's tag and shows it. A read error passes on and leaves the pages as they
    // were.
    void SetFileName(const std::string& fileName);
    // The first kind "Types" lists for a tag and its image; callable on any thread.
    static PreparedPicture PrepareFirstPicture(const tags::Id3v2& tag);

    // Shows a tag read elsewhere (off the UI thread), with its first picture when prepared.
    void ShowTag(std::shared_ptr<const tags::Id3v2> tag, PreparedPicture prepared);
    void ShowTag(std::shared_ptr<const tags::Id3v2> tag) { ShowTag(std::move(tag), {}); }
    const tags::Id3v2* Tag() const { return tag_.get(); }

    PId3v2Editor& Datas() { return datas_; }

    // The picture kinds in the order of the "Types" list, with their picture-type bytes.
    struct PictureKind {
        const char* name;
        int type;
    };
    static const std::vector<PictureKind>& PictureKinds();

    // Shows the page of a topic caption ("Part 2"); a caption without a page changes nothing.
    void ShowTopic(const QString& caption);
    QString ShownTopic() const;

    // "&Save...": asks for a file name and writes the shown picture's bytes unchanged; beeps
    // when no picture is shown.
    void SavePicture();

    QTreeWidget* TreeView = nullptr;
    QStackedWidget* Pages = nullptr;
    ListValue Types;
    TextValue Description;
    PictureBox* Image = nullptr;
    QMenu* PopupMenuPicture = nullptr;
    QAction* Save1 = nullptr;
    QAction* Stretch1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildTree();
    // A value shown on a page: its caption, where its widget is kept and how it reads the tag.
    enum class FieldKind : std::uint8_t { Text, Url, List };
    struct Field {
        const char* caption;
        FieldKind kind;
        TextValue* text;
        ListValue* list;
        QString (*textOf)(const tags::Id3v2&);
        QStringList (*itemsOf)(const tags::Id3v2&);
    };
    struct FieldPage {
        const char* title;
        std::vector<Field> fields;
    };
    // Every page of values in topic order, each field named once.
    std::vector<FieldPage> FieldPages();
    void BuildFieldPages();
    void BuildPhotos();
    void BuildPictureMenu();
    QWidget* AddPage(const QString& title);
    void Refresh();
    void RefreshPictures();
    // Shows the kind in that row of "Types"; re-showing the kind already shown does nothing.
    void ShowKind(int row);

    std::shared_ptr<const tags::Id3v2> tag_;
    PId3v2Editor datas_;
    QMap<QString, int> pageOfTopic_;
    std::vector<int> shownTypes_; // picture-type byte of each row of "Types"
    int shownType_ = -1;
    PreparedPicture prepared_;
    std::vector<FieldPage> fieldPages_;
};

} // namespace velmora::ui
