// Deleting files the way the desktop does: to the Trash or permanently, after our confirmation.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

namespace velmora::ui {

enum class FileOperation : std::uint8_t { foDelete };

// The behaviour flags that a delete honours.
enum FileOperationFlag : unsigned {
    fofAllowUndo = 1u << 0,      // to the Trash instead of permanently
    fofFilesOnly = 1u << 2,      // no folders for wildcards; names here are never wildcards
    fofNoConfirmation = 1u << 4, // no question before deleting
    fofNoErrorUI = 1u << 10,     // failures only through the result
};

class SHFileOperation : public QObject {
    Q_OBJECT
public:
    explicit SHFileOperation(QWidget* owner);

    std::vector<std::string> SourceFiles;
    FileOperation Operation = FileOperation::foDelete;
    unsigned Options = fofAllowUndo | fofFilesOnly;

    // True only when every file was deleted: a No, a failure or a file left in place gives
    // false. A file that cannot go to the Trash is deleted permanently only after the user
    // agrees.
    bool Execute();

private:
    bool Confirm(const QString& text, const QString& detail);
    bool DeleteOne(const std::string& path);
    void ShowError(const QString& text);

    QPointer<QWidget> owner_;
};

} // namespace velmora::ui
