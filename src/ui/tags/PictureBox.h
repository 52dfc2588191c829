// Shows one picture: at its natural size, centred (scrollable when larger than the area), or
// stretched to the area keeping its proportions.
#pragma once

#include <QImage>
#include <QScrollArea>

class QLabel;

namespace velmora::ui {

class PictureBox : public QScrollArea {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    const QImage& Image() const { return image_; }
    void SetImage(const QImage& image);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch);
    // The pixmap as shown, for checks of the layout.
    QSize ShownSize() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void UpdateShown();

    QLabel* label_;
    QImage image_;
    bool stretch_ = false;
};

} // namespace velmora::ui
