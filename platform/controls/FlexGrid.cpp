#include "platform/controls/FlexGrid.h"

#include "platform/automation/AutomationError.h"
#include "platform/controls/Twips.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

namespace controls {

namespace {
constexpr int kDefaultColTwips = 960;
// Past this many cells or rows changed before the next paint (a fill), one
// repaint of everything costs less than collecting their rectangles.
constexpr int kPartialUpdates = 32;
constexpr int kTextPadding = 2;  // pixels between a cell's edge and its text

int roundTwips(double t) { return static_cast<int>(std::lround(t)); }

Qt::Alignment qtAlignment(int a) {
    switch (a) {
    case align::LeftTop: return Qt::AlignLeft | Qt::AlignTop;
    case align::LeftBottom: return Qt::AlignLeft | Qt::AlignBottom;
    case align::CenterTop: return Qt::AlignHCenter | Qt::AlignTop;
    case align::CenterCenter: return Qt::AlignCenter;
    case align::CenterBottom: return Qt::AlignHCenter | Qt::AlignBottom;
    case align::RightTop: return Qt::AlignRight | Qt::AlignTop;
    case align::RightCenter: return Qt::AlignRight | Qt::AlignVCenter;
    case align::RightBottom: return Qt::AlignRight | Qt::AlignBottom;
    default: return Qt::AlignLeft | Qt::AlignVCenter;  // LeftCenter, General
    }
}

void checkAlignment(int a) {
    if (a < align::LeftTop || a > align::General)
        automation::raise(automation::err::InvalidCall, QStringLiteral("alignment %1").arg(a));
}
}  // namespace

FlexGrid::FlexGrid(QWidget* parent) : QAbstractScrollArea(parent) {
    backColor_ = Qt::white;
    foreColor_ = Qt::black;
    backColorSel_ = palette().color(QPalette::Highlight);
    foreColorSel_ = palette().color(QPalette::HighlightedText);
    backColorFixed_ = QColor(0xE0, 0xE0, 0xE0);
    foreColorFixed_ = Qt::black;
    gridColor_ = QColor(0xC0, 0xC0, 0xC0);
    gridColorFixed_ = QColor(0x80, 0x80, 0x80);
    backColorBkg_ = QColor(0x80, 0x80, 0x80);

    defaultRowPx_ = fontMetrics().height() + 2 * kTextPadding + 1;
    cells_.resize(static_cast<size_t>(rows_) * cols_);
    colTwips_.assign(cols_, -1);
    rowTwips_.assign(rows_, -1);
    colAlignment_.assign(cols_, align::General);
    sizesChanged();

    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    updateScrollBars();
}

FlexGrid::~FlexGrid() = default;

// ---- shape -----------------------------------------------------------------

void FlexGrid::checkRow(int r) const {
    if (r < 0 || r >= rows_)
        automation::raise(automation::err::SubscriptOutOfRange, QStringLiteral("row %1 of %2").arg(r).arg(rows_));
}

void FlexGrid::checkCol(int c) const {
    if (c < 0 || c >= cols_)
        automation::raise(automation::err::SubscriptOutOfRange,
                          QStringLiteral("column %1 of %2").arg(c).arg(cols_));
}

void FlexGrid::resizeCells(int rows, int cols) {
    std::vector<Cell> next(static_cast<size_t>(rows) * cols);
    const int keepRows = std::min(rows, rows_);
    const int keepCols = std::min(cols, cols_);
    for (int r = 0; r < keepRows; ++r)
        for (int c = 0; c < keepCols; ++c) next[static_cast<size_t>(r) * cols + c] = std::move(cell(r, c));
    cells_.swap(next);
    rows_ = rows;
    cols_ = cols;
    rowTwips_.resize(rows, -1);
    colTwips_.resize(cols, -1);
    colAlignment_.resize(cols, align::General);
    fixedRows_ = std::min(fixedRows_, rows_);
    fixedCols_ = std::min(fixedCols_, cols_);
    row_ = std::clamp(row_, 0, std::max(0, rows_ - 1));
    col_ = std::clamp(col_, 0, std::max(0, cols_ - 1));
    mouseRow_ = std::clamp(mouseRow_, 0, std::max(0, rows_ - 1));
    mouseCol_ = std::clamp(mouseCol_, 0, std::max(0, cols_ - 1));
    sizesChanged();
}

void FlexGrid::setRows(int n) {
    if (n < 0) automation::raise(automation::err::InvalidCall, QStringLiteral("rows %1").arg(n));
    if (n == rows_) return;
    resizeCells(n, cols_);
    refresh();
}

void FlexGrid::setCols(int n) {
    if (n < 0) automation::raise(automation::err::InvalidCall, QStringLiteral("cols %1").arg(n));
    if (n == cols_) return;
    resizeCells(rows_, n);
    refresh();
}

void FlexGrid::setFixedRows(int n) {
    if (n < 0 || n > rows_) automation::raise(automation::err::InvalidCall, QStringLiteral("fixed rows %1").arg(n));
    fixedRows_ = n;
    if (row_ < fixedRows_ && fixedRows_ < rows_) row_ = fixedRows_;
    refresh();
}

void FlexGrid::setFixedCols(int n) {
    if (n < 0 || n > cols_) automation::raise(automation::err::InvalidCall, QStringLiteral("fixed cols %1").arg(n));
    fixedCols_ = n;
    if (col_ < fixedCols_ && fixedCols_ < cols_) col_ = fixedCols_;
    refresh();
}

void FlexGrid::refresh() {
    if (batchDepth_ > 0) {
        layoutPending_ = true;
        return;
    }
    layoutPending_ = false;
    updateScrollBars();
    repaintAll();
}

void FlexGrid::repaintAll() {
    repaintPending_ = true;
    viewport()->update();
}

void FlexGrid::sizesChanged() {
    colPx_.assign(static_cast<size_t>(cols_), -1);
    rowPx_.assign(static_cast<size_t>(rows_), -1);
}

void FlexGrid::updateCell(int r, int c) {
    if (repaintPending_ || !viewport()->isVisible()) return;
    if (++partialUpdates_ > kPartialUpdates) return repaintAll();
    viewport()->update(QRect(startPos(false, c), startPos(true, r), sizePx(false, c), sizePx(true, r)));
}

void FlexGrid::updateRow(int r) {
    if (repaintPending_ || !viewport()->isVisible()) return;
    if (++partialUpdates_ > kPartialUpdates) return repaintAll();
    viewport()->update(QRect(0, startPos(true, r), viewport()->width(), sizePx(true, r)));
}

// ---- current cell ----------------------------------------------------------

void FlexGrid::moveCurrent(int r, int c) {
    if (r == row_ && c == col_) return;
    // The dialog reads the cell being left inside its handler.
    emit leaveCell();
    // Only the two cells change: the focus rectangle moves.
    updateCell(row_, col_);
    row_ = r;
    col_ = c;
    updateCell(row_, col_);
}

void FlexGrid::setRow(int r) {
    checkRow(r);
    moveCurrent(r, col_);
}

void FlexGrid::setCol(int c) {
    checkCol(c);
    moveCurrent(row_, c);
}

// ---- scrolling -------------------------------------------------------------

void FlexGrid::setTopRow(int r) {
    checkRow(r);
    updateScrollBars();
    verticalScrollBar()->setValue(std::max(r, fixedRows_) - fixedRows_);
}

void FlexGrid::setLeftCol(int c) {
    checkCol(c);
    updateScrollBars();
    horizontalScrollBar()->setValue(std::max(c, fixedCols_) - fixedCols_);
}

void FlexGrid::scrollContentsBy(int, int) {
    // Scrolling is by whole rows/columns: repaint rather than blit.
    syncScrollPosition();
}

void FlexGrid::syncScrollPosition() {
    const int top = fixedRows_ + verticalScrollBar()->value();
    const int left = fixedCols_ + horizontalScrollBar()->value();
    if (top == topRow_ && left == leftCol_) return;
    topRow_ = top;
    leftCol_ = left;
    repaintAll();
    emit scroll();
}

// Smallest first-visible index that still shows the last row/column whole.
int FlexGrid::lastFirst(bool vertical, int available) const {
    const int n = count(vertical);
    const int fixed = fixedCount(vertical);
    int f = n;
    int used = 0;
    while (f > fixed && used + sizePx(vertical, f - 1) <= available) {
        used += sizePx(vertical, f - 1);
        --f;
    }
    if (f == n && n > fixed) f = n - 1;  // the last one alone does not fit
    return f;
}

void FlexGrid::updateScrollBars() {
    // Computed from the widget's size rather than the viewport's, which is only
    // laid out once a hidden grid is shown.
    const QSize full = maximumViewportSize();
    const int fixedW = fixedExtent(false);
    const int fixedH = fixedExtent(true);
    const bool canV = verticalScrollBarPolicy() == Qt::ScrollBarAsNeeded;
    const bool canH = horizontalScrollBarPolicy() == Qt::ScrollBarAsNeeded;
    const int vExtent = verticalScrollBar()->sizeHint().width();
    const int hExtent = horizontalScrollBar()->sizeHint().height();

    int w = full.width();
    int h = full.height();
    bool needV = false;
    bool needH = false;
    // Showing one bar can make the other necessary: settle in two passes.
    for (int pass = 0; pass < 2; ++pass) {
        needV = canV && lastFirst(true, h - fixedH) > fixedRows_;
        w = full.width() - (needV ? vExtent : 0);
        needH = canH && lastFirst(false, w - fixedW) > fixedCols_;
        h = full.height() - (needH ? hExtent : 0);
    }
    predictedViewport_ = QSize(std::max(0, w), std::max(0, h));

    const int maxTop = lastFirst(true, h - fixedH);
    const int maxLeft = lastFirst(false, w - fixedW);
    QScrollBar* vbar = verticalScrollBar();
    QScrollBar* hbar = horizontalScrollBar();
    vbar->setRange(0, std::max(0, maxTop - fixedRows_));
    hbar->setRange(0, std::max(0, maxLeft - fixedCols_));
    vbar->setSingleStep(1);
    hbar->setSingleStep(1);
    std::vector<Span> spans;
    visibleSpans(true, h, spans);
    vbar->setPageStep(std::max<int>(1, static_cast<int>(spans.size()) - fixedRows_ - 1));
    visibleSpans(false, w, spans);
    hbar->setPageStep(std::max<int>(1, static_cast<int>(spans.size()) - fixedCols_ - 1));
    syncScrollPosition();
}

void FlexGrid::ensureCellVisible(int r, int c) {
    checkRow(r);
    checkCol(c);
    updateScrollBars();
    for (bool vertical : {true, false}) {
        const int i = vertical ? r : c;
        if (i < fixedCount(vertical)) continue;
        const int available =
            (vertical ? predictedViewport_.height() : predictedViewport_.width()) - fixedExtent(vertical);
        int target = first(vertical);
        if (i < target) {
            target = i;
        } else {
            // First index from which i still ends inside the visible area.
            int f = i + 1;
            int used = 0;
            while (f > fixedCount(vertical) && used + sizePx(vertical, f - 1) <= available) {
                used += sizePx(vertical, f - 1);
                --f;
            }
            target = std::max(target, std::min(f, i));
        }
        QScrollBar* bar = vertical ? verticalScrollBar() : horizontalScrollBar();
        bar->setValue(target - fixedCount(vertical));
    }
}

// ---- geometry --------------------------------------------------------------

// Converted once per size: painting and scrolling ask for them all the time.
int FlexGrid::sizePx(bool vertical, int i) const {
    int& px = (vertical ? rowPx_ : colPx_)[static_cast<size_t>(i)];
    if (px >= 0) return px;
    if (vertical) {
        const int t = rowTwips_[i];
        px = t < 0 ? defaultRowPx_ : twipsToPixelsY(this, t);
    } else {
        const int t = colTwips_[i];
        px = twipsToPixelsX(this, t < 0 ? kDefaultColTwips : t);
    }
    return px;
}

int FlexGrid::fixedExtent(bool vertical) const {
    int sum = 0;
    for (int i = 0; i < fixedCount(vertical); ++i) sum += sizePx(vertical, i);
    return sum;
}

// Viewport position where row/column i starts; negative or under the fixed
// area when it is scrolled out at the top/left.
int FlexGrid::startPos(bool vertical, int i) const {
    const int fixed = fixedCount(vertical);
    int pos = 0;
    if (i < fixed) {
        for (int k = 0; k < i; ++k) pos += sizePx(vertical, k);
        return pos;
    }
    pos = fixedExtent(vertical);
    const int f = first(vertical);
    if (i >= f) {
        for (int k = f; k < i; ++k) pos += sizePx(vertical, k);
    } else {
        for (int k = i; k < f; ++k) pos -= sizePx(vertical, k);
    }
    return pos;
}

int FlexGrid::indexAt(bool vertical, int pos, bool* inside) const {
    *inside = false;
    const int n = count(vertical);
    const int fixed = fixedCount(vertical);
    if (n == 0) return 0;
    if (pos < 0) return fixed > 0 ? 0 : std::min(first(vertical), n - 1);
    int start = 0;
    auto hit = [&](int i) {
        const int s = sizePx(vertical, i);
        if (pos < start + s) return true;
        start += s;
        return false;
    };
    for (int i = 0; i < fixed; ++i) {
        if (hit(i)) {
            *inside = true;
            return i;
        }
    }
    for (int i = first(vertical); i < n; ++i) {
        if (hit(i)) {
            *inside = true;
            return i;
        }
    }
    return n - 1;
}

void FlexGrid::visibleSpans(bool vertical, int extent, std::vector<Span>& out) const {
    out.clear();
    int pos = 0;
    auto add = [&](int i) {
        const int s = sizePx(vertical, i);
        out.push_back({i, pos, s});
        pos += s;
    };
    for (int i = 0; i < fixedCount(vertical) && pos < extent; ++i) add(i);
    for (int i = first(vertical); i < count(vertical) && pos < extent; ++i) add(i);
}

int FlexGrid::cellLeft() {
    ensureCellVisible(row_, col_);
    return roundTwips(pixelsToTwipsX(this, viewport()->x() + startPos(false, col_)));
}

int FlexGrid::cellTop() {
    ensureCellVisible(row_, col_);
    return roundTwips(pixelsToTwipsY(this, viewport()->y() + startPos(true, row_)));
}

int FlexGrid::cellWidth() {
    ensureCellVisible(row_, col_);
    return roundTwips(pixelsToTwipsX(this, std::max(0, sizePx(false, col_) - 1)));
}

int FlexGrid::cellHeight() {
    ensureCellVisible(row_, col_);
    return roundTwips(pixelsToTwipsY(this, std::max(0, sizePx(true, row_) - 1)));
}

QRect FlexGrid::cellRect(int r, int c) const {
    checkRow(r);
    checkCol(c);
    return QRect(startPos(false, c), startPos(true, r), std::max(0, sizePx(false, c) - 1), std::max(0, sizePx(true, r) - 1));
}

int FlexGrid::colWidth(int c) const {
    checkCol(c);
    return colTwips_[c] < 0 ? kDefaultColTwips : colTwips_[c];
}

void FlexGrid::setColWidth(int c, int twips) {
    const int value = twips < 0 ? -1 : twips;
    if (c == -1) {
        std::fill(colTwips_.begin(), colTwips_.end(), value);
    } else {
        checkCol(c);
        colTwips_[c] = value;
    }
    sizesChanged();
    refresh();
}

int FlexGrid::rowHeight(int r) const {
    checkRow(r);
    return rowTwips_[r] < 0 ? roundTwips(pixelsToTwipsY(this, defaultRowPx_)) : rowTwips_[r];
}

void FlexGrid::setRowHeight(int r, int twips) {
    const int value = twips < 0 ? -1 : twips;
    if (r == -1) {
        std::fill(rowTwips_.begin(), rowTwips_.end(), value);
    } else {
        checkRow(r);
        rowTwips_[r] = value;
    }
    sizesChanged();
    refresh();
}

// ---- text, alignment, colours ----------------------------------------------

QString FlexGrid::text() const { return textMatrix(row_, col_); }

void FlexGrid::setText(const QString& s) { setTextMatrix(row_, col_, s); }

QString FlexGrid::textMatrix(int r, int c) const {
    checkRow(r);
    checkCol(c);
    return cell(r, c).text;
}

void FlexGrid::setTextMatrix(int r, int c, const QString& s) {
    checkRow(r);
    checkCol(c);
    cell(r, c).text = s;
    updateCell(r, c);
}

int FlexGrid::colAlignment(int c) const {
    checkCol(c);
    return colAlignment_[c];
}

void FlexGrid::setColAlignment(int c, int alignment) {
    checkAlignment(alignment);
    if (c == -1) {
        std::fill(colAlignment_.begin(), colAlignment_.end(), static_cast<qint8>(alignment));
    } else {
        checkCol(c);
        colAlignment_[c] = static_cast<qint8>(alignment);
    }
    repaintAll();
}

int FlexGrid::cellAlignment() const {
    checkRow(row_);
    checkCol(col_);
    const int a = cell(row_, col_).alignment;
    return a < 0 ? colAlignment_[col_] : a;
}

void FlexGrid::setCellAlignment(int alignment) {
    checkAlignment(alignment);
    checkRow(row_);
    checkCol(col_);
    cell(row_, col_).alignment = static_cast<qint8>(alignment);
    updateCell(row_, col_);
}

QColor FlexGrid::cellBackColor() const {
    checkRow(row_);
    checkCol(col_);
    const Cell& x = cell(row_, col_);
    return x.hasBack ? QColor::fromRgb(x.back) : QColor();
}

void FlexGrid::setCellBackColor(const QColor& color) {
    checkRow(row_);
    checkCol(col_);
    Cell& x = cell(row_, col_);
    x.hasBack = color.isValid();
    x.back = x.hasBack ? color.rgb() : 0;
    updateCell(row_, col_);
}

QColor FlexGrid::cellForeColor() const {
    checkRow(row_);
    checkCol(col_);
    const Cell& x = cell(row_, col_);
    return x.hasFore ? QColor::fromRgb(x.fore) : QColor();
}

void FlexGrid::setCellForeColor(const QColor& color) {
    checkRow(row_);
    checkCol(col_);
    Cell& x = cell(row_, col_);
    x.hasFore = color.isValid();
    x.fore = x.hasFore ? color.rgb() : 0;
    updateCell(row_, col_);
}

void FlexGrid::setRowColors(int r, int from, const QColor& back, const QColor& fore) {
    checkRow(r);
    if (from < cols_) checkCol(std::max(from, 0));
    for (int c = std::max(from, 0); c < cols_; ++c) {
        Cell& x = cell(r, c);
        x.hasBack = back.isValid();
        x.back = x.hasBack ? back.rgb() : 0;
        x.hasFore = fore.isValid();
        x.fore = x.hasFore ? fore.rgb() : 0;
    }
    updateRow(r);
}

void FlexGrid::setColor(QColor& member, const QColor& c) {
    member = c;
    repaintAll();
}

void FlexGrid::setBackColor(const QColor& c) { setColor(backColor_, c); }
void FlexGrid::setForeColor(const QColor& c) { setColor(foreColor_, c); }
void FlexGrid::setBackColorSel(const QColor& c) { setColor(backColorSel_, c); }
void FlexGrid::setForeColorSel(const QColor& c) { setColor(foreColorSel_, c); }
void FlexGrid::setBackColorFixed(const QColor& c) { setColor(backColorFixed_, c); }
void FlexGrid::setForeColorFixed(const QColor& c) { setColor(foreColorFixed_, c); }
void FlexGrid::setGridColor(const QColor& c) { setColor(gridColor_, c); }
void FlexGrid::setGridColorFixed(const QColor& c) { setColor(gridColorFixed_, c); }
void FlexGrid::setBackColorBkg(const QColor& c) { setColor(backColorBkg_, c); }

// ---- painting --------------------------------------------------------------

bool FlexGrid::event(QEvent* e) {
    // On another screen a twip may be another number of pixels.
    if (e->type() == QEvent::ScreenChangeInternal) {
        sizesChanged();
        refresh();
    }
    return QAbstractScrollArea::event(e);
}

void FlexGrid::paintEvent(QPaintEvent* e) {
    repaintPending_ = false;
    partialUpdates_ = 0;
    QPainter p(viewport());
    // Only the rows asked for: two highlighted rows far apart are two strips.
    const QRegion& region = e->region();
    const QRect dirty = region.boundingRect();
    for (const QRect& r : region) p.fillRect(r, backColorBkg_);
    visibleSpans(true, viewport()->height(), rowSpans_);
    visibleSpans(false, viewport()->width(), colSpans_);
    for (const Span& rs : rowSpans_) {
        if (rs.size <= 0 || rs.pos > dirty.bottom() || rs.pos + rs.size <= dirty.top()) continue;
        if (!region.intersects(QRect(dirty.left(), rs.pos, dirty.width(), rs.size))) continue;
        for (const Span& cs : colSpans_) {
            if (cs.size <= 0 || cs.pos > dirty.right() || cs.pos + cs.size <= dirty.left()) continue;
            paintCell(p, rs.index, cs.index, QRect(cs.pos, rs.pos, cs.size, rs.size));
        }
    }
}

void FlexGrid::paintCell(QPainter& p, int r, int c, const QRect& rect) {
    const Cell& x = cell(r, c);
    const bool fixed = r < fixedRows_ || c < fixedCols_;
    const QRect inside(rect.x(), rect.y(), rect.width() - 1, rect.height() - 1);
    p.fillRect(inside, x.hasBack ? QColor::fromRgb(x.back) : (fixed ? backColorFixed_ : backColor_));

    // Grid lines along the right and bottom edge of every cell.
    p.setPen(fixed ? gridColorFixed_ : gridColor_);
    p.drawLine(rect.right(), rect.top(), rect.right(), rect.bottom());
    p.drawLine(rect.left(), rect.bottom(), rect.right(), rect.bottom());

    const QColor fore = x.hasFore ? QColor::fromRgb(x.fore) : (fixed ? foreColorFixed_ : foreColor_);
    if (!x.text.isEmpty()) {
        p.setPen(fore);
        const int a = x.alignment < 0 ? colAlignment_[c] : x.alignment;
        const QRect textRect = inside.adjusted(kTextPadding, 1, -kTextPadding, -1);
        p.drawText(textRect, int(qtAlignment(a)) | Qt::TextSingleLine, x.text);
    }
    if (r == row_ && c == col_ && inside.width() > 2 && inside.height() > 2) {
        p.setPen(QPen(fore, 1, Qt::DotLine));
        p.drawRect(inside.adjusted(0, 0, -1, -1));
    }
}

void FlexGrid::resizeEvent(QResizeEvent* e) {
    QAbstractScrollArea::resizeEvent(e);
    updateScrollBars();
}

void FlexGrid::changeEvent(QEvent* e) {
    QAbstractScrollArea::changeEvent(e);
    if (e->type() == QEvent::FontChange) {
        defaultRowPx_ = fontMetrics().height() + 2 * kTextPadding + 1;
        sizesChanged();
        refresh();
    }
}

// ---- mouse and keyboard ----------------------------------------------------

QPointF FlexGrid::toTwips(const QPointF& viewportPos) const {
    const QPointF p = viewportPos + viewport()->pos();
    return {pixelsToTwipsX(this, p.x()), pixelsToTwipsY(this, p.y())};
}

void FlexGrid::trackMouse(const QPointF& viewportPos) {
    const QPoint p = viewportPos.toPoint();
    bool inRow = false;
    bool inCol = false;
    mouseRow_ = indexAt(true, p.y(), &inRow);
    mouseCol_ = indexAt(false, p.x(), &inCol);
    mouseOnCell_ = inRow && inCol && rows_ > 0 && cols_ > 0;
}

void FlexGrid::pressed(QMouseEvent* e) {
    trackMouse(e->position());
    // Only the left button moves the current cell; the dialog moves it itself
    // for the others.
    if (e->button() == Qt::LeftButton && mouseOnCell_ && mouseRow_ >= fixedRows_ && mouseCol_ >= fixedCols_)
        moveCurrent(mouseRow_, mouseCol_);
    const QPointF t = toTwips(e->position());
    emit mouseDown(e->button(), e->modifiers(), t.x(), t.y());
}

void FlexGrid::mousePressEvent(QMouseEvent* e) {
    suppressClick_ = false;
    pressed(e);
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent* e) {
    pressed(e);
    emit dblClick();
    suppressClick_ = true;
}

void FlexGrid::mouseReleaseEvent(QMouseEvent* e) {
    trackMouse(e->position());
    const QPointF t = toTwips(e->position());
    emit mouseUp(e->button(), e->modifiers(), t.x(), t.y());
    switch (e->button()) {
    case Qt::LeftButton: emit buttonReleased(buttonMessage::LeftUp); break;
    case Qt::RightButton: emit buttonReleased(buttonMessage::RightUp); break;
    case Qt::MiddleButton: emit buttonReleased(buttonMessage::MiddleUp); break;
    default: break;
    }
    if (suppressClick_) {
        suppressClick_ = false;
        return;
    }
    emit click();
}

void FlexGrid::mouseMoveEvent(QMouseEvent* e) {
    trackMouse(e->position());
    const QPointF t = toTwips(e->position());
    emit mouseMove(e->buttons(), e->modifiers(), t.x(), t.y());
}

void FlexGrid::keyPressEvent(QKeyEvent* e) {
    int r = row_;
    int c = col_;
    switch (e->key()) {
    case Qt::Key_Up: r = std::max(std::min(r, fixedRows_), r - 1); break;
    case Qt::Key_Down: r = std::min(rows_ - 1, r + 1); break;
    case Qt::Key_Left: c = std::max(std::min(c, fixedCols_), c - 1); break;
    case Qt::Key_Right: c = std::min(cols_ - 1, c + 1); break;
    default: QAbstractScrollArea::keyPressEvent(e); return;
    }
    e->accept();
    if (rows_ == 0 || cols_ == 0) return;
    moveCurrent(r, c);
    ensureCellVisible(row_, col_);
}

}  // namespace controls
