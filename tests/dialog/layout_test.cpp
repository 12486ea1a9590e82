// Placing the controls on resize, and the grids' release hooks.
#include "tests/dialog/DialogFixture.h"

#include "platform/controls/FlexGrid.h"
#include "platform/controls/TabControl.h"
#include "platform/controls/Twips.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace dialogtest;
using namespace controls;
using hostdb::demo::Warehouse;

namespace {

class Layout : public DialogTest {};

TEST_P(Layout, ButtonsSitAtTheBottomTheGridFillsTheTabAndShrinkingPastZeroIsSkipped) {
    raise(Warehouse);
    cz::FrmMainWindow& w = window();
    w.resize(900, 640);
    const double W = pixelsToTwipsX(&w, w.width()), H = pixelsToTwipsY(&w, w.height());
    const double cancelHeight = twipsHeight(w.CmdCancel);
    EXPECT_NEAR(twipsTop(w.CmdCancel), std::nearbyint(H - 1.5 * cancelHeight + 90), 7.5);
    EXPECT_NEAR(twipsLeft(w.CmdCancel) + twipsWidth(w.CmdCancel), W - 75, 7.5);
    EXPECT_NEAR(twipsLeft(w.cmdOK) + twipsWidth(w.cmdOK), twipsLeft(w.CmdCancel) - 75, 7.5);
    EXPECT_NEAR(twipsLeft(w.cmdHelp), 75, 7.5);
    EXPECT_NEAR(twipsWidth(w.SSTab1), W - 150, 7.5);
    EXPECT_NEAR(twipsWidth(w.grdSCZ), twipsWidth(w.SSTab1) - 450, 7.5);

    // Shrinking below zero keeps the last valid sizes; growing restores them.
    w.resize(700, 500);
    const QSize grid = w.grdSCZ->size();
    w.setMinimumSize(0, 0);
    w.resize(20, 20);
    EXPECT_EQ(w.grdSCZ->size(), grid) << "a negative width or height is skipped";
    w.resize(900, 640);
    EXPECT_NEAR(twipsWidth(w.grdSCZ), twipsWidth(w.SSTab1) - 450, 7.5);
}

TEST_P(Layout, ARightClickOnTheGridEndsTheOpenEditAfterTheGridHandledIt) {
    raise(Warehouse);
    cz::FrmMainWindow& w = window();
    FlexGrid* grid = w.grdSCZ;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(3, 1).center());
    ASSERT_TRUE(w.txtText->isVisible());
    w.txtText->setText(QStringLiteral("Hooked"));
    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, grid->cellRect(3, 2).center());
    EXPECT_FALSE(w.txtText->isVisible());
    EXPECT_EQ(form().state().SCZArray(2).Name, QStringLiteral("Hooked"));
    EXPECT_EQ(grid->col(), 2) << "the grid's own handling (the right press made the cell current) came first";
}

TAMRIK_ON_ONE_ENGINE(Layout);

}  // namespace
