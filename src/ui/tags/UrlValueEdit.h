// A read-only URL value that opens with the desktop's default handler when clicked.
#pragma once

#include <QLineEdit>
#include <QUrl>

namespace velmora::ui {

class UrlValueEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit UrlValueEdit(QWidget* parent = nullptr);

    // The address a value opens, or an empty URL when it opens nothing: only web and mail
    // addresses are opened, since a tag's text is not to be trusted with local programs.
    static QUrl OpenableUrl(const QString& value);
    // Asks the desktop to open the value; false when the value is not openable.
    static bool Open(const QString& value);

    bool Clickable() const { return !OpenableUrl(text()).isEmpty(); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void UpdateLook();
    bool pressed_ = false;
};

} // namespace velmora::ui
