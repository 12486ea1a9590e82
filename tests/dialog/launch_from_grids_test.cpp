// The pop-up menu of the standard grid and double-clicks on the actions grid
// open the property dialogs of the objects behind the cells.
#include "tests/dialog/DialogFixture.h"

#include "platform/controls/TabControl.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMenu>

using namespace dialogtest;
using hostdb::demo::Warehouse;

namespace {

class LaunchFromGrids : public DialogTest {};

QDialog* propertyDialog() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("PropertyDialog") && w->isVisible()) return qobject_cast<QDialog*>(w);
    return nullptr;
}

TEST_P(LaunchFromGrids, RelayPropertiesFromTheMenuAndARelayCellOfAnAction) {
    open(Warehouse);
    cz::FrmMainWindow& w = window();
    // The dialog waits for the component until its callback gives the dialog back.
    auto expectOpenedAndClose = [&](const char* what) {
        QDialog* props = propertyDialog();
        ASSERT_NE(props, nullptr) << what;
        EXPECT_FALSE(w.isEnabled()) << what;
        props->close();
        EXPECT_TRUE(w.isEnabled()) << what;
    };
    // "Relay Properties..." over relay 3, "Reader Properties..." over the first expansion column.
    for (const auto& [col, entry] : {std::pair{5, 1}, {11, 2}}) {
        w.grdSCZ->ensureCellVisible(4, col);
        clickCell(w.grdSCZ, 4, col, Qt::RightButton);
        ASSERT_TRUE(w.mnuSCZPopupParent->isVisible());
        w.mnuSCZPopupChild[entry]->trigger();
        w.mnuSCZPopupParent->hide();
        expectOpenedAndClose(entry == 1 ? "relay 3" : "reader 1");
    }
    w.SSTab1->setTab(1);
    QTest::mouseDClick(w.grdMCZ->viewport(), Qt::LeftButton, {}, w.grdMCZ->cellRect(1, 3).center());
    expectOpenedAndClose("relay 2 of the trigger row");
    QTest::mouseDClick(w.grdMCZ->viewport(), Qt::LeftButton, {}, w.grdMCZ->cellRect(20, 3).center());
    EXPECT_EQ(propertyDialog(), nullptr) << "LEDOn opens nothing";
    EXPECT_TRUE(w.isEnabled());
}

TAMRIK_ON_ONE_ENGINE(LaunchFromGrids);

}  // namespace
