// Draws the names editor's text area on its fixed character grid.
#include "ui/editor/TextEditorPainter.h"

#include "ui/editor/TextEditor.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <algorithm>
#include <climits>

namespace velmora::ui {

namespace {
constexpr quint32 kUnknownGlyph = 0xFFFFFFFF;
} // namespace

void TextEditorPainter::SetFont(const QFont& font) {
    rawFont_ = QRawFont::fromFont(font);
    ascent_ = QFontMetrics(font).ascent();
    glyphs_.assign(0x10000, kUnknownGlyph);
}

void TextEditorPainter::Paint(QPainter& p, const QRegion& region) {
    const int left = editor_.TextAreaLeft();
    const int cw = editor_.CellWidth();
    const int lh = editor_.LineHeight();
    // Only the rows and columns of each invalid rectangle (a scrolled strip and the caret's
    // old place are two, far apart).
    for (const QRect& clip : region) {
        PaintGutterStrip(p, clip);
        const int clipLeft = std::max(clip.left() - left, 0);
        const int clipRight = std::max(clip.right() - left, 0);
        const int fromCol = editor_.LeftCol() + clipLeft / cw - 1;
        const int toCol = editor_.LeftCol() + clipRight / cw + 1;
        for (int r = clip.top() / lh; r <= clip.bottom() / lh + 1; ++r)
            PaintLine(p, editor_.TopRow() + r, fromCol, toCol);
    }
    // After every strip: each one fills the gutter over the whole region.
    if (editor_.RowMark) PaintRowMarks(p, region.boundingRect());
    if (!editor_.Preedit().isEmpty()) PaintPreedit(p);
}

QRect TextEditorPainter::PreeditRect() const {
    const int cells = static_cast<int>(editor_.Preedit().toUcs4().size());
    const editor::Rect r =
        editor_.CellRect(editor_.CaretX() - editor_.LeftCol(), editor_.CaretY() - editor_.TopRow());
    return {r.Left, r.Top, std::max(cells, 1) * editor_.CellWidth(), r.Height};
}

void TextEditorPainter::PaintPreedit(QPainter& p) {
    const QRect area = PreeditRect();
    p.fillRect(area, editor_.Color);
    p.setPen(editor_.FontColor);
    int x = area.left();
    for (const char32_t c : editor_.Preedit().toUcs4()) {
        const quint32 g = GridGlyph(c);
        if (g == 0) {
            DrawSingle(p, c, x, area.top());
        } else {
            QGlyphRun run;
            run.setRawFont(rawFont_);
            run.setGlyphIndexes({g});
            run.setPositions({QPointF(0, 0)});
            p.drawGlyphRun(QPointF(x, area.top() + ascent_), run);
        }
        x += editor_.CellWidth();
    }
    p.fillRect(QRect(area.left(), area.bottom(), area.width(), 1), editor_.FontColor);
}

void TextEditorPainter::PaintGutterStrip(QPainter& p, const QRect& clip) {
    const QRect strip(0, 0, editor_.TextAreaLeft(), editor_.viewport()->height());
    if (!clip.intersects(strip)) return;
    if (editor_.GutterWidth() < 1) {
        p.fillRect(strip, editor_.Color);
        return;
    }
    p.fillRect(strip, editor_.GutterColor);
    const int right = strip.width() - 1;
    p.fillRect(QRect(right - 2, 0, 1, strip.height()), editor_.Color);
    p.fillRect(QRect(right - 1, 0, 1, strip.height()), QColor(0x80, 0x80, 0x80));
}

void TextEditorPainter::PaintRowMarks(QPainter& p, const QRect& clip) {
    const int width = std::max(editor_.TextAreaLeft() - 3, 2);
    if (clip.left() >= width) return;
    const int lh = editor_.LineHeight();
    for (int r = clip.top() / lh; r <= clip.bottom() / lh; ++r) {
        const int row = editor_.TopRow() + r;
        if (!editor_.IsRowValid(row)) break;
        const QColor mark = editor_.RowMark(row);
        if (mark.isValid()) p.fillRect(QRect(0, r * lh, width, lh), mark);
    }
}

void TextEditorPainter::PaintLine(QPainter& p, int row, int fromCol, int toCol) {
    if (row < editor_.TopRow() || row > editor_.TopRow() + editor_.VisibleRowCount()) return;
    fromCol = std::max(fromCol, editor_.LeftCol());
    const int limit = editor_.LeftCol() + editor_.VisibleColCount() + 1;
    if (toCol < 0 || toCol > limit) toCol = limit;
    const int lastCol = std::min(toCol, editor_.MaxLineLength() - 1);
    const int left = editor_.TextAreaLeft();
    const int y = (row - editor_.TopRow()) * editor_.LineHeight();
    p.fillRect(QRect(left, y, editor_.viewport()->width() - left, editor_.LineHeight()),
               editor_.Color);

    if (editor_.IsRowValid(row)) {
        const std::u32string text = editor_.Lines().GetRow(row);
        const int end = std::min(static_cast<int>(text.size()), lastCol + 1);
        int selFrom = INT_MAX;
        int selTo = INT_MAX;
        if (editor_.Selected()) {
            const editor::TextPos b = editor_.SelBeg();
            const editor::TextPos e = editor_.SelEnd();
            if (row >= b.Y && row <= e.Y) {
                selFrom = row == b.Y ? b.X : 0;
                selTo = row == e.Y ? e.X : INT_MAX;
            }
        }
        for (int c = fromCol; c < end;) {
            const bool sel = c >= selFrom && c < selTo;
            const int runEnd =
                sel ? std::min(end, selTo) : (c < selFrom ? std::min(end, selFrom) : end);
            DrawRun(p, text, c, runEnd, y, sel);
            c = runEnd;
        }
    }

    const int margin = editor_.WrapWidth();
    if (editor_.RightMarginVisible && editor_.LeftCol() < margin &&
        margin < editor_.LastVisibleCol() + 3) {
        const int x = editor_.CellRect(margin - editor_.LeftCol(), 0).Left;
        p.fillRect(QRect(x, y, 1, editor_.LineHeight()), editor_.RightMarginColor);
    }
}

quint32 TextEditorPainter::GridGlyph(char32_t c) {
    if (c >= 0x10000) return 0;
    quint32& g = glyphs_[c];
    if (g != kUnknownGlyph) return g;
    const QChar ch(static_cast<char16_t>(c));
    quint32 index = 0;
    int count = 1;
    if (!rawFont_.isValid() || !rawFont_.glyphIndexesForChars(&ch, 1, &index, &count) || count != 1)
        index = 0;
    if (index != 0) {
        // A glyph wider than a cell would run into its neighbour; it is drawn squeezed instead.
        const QList<QPointF> adv = rawFont_.advancesForGlyphIndexes(QList<quint32>{index});
        if (adv.isEmpty() || adv[0].x() > editor_.CellWidth() + 0.5) index = 0;
    }
    g = index;
    return g;
}

void TextEditorPainter::DrawRun(QPainter& p, const std::u32string& row, int from, int to, int y,
                                bool selected) {
    const int cw = editor_.CellWidth();
    const int x0 = editor_.CellRect(from - editor_.LeftCol(), 0).Left;
    if (selected)
        p.fillRect(QRect(x0, y, (to - from) * cw, editor_.LineHeight()), editor_.SelBackColor);
    const QColor fore = selected ? editor_.SelForeColor : editor_.FontColor;
    p.setPen(fore);
    // One glyph run per attribute run, every glyph at its own cell: nothing is measured.
    QList<quint32> glyphs;
    QList<QPointF> positions;
    glyphs.reserve(to - from);
    positions.reserve(to - from);
    for (int i = from; i < to; ++i) {
        const char32_t c = row[static_cast<std::size_t>(i)];
        if (c == U' ') continue;
        const quint32 g = GridGlyph(c);
        if (g == 0) {
            DrawSingle(p, c, x0 + (i - from) * cw, y);
            continue;
        }
        glyphs.push_back(g);
        positions.push_back(QPointF((i - from) * cw, 0));
    }
    if (glyphs.isEmpty()) return;
    QGlyphRun run;
    run.setRawFont(rawFont_);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    p.drawGlyphRun(QPointF(x0, y + ascent_), run);
}

void TextEditorPainter::DrawSingle(QPainter& p, char32_t c, int x, int y) {
    // Characters the grid font lacks come from a fallback font, squeezed into one cell. A byte
    // of a name that is not UTF-8 (kept as a lone surrogate) shows as the replacement character.
    if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;
    const QString s = QString::fromUcs4(&c, 1);
    const QFontMetricsF fm(editor_.font());
    const qreal advance = fm.horizontalAdvance(s);
    p.save();
    p.setClipRect(QRect(x, y, editor_.CellWidth(), editor_.LineHeight()));
    p.translate(x, y + ascent_);
    if (advance > editor_.CellWidth()) p.scale(editor_.CellWidth() / advance, 1.0);
    p.drawText(QPointF(0, 0), s);
    p.restore();
}

} // namespace velmora::ui
