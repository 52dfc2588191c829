// The names editor control: scroll bars, caret, keys, mouse, clipboard.
#include "ui/editor/TextEditor.h"

#include "core/editor/EditorCommands.h"
#include "ui/editor/TextEditorAccessible.h"
#include "ui/editor/VirtualKeyMap.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionFrame>
#include <algorithm>
#include <cmath>

namespace velmora::ui {

using editor::ScrollCode;

namespace {
constexpr int kScrollTimerMs = 100;
constexpr int kWheelNotch = 120;
} // namespace

TextEditor::TextEditor(QWidget* parent) : QAbstractScrollArea(parent) {
    InstallTextEditorAccessibility();
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setAttribute(Qt::WA_KeyCompression, false);
    // Every pixel of the text area is painted by paintEvent; nothing is erased first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    viewport()->setMouseTracking(true);
    viewport()->setCursor(Qt::IBeamCursor);

    const QPalette pal = palette();
    Color = pal.color(QPalette::Base);
    FontColor = pal.color(QPalette::Text);
    SelForeColor = pal.color(QPalette::HighlightedText);
    SelBackColor = pal.color(QPalette::Highlight);
    GutterColor = pal.color(QPalette::Button);

    SetClipboard(&clipboard_);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            [this] { ClipboardChanged(QtClipboard::CanPaste()); });
    // Posted commands run once the event loop is back, after the request that posted them.
    postedTimer_.setSingleShot(true);
    postedTimer_.setInterval(0);
    connect(&postedTimer_, &QTimer::timeout, this, [this] { RunPostedCommands(); });
    OnCommandPosted = [this](CustomTextEditor&) { postedTimer_.start(); };
    accessibleTimer_.setSingleShot(true);
    accessibleTimer_.setInterval(0);
    connect(&accessibleTimer_, &QTimer::timeout, this, &TextEditor::ReportTextChange);
    QAccessible::installActivationObserver(&accessibleActivation_);

    scrollTimer_.setInterval(kScrollTimerMs);
    connect(&scrollTimer_, &QTimer::timeout, this, [this] { mouse_.ScrollTimerTick(); });
    connect(&blinkTimer_, &QTimer::timeout, this, &TextEditor::BlinkCaret);

    VertBar().OnChange = [this] { SyncBar(true); };
    HorzBar().OnChange = [this] { SyncBar(false); };
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { BarAction(true, action); });
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { BarAction(false, action); });
    connect(verticalScrollBar(), &QScrollBar::sliderReleased, this, [this] {
        ScrollBarAction(true, ScrollCode::scThumbPosition, verticalScrollBar()->sliderPosition());
    });
    connect(horizontalScrollBar(), &QScrollBar::sliderReleased, this, [this] {
        ScrollBarAction(false, ScrollCode::scThumbPosition,
                        horizontalScrollBar()->sliderPosition());
    });

    SetScrollBars(ScrollStyle::ssBoth);
    QFont font(QStringLiteral("Monospace"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(10);
    setFont(font);
    SetClientSize(viewport()->width(), viewport()->height());
    Loaded();
}

TextEditor::~TextEditor() {
    // The model outlives this body; its hooks must not reach a half-destroyed widget.
    QAccessible::removeActivationObserver(&accessibleActivation_);
    VertBar().OnChange = nullptr;
    HorzBar().OnChange = nullptr;
    OnCommandPosted = nullptr;
    SetClipboard(nullptr);
}

// --- Properties ---

void TextEditor::SetScrollBars(ScrollStyle style) {
    scrollBars_ = style;
    const bool horz = style == ScrollStyle::ssHorizontal || style == ScrollStyle::ssBoth;
    const bool vert = style == ScrollStyle::ssVertical || style == ScrollStyle::ssBoth;
    // A bar without range stays on screen, disabled.
    setHorizontalScrollBarPolicy(horz ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(vert ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    SetClientSize(viewport()->width(), viewport()->height());
}

void TextEditor::SetBorderSingle(bool single) {
    setFrameStyle(single ? QFrame::StyledPanel | QFrame::Sunken : QFrame::NoFrame);
}

// --- Scroll bars ---

void TextEditor::SyncBar(bool vertical) {
    QScrollBar* bar = vertical ? verticalScrollBar() : horizontalScrollBar();
    const editor::TextEditorScrollBar& m = vertical ? VertBar() : HorzBar();
    // The model's position stops a page before Max; the bar on screen shows the same span.
    bar->setRange(m.Min(), std::max(m.Min(), m.Max() - m.LargeChange()));
    bar->setPageStep(std::max(m.Page(), 1));
    bar->setSingleStep(m.SmallChange());
    bar->setValue(m.Position());
    bar->setEnabled(m.Max() > m.Min());
}

void TextEditor::BarAction(bool vertical, int action) {
    QScrollBar* bar = vertical ? verticalScrollBar() : horizontalScrollBar();
    ScrollCode code;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        code = ScrollCode::scLineUp;
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        code = ScrollCode::scLineDown;
        break;
    case QAbstractSlider::SliderPageStepSub:
        code = ScrollCode::scPageUp;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        code = ScrollCode::scPageDown;
        break;
    case QAbstractSlider::SliderToMinimum:
        code = ScrollCode::scTop;
        break;
    case QAbstractSlider::SliderToMaximum:
        code = ScrollCode::scBottom;
        break;
    case QAbstractSlider::SliderMove:
        code = ScrollCode::scThumbTrack;
        break;
    default:
        return;
    }
    ScrollBarAction(vertical, code, bar->sliderPosition());
    // The bar shows where the model put the view, not where the action alone would have.
    bar->setSliderPosition((vertical ? VertBar() : HorzBar()).Position());
}

void TextEditor::scrollContentsBy(int, int) {
    // The model scrolls the view itself; the bars only report actions.
}

// --- Model hooks ---

editor::CellSize TextEditor::MeasureCell() {
    // The model measures before every edit; only a new font or style needs real measuring.
    if (measuredValid_ && measuredFont_ == font() && measuredMax_ == UseMaxCharWidth())
        return measured_;
    measuredValid_ = true;
    measuredFont_ = font();
    measuredMax_ = UseMaxCharWidth();
    QFont measure = font();
    if (UseMaxCharWidth()) {
        measure.setBold(true);
        measure.setItalic(true);
    }
    const QFontMetrics fm(measure);
    painter_.SetFont(font());
    measured_ = {std::max(1, fm.horizontalAdvance(QLatin1Char('W'))), std::max(1, fm.height())};
    return measured_;
}

void TextEditor::RepaintRows(int first, int last) {
    if (UpdateLock() > 0) return;
    if (first > last) std::swap(first, last);
    first = std::max(first, TopRow());
    last = std::min(last, TopRow() + VisibleRowCount());
    if (first > last) return;
    viewport()->update(0, (first - TopRow()) * LineHeight(), viewport()->width(),
                       (last - first + 1) * LineHeight());
}

void TextEditor::RepaintAll() {
    if (UpdateLock() > 0) return;
    viewport()->update();
}

void TextEditor::RepaintGutter() {
    // Without a gutter the strip is plain background that no scroll or bookmark changes.
    if (GutterWidth() < 1) return;
    viewport()->update(0, 0, TextAreaLeft(), viewport()->height());
}

QRect TextEditor::CaretRect() const {
    return {TextAreaLeft() + (CaretX() - LeftCol()) * CellWidth(),
            (CaretY() - TopRow()) * LineHeight() + 1, 2, std::max(LineHeight() - 2, 1)};
}

void TextEditor::PaintCaret(bool visible) {
    // Only a focused editor has a caret on screen.
    const bool focused = hasFocus();
    if (focused) viewport()->update(caretRect_);
    caretShown_ = visible;
    if (!visible) return;
    caretRect_ = CaretRect();
    blinkOn_ = true;
    if (!focused) return;
    if (blinkTimer_.isActive()) blinkTimer_.start();
    viewport()->update(caretRect_);
}

void TextEditor::BlinkCaret() {
    blinkOn_ = !blinkOn_;
    viewport()->update(caretRect_);
}

void TextEditor::ScrollTextArea(int rows) {
    const int pixels = rows * LineHeight();
    if (std::abs(pixels) < viewport()->height()) {
        // Move what is on screen and paint only the uncovered strip.
        viewport()->scroll(0, pixels);
        if (hasFocus()) viewport()->update(caretRect_.translated(0, pixels));
    } else {
        viewport()->update();
    }
}

void TextEditor::Beep() const {
    QApplication::beep();
}

bool TextEditor::MoveFocus(bool previous) {
    return focusNextPrevChild(!previous);
}

// --- Painting ---

bool TextEditor::event(QEvent* e) {
    switch (e->type()) {
    case QEvent::Paint:
        // The frame shows the control's state: disabled, read-only, focused or normal.
        if (frameStyle() != QFrame::NoFrame) {
            PaintFrame();
            return true;
        }
        break;
    case QEvent::KeyPress: {
        // Tab and Shift+Tab are the key map's (or leave the editor through it).
        auto* ke = static_cast<QKeyEvent*>(e);
        if (ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab) {
            keyPressEvent(ke);
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QAbstractScrollArea::event(e);
}

void TextEditor::PaintFrame() {
    QPainter p(this);
    QStyleOptionFrame opt;
    opt.initFrom(this);
    opt.rect = rect();
    opt.lineWidth = frameWidth();
    opt.midLineWidth = 0;
    opt.state |= QStyle::State_Sunken;
    if (ReadOnly()) opt.state |= QStyle::State_ReadOnly;
    if (hasFocus()) opt.state |= QStyle::State_HasFocus;
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &opt, &p, this);
}

void TextEditor::paintEvent(QPaintEvent* e) {
    QPainter p(viewport());
    painter_.Paint(p, e->region());
    if (caretShown_ && blinkOn_ && hasFocus()) {
        caretRect_ = CaretRect();
        p.fillRect(caretRect_, FontColor);
    }
}

// --- Size and font ---

void TextEditor::resizeEvent(QResizeEvent* e) {
    QAbstractScrollArea::resizeEvent(e);
    SetClientSize(viewport()->width(), viewport()->height());
}

void TextEditor::changeEvent(QEvent* e) {
    QAbstractScrollArea::changeEvent(e);
    if (e->type() == QEvent::FontChange) {
        UpdateEditorSize(true, true);
        Lines().MarkAllStale();
        RepaintAll();
    } else if (e->type() == QEvent::EnabledChange) {
        update();
    }
}

// --- Keys ---

void TextEditor::keyPressEvent(QKeyEvent* e) {
    const bool hasText = !e->text().isEmpty();
    const KeyStroke stroke = TranslateKey(e->key(), e->modifiers(), e->nativeScanCode(), hasText);
    if (stroke.Key != 0) {
        std::uint16_t key = stroke.Key;
        KeyDown(key, stroke.Shift);
    }
    for (const char32_t c : TypedCharacters(e->text(), e->key(), e->modifiers()))
        KeyPress(c);
    e->accept();
}

void TextEditor::inputMethodEvent(QInputMethodEvent* e) {
    // Text from an input method is typed like keyboard characters. Its key (the one the
    // desktop reports while an input method works) ends a pending two-key binding and the
    // swallowing of a character left by a bound key.
    // Text still being composed shows at the caret until the input method commits it.
    if (e->preeditString() != preedit_) {
        viewport()->update(painter_.PreeditRect());
        preedit_ = e->preeditString();
        viewport()->update(painter_.PreeditRect());
    }
    if (!e->commitString().isEmpty()) {
        std::uint16_t key = vkProcessKey;
        KeyDown(key, editor::ssNone);
        for (const char32_t c : e->commitString().toUcs4())
            KeyPress(c);
    }
    e->accept();
}

QVariant TextEditor::inputMethodQuery(Qt::InputMethodQuery query) const {
    switch (query) {
    case Qt::ImEnabled:
        return !ReadOnly();
    case Qt::ImCursorRectangle:
        return CaretRect().translated(viewport()->pos());
    case Qt::ImFont:
        return font();
    case Qt::ImCursorPosition:
    case Qt::ImAnchorPosition:
        return CaretX();
    case Qt::ImSurroundingText:
        if (!IsRowValid(CaretY())) return QString();
        {
            const std::u32string row = Lines().GetRow(CaretY());
            return QString::fromUcs4(row.data(), static_cast<qsizetype>(row.size()));
        }
    case Qt::ImHints:
        return static_cast<int>(Qt::ImhMultiLine | Qt::ImhNoPredictiveText);
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

// --- Mouse ---

namespace {
editor::MouseButton ButtonOf(Qt::MouseButton b) {
    if (b == Qt::RightButton) return editor::MouseButton::mbRight;
    if (b == Qt::MiddleButton) return editor::MouseButton::mbMiddle;
    return editor::MouseButton::mbLeft;
}
} // namespace

void TextEditor::mousePressEvent(QMouseEvent* e) {
    const QPoint pt = e->position().toPoint();
    mouse_.ButtonDown(pt.x(), pt.y(), ButtonOf(e->button()),
                      e->modifiers().testFlag(Qt::ShiftModifier));
    e->accept();
}

void TextEditor::mouseMoveEvent(QMouseEvent* e) {
    const QPoint pt = e->position().toPoint();
    // A drag is the left button alone, with no key held.
    const bool leftOnly =
        e->buttons() == Qt::LeftButton &&
        (e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0;
    mouse_.PointerMove(pt.x(), pt.y(), leftOnly);
    e->accept();
}

void TextEditor::mouseReleaseEvent(QMouseEvent* e) {
    mouse_.ButtonUp();
    e->accept();
}

void TextEditor::mouseDoubleClickEvent(QMouseEvent* e) {
    // The double-click stands for the second button-down, which it then swallows.
    if (e->button() == Qt::LeftButton) mouse_.DoubleClick();
    mousePressEvent(e);
}

void TextEditor::wheelEvent(QWheelEvent* e) {
    // Whole notches scroll; the small steps of a touchpad add up to one.
    wheelDelta_ += e->angleDelta().y();
    if (std::abs(wheelDelta_) >= kWheelNotch) {
        const bool down = wheelDelta_ < 0;
        wheelDelta_ = 0;
        MouseWheel(down, QApplication::wheelScrollLines());
    }
    e->accept();
}

void TextEditor::SetMouseCapture(bool) {
    // The pointer stays with the widget while a button is down.
}

void TextEditor::SetScrollTimer(bool running) {
    if (running == scrollTimer_.isActive()) return;
    if (running)
        scrollTimer_.start();
    else
        scrollTimer_.stop();
}

void TextEditor::TakeFocus() {
    setFocus(Qt::MouseFocusReason);
}

void TextEditor::SetTextCursor(bool iBeam) {
    viewport()->setCursor(iBeam ? Qt::IBeamCursor : Qt::ArrowCursor);
}

// --- Focus ---

void TextEditor::focusInEvent(QFocusEvent* e) {
    QAbstractScrollArea::focusInEvent(e);
    blinkOn_ = true;
    const int flash = QApplication::cursorFlashTime();
    if (flash > 0) blinkTimer_.start(flash / 2);
    PaintCaret(true);
    update(); // the frame shows the focus
}

void TextEditor::focusOutEvent(QFocusEvent* e) {
    QAbstractScrollArea::focusOutEvent(e);
    blinkTimer_.stop();
    viewport()->update(caretRect_);
    update();
}

// --- Clipboard requests ---

void TextEditor::cut() {
    if (!ReadOnly()) PostCommand(editor::cmdCut);
}

void TextEditor::copy() {
    PostCommand(editor::cmdCopy);
}

void TextEditor::paste() {
    if (!ReadOnly()) PostCommand(editor::cmdPaste);
}

// --- Notifications and accessibility ---

QString TextEditor::AccessibleText() const {
    QString s;
    const editor::TextEditorStrings& l = Lines();
    for (int i = 0; i < l.Count(); ++i) {
        if (i) s += QLatin1Char('\n');
        std::u32string p = l.Get32(i);
        // Bytes that are not UTF-8 are kept as U+DC80..U+DCFF; a reader gets the replacement
        // character the pane shows, not a lone surrogate that arrives as "?".
        for (char32_t& c : p)
            if (c >= 0xDC80 && c <= 0xDCFF) c = 0xFFFD;
        s += QString::fromUcs4(p.data(), static_cast<qsizetype>(p.size()));
    }
    return s;
}

int TextEditor::AccessibleOffset(int x, int y) const {
    const editor::TextEditorStrings& l = Lines();
    if (l.Count() == 0) return 0;
    if (!IsRowValid(y)) return l.TextLength() - 2 * l.Count() + (l.Count() - 1);
    const editor::ParagraphPos pp = l.RowToParagraph(ClampToRow(x, y), y);
    // The stored breaks count two; the accessible text has one.
    return l.ParagraphStart(pp.Paragraph) - pp.Paragraph + pp.Offset;
}

editor::TextPos TextEditor::AccessiblePos(int offset) const {
    const editor::TextEditorStrings& l = Lines();
    if (l.Count() == 0) return {0, 0};
    // The paragraph whose accessible start is the last one at or before offset.
    int lo = 0;
    int hi = l.Count() - 1;
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        if (l.ParagraphStart(mid) - mid <= offset)
            lo = mid;
        else
            hi = mid - 1;
    }
    const int len = static_cast<int>(l.Get32(lo).size());
    const int inPara = std::clamp(offset - (l.ParagraphStart(lo) - lo), 0, len);
    return l.ParagraphToRow(lo, inPara);
}

void TextEditor::NotifyTextChanged() {
    if (!EditorAccessibleChannel().Active()) {
        accessibleTextKnown_ = false;
        return;
    }
    // One report for a burst of changes (a list loaded name by name), sent from the event loop.
    accessibleTimer_.start();
}

void TextEditor::ReportTextChange() {
    const QString now = AccessibleText();
    if (accessibleTextKnown_ && now == accessibleText_) return;
    // Only the part that changed: a typed letter is reported as that letter, not as the whole
    // list deleted and inserted again, which a reader would speak in full.
    const AccessibleTextChange change =
        DiffAccessibleText(accessibleTextKnown_ ? accessibleText_ : QString(), now);
    QAccessibleTextUpdateEvent ev(this, change.Position, change.Removed, change.Inserted);
    accessibleText_ = now;
    accessibleTextKnown_ = true;
    EditorAccessibleChannel().Send(&ev);
}

void TextEditor::FlushTextChange() {
    if (!accessibleTimer_.isActive()) return;
    accessibleTimer_.stop();
    ReportTextChange();
}

void TextEditor::AccessibleActivation::accessibilityActiveChanged(bool active) {
    if (!active || editor.accessibleTextKnown_) return;
    editor.accessibleText_ = editor.AccessibleText();
    editor.accessibleTextKnown_ = true;
}

void TextEditor::TextChanged() {
    CustomTextEditor::TextChanged();
    NotifyTextChanged();
    emit LinesChanged();
}

void TextEditor::TextAllChanged() {
    CustomTextEditor::TextAllChanged();
    NotifyTextChanged();
    emit LinesChanged();
}

void TextEditor::StatusChanged() {
    CustomTextEditor::StatusChanged();
    const editor::TextPos caret{CaretX(), CaretY()};
    if (caret == lastCaret_) return;
    lastCaret_ = caret;
    if (!EditorAccessibleChannel().Active()) return;
    FlushTextChange();
    QAccessibleTextCursorEvent ev(this, AccessibleOffset(caret.X, caret.Y));
    EditorAccessibleChannel().Send(&ev);
}

void TextEditor::SelectionChanged() {
    CustomTextEditor::SelectionChanged();
    if (!EditorAccessibleChannel().Active()) return;
    FlushTextChange();
    int start = AccessibleOffset(CaretX(), CaretY());
    int end = start;
    if (Selected()) {
        start = AccessibleOffset(SelBeg().X, SelBeg().Y);
        end = AccessibleOffset(SelEnd().X, SelEnd().Y);
    }
    QAccessibleTextSelectionEvent ev(this, start, end);
    EditorAccessibleChannel().Send(&ev);
}

} // namespace velmora::ui
