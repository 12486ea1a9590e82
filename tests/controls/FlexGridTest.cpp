#include "platform/controls/FlexGrid.h"
#include "tests/support/Errors.h"
#include "tests/support/QtPrinters.h"

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

// Every column 64 px (960 twips), every row 20 px (300 twips): the tests work
// out cell positions from these numbers on their own.
constexpr int kColPx = 64;
constexpr int kRowPx = 20;
constexpr int kFixedRows = 1;
constexpr int kFixedCols = 2;

class FlexGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        grid.resize(400, 300);
        grid.setRows(50);
        grid.setCols(20);
        grid.setFixedRows(kFixedRows);
        grid.setFixedCols(kFixedCols);
        grid.setColWidth(-1, 960);
        grid.setRowHeight(-1, 300);
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    }

    // Left/top pixel of a visible cell in viewport coordinates.
    int cellX(int c) const {
        return c < kFixedCols ? c * kColPx : kFixedCols * kColPx + (c - grid.leftCol()) * kColPx;
    }
    int cellY(int r) const {
        return r < kFixedRows ? r * kRowPx : kFixedRows * kRowPx + (r - grid.topRow()) * kRowPx;
    }
    QPoint centre(int r, int c) const { return {cellX(c) + kColPx / 2, cellY(r) + kRowPx / 2}; }

    // Records the grid's events with the current cell as seen inside each one.
    void record() {
        auto at = [this] { return QStringLiteral("%1,%2").arg(grid.row()).arg(grid.col()); };
        QObject::connect(&grid, &FlexGrid::leaveCell, &grid, [=, this] { events << "leave " + at(); });
        QObject::connect(&grid, &FlexGrid::mouseDown, &grid, [=, this](Qt::MouseButton b, Qt::KeyboardModifiers, double, double) {
            events << QStringLiteral("down %1 ").arg(int(b)) + at();
        });
        QObject::connect(&grid, &FlexGrid::mouseUp, &grid,
                         [this](Qt::MouseButton b, Qt::KeyboardModifiers, double, double) { events << QStringLiteral("up %1").arg(int(b)); });
        QObject::connect(&grid, &FlexGrid::buttonReleased, &grid,
                         [this](int m) { events << QStringLiteral("released %1").arg(m); });
        QObject::connect(&grid, &FlexGrid::click, &grid, [this] { events << "click"; });
        QObject::connect(&grid, &FlexGrid::dblClick, &grid, [this] { events << "dblClick"; });
        QObject::connect(&grid, &FlexGrid::scroll, &grid, [this] { events << "scroll"; });
    }

    int visibleScrollableRows() const { return (grid.viewport()->height() - kFixedRows * kRowPx) / kRowPx; }

    FlexGrid grid;
    QStringList events;
};

TEST_F(FlexGridTest, SettingRowOrColRaisesLeaveCellBeforeTheChangeOnlyWhenItChanges) {
    record();
    ASSERT_EQ(grid.row(), 1);
    ASSERT_EQ(grid.col(), 2);  // the first scrollable cell after setFixedCols
    grid.setRow(7);
    EXPECT_EQ(events, QStringList{"leave 1,2"});
    EXPECT_EQ(grid.row(), 7);
    grid.setCol(4);
    grid.setRow(7);
    grid.setCol(4);
    EXPECT_EQ(events, (QStringList{"leave 1,2", "leave 7,2"}));
    EXPECT_EQ(grid.col(), 4);
}

TEST_F(FlexGridTest, LeftPressMovesTheCurrentCellOtherButtonsAndFixedCellsDoNot) {
    record();
    QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, centre(4, 5));
    QTest::mouseClick(grid.viewport(), Qt::MiddleButton, {}, centre(6, 3));
    EXPECT_EQ(grid.row(), 1);
    EXPECT_EQ(grid.col(), 2);
    EXPECT_EQ(grid.mouseRow(), 6);
    EXPECT_EQ(grid.mouseCol(), 3);
    EXPECT_FALSE(events.join(' ').contains("leave"));

    events.clear();
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, centre(4, 5));
    EXPECT_EQ(events, (QStringList{"leave 1,2", "down 1 4,5"}));
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, centre(4, 5));

    // Fixed header row and fixed columns, and the empty area past the last row.
    grid.setRows(6);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, centre(0, 4));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, centre(3, 1));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, centre(8, 4));
    EXPECT_EQ(grid.row(), 4);
    EXPECT_EQ(grid.col(), 5);
    EXPECT_EQ(grid.mouseRow(), 5);  // past the end: the last row
    EXPECT_EQ(grid.mouseCol(), 4);
}

TEST_F(FlexGridTest, ReleaseEmitsMouseUpThenTheReleaseMessageThenClick) {
    record();
    const QPoint p = centre(3, 3);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, p);
    QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, p);
    QTest::mouseClick(grid.viewport(), Qt::MiddleButton, {}, p);
    EXPECT_EQ(events, (QStringList{"leave 1,2", "down 1 3,3", "up 1", "released 514", "click",  //
                                   "down 2 3,3", "up 2", "released 517", "click",               //
                                   "down 4 3,3", "up 4", "released 520", "click"}));
}

TEST_F(FlexGridTest, DoubleClickActsAsAPressAndItsReleaseRaisesNoClick) {
    record();
    const QPoint p = centre(5, 4);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, p);
    events.clear();
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, p);
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, p);
    EXPECT_EQ(events, (QStringList{"down 1 5,4", "dblClick", "up 1", "released 514"}));

    // The next ordinary click is a click again; a double-click elsewhere
    // moves the current cell like a press.
    events.clear();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, p);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, centre(6, 4));
    EXPECT_EQ(events, (QStringList{"down 1 5,4", "up 1", "released 514", "click", "leave 5,4", "down 1 6,4",
                                   "dblClick"}));
}

TEST_F(FlexGridTest, MouseCellAndCoordinatesFollowScrollingAndFixedCells) {
    double x = -1, y = -1;
    QObject::connect(&grid, &FlexGrid::mouseDown, &grid, [&](Qt::MouseButton, Qt::KeyboardModifiers, double mx, double my) {
        x = mx;
        y = my;
    });
    const QPoint vp = grid.viewport()->pos();
    QTest::mousePress(grid.viewport(), Qt::RightButton, {}, QPoint(200, 50));
    EXPECT_DOUBLE_EQ(x, (vp.x() + 200) * 15.0);
    EXPECT_DOUBLE_EQ(y, (vp.y() + 50) * 15.0);
    EXPECT_EQ(grid.mouseRow(), 2);   // 50 = header 20 + row 1 (20) + 10
    EXPECT_EQ(grid.mouseCol(), 3);   // 200 = two fixed 128 + col 2 (64) + 8
    QTest::mouseRelease(grid.viewport(), Qt::RightButton, {}, QPoint(200, 50));

    grid.setTopRow(20);
    grid.setLeftCol(9);
    QTest::mouseMove(grid.viewport(), QPoint(200, 50));
    EXPECT_EQ(grid.mouseRow(), 21);
    EXPECT_EQ(grid.mouseCol(), 10);
    // Fixed cells stay where they are.
    QTest::mouseMove(grid.viewport(), QPoint(70, 5));
    EXPECT_EQ(grid.mouseRow(), 0);
    EXPECT_EQ(grid.mouseCol(), 1);
    QTest::mouseMove(grid.viewport(), QPoint(10, 150));
    EXPECT_EQ(grid.mouseRow(), 26);
    EXPECT_EQ(grid.mouseCol(), 0);

    // A left press after scrolling lands on the scrolled cell.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, QPoint(200, 50));
    EXPECT_EQ(grid.row(), 21);
    EXPECT_EQ(grid.col(), 10);
}

TEST_F(FlexGridTest, CellGeometryIsTheCellInsideInTwipsRelativeToTheGrid) {
    const QPoint vp = grid.viewport()->pos();
    grid.setRow(3);
    grid.setCol(4);
    EXPECT_EQ(grid.cellLeft(), (vp.x() + 128 + 2 * kColPx) * 15);
    EXPECT_EQ(grid.cellTop(), (vp.y() + 20 + 2 * kRowPx) * 15);
    EXPECT_EQ(grid.cellWidth(), (kColPx - 1) * 15);  // grid line excluded
    EXPECT_EQ(grid.cellHeight(), (kRowPx - 1) * 15);

    grid.setTopRow(30);
    grid.setLeftCol(8);
    grid.setRow(32);
    grid.setCol(9);
    EXPECT_EQ(grid.cellLeft(), (vp.x() + 128 + kColPx) * 15);
    EXPECT_EQ(grid.cellTop(), (vp.y() + 20 + 2 * kRowPx) * 15);
    grid.setCol(1);  // a fixed column does not move with the scrolled ones
    EXPECT_EQ(grid.cellLeft(), (vp.x() + kColPx) * 15);
    grid.setColWidth(1, 1500);
    EXPECT_EQ(grid.cellWidth(), (100 - 1) * 15);

    // An editor placed at grid position + cell geometry covers the painted cell.
    grid.setCol(9);
    grid.setCellBackColor(Qt::red);
    const QRect editor(grid.cellLeft() / 15, grid.cellTop() / 15, grid.cellWidth() / 15, grid.cellHeight() / 15);
    grid.setRow(33);  // keep the focus rectangle out of the way
    const QImage img = grid.grab().toImage();
    for (const QPoint& p : {editor.topLeft(), editor.bottomRight(), editor.center()})
        EXPECT_EQ(QColor(img.pixel(p)), QColor(Qt::red)) << p.x() << "," << p.y();
    EXPECT_NE(QColor(img.pixel(editor.bottomRight() + QPoint(1, 1))), QColor(Qt::red));
    EXPECT_NE(QColor(img.pixel(editor.topLeft() - QPoint(1, 1))), QColor(Qt::red));
}

TEST_F(FlexGridTest, ReadingCellGeometryScrollsTheCurrentCellIntoView) {
    grid.setRow(45);
    grid.setCol(15);
    EXPECT_EQ(grid.topRow(), 1);
    const int top = grid.cellTop();
    const int left = grid.cellLeft();
    const QPoint vp = grid.viewport()->pos();
    EXPECT_GT(grid.topRow(), 1);
    EXPECT_GT(grid.leftCol(), 2);
    // Whole cell inside the viewport.
    EXPECT_LE(top / 15 + kRowPx, vp.y() + grid.viewport()->height());
    EXPECT_LE(left / 15 + kColPx, vp.x() + grid.viewport()->width());
    EXPECT_GE(top / 15, vp.y() + kRowPx);
    EXPECT_GE(left / 15, vp.x() + 2 * kColPx);
}

TEST_F(FlexGridTest, ScrollIsRaisedWheneverTopRowOrLeftColChanges) {
    record();
    grid.setTopRow(10);
    grid.setTopRow(10);
    EXPECT_EQ(events, QStringList{"scroll"});
    EXPECT_EQ(grid.topRow(), 10);

    grid.horizontalScrollBar()->setValue(3);
    EXPECT_EQ(grid.leftCol(), kFixedCols + 3);

    QWheelEvent wheel(QPointF(100, 100), grid.viewport()->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid.viewport(), &wheel);
    EXPECT_GT(grid.topRow(), 10);
    EXPECT_EQ(events.count("scroll"), 3);

    // Below the fixed rows means the first scrollable row; past the end means
    // the last row at the bottom edge.
    grid.setTopRow(0);
    EXPECT_EQ(grid.topRow(), 1);
    grid.setTopRow(49);
    EXPECT_EQ(grid.topRow(), 50 - visibleScrollableRows());

    // Arrow keys keep the current cell in view.
    grid.setTopRow(1);
    grid.setLeftCol(grid.col());
    grid.setRow(1);
    events.clear();
    for (int i = 0; i < visibleScrollableRows(); ++i) QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.row(), 1 + visibleScrollableRows());
    EXPECT_EQ(grid.topRow(), 2);
    EXPECT_EQ(events.count("scroll"), 1);
    EXPECT_EQ(events.filter("leave").size(), visibleScrollableRows());
}

TEST_F(FlexGridTest, ArrowKeysStopAtTheFixedCellsAndTheLastCell) {
    record();
    grid.setRow(1);
    grid.setCol(2);
    events.clear();
    QTest::keyClick(&grid, Qt::Key_Up);
    QTest::keyClick(&grid, Qt::Key_Left);
    EXPECT_TRUE(events.isEmpty());
    EXPECT_EQ(grid.row(), 1);
    EXPECT_EQ(grid.col(), 2);
    QTest::keyClick(&grid, Qt::Key_Right);
    EXPECT_EQ(events, QStringList{"leave 1,2"});
    grid.setRow(49);
    grid.setCol(19);
    events.clear();
    QTest::keyClick(&grid, Qt::Key_Down);
    QTest::keyClick(&grid, Qt::Key_Right);
    EXPECT_FALSE(events.join(' ').contains("leave"));
    QTest::keyClick(&grid, Qt::Key_Left);
    EXPECT_EQ(grid.col(), 18);
}

TEST_F(FlexGridTest, TextColoursAndAlignmentAreKeptPerCell) {
    grid.setTextMatrix(4, 5, "X");
    grid.setRow(4);
    grid.setCol(5);
    EXPECT_EQ(grid.text(), "X");
    grid.setText("Y");
    EXPECT_EQ(grid.textMatrix(4, 5), "Y");
    EXPECT_EQ(grid.textMatrix(4, 6), "");

    grid.setCellBackColor(Qt::yellow);
    grid.setCellForeColor(Qt::blue);
    grid.setColAlignment(5, controls::align::LeftCenter);
    grid.setCellAlignment(controls::align::CenterCenter);
    EXPECT_EQ(grid.cellBackColor(), QColor(Qt::yellow));
    EXPECT_EQ(grid.cellForeColor(), QColor(Qt::blue));
    EXPECT_EQ(grid.cellAlignment(), controls::align::CenterCenter);

    grid.setRow(5);  // neighbour in the same column: nothing of its own
    EXPECT_FALSE(grid.cellBackColor().isValid());
    EXPECT_FALSE(grid.cellForeColor().isValid());
    EXPECT_EQ(grid.cellAlignment(), controls::align::LeftCenter);

    // Growing and shrinking keep the surviving cells.
    grid.setCols(8);
    grid.setRows(60);
    grid.setRow(4);
    EXPECT_EQ(grid.text(), "Y");
    EXPECT_EQ(grid.cellBackColor(), QColor(Qt::yellow));
    EXPECT_EQ(grid.textMatrix(59, 7), "");

    // An unset cell paints in the grid's colours, fixed ones in the fixed colours.
    grid.setCellBackColor(QColor());
    grid.setBackColor(QColor(0, 128, 0));
    grid.setRow(10);
    grid.setCol(3);
    grid.setCellBackColor(Qt::magenta);
    grid.setRow(1);
    const QImage img = grid.viewport()->grab().toImage();
    auto colourAt = [&](int r, int c) { return QColor(img.pixel(cellX(c) + 3, cellY(r) + 3)); };
    EXPECT_EQ(colourAt(4, 5), QColor(0, 128, 0));
    EXPECT_EQ(colourAt(10, 3), QColor(Qt::magenta));
    EXPECT_EQ(colourAt(0, 5), grid.backColorFixed());
    EXPECT_EQ(colourAt(7, 1), grid.backColorFixed());

    // A whole row from a column on, without moving the current cell.
    int leaves = 0;
    QObject::connect(&grid, &FlexGrid::leaveCell, [&] { ++leaves; });
    grid.setRowColors(10, 3, Qt::cyan, Qt::red);
    EXPECT_EQ(leaves, 0);
    EXPECT_EQ(grid.row(), 1);
    EXPECT_EQ(grid.col(), 3);
    grid.setRow(10);
    EXPECT_EQ(grid.cellBackColor(), QColor(Qt::cyan)) << "the row's colour replaces the cell's own";
    EXPECT_EQ(grid.cellForeColor(), QColor(Qt::red));
    const QImage row = grid.viewport()->grab().toImage();
    EXPECT_EQ(QColor(row.pixel(cellX(2) + 3, cellY(10) + 3)), grid.backColor()) << "columns before `from` keep theirs";
    EXPECT_EQ(QColor(row.pixel(cellX(5) + 3, cellY(10) + 3)), QColor(Qt::cyan));
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
    const int width = grid.viewport()->width();
    EXPECT_EQ(paintedBy([&] {
                  grid.setRowColors(3, 1, Qt::cyan, Qt::red);
                  grid.setRowColors(9, 1, Qt::cyan, Qt::red);
              }),
              QRegion(0, cellY(3), width, kRowPx) + QRegion(0, cellY(9), width, kRowPx));
    ASSERT_EQ(grid.row(), 1);
    ASSERT_EQ(grid.col(), 2);
    EXPECT_EQ(paintedBy([&] { grid.setRow(5); }), QRegion(cellX(2), cellY(1), kColPx, kRowPx) + QRegion(cellX(2), cellY(5), kColPx, kRowPx))
        << "the focus rectangle moves";
    EXPECT_EQ(paintedBy([&] { grid.setTextMatrix(7, 4, "X"); }), QRegion(cellX(4), cellY(7), kColPx, kRowPx));
    EXPECT_EQ(paintedBy([&] {
                  for (int r = 1; r < 50; ++r) grid.setTextMatrix(r, 3, "Y");
              }),
              QRegion(grid.viewport()->rect()));

    int layouts = 0;
    QObject::connect(grid.horizontalScrollBar(), &QScrollBar::rangeChanged, &grid, [&] { ++layouts; });
    {
        FlexGrid::Batch batch(&grid);
        for (int c = 0; c < 20; ++c) grid.setColWidth(c, 480);
        EXPECT_EQ(layouts, 0);
    }
    EXPECT_EQ(layouts, 1);
    EXPECT_EQ(grid.cellRect(1, 5).width(), kColPx / 2 - 1);
}

TEST_F(FlexGridTest, OutOfRangeAccessRaisesSubscriptOutOfRange) {
    using automation::err::InvalidCall;
    using automation::err::SubscriptOutOfRange;
    record();
    EXPECT_EQ(errorNumber([&] { grid.textMatrix(50, 0); }), SubscriptOutOfRange);
    EXPECT_EQ(errorNumber([&] { grid.setTextMatrix(0, 20, "x"); }), SubscriptOutOfRange);
    EXPECT_EQ(errorNumber([&] { grid.textMatrix(-1, 0); }), SubscriptOutOfRange);
    EXPECT_EQ(errorNumber([&] { grid.setRow(50); }), SubscriptOutOfRange);
    EXPECT_EQ(errorNumber([&] { grid.setCol(-1); }), SubscriptOutOfRange);
    EXPECT_EQ(errorNumber([&] { grid.colWidth(20); }), SubscriptOutOfRange);
    EXPECT_EQ(errorNumber([&] { grid.setColAlignment(20, 1); }), SubscriptOutOfRange);
    EXPECT_EQ(errorNumber([&] { grid.setTopRow(50); }), SubscriptOutOfRange);
    EXPECT_EQ(errorNumber([&] { grid.setColAlignment(1, 10); }), InvalidCall);
    EXPECT_EQ(errorNumber([&] { grid.setRows(-1); }), InvalidCall);
    EXPECT_EQ(errorNumber([&] { grid.setFixedCols(21); }), InvalidCall);
    EXPECT_TRUE(events.isEmpty());  // a refused move raises no leave-cell
    EXPECT_EQ(grid.row(), 1);
    EXPECT_EQ(grid.col(), 2);
    EXPECT_EQ(grid.rows(), 50);
}

}  // namespace
