// The information pane below the name panes: the file's details, its ID3v1 tag in an editor
// that writes back, and its ID3v2 tag in a viewer.
#pragma once

#include "core/fs/FileInformation.h"
#include "core/workspace/FileDetails.h"

#include <QStringList>
#include <QTabWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QPushButton;

namespace velmora::ui {

class FileDetailsLoader;
struct LoadedDetails;
class TextEditor;
class VisualId3v1;
class VisualId3v2;

class InfoPages : public QTabWidget {
    Q_OBJECT
public:
    explicit InfoPages(QWidget* parent = nullptr);

    // Reads the file's details off the user-interface thread and shows them when they arrive.
    // A file that cannot be opened empties the information text and leaves the tag panels
    // with their previous file.
    void ShowFile(const std::string& path);
    // Forgets the file shown and empties the pages.
    void ShowNothing();
    // After the list was reloaded: a read still on its way is dropped, and the file shown is let
    // go when its name no longer stands for it (renamed by Apply or by someone else).
    void ListReloaded();
    // True while a file's details are on their way.
    bool Loading() const;

    void Button1Click(); // "Write To File"
    void Button4Click(); // "Clear"

    // The information text, one line per row.
    QStringList InfoLines() const;

    // The locale's short date and long time of a UTC time stamp, the zone named.
    static std::string FormatTime(fs::FileTime utc, bool withTime);

    TextEditor* MemoInfo = nullptr; // the names editor control, read-only
    VisualId3v1* VisualId3v11 = nullptr;
    VisualId3v2* VisualId3v21 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button4 = nullptr;

signals:
    // A file's details are shown (or the file could not be opened).
    void DetailsShown();

private:
    void ShowDetails(const LoadedDetails& loaded);
    void SetInfoLines(const std::vector<std::string>& lines);
    void RefreshInfoLines();
    // Whether the tag panel's file name still names the file that was shown.
    bool ShownFileIsThere() const;
    // Raises an error unless it does and is as it was read (not overwritten in place since);
    // when something else stands there now, offers to read it again first.
    void CheckShownFileIsThere();

    FileDetailsLoader* loader_ = nullptr;
    // The file the tag panels were filled from, as it was read (or as our own last write left
    // it); nothing before the first file or after ShowNothing.
    std::optional<fs::FileVersion> shownFile_;
};

} // namespace velmora::ui
