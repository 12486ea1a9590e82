// The pop-up menu of the standard grid and double-clicks on the actions grid
// open the property dialogs of the objects behind the cells.
#include "tests/dialog/DialogFixture.h"

#include "platform/controls/FlexGrid.h"
#include "platform/controls/TabControl.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QTest>

using namespace dialogtest;
using hostdb::demo::Warehouse;

namespace {

class LaunchFromGrids : public DialogTest {
protected:
    QDialog* propertyDialog() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("PropertyDialog") && w->isVisible()) return qobject_cast<QDialog*>(w);
        return nullptr;
    }
};

TEST_P(LaunchFromGrids, RelayPropertiesFromTheMenuAndARelayCellOfAnAction) {
    raise(Warehouse);
    cz::FrmMainWindow& w = window();
    controls::FlexGrid* grid = w.grdSCZ;
    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, grid->cellRect(4, 5).center());
    ASSERT_TRUE(w.mnuSCZPopupParent->isVisible());
    w.mnuSCZPopupChild[1]->trigger();  // "Relay Properties..."
    w.mnuSCZPopupParent->hide();
    QDialog* props = propertyDialog();
    ASSERT_NE(props, nullptr) << "relay 3 of the seeded controller has a row";
    EXPECT_FALSE(w.isEnabled()) << "the dialog waits for the component";
    props->close();
    EXPECT_TRUE(w.isEnabled()) << "the component's callback gives the dialog back";

    w.SSTab1->setTab(1);
    controls::FlexGrid* actions = w.grdMCZ;
    QTest::mouseDClick(actions->viewport(), Qt::LeftButton, {}, actions->cellRect(1, 3).center());  // trigger row, relay 2
    props = propertyDialog();
    ASSERT_NE(props, nullptr);
    props->close();
    EXPECT_TRUE(w.isEnabled());

    QTest::mouseDClick(actions->viewport(), Qt::LeftButton, {}, actions->cellRect(20, 3).center());  // LEDOn opens nothing
    EXPECT_EQ(propertyDialog(), nullptr);
    EXPECT_TRUE(w.isEnabled());
}

TAMRIK_ON_BOTH_ENGINES(LaunchFromGrids);

}  // namespace
