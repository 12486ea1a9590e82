// The standard zone grid as the operator uses it: mouse and keys on the real
// dialog, offscreen, over a seeded database.
#include "tests/dialog/DialogFixture.h"

#include "platform/controls/FlexGrid.h"
#include "platform/controls/ListControls.h"
#include "platform/controls/TabControl.h"
#include "platform/controls/Twips.h"
#include "standard_zones/SCZGrid.h"

#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QWindow>

using namespace dialogtest;
using controls::FlexGrid;
using hostdb::demo::ReceptionPanel;
using hostdb::demo::Warehouse;

namespace {

class SCZGrid : public DialogTest {
protected:
    void open(int controller) {
        raise(controller);
        ASSERT_TRUE(form().isLoaded());
        grid = window().grdSCZ;
    }
    void click(int r, int c, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(grid->viewport(), button, {}, grid->cellRect(r, c).center());
    }
    QLineEdit* nameBox() { return window().txtText; }
    FlexGrid* grid = nullptr;
};

TEST_P(SCZGrid, ColumnsFollowTheControllerType) {
    open(Warehouse);  // type 4: eight base relays
    ASSERT_EQ(grid->cols(), 77);
    EXPECT_EQ(grid->textMatrix(0, 3), QStringLiteral("1"));
    EXPECT_EQ(grid->textMatrix(0, 10), QStringLiteral("8"));
    EXPECT_EQ(grid->textMatrix(0, 11), QStringLiteral("X1"));
    EXPECT_EQ(grid->textMatrix(0, 74), QStringLiteral("X64"));
    EXPECT_EQ(grid->textMatrix(0, 75), QStringLiteral("R1155"));
    EXPECT_EQ(grid->colWidth(40), 400);
    EXPECT_EQ(grid->colAlignment(40), controls::align::CenterCenter);
    QTest::mouseClick(window().CmdCancel, Qt::LeftButton);
    settle();

    open(ReceptionPanel);  // type 5: no base relays
    ASSERT_EQ(grid->cols(), 69);
    EXPECT_EQ(grid->textMatrix(0, 3), QStringLiteral("X1"));
    EXPECT_EQ(grid->textMatrix(0, 68), QStringLiteral("R1156"));
    // Rows show the zones from the table.
    const cz::SCZRecord& zone = form().state().SCZArray(7);
    EXPECT_EQ(grid->textMatrix(8, 0), QString::number(zone.ControlZoneIndex));
    EXPECT_EQ(grid->textMatrix(8, 1), zone.Name);
    for (int k = 1; k <= 64; ++k) EXPECT_EQ(grid->textMatrix(8, k + 2), zone.ExpRelay[k] ? QStringLiteral("X") : QString()) << k;
}

TEST_P(SCZGrid, AClickTogglesTheMarkAndTheRecordTogether) {
    open(ReceptionPanel);
    cz::SCZRecord& zone = form().state().SCZArray(4);  // row 5
    const bool before = zone.ExpRelay[1];
    const QString mark = before ? QStringLiteral("X") : QString();
    ASSERT_EQ(grid->textMatrix(5, 3), mark);
    click(5, 3);  // no base relays: column 3 is expansion relay 1
    EXPECT_EQ(zone.ExpRelay[1], !before);
    EXPECT_TRUE(zone.Changed);
    click(5, 3);
    EXPECT_EQ(zone.ExpRelay[1], before);
    EXPECT_TRUE(zone.Changed) << "toggling back still counts as an edit";
    EXPECT_EQ(grid->textMatrix(5, 3), before ? QStringLiteral("X") : QStringLiteral(" ")) << "a cleared mark holds a blank";

    const bool tag = zone.Tag;
    grid->ensureCellVisible(5, 67);
    click(5, 67);
    EXPECT_EQ(zone.Tag, !tag);
    EXPECT_FALSE(form().state().SCZArray(5).Changed) << "other zones are untouched";
}

TEST_P(SCZGrid, ZoneZeroAndTheHeaderTakeNoEditsAndTheMenuAppearsOnlyOnRelayCells) {
    open(Warehouse);
    const cz::SCZRecord before = form().state().SCZArray(0);
    const QString cell = grid->textMatrix(1, 3);
    click(1, 3);
    click(1, 1);
    EXPECT_EQ(grid->textMatrix(1, 3), cell);
    EXPECT_FALSE(form().state().SCZArray(0).Changed);
    EXPECT_EQ(form().state().SCZArray(0).Relay, before.Relay);
    EXPECT_FALSE(nameBox()->isVisible());

    QMenu* menu = window().mnuSCZPopupParent;
    click(1, 5, Qt::RightButton);
    EXPECT_FALSE(menu->isVisible()) << "no menu on zone 0";
    click(3, 2, Qt::RightButton);
    EXPECT_FALSE(menu->isVisible()) << "no menu on the time zone column";
    const QString relay = grid->textMatrix(3, 5);
    click(3, 5, Qt::RightButton);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(grid->textMatrix(3, 5), relay) << "the click of a right release toggles nothing";
    EXPECT_FALSE(form().state().SCZArray(2).Changed);
    menu->hide();
}

TEST_P(SCZGrid, ANameIsEditedInPlaceFilteredAndWrittenBackOnLeavingTheCell) {
    open(Warehouse);
    click(3, 1);
    QLineEdit* box = nameBox();
    ASSERT_TRUE(box->isVisible());
    EXPECT_EQ(box->text(), form().state().SCZArray(2).Name);
    EXPECT_EQ(box->selectedText(), box->text());
    EXPECT_TRUE(form().SCZCellEdited);
    // Placed over the cell by the grid's own twips, inset 20 from the top and 50 from the left.
    using namespace controls;
    grid->setRow(3);
    // Within half a pixel: the formula's twips land on whole pixels.
    EXPECT_NEAR(twipsTop(box), twipsTop(grid) + twipsTop(window().SSTab1) + grid->cellTop() + 20, 7.5);
    EXPECT_NEAR(twipsLeft(box), twipsLeft(grid) + twipsLeft(window().SSTab1) + grid->cellLeft() + 50, 7.5);
    EXPECT_NEAR(twipsWidth(box), grid->cellWidth() - 50, 7.5);
    EXPECT_NEAR(twipsHeight(box), grid->cellHeight() - 20, 7.5);

    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("Dock, Door 100%"));
    EXPECT_EQ(box->text(), QStringLiteral("Dock Door 100"));
    box->insert(QStringLiteral(",B,"));  // pasted
    EXPECT_EQ(box->text(), QStringLiteral("Dock Door 100B"));
    EXPECT_EQ(box->cursorPosition(), box->text().size());
    box->insert(QStringLiteral("%"));  // a pasted "%" stays
    EXPECT_EQ(box->text(), QStringLiteral("Dock Door 100B%"));

    click(4, 1);  // the release ends the first edit, the click opens the next one
    EXPECT_EQ(grid->textMatrix(3, 1), QStringLiteral("Dock Door 100B%"));
    EXPECT_EQ(form().state().SCZArray(2).Name, QStringLiteral("Dock Door 100B%"));
    EXPECT_TRUE(form().state().SCZArray(2).Changed);
    EXPECT_TRUE(box->isVisible()) << "the editor the click opened stays open";
    EXPECT_EQ(box->text(), form().state().SCZArray(3).Name);

    QTest::keyClick(&window(), Qt::Key_Escape);
    EXPECT_EQ(host.parent->lastCellEdited, QStringLiteral("True"));
}

TEST_P(SCZGrid, ATimeZoneIsPickedFromTheListUnderTheCell) {
    open(Warehouse);
    click(6, 2);
    QPushButton* button = window().cmdDropDown;
    ASSERT_TRUE(button->isVisible());
    using namespace controls;
    grid->setRow(6);
    grid->setCol(2);
    EXPECT_EQ(twipsWidth(button), twipsHeight(button)) << "square";
    EXPECT_EQ(twipsTop(button), twipsTop(grid) + twipsTop(window().SSTab1) + grid->cellTop());
    EXPECT_EQ(twipsLeft(button) + twipsWidth(button), twipsLeft(grid) + twipsLeft(window().SSTab1) + grid->cellLeft() + grid->cellWidth());
    QTest::mouseClick(button, Qt::LeftButton);
    controls::ListBox* list = window().lstTimeZones;
    ASSERT_TRUE(list->isVisible());
    EXPECT_EQ(twipsTop(list), twipsTop(button) + twipsHeight(button));
    EXPECT_EQ(twipsHeight(list), 4 * grid->cellHeight());
    ASSERT_GE(list->listCount(), 3);
    EXPECT_EQ(list->itemDataAt(0), -1);

    const int pick = 2;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(pick)).center());
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(grid->textMatrix(6, 2), list->entryText(pick));
    EXPECT_EQ(form().state().SCZArray(5).TimeZoneId, list->itemDataAt(pick));
    EXPECT_TRUE(form().state().SCZArray(5).Changed);
    EXPECT_TRUE(button->isVisible()) << "the button stays until the edit ends";
    grid->setRow(7);  // leaving the cell ends the edit
    EXPECT_FALSE(button->isVisible());
}

TEST_P(SCZGrid, ANewTimeZoneFromTheListJoinsBothListsAndTheZone) {
    open(Warehouse);
    click(6, 2);
    QTest::mouseClick(window().cmdDropDown, Qt::LeftButton);
    controls::ListBox* list = window().lstTimeZones;
    const int before = list->listCount();
    const int comboBefore = window().cmbMCZTimeZone->listCount();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    EXPECT_FALSE(window().isEnabled()) << "the time zone editor is in front";
    auto* tz = qobject_cast<czhost::TimeZoneComponent*>(form().state().m_TimeZoneObject.get());
    ASSERT_NE(tz, nullptr);
    ASSERT_NE(tz->editor(), nullptr);
    EXPECT_EQ(tz->editor()->windowHandle()->transientParent(), window().windowHandle());
    EXPECT_TRUE(tz->editor()->isEnabled()) << "owned by the dialog, not its child: usable while the dialog is disabled";
    tz->editor()->findChild<QLineEdit*>(QStringLiteral("txtName"))->setText(QStringLiteral("Night, Weekend"));
    QTest::mouseClick(tz->editor()->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);

    EXPECT_TRUE(window().isEnabled());
    ASSERT_EQ(list->listCount(), before + 1);
    EXPECT_EQ(list->entryText(before), QStringLiteral("Night, Weekend"));
    EXPECT_EQ(window().cmbMCZTimeZone->listCount(), comboBefore + 1);
    const qint32 id = list->itemDataAt(before);
    EXPECT_EQ(window().cmbMCZTimeZone->itemDataAt(comboBefore), id);
    EXPECT_EQ(form().state().SCZArray(5).TimeZoneId, id);
    EXPECT_EQ(grid->textMatrix(6, 2), QStringLiteral("Night, Weekend"));
    EXPECT_FALSE(list->isVisible());

    // A cancelled request changes nothing and gives the dialog back.
    click(7, 2);
    QTest::mouseClick(window().cmdDropDown, Qt::LeftButton);
    const qint32 zoneBefore = form().state().SCZArray(6).TimeZoneId;
    const bool changedBefore = form().state().SCZArray(6).Changed;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    QTest::mouseClick(tz->editor()->findChild<QPushButton*>(QStringLiteral("cmdCancel")), Qt::LeftButton);
    EXPECT_TRUE(window().isEnabled());
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(form().state().SCZArray(6).TimeZoneId, zoneBefore);
    EXPECT_EQ(form().state().SCZArray(6).Changed, changedBefore);
    EXPECT_EQ(list->listCount(), before + 1);
}

TEST_P(SCZGrid, FaultsInTheGridAreReportedByTheirOwnConvention) {
    open(Warehouse);
    // A row beyond the table: the toggle shows the error box and changes nothing.
    grid->setRows(200);
    grid->ensureCellVisible(195, 5);
    click(195, 5);
    ASSERT_EQ(boxes.boxes.size(), 1);
    EXPECT_TRUE(boxes.boxes[0].text.contains(QStringLiteral("Function Name: frmMain.UpdateSCZArrayToggles")));
    EXPECT_TRUE(boxes.boxes[0].text.contains(QStringLiteral("Number: 9")));

    // The set-up logs its faults and goes on with the next step.
    FlexGrid small;
    small.setRows(50);
    bool initializing = false;
    cz::InitializeSCZGrid(form(), &small, 4, initializing);
    EXPECT_FALSE(initializing);
    ASSERT_FALSE(host.journal->errors.isEmpty());
    EXPECT_EQ(host.journal->errors[0].location, QStringLiteral("InitializeSCZGrid"));
    EXPECT_EQ(small.cols(), 77) << "the steps before and after the failures ran";
    EXPECT_EQ(small.textMatrix(0, 76), QStringLiteral("R1156"));
}

TAMRIK_ON_ONE_ENGINE(SCZGrid);

}  // namespace
