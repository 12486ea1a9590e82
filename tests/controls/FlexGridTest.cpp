#include "platform/controls/FlexGrid.h"
#include "tests/support/Errors.h"

#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <QPaintEvent>
#include <QWheelEvent>
#include <functional>

using controls::FlexGrid;
using testsupport::errorNumber;

namespace {

// 50 x 20 cells of 64 x 20 px (960 x 300 twips), one fixed row, two fixed columns.
class FlexGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        grid.resize(400, 300);
        grid.setRows(50), grid.setCols(20), grid.setFixedRows(1), grid.setFixedCols(2);
        grid.setColWidth(-1, 960), grid.setRowHeight(-1, 300);
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
        // The grid's events, with the current cell as seen inside each one.
        auto at = [this] { return QStringLiteral("%1,%2").arg(grid.row()).arg(grid.col()); };
        QObject::connect(&grid, &FlexGrid::leaveCell, &grid, [=, this] { events << "leave " + at(); });
        QObject::connect(&grid, &FlexGrid::mouseDown, &grid, [=, this](Qt::MouseButton b, Qt::KeyboardModifiers, double x, double y) {
            events << QStringLiteral("down %1 ").arg(int(b)) + at(), down = {x, y};
        });
        QObject::connect(&grid, &FlexGrid::mouseUp, &grid,
                         [this](Qt::MouseButton b, Qt::KeyboardModifiers, double, double) { events << QStringLiteral("up %1").arg(int(b)); });
        QObject::connect(&grid, &FlexGrid::buttonReleased, &grid, [this](int m) { events << QStringLiteral("released %1").arg(m); });
        QObject::connect(&grid, &FlexGrid::click, &grid, [this] { events << "click"; });
        QObject::connect(&grid, &FlexGrid::dblClick, &grid, [this] { events << "dblClick"; });
        QObject::connect(&grid, &FlexGrid::scroll, &grid, [this] { events << "scroll"; });
    }
    QPoint centre(int r, int c) const { return grid.cellRect(r, c).center(); }
    // The current cell and the cell under the mouse, as (row, column).
    QPoint current() const { return {grid.row(), grid.col()}; }
    QPoint mouse() const { return {grid.mouseRow(), grid.mouseCol()}; }
    QStringList take() { return std::exchange(events, {}); }
    int visibleScrollableRows() const { return (grid.viewport()->height() - 20) / 20; }

    FlexGrid grid;
    QStringList events;
    QPointF down;
};

TEST_F(FlexGridTest, TheCurrentCellMovesWithLeaveCellFirstAndOnlyOnAChange) {
    ASSERT_EQ(current(), QPoint(1, 2));  // the first scrollable cell after setFixedCols
    for (int i = 0; i < 2; ++i) grid.setRow(7), grid.setCol(4);
    EXPECT_EQ(take(), (QStringList{"leave 1,2", "leave 7,2"}));
    EXPECT_EQ(current(), QPoint(7, 4));
    // Arrow keys stop at the fixed cells and the last cell.
    grid.setRow(1), grid.setCol(2), take();
    for (Qt::Key k : {Qt::Key_Up, Qt::Key_Left, Qt::Key_Right}) QTest::keyClick(&grid, k);
    EXPECT_EQ(take(), QStringList{"leave 1,2"});
    grid.setRow(49), grid.setCol(19), take();
    for (Qt::Key k : {Qt::Key_Down, Qt::Key_Right}) QTest::keyClick(&grid, k);
    EXPECT_EQ(take().filter("leave"), QStringList());
    QTest::keyClick(&grid, Qt::Key_Left);
    EXPECT_EQ(grid.col(), 18);
}

TEST_F(FlexGridTest, MouseEventsComeInTheirOrderAndOnlyALeftPressMovesTheCurrentCell) {
    const QPoint p = centre(3, 3);
    QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, centre(4, 5));
    QTest::mouseClick(grid.viewport(), Qt::MiddleButton, {}, centre(6, 3));
    EXPECT_EQ(take(), (QStringList{"down 2 1,2", "up 2", "released 517", "click", "down 4 1,2", "up 4", "released 520", "click"}));
    EXPECT_EQ(mouse(), QPoint(6, 3));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, p);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, p);
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, p);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, centre(6, 4));
    EXPECT_EQ(take(), (QStringList{"leave 1,2", "down 1 3,3", "up 1", "released 514", "click",  // a click
                                   "down 1 3,3", "dblClick", "up 1", "released 514",            // a double-click's release: no click
                                   "leave 3,3", "down 1 6,4", "dblClick"}));                    // elsewhere: moves like a press
    // The mouse position comes in twips relative to the grid widget.
    EXPECT_DOUBLE_EQ(down.x(), (grid.viewport()->x() + centre(6, 4).x()) * 15.0);
    EXPECT_DOUBLE_EQ(down.y(), (grid.viewport()->y() + centre(6, 4).y()) * 15.0);

    // Fixed header row and fixed columns, and the empty area past the last row, move nothing.
    grid.setRow(4);
    grid.setCol(5);
    grid.setRows(6);
    for (const QPoint p : {centre(0, 4), centre(3, 1), centre(5, 4) + QPoint(0, 60)}) QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, p);
    EXPECT_EQ(current(), QPoint(4, 5));
    EXPECT_EQ(grid.mouseRow(), 5) << "past the end: the last row";
}

TEST_F(FlexGridTest, TheMouseCellFollowsScrollingWhileFixedCellsStay) {
    grid.setTopRow(20);
    grid.setLeftCol(9);
    for (const auto& [point, row, col] : {std::tuple{QPoint(200, 50), 21, 10}, {QPoint(70, 5), 0, 1}, {QPoint(10, 150), 26, 0}}) {
        QTest::mouseMove(grid.viewport(), point);
        EXPECT_EQ(mouse(), QPoint(row, col)) << point.x() << "," << point.y();
    }
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, QPoint(200, 50));
    EXPECT_EQ(current(), QPoint(21, 10)) << "a left press after scrolling lands on the scrolled cell";
}

// An editor placed at the grid's position plus the current cell's geometry
// covers the cell as painted, wherever it is: scrolled, in a fixed column,
// off screen (reading the geometry scrolls it into view first).
TEST_F(FlexGridTest, CellGeometryIsWhereTheCellIsPainted) {
    grid.setColWidth(1, 1500);
    const QPoint vp = grid.viewport()->pos();
    for (const auto& [top, left, r, c] : {std::tuple{1, 2, 3, 4}, {30, 8, 32, 9}, {30, 8, 33, 1}, {1, 2, 45, 15}}) {
        grid.setTopRow(top), grid.setLeftCol(left), grid.setRow(r), grid.setCol(c);
        const QRect editor(grid.cellLeft() / 15, grid.cellTop() / 15, grid.cellWidth() / 15, grid.cellHeight() / 15);
        EXPECT_EQ(editor, grid.cellRect(r, c).translated(vp)) << r << "," << c;
        EXPECT_TRUE(grid.viewport()->rect().contains(grid.cellRect(r, c))) << r << "," << c;
    }
    grid.setCellBackColor(Qt::red);
    const QRect editor(grid.cellLeft() / 15, grid.cellTop() / 15, grid.cellWidth() / 15, grid.cellHeight() / 15);
    grid.setRow(44);  // keep the focus rectangle out of the way
    const QImage img = grid.grab().toImage();
    for (const QPoint& p : {editor.topLeft(), editor.bottomRight(), editor.center(), editor.bottomRight() + QPoint(1, 1), editor.topLeft() - QPoint(1, 1)})
        EXPECT_EQ(QColor(img.pixel(p)) == QColor(Qt::red), editor.contains(p)) << p.x() << "," << p.y();
}

TEST_F(FlexGridTest, ScrollIsRaisedWheneverTopRowOrLeftColChanges) {
    grid.setTopRow(10), grid.setTopRow(10);
    grid.horizontalScrollBar()->setValue(3);
    EXPECT_EQ(grid.leftCol(), 2 + 3);
    QWheelEvent wheel(QPointF(100, 100), grid.viewport()->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid.viewport(), &wheel);
    EXPECT_GT(grid.topRow(), 10);
    EXPECT_EQ(take(), (QStringList{"scroll", "scroll", "scroll"}));
    // Below the fixed rows means the first scrollable row; past the end means the last row at the bottom edge.
    grid.setTopRow(0);
    EXPECT_EQ(grid.topRow(), 1);
    grid.setTopRow(49);
    EXPECT_EQ(grid.topRow(), 50 - visibleScrollableRows());
    // Arrow keys keep the current cell in view.
    grid.setTopRow(1), grid.setLeftCol(grid.col()), grid.setRow(1), take();
    for (int i = 0; i < visibleScrollableRows(); ++i) QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.topRow(), 2);
    EXPECT_EQ(events.count("scroll"), 1);
}

TEST_F(FlexGridTest, TextColoursAndAlignmentAreKeptPerCellAndPainted) {
    grid.setTextMatrix(4, 5, "X"), grid.setRow(4), grid.setCol(5);
    EXPECT_EQ(grid.text(), "X");
    grid.setText("Y");
    EXPECT_EQ(grid.textMatrix(4, 5), "Y");
    grid.setCellBackColor(Qt::yellow), grid.setCellForeColor(Qt::blue);
    grid.setColAlignment(5, controls::align::LeftCenter), grid.setCellAlignment(controls::align::CenterCenter);
    EXPECT_EQ(grid.cellAlignment(), controls::align::CenterCenter);
    grid.setRow(5);  // neighbour in the same column: nothing of its own
    EXPECT_FALSE(grid.cellBackColor().isValid());
    EXPECT_EQ(grid.cellAlignment(), controls::align::LeftCenter);
    // Growing and shrinking keep the surviving cells.
    grid.setCols(8), grid.setRows(60), grid.setRow(4);
    EXPECT_EQ(grid.text() + grid.cellBackColor().name() + grid.cellForeColor().name(), "Y#ffff00#0000ff");
    EXPECT_EQ(grid.textMatrix(59, 7), "");

    // An unset cell paints in the grid's colours, fixed ones in the fixed colours; a
    // row's colours from a column on replace the cells' own without moving the current cell.
    grid.setCellBackColor(QColor()), grid.setBackColor(QColor(0, 128, 0)), take();
    grid.setRowColors(10, 3, Qt::cyan, Qt::red);
    EXPECT_EQ(grid.row(), 4);
    EXPECT_TRUE(events.isEmpty());
    grid.setRow(10);
    EXPECT_EQ(grid.cellForeColor(), QColor(Qt::red));
    grid.setRow(1);
    const QImage img = grid.viewport()->grab().toImage();
    auto colourAt = [&](int r, int c) { return QColor(img.pixel(grid.cellRect(r, c).topLeft() + QPoint(3, 3))); };
    EXPECT_EQ(colourAt(4, 5), QColor(0, 128, 0));
    EXPECT_EQ(colourAt(0, 5), grid.backColorFixed());
    EXPECT_EQ(colourAt(7, 1), colourAt(0, 5));
    EXPECT_EQ(colourAt(10, 2), grid.backColor()) << "columns before `from` keep theirs";
    EXPECT_EQ(colourAt(10, 5), QColor(Qt::cyan));
}

// A change repaints the cells and rows it changed, not the grid; many changes
// before the next paint (a fill) one repaint of everything. Widths changed in
// a batch lay the scroll bars out once.
TEST_F(FlexGridTest, ChangesRepaintWhatChangedAndABatchLaysOutOnce) {
    struct PaintSpy : QObject {
        QRegion painted;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(e)->region();
            return false;
        }
    } spy;
    grid.viewport()->installEventFilter(&spy);
    auto paintedBy = [&](const std::function<void()>& change) {
        QCoreApplication::processEvents();
        spy.painted = QRegion();
        change();
        QCoreApplication::processEvents();
        return spy.painted;
    };
    // A cell's area includes its grid lines.
    auto area = [&](int r, int c) { return QRegion(grid.cellRect(r, c).adjusted(0, 0, 1, 1)); };
    auto rowArea = [&](int r) { return QRegion(0, grid.cellRect(r, 0).top(), grid.viewport()->width(), 20); };
    EXPECT_EQ(paintedBy([&] { grid.setRowColors(3, 1, Qt::cyan, Qt::red), grid.setRowColors(9, 1, Qt::cyan, Qt::red); }), rowArea(3) + rowArea(9));
    ASSERT_EQ(current(), QPoint(1, 2));
    EXPECT_EQ(paintedBy([&] { grid.setRow(5); }), area(1, 2) + area(5, 2)) << "the focus rectangle moves";
    EXPECT_EQ(paintedBy([&] { grid.setTextMatrix(7, 4, "X"); }), area(7, 4));
    EXPECT_EQ(paintedBy([&] { for (int r = 1; r < 50; ++r) grid.setTextMatrix(r, 3, "Y"); }), QRegion(grid.viewport()->rect()));

    int layouts = 0;
    QObject::connect(grid.horizontalScrollBar(), &QScrollBar::rangeChanged, &grid, [&] { ++layouts; });
    {
        FlexGrid::Batch batch(&grid);
        for (int c = 0; c < 20; ++c) grid.setColWidth(c, 480);
        EXPECT_EQ(layouts, 0);
    }
    EXPECT_EQ(layouts, 1);
    EXPECT_EQ(grid.cellRect(1, 5).width(), 32 - 1);
}

TEST_F(FlexGridTest, OutOfRangeAccessRaisesAndMovesNothing) {
    using automation::err::InvalidCall;
    using automation::err::SubscriptOutOfRange;
    const std::pair<int, std::function<void()>> cases[] = {
        {SubscriptOutOfRange, [&] { grid.textMatrix(50, 0); }},  {SubscriptOutOfRange, [&] { grid.setTextMatrix(0, 20, "x"); }},
        {SubscriptOutOfRange, [&] { grid.textMatrix(-1, 0); }},  {SubscriptOutOfRange, [&] { grid.setRow(50); }},
        {SubscriptOutOfRange, [&] { grid.setCol(-1); }},         {SubscriptOutOfRange, [&] { grid.colWidth(20); }},
        {SubscriptOutOfRange, [&] { grid.setColAlignment(20, 1); }}, {SubscriptOutOfRange, [&] { grid.setTopRow(50); }},
        {InvalidCall, [&] { grid.setColAlignment(1, 10); }},     {InvalidCall, [&] { grid.setRows(-1); }},
        {InvalidCall, [&] { grid.setFixedCols(21); }}};
    for (const auto& [number, call] : cases) EXPECT_EQ(errorNumber(call), number);
    EXPECT_TRUE(events.isEmpty()) << "a refused move raises no leave-cell";
    EXPECT_EQ(current(), QPoint(1, 2));
    EXPECT_EQ(grid.rows(), 50);
}

}  // namespace
