// The picture area of the tag viewer.
#include "ui/tags/PictureBox.h"

#include <QLabel>
#include <QPixmap>

namespace velmora::ui {

PictureBox::PictureBox(QWidget* parent) : QScrollArea(parent), label_(new QLabel) {
    setAlignment(Qt::AlignCenter);
    setFrameShape(QFrame::NoFrame);
    label_->setAlignment(Qt::AlignCenter);
    label_->setAccessibleName(QStringLiteral("Picture"));
    setWidget(label_);
    setAccessibleName(QStringLiteral("Picture"));
}

void PictureBox::SetImage(const QImage& image) {
    image_ = image;
    UpdateShown();
}

void PictureBox::SetStretch(bool stretch) {
    stretch_ = stretch;
    UpdateShown();
}

QSize PictureBox::ShownSize() const {
    return label_->pixmap().isNull() ? QSize() : label_->pixmap().size();
}

void PictureBox::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    if (stretch_) UpdateShown();
}

void PictureBox::UpdateShown() {
    if (image_.isNull()) {
        label_->clear();
        label_->resize(0, 0);
        return;
    }
    setWidgetResizable(stretch_);
    if (stretch_) {
        const QSize area = viewport()->size();
        if (area.isEmpty()) return;
        label_->setPixmap(
            QPixmap::fromImage(image_.scaled(area, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    } else {
        label_->setPixmap(QPixmap::fromImage(image_));
        label_->resize(image_.size());
        // A picture larger than the area shows its middle first.
        ensureVisible(image_.width() / 2, image_.height() / 2, viewport()->width() / 2,
                      viewport()->height() / 2);
    }
}

} // namespace velmora::ui
