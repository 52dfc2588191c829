// "Open With...": the desktop portal's application chooser, or our own.
#pragma once

#include "core/shell/AppAssociations.h"

#include <QDialog>
#include <QObject>
#include <QPointer>
#include <memory>
#include <string>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace velmora::ui {

// Our chooser: the applications for the file's type, default first; all of them on request.
class AppChooserDialog : public QDialog {
    Q_OBJECT
public:
    AppChooserDialog(const std::string& file, const shell::AppAssociations& apps,
                     const std::vector<std::string>& mimeTypes, QWidget* parent = nullptr);
    const shell::DesktopApp* Chosen() const;

    QListWidget* List() const { return list_; }
    QCheckBox* ShowAll() const { return showAll_; }
    QPushButton* OpenButton() const { return open_; }

private:
    void Fill();

    const shell::AppAssociations& apps_;
    std::vector<std::string> mimeTypes_;
    std::vector<const shell::DesktopApp*> shown_;
    QLabel* empty_ = nullptr;
    QListWidget* list_ = nullptr;
    QCheckBox* showAll_ = nullptr;
    QPushButton* open_ = nullptr;
};

class OpenWithDialog : public QObject {
    Q_OBJECT
public:
    explicit OpenWithDialog(QWidget* owner);

    std::string FileName;
    // Shows the chooser for FileName; the chosen application opens it. Nothing is reported
    // back; a program that cannot be started is shown as an error.
    void Execute();

    // The file's MIME type, its aliases and its ancestors, most specific first.
    static std::vector<std::string> MimeTypesOf(const std::string& file);
    // Starts app on file without a shell; raises platform::Exception when it cannot.
    static void Launch(const shell::DesktopApp& app, const std::string& file);

signals:
    // Our own chooser is about to be shown (tests answer it).
    void ChooserShown(AppChooserDialog* dialog);

private:
    bool OpenThroughPortal();
    QPointer<QWidget> owner_;
};

} // namespace velmora::ui
