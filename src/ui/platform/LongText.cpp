// Breaking and eliding long names.
#include "ui/platform/LongText.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QTextBoundaryFinder>
#include <QWidget>

namespace velmora::ui {

namespace {

// Runs this long or longer get break opportunities; ordinary words keep their look.
constexpr qsizetype kLongRun = 30;
constexpr QChar kZeroWidthSpace(0x200B);

} // namespace

QString Breakable(const QString& text) {
    QString out;
    out.reserve(text.size() + text.size() / 2);
    qsizetype runStart = 0;
    auto flush = [&](qsizetype end) {
        const QString run = text.mid(runStart, end - runStart);
        if (run.size() < kLongRun) {
            out += run;
            return;
        }
        // Between whole characters only: a combining mark stays with its letter.
        QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, run);
        qsizetype from = 0;
        for (qsizetype at = graphemes.toNextBoundary(); at > 0; at = graphemes.toNextBoundary()) {
            if (from > 0) out += kZeroWidthSpace;
            out += run.mid(from, at - from);
            from = at;
        }
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!text.at(i).isSpace()) continue;
        flush(i);
        out += text.at(i);
        runStart = i + 1;
    }
    flush(text.size());
    return out;
}

QString ElidedMiddle(const QString& text, const QFont& font, int width) {
    return QFontMetrics(font).elidedText(text, Qt::ElideMiddle, width);
}

void KeepWithinScreen(QWidget* window) {
    QScreen* screen = window->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    window->setMaximumWidth(screen->availableGeometry().width());
}

} // namespace velmora::ui
