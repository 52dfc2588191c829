// Draws the names editor's text area: rows on a fixed character grid, the selection, the gutter
// strip, row marks and the input method's pre-edit text.
#pragma once

#include <QFont>
#include <QRawFont>
#include <QRect>
#include <QRegion>
#include <string>
#include <vector>

class QPainter;

namespace velmora::ui {

class TextEditor;

class TextEditorPainter {
public:
    explicit TextEditorPainter(const TextEditor& editor) : editor_(editor) {}

    // A new font or cell size: forgets every glyph looked up so far.
    void SetFont(const QFont& font);

    // Paints the invalid region of the viewport, caret excepted.
    void Paint(QPainter& painter, const QRegion& region);

    // Paints one text row into painter (viewport coordinates); toCol < 0 paints to the edge.
    void PaintLine(QPainter& painter, int row, int fromCol, int toCol);

    // Where the pre-edit text shows: at the caret, one cell per character (one when empty).
    QRect PreeditRect() const;

private:
    void PaintGutterStrip(QPainter& painter, const QRect& clip);
    void PaintRowMarks(QPainter& painter, const QRect& clip);
    void PaintPreedit(QPainter& painter);
    void DrawRun(QPainter& painter, const std::u32string& row, int from, int to, int y,
                 bool selected);
    void DrawSingle(QPainter& painter, char32_t c, int x, int y);
    // The font's glyph for c when it fits one cell, else 0.
    quint32 GridGlyph(char32_t c);

    const TextEditor& editor_;
    QRawFont rawFont_;
    int ascent_ = 0;
    std::vector<quint32> glyphs_; // per BMP code point; kUnknownGlyph until looked up
};

} // namespace velmora::ui
