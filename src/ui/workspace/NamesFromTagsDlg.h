// "Names From Tags": a format, what to do with missing fields and refused characters, and a
// live preview; the tags are read on a thread of their own while the dialog is open.
#pragma once

#include "core/tagnames/TagNames.h"
#include "core/tagnames/TagScan.h"

#include <QDialog>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QTreeWidget;

namespace velmora::ui {

class NamesFromTagsDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kPreviewLines = 20;
    static constexpr int kRecentFormats = 10;

    explicit NamesFromTagsDlg(QWidget* parent = nullptr);
    ~NamesFromTagsDlg() override;

    // Reads the tags of fileNames in folder and lets the user choose; the new names pane lines,
    // one per file, or nothing on Cancel. fatVolume: the folder's volume refuses the FAT
    // characters. status shows the reading's progress in the window's status bar.
    std::optional<std::vector<std::string>> Choose(const std::vector<std::string>& fileNames,
                                                   const std::string& folder, bool excludeExt,
                                                   bool fatVolume,
                                                   std::function<void(const QString&)> status);

    // The character rules as last chosen in the dialog (kept between runs), for Safe Names.
    static tagnames::SafeNameRules SavedRules(bool fatVolume);

    QComboBox* ComboBoxFormat = nullptr;
    QListWidget* ListFields = nullptr;
    QRadioButton* RadioKeepOld = nullptr;
    QRadioButton* RadioLeaveEmpty = nullptr;
    QLineEdit* EditReplacement = nullptr;
    QCheckBox* CheckBoxSafeAll = nullptr;
    QTreeWidget* Preview = nullptr;
    QLabel* LabelProgress = nullptr;
    QDialogButtonBox* Buttons = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    tagnames::TagNameOptions Options() const;
    void Refresh(); // preview, progress and the OK button, from the format and the tags read
    void InsertField(const QString& field);
    void SaveSettings() const;

    std::unique_ptr<tagnames::TagScan> scan_;
    std::vector<std::string> fileNames_;
    bool excludeExt_ = false;
    bool fatVolume_ = false;
    std::size_t previewDone_ = 0;
    std::function<void(const QString&)> status_;
    QTimer poll_;
};

} // namespace velmora::ui
