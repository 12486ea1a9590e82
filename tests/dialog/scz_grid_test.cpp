// The standard zone grid as the operator uses it: mouse and keys on the real
// dialog, offscreen, over a seeded database.
#include "tests/dialog/DialogFixture.h"

#include "platform/controls/TabControl.h"
#include "standard_zones/SCZGrid.h"

#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QWindow>

using namespace dialogtest;
using controls::FlexGrid;
using hostdb::demo::ReceptionPanel;
using hostdb::demo::Warehouse;

namespace {

class SCZGrid : public DialogTest {
protected:
    void openGrid(int controller) {
        open(controller);
        grid = window().grdSCZ;
    }
    void click(int r, int c, Qt::MouseButton button = Qt::LeftButton) { clickCell(grid, r, c, button); }
    // Picks a list entry under the time zone cell of a row.
    void pickTimeZone(int row, int entry) {
        click(row, 2);
        QTest::mouseClick(window().cmdDropDown, Qt::LeftButton);
        pickEntry(window().lstTimeZones, entry);
    }
    FlexGrid* grid = nullptr;
};

TEST_P(SCZGrid, ColumnsFollowTheControllerTypeAndRowsShowTheZones) {
    const struct {
        int controller, cols;
        QStringList headers;  // columns 3, 10, 11 and the last two
    } layouts[] = {{Warehouse, 77, {"1", "8", "X1", "R1155", "R1156"}},  // type 4: eight base relays
                   {ReceptionPanel, 69, {"X1", "X8", "X9", "R1155", "R1156"}}};  // type 5: none
    for (const auto& l : layouts) {
        openGrid(l.controller);
        ASSERT_EQ(grid->cols(), l.cols);
        EXPECT_EQ((QStringList{grid->textMatrix(0, 3), grid->textMatrix(0, 10), grid->textMatrix(0, 11), grid->textMatrix(0, l.cols - 2),
                               grid->textMatrix(0, l.cols - 1)}),
                  l.headers);
        EXPECT_EQ(grid->colWidth(40), 400);
        EXPECT_EQ(grid->colAlignment(40), controls::align::CenterCenter);
        const cz::SCZRecord& zone = form().state().SCZArray(7);
        EXPECT_EQ(grid->textMatrix(8, 0), QString::number(zone.ControlZoneIndex));
        EXPECT_EQ(grid->textMatrix(8, 1), zone.Name);
        const int x1 = l.cols - 66;
        for (int k = 1; k <= 64; ++k) EXPECT_EQ(grid->textMatrix(8, x1 + k - 1), zone.ExpRelay[k] ? QStringLiteral("X") : QString()) << k;
        press(window().CmdCancel);
    }
}

TEST_P(SCZGrid, AClickTogglesTheMarkAndTheRecordTogetherButNotOnZoneZeroOrFromTheMenuButton) {
    openGrid(ReceptionPanel);
    cz::SCZRecord& zone = form().state().SCZArray(4);  // row 5
    const bool before = zone.ExpRelay[1];
    ASSERT_EQ(grid->textMatrix(5, 3), before ? QStringLiteral("X") : QString());
    click(5, 3);  // no base relays: column 3 is expansion relay 1
    EXPECT_EQ(zone.ExpRelay[1], !before);
    EXPECT_TRUE(zone.Changed);
    click(5, 3);
    EXPECT_EQ(zone.ExpRelay[1], before);
    EXPECT_TRUE(zone.Changed) << "toggling back still counts as an edit";
    EXPECT_EQ(grid->textMatrix(5, 3), before ? QStringLiteral("X") : QStringLiteral(" ")) << "a cleared mark holds a blank";

    // Zone 0 (row 1) takes no edits; the menu appears only on relay cells, and its right release toggles nothing.
    const cz::SCZRecord zero = form().state().SCZArray(0);
    const QString cell = grid->textMatrix(1, 3);
    click(1, 3);
    click(1, 1);
    EXPECT_EQ(grid->textMatrix(1, 3), cell);
    EXPECT_FALSE(form().state().SCZArray(0).Changed);
    EXPECT_EQ(form().state().SCZArray(0).ExpRelay, zero.ExpRelay);
    EXPECT_FALSE(window().txtText->isVisible());
    QMenu* menu = window().mnuSCZPopupParent;
    click(1, 5, Qt::RightButton);
    EXPECT_FALSE(menu->isVisible()) << "no menu on zone 0";
    click(3, 2, Qt::RightButton);
    EXPECT_FALSE(menu->isVisible()) << "no menu on the time zone column";
    const QString relay = grid->textMatrix(3, 5);
    click(3, 5, Qt::RightButton);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(grid->textMatrix(3, 5), relay);
    EXPECT_FALSE(form().state().SCZArray(2).Changed);
    menu->hide();
    const bool tag = zone.Tag;
    grid->ensureCellVisible(5, 67);
    click(5, 67);
    EXPECT_EQ(zone.Tag, !tag);
    EXPECT_FALSE(form().state().SCZArray(5).Changed) << "other zones are untouched";
}

TEST_P(SCZGrid, ANameIsEditedInPlaceFilteredAndWrittenBackOnLeavingTheCell) {
    openGrid(Warehouse);
    click(3, 1);
    QLineEdit* box = window().txtText;
    ASSERT_TRUE(box->isVisible());
    EXPECT_EQ(box->text(), form().state().SCZArray(2).Name);
    EXPECT_EQ(box->selectedText(), box->text());
    EXPECT_TRUE(form().SCZCellEdited);
    // The editor covers the cell it edits, in its lower right part.
    const QRect cell = placed(grid, 3, 1), editor = placed(box);
    EXPECT_TRUE(cell.adjusted(-1, -1, 1, 1).contains(editor)) << "cell " << cell.x() << "," << cell.y() << " editor " << editor.x() << "," << editor.y();
    EXPECT_GT(editor.width(), cell.width() / 2);
    EXPECT_GT(editor.height(), cell.height() / 2);

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
    openGrid(Warehouse);
    click(6, 2);
    QPushButton* button = window().cmdDropDown;
    ASSERT_TRUE(button->isVisible());
    // A square button in the cell's right end.
    const QRect cell = placed(grid, 6, 2), at = placed(button);
    EXPECT_EQ(at.width(), at.height());
    EXPECT_NEAR(at.top(), cell.top(), 1);
    EXPECT_NEAR(at.right(), cell.right(), 1);
    QTest::mouseClick(button, Qt::LeftButton);
    controls::ListBox* list = window().lstTimeZones;
    ASSERT_TRUE(list->isVisible());
    expectListUnderCell(list, grid, 6, 2);
    ASSERT_GE(list->listCount(), 3);
    EXPECT_EQ(list->itemDataAt(0), -1);

    pickEntry(list, 2);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(grid->textMatrix(6, 2), list->entryText(2));
    EXPECT_EQ(form().state().SCZArray(5).TimeZoneId, list->itemDataAt(2));
    EXPECT_TRUE(form().state().SCZArray(5).Changed);
    EXPECT_TRUE(button->isVisible()) << "the button stays until the edit ends";
    grid->setRow(7);  // leaving the cell ends the edit
    EXPECT_FALSE(button->isVisible());
}

TEST_P(SCZGrid, ANewTimeZoneFromTheListJoinsBothListsAndTheZone) {
    openGrid(Warehouse);
    controls::ListBox* list = window().lstTimeZones;
    const int before = list->listCount();
    const int comboBefore = window().cmbMCZTimeZone->listCount();
    pickTimeZone(6, 0);
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
    const cz::SCZRecord zone = form().state().SCZArray(6);
    pickTimeZone(7, 0);
    QTest::mouseClick(tz->editor()->findChild<QPushButton*>(QStringLiteral("cmdCancel")), Qt::LeftButton);
    EXPECT_TRUE(window().isEnabled());
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(form().state().SCZArray(6).TimeZoneId, zone.TimeZoneId);
    EXPECT_EQ(form().state().SCZArray(6).Changed, zone.Changed);
    EXPECT_EQ(list->listCount(), before + 1);
}

TEST_P(SCZGrid, FaultsInTheGridAreReportedByTheirOwnConvention) {
    openGrid(Warehouse);
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
