// Our own properties window for one file: what it is, where, how big, whose, when.
#pragma once

#include "core/fs/FileProperties.h"

#include <QDialog>
#include <QString>
#include <map>

class QFormLayout;
class QLabel;

namespace velmora::ui {

class FilePropertiesDialog : public QDialog {
    Q_OBJECT
public:
    // Raises platform::Exception when the file cannot be examined.
    explicit FilePropertiesDialog(const std::string& path, QWidget* parent = nullptr);

    // The text shown beside a field caption ("Size", "Link target", ...); empty when absent.
    QString Field(const QString& caption) const;

    // "4.0 GiB (4,294,967,303 bytes)"; below 1 KiB just "5 bytes".
    static QString SizeText(std::uint64_t bytes);

private:
    void Add(const QString& caption, const QString& value);

    QFormLayout* form_ = nullptr;
    std::map<QString, QLabel*> fields_;
};

} // namespace velmora::ui
