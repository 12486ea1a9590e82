#pragma once
// FlexGrid: the spreadsheet-style grid both zone grids of the dialog are built
// on. It paints its own cell array instead of wrapping QTableWidget because the
// dialog depends on details QTableWidget gets different: leave-cell is raised
// before the current cell changes, a right press leaves the current cell
// alone, fixed rows and columns stay put while the rest scrolls, and cell
// geometry is reported in twips.
//
// Cells live in one flat vector (row-major); painting touches only the cells
// in view, so a 193 x 77 grid fills and repaints at once.
//
// Current cell (row(), col()):
//   setRow()/setCol() to a different value raise leaveCell() synchronously,
//   while row()/col() still give the old cell, then change it. The same value
//   raises nothing. Setting the current cell from code does not scroll.
//
// Events, in the order they are emitted:
//   press (any button):  [left button on a non-fixed cell that is not current:
//                         leaveCell(), current cell moves]  mouseDown
//   release:             mouseUp, buttonReleased(514 left | 517 right |
//                         520 middle), click
//   double-click:        acts as a press ([leaveCell], mouseDown), dblClick;
//                        the release that follows: mouseUp, buttonReleased,
//                        and no click
//   arrow keys:          leaveCell (when the cell can move), the current cell
//                        moves and is scrolled into view
//   scroll():            whenever topRow() or leftCol() changes: scroll bar,
//                        wheel, keyboard, code or a resize
// A press below the last row or right of the last column moves nothing.
// Mouse coordinates in mouseDown/mouseUp/mouseMove are twips relative to the
// grid widget's top-left corner (frame included), like cellLeft()/cellTop().
//
// Indexes outside the grid raise automation::AutomationError with
// err::SubscriptOutOfRange; impossible counts or values raise err::InvalidCall.
#include <QAbstractScrollArea>
#include <QColor>
#include <QString>
#include <vector>

namespace controls {

// The original control's alignment values.
namespace align {
constexpr int LeftTop = 0;
constexpr int LeftCenter = 1;
constexpr int LeftBottom = 2;
constexpr int CenterTop = 3;
constexpr int CenterCenter = 4;
constexpr int CenterBottom = 5;
constexpr int RightTop = 6;
constexpr int RightCenter = 7;
constexpr int RightBottom = 8;
constexpr int General = 9;  // the default: left, vertically centred
}  // namespace align

// Window-message numbers handed to buttonReleased().
namespace buttonMessage {
constexpr int LeftUp = 514;
constexpr int RightUp = 517;
constexpr int MiddleUp = 520;
}  // namespace buttonMessage

class FlexGrid : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit FlexGrid(QWidget* parent = nullptr);
    ~FlexGrid() override;

    // Shape. Defaults: 2 rows, 2 columns, 1 fixed row, 1 fixed column.
    // Shrinking keeps the surviving cells and pulls the current cell and the
    // fixed counts inside the new shape without raising leaveCell.
    int rows() const { return rows_; }
    void setRows(int n);
    int cols() const { return cols_; }
    void setCols(int n);
    int fixedRows() const { return fixedRows_; }
    void setFixedRows(int n);  // 0..rows()
    int fixedCols() const { return fixedCols_; }
    void setFixedCols(int n);  // 0..cols()

    // The current cell; any cell, fixed ones included, may be set from code.
    int row() const { return row_; }
    void setRow(int r);
    int col() const { return col_; }
    void setCol(int c);

    // First visible scrollable row/column. Values below the fixed count go to
    // the first scrollable one; values past the end go as far as scrolling
    // allows (the last row/column at the bottom/right edge).
    int topRow() const { return topRow_; }
    void setTopRow(int r);
    int leftCol() const { return leftCol_; }
    void setLeftCol(int c);

    // Text of the current cell / any cell.
    QString text() const;
    void setText(const QString& s);
    QString textMatrix(int r, int c) const;
    void setTextMatrix(int r, int c, const QString& s);

    // Changes made while a Batch lives (widths, heights, shape) recompute
    // the scroll bars once, when the outermost one ends.
    class Batch {
    public:
        explicit Batch(FlexGrid* grid) : grid_(grid) { ++grid_->batchDepth_; }
        ~Batch() {
            if (--grid_->batchDepth_ == 0 && grid_->layoutPending_) grid_->refresh();
        }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        FlexGrid* grid_;
    };

    // Sizes in twips. Index -1 sets every column/row; a negative size goes
    // back to the default (960 twips wide; rows as high as the font needs).
    int colWidth(int c) const;
    void setColWidth(int c, int twips);
    int rowHeight(int r) const;
    void setRowHeight(int r, int twips);

    // Alignment (align:: values). colAlignment index -1 sets every column.
    // cellAlignment() gives the current cell's own alignment, or its column's
    // when the cell has none.
    int colAlignment(int c) const;
    void setColAlignment(int c, int alignment);
    int cellAlignment() const;
    void setCellAlignment(int alignment);

    // Colours of the current cell. An invalid QColor means "not set": the cell
    // paints in the grid's colours (the fixed ones in fixed cells), and
    // setting an invalid QColor clears the cell's own colour.
    QColor cellBackColor() const;
    void setCellBackColor(const QColor& c);
    QColor cellForeColor() const;
    void setCellForeColor(const QColor& c);
    // Colours the cells of row r from column `from` to the last, as making
    // each current and setting its colours would, but without moving the
    // current cell; only that row is repainted.
    void setRowColors(int r, int from, const QColor& back, const QColor& fore);

    // Grid-wide colours. The selection colours are kept for the dialog, which
    // highlights rows through cell colours; the grid only marks the current
    // cell with a focus rectangle.
    QColor backColor() const { return backColor_; }
    void setBackColor(const QColor& c);
    QColor foreColor() const { return foreColor_; }
    void setForeColor(const QColor& c);
    QColor backColorSel() const { return backColorSel_; }
    void setBackColorSel(const QColor& c);
    QColor foreColorSel() const { return foreColorSel_; }
    void setForeColorSel(const QColor& c);
    QColor backColorFixed() const { return backColorFixed_; }
    void setBackColorFixed(const QColor& c);
    QColor foreColorFixed() const { return foreColorFixed_; }
    void setForeColorFixed(const QColor& c);
    QColor gridColor() const { return gridColor_; }
    void setGridColor(const QColor& c);
    QColor gridColorFixed() const { return gridColorFixed_; }
    void setGridColorFixed(const QColor& c);
    QColor backColorBkg() const { return backColorBkg_; }  // the area past the last cell
    void setBackColorBkg(const QColor& c);

    // The cell under the mouse at the last move, press, release or
    // double-click. Past the last row/column it is the last one.
    int mouseRow() const { return mouseRow_; }
    int mouseCol() const { return mouseCol_; }

    // The current cell's inside (grid lines excluded) in twips, relative to
    // the grid widget's top-left corner. Reading any of them first scrolls the
    // current cell into view, so an editor placed there covers the cell.
    int cellLeft();
    int cellTop();
    int cellWidth();
    int cellHeight();

    // Scrolls so that the cell is fully visible (as far as it fits).
    void ensureCellVisible(int r, int c);
    // Where a cell is painted now, in viewport pixels (grid lines excluded); no scrolling.
    QRect cellRect(int r, int c) const;

signals:
    void click();
    void dblClick();
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, double xTwips, double yTwips);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, double xTwips, double yTwips);
    void mouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, double xTwips, double yTwips);
    void leaveCell();
    void scroll();
    void buttonReleased(int message);

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // Colours are stored as QRgb with a "set" flag so a cell stays small.
    struct Cell {
        QString text;
        QRgb back = 0;
        QRgb fore = 0;
        qint8 alignment = -1;  // -1: the column's
        bool hasBack = false;
        bool hasFore = false;
    };

    // Either axis: rows (vertical) or columns.
    struct Span {
        int index;
        int pos;   // viewport pixels
        int size;  // pixels, grid line included
    };

    Cell& cell(int r, int c) { return cells_[static_cast<size_t>(r) * cols_ + c]; }
    const Cell& cell(int r, int c) const { return cells_[static_cast<size_t>(r) * cols_ + c]; }
    void checkRow(int r) const;
    void checkCol(int c) const;
    void resizeCells(int rows, int cols);

    int count(bool vertical) const { return vertical ? rows_ : cols_; }
    int fixedCount(bool vertical) const { return vertical ? fixedRows_ : fixedCols_; }
    int first(bool vertical) const { return vertical ? topRow_ : leftCol_; }
    int sizePx(bool vertical, int i) const;
    int fixedExtent(bool vertical) const;
    int startPos(bool vertical, int i) const;
    int indexAt(bool vertical, int pos, bool* inside) const;
    void visibleSpans(bool vertical, int extent, std::vector<Span>& out) const;
    int lastFirst(bool vertical, int available) const;

    void moveCurrent(int r, int c);
    void updateScrollBars();
    void syncScrollPosition();
    void trackMouse(const QPointF& viewportPos);
    void pressed(QMouseEvent* e);
    QPointF toTwips(const QPointF& viewportPos) const;
    void paintCell(QPainter& p, int r, int c, const QRect& rect);
    void setColor(QColor& member, const QColor& c);
    void refresh();
    // Repaints only what changed: a cell, a row (grid lines included).
    void updateCell(int r, int c);
    void updateRow(int r);
    void repaintAll();
    void sizesChanged();

    int rows_ = 2;
    int cols_ = 2;
    int fixedRows_ = 1;
    int fixedCols_ = 1;
    int row_ = 1;
    int col_ = 1;
    int topRow_ = 1;
    int leftCol_ = 1;
    int mouseRow_ = 0;
    int mouseCol_ = 0;
    bool mouseOnCell_ = false;
    bool suppressClick_ = false;
    int defaultRowPx_ = 0;
    QSize predictedViewport_;

    std::vector<Cell> cells_;
    std::vector<int> colTwips_;  // -1: default width
    std::vector<int> rowTwips_;  // -1: default height
    // The same in pixels, at the widget's resolution; -1 until asked for.
    mutable std::vector<int> colPx_;
    mutable std::vector<int> rowPx_;
    int batchDepth_ = 0;
    bool layoutPending_ = false;
    bool repaintPending_ = false;  // the whole viewport is to be painted anyway
    int partialUpdates_ = 0;       // cells and rows asked for since the last paint
    std::vector<qint8> colAlignment_;
    std::vector<Span> rowSpans_;  // scratch for painting
    std::vector<Span> colSpans_;

    QColor backColor_;
    QColor foreColor_;
    QColor backColorSel_;
    QColor foreColorSel_;
    QColor backColorFixed_;
    QColor foreColorFixed_;
    QColor gridColor_;
    QColor gridColorFixed_;
    QColor backColorBkg_;
};

}  // namespace controls
