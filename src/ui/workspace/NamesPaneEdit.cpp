// The plain new-names pane.
#include "ui/workspace/NamesPaneEdit.h"

#include "ui/platform/QtText.h"

#include <QFontDatabase>
#include <QTextBlock>

namespace velmora::ui {

void DocumentLines::Pull() const {
    if (!stale_) return;
    lines_.clear();
    const QTextDocument* doc = edit_.document();
    lines_.reserve(static_cast<std::size_t>(doc->blockCount()));
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
        lines_.push_back(FromQString(b.text()));
    // A document always has one block; an empty document stands for no lines.
    if (lines_.size() == 1 && lines_[0].empty()) lines_.clear();
    stale_ = false;
}

void DocumentLines::Push() {
    if (UpdateCount() > 0) return;
    QString text;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (i) text += QLatin1Char('\n');
        text += ToQString(lines_[i]);
    }
    bool modified = edit_.document()->isModified();
    edit_.setPlainText(text);
    edit_.document()->setModified(modified);
    stale_ = false;
}

int DocumentLines::Count() const {
    Pull();
    return static_cast<int>(lines_.size());
}

std::string DocumentLines::Get(int index) const {
    Pull();
    if (index < 0 || index >= static_cast<int>(lines_.size())) IndexError(index);
    return lines_[static_cast<std::size_t>(index)];
}

void DocumentLines::Put(int index, const std::string& s) {
    Pull();
    if (index < 0 || index >= static_cast<int>(lines_.size())) IndexError(index);
    lines_[static_cast<std::size_t>(index)] = s;
    Push();
}

void DocumentLines::Insert(int index, const std::string& s) {
    Pull();
    if (index < 0 || index > static_cast<int>(lines_.size())) IndexError(index);
    lines_.insert(lines_.begin() + index, s);
    Push();
}

void DocumentLines::Delete(int index) {
    Pull();
    if (index < 0 || index >= static_cast<int>(lines_.size())) IndexError(index);
    lines_.erase(lines_.begin() + index);
    Push();
}

void DocumentLines::Clear() {
    lines_.clear();
    stale_ = false;
    Push();
}

void DocumentLines::SetUpdateState(bool updating) {
    if (!updating) Push();
}

NamesPaneEdit::NamesPaneEdit(QWidget* parent) : QPlainTextEdit(parent), lines_(*this) {
    setObjectName(QStringLiteral("MemoNew"));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(13);
    setFont(font);
    setTabStopDistance(fontMetrics().horizontalAdvance(QLatin1Char(' ')) * 4);
    connect(document(), &QTextDocument::contentsChanged, this, [this] { lines_.MarkStale(); });
    setPlainText(QStringLiteral("MemoNew"));
}

bool NamesPaneEdit::Modified() const {
    return document()->isModified();
}

void NamesPaneEdit::SetModified(bool modified) {
    document()->setModified(modified);
}

} // namespace velmora::ui
