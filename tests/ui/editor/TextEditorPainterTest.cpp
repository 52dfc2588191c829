// The text area's painter drawn straight into an image: the same pixels the widget shows.
#include "TextEditorTestSupport.h"

#include <QImage>
#include <QPainter>

using namespace velmora;
using test::EditorFixture;

namespace {

struct PainterTest : EditorFixture {};

// One row painted on its own, into a blank image, over the widget's own row band.
QImage PaintedRow(ui::TextEditor& ed, int row, const QColor& under) {
    QImage img(ed.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    img.fill(under);
    QPainter p(&img);
    ed.Painter().PaintLine(p, row, 0, -1);
    return img;
}

TEST_F(PainterTest, ARowPaintedAloneMatchesTheWidgetAndStaysInItsBand) {
    Load("alpha.mp3\n\xC3\xA9t\xC3\xA9 b.flac\nrest\n");
    ed.SetSelStart(3);
    ed.SetSelLength(8); // across the first row break: both selection colours on row 0 and 1
    ed.clearFocus();    // no caret in the grab
    QApplication::processEvents();
    const QImage view =
        ed.viewport()->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int lh = ed.LineHeight();
    const int left = ed.TextAreaLeft();
    for (int row = 0; row < 3; ++row) {
        const QImage img = PaintedRow(ed, row, Qt::magenta);
        const QRect band(left, row * lh, view.width() - left, lh);
        EXPECT_EQ(img.copy(band), view.copy(band)) << "row " << row;
        // Nothing outside the row's band of the text area is touched.
        EXPECT_EQ(img.pixelColor(left, band.bottom() + 1), QColor(Qt::magenta));
        EXPECT_EQ(img.pixelColor(0, band.top()), QColor(Qt::magenta));
    }
    // Rows out of view paint nothing.
    const QImage none = PaintedRow(ed, ed.TopRow() + ed.VisibleRowCount() + 1, Qt::magenta);
    EXPECT_EQ(none.pixelColor(left, 0), QColor(Qt::magenta));
}

} // namespace
