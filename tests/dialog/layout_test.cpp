// Placing the controls on resize, and the grids' release hooks.
#include "tests/dialog/DialogFixture.h"

#include "platform/controls/TabControl.h"

#include <QLineEdit>

using namespace dialogtest;
using hostdb::demo::Warehouse;

namespace {

class Layout : public DialogTest {};

TEST_P(Layout, ButtonsSitBelowTheTabTheGridFillsItAndShrinkingPastZeroIsSkipped) {
    open(Warehouse);
    cz::FrmMainWindow& w = window();
    for (const QSize size : {QSize(900, 640), QSize(700, 500)}) {
        w.resize(size);
        const QRect tab = w.SSTab1->geometry(), ok = w.cmdOK->geometry(), cancel = w.CmdCancel->geometry(), help = w.cmdHelp->geometry();
        EXPECT_TRUE(w.rect().contains(tab)) << size.width();
        for (const QRect& button : {ok, cancel, help}) {
            EXPECT_TRUE(w.rect().contains(button)) << size.width();
            EXPECT_GT(button.top(), tab.bottom()) << "the buttons sit in a row under the tab";
            EXPECT_EQ(button.top(), cancel.top());
        }
        EXPECT_EQ(help.left(), tab.left()) << "Help under the tab's left edge";
        EXPECT_EQ(cancel.right(), tab.right()) << "Cancel under its right edge";
        EXPECT_LT(ok.right(), cancel.left()) << "OK just before Cancel";
        EXPECT_GT(ok.left(), help.right());
        // The standard grid fills the tab's width, centred, below the strip.
        const QRect grid = w.grdSCZ->geometry();
        EXPECT_TRUE(QRect(QPoint(), tab.size()).contains(grid)) << size.width();
        EXPECT_EQ(grid.left(), tab.width() - 1 - grid.right());
        EXPECT_GT(grid.width(), tab.width() * 9 / 10);
    }
    // Shrinking below zero keeps the last valid sizes; growing restores them.
    const QSize grid = w.grdSCZ->size();
    w.setMinimumSize(0, 0);
    w.resize(20, 20);
    EXPECT_EQ(w.grdSCZ->size(), grid) << "a negative width or height is skipped";
    w.resize(900, 640);
    EXPECT_GT(w.grdSCZ->width(), grid.width());
}

TEST_P(Layout, ARightClickOnTheGridEndsTheOpenEditAfterTheGridHandledIt) {
    open(Warehouse);
    cz::FrmMainWindow& w = window();
    clickCell(w.grdSCZ, 3, 1);
    ASSERT_TRUE(w.txtText->isVisible());
    w.txtText->setText(QStringLiteral("Hooked"));
    clickCell(w.grdSCZ, 3, 2, Qt::RightButton);
    EXPECT_FALSE(w.txtText->isVisible());
    EXPECT_EQ(form().state().SCZArray(2).Name, QStringLiteral("Hooked"));
    EXPECT_EQ(w.grdSCZ->col(), 2) << "the grid's own handling (the right press made the cell current) came first";
}

TAMRIK_ON_ONE_ENGINE(Layout);

}  // namespace
