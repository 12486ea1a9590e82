// The standard zone grid as the operator uses it: mouse and keys on the real
// dialog, offscreen, over a seeded database.
#include "tests/dialog/DialogFixture.h"

#include "standard_zones/SCZGrid.h"

#include <QAction>
#include <QMenu>

using namespace dialogtest;
using controls::FlexGrid;
using hostdb::demo::ReceptionPanel;
using hostdb::demo::Warehouse;

namespace {

class SCZGrid : public DialogTest {
protected:
    void openGrid(int controller) { open(controller), grid = window().grdSCZ; }
    void click(int r, int c, Qt::MouseButton button = Qt::LeftButton) { clickCell(grid, r, c, button); }
    cz::SCZRecord& zone(int n) { return form().state().SCZArray(n); }
    FlexGrid* grid = nullptr;
};

TEST_P(SCZGrid, AClickTogglesTheMarkAndTheRecordTogetherButNotOnZoneZeroOrFromTheMenuButton) {
    openGrid(ReceptionPanel);  // type 5: no base relays, so column 3 is expansion relay 1
    ASSERT_EQ(grid->cols(), 69);
    EXPECT_EQ(grid->textMatrix(0, 3), QStringLiteral("X1"));
    const bool before = zone(4).ExpRelay[1];
    EXPECT_EQ(grid->textMatrix(5, 3), before ? QStringLiteral("X") : QString()) << "as loaded";
    for (int i = 0; i < 2; ++i) click(5, 3);  // row 5 is zone 4
    EXPECT_TRUE(zone(4).ExpRelay[1] == before && zone(4).Changed) << "toggling back still counts as an edit";
    EXPECT_EQ(grid->textMatrix(5, 3), before ? QStringLiteral("X") : QStringLiteral(" ")) << "a cleared mark holds a blank";

    // Zone 0 (row 1) takes no edits; the menu appears only on relay cells, and its right release toggles nothing.
    const cz::SCZRecord zero = zone(0);
    const QString cell = grid->textMatrix(1, 3);
    click(1, 3), click(1, 1);
    EXPECT_EQ(grid->textMatrix(1, 3), cell);
    EXPECT_TRUE(!zone(0).Changed && zone(0).ExpRelay == zero.ExpRelay && !window().txtText->isVisible());
    QMenu* menu = window().mnuSCZPopupParent;
    for (const auto& [row, col, shown] : {std::tuple{1, 5, false}, {3, 2, false}, {3, 5, true}}) {
        const QString relay = grid->textMatrix(row, col);
        click(row, col, Qt::RightButton);
        EXPECT_EQ(menu->isVisible(), shown) << row << "," << col;
        EXPECT_EQ(grid->textMatrix(row, col), relay);
    }
    EXPECT_FALSE(zone(2).Changed);
    menu->hide();
}

TEST_P(SCZGrid, ANameIsEditedInPlaceFilteredAndWrittenBackOnLeavingTheCell) {
    openGrid(Warehouse);
    click(3, 1);
    QLineEdit* box = window().txtText;
    ASSERT_TRUE(box->isVisible());
    EXPECT_EQ(box->text(), zone(2).Name);
    EXPECT_EQ(box->selectedText(), box->text());
    // The editor covers the cell it edits, in its lower right part.
    const QRect cell = placed(grid, 3, 1), editor = placed(box);
    EXPECT_TRUE(cell.adjusted(-1, -1, 1, 1).contains(editor)) << "cell " << cell.x() << "," << cell.y() << " editor " << editor.x() << "," << editor.y();
    EXPECT_TRUE(editor.width() > cell.width() / 2 && editor.height() > cell.height() / 2);

    QTest::keyClicks(box, QStringLiteral("Dock, Door 100%"));
    EXPECT_EQ(box->text(), QStringLiteral("Dock Door 100"));
    box->insert(QStringLiteral(",B,"));  // pasted
    EXPECT_EQ(box->cursorPosition(), box->text().size());
    box->insert(QStringLiteral("%"));  // a pasted "%" stays
    EXPECT_EQ(box->text(), QStringLiteral("Dock Door 100B%"));

    click(4, 1);  // the release ends the first edit, the click opens the next one
    EXPECT_EQ(grid->textMatrix(3, 1) + zone(2).Name, QStringLiteral("Dock Door 100B%").repeated(2)) << "grid and record alike";
    EXPECT_TRUE(box->isVisible()) << "the editor the click opened stays open";
    EXPECT_EQ(box->text(), zone(3).Name);
    // A right click ends the open edit after the grid handled it (it made the cell current).
    box->setText(QStringLiteral("Hooked"));
    click(4, 2, Qt::RightButton);
    EXPECT_FALSE(box->isVisible());
    EXPECT_EQ(zone(3).Name, QStringLiteral("Hooked"));
    EXPECT_EQ(grid->col(), 2);
    QTest::keyClick(&window(), Qt::Key_Escape);
    EXPECT_EQ(host.parent->lastCellEdited, QStringLiteral("True"));
}

// The list opens under the cell from a square button at its right end; its
// first entry asks the time zone component for a new one, which joins both
// lists and the zone, or, cancelled, changes nothing.
TEST_P(SCZGrid, ATimeZoneIsPickedFromTheListUnderTheCellOrMadeNew) {
    openGrid(Warehouse);
    controls::ListBox* list = window().lstTimeZones;
    QPushButton* button = window().cmdDropDown;
    auto dropDown = [&](int row) { click(row, 2), QTest::mouseClick(button, Qt::LeftButton); };
    dropDown(6);
    const QRect cell = placed(grid, 6, 2), at = placed(button);
    EXPECT_EQ(at.width(), at.height());
    EXPECT_NEAR(at.top(), cell.top(), 1);
    EXPECT_NEAR(at.right(), cell.right(), 1);
    ASSERT_TRUE(list->isVisible());
    expectListUnderCell(list, grid, 6, 2);
    const int before = list->listCount(), comboBefore = window().cmbMCZTimeZone->listCount();

    pickEntry(list, 0);
    EXPECT_FALSE(window().isEnabled()) << "the time zone editor is in front";
    auto* tz = qobject_cast<czhost::TimeZoneComponent*>(form().state().m_TimeZoneObject.get());
    ASSERT_TRUE(tz && tz->editor());
    EXPECT_EQ(tz->editor()->windowHandle()->transientParent(), window().windowHandle()) << "owned, not a child: usable while the dialog is disabled";
    tz->editor()->findChild<QLineEdit*>(QStringLiteral("txtName"))->setText(QStringLiteral("Night, Weekend"));
    QTest::mouseClick(tz->editor()->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    EXPECT_TRUE(window().isEnabled());
    ASSERT_EQ(list->listCount(), before + 1);
    EXPECT_EQ(list->entryText(before), QStringLiteral("Night, Weekend"));
    const qint32 id = list->itemDataAt(before);
    EXPECT_EQ(window().cmbMCZTimeZone->itemDataAt(comboBefore), id);
    EXPECT_EQ(zone(5).TimeZoneId, id);
    EXPECT_EQ(grid->textMatrix(6, 2), QStringLiteral("Night, Weekend"));
    EXPECT_TRUE(!list->isVisible() && button->isVisible()) << "the button stays until the edit ends";
    grid->setRow(7);  // leaving the cell ends the edit
    EXPECT_FALSE(button->isVisible());

    const cz::SCZRecord kept = zone(6);
    dropDown(7);
    pickEntry(list, 0);
    QTest::mouseClick(tz->editor()->findChild<QPushButton*>(QStringLiteral("cmdCancel")), Qt::LeftButton);
    EXPECT_TRUE(window().isEnabled() && !list->isVisible());
    EXPECT_TRUE(zone(6).TimeZoneId == kept.TimeZoneId && zone(6).Changed == kept.Changed && list->listCount() == before + 1);
}

// The pop-up menu of the standard grid and double-clicks on the actions grid
// open the property dialogs of the objects behind the cells; the dialog waits
// until the component's callback gives it back.
TEST_P(SCZGrid, RelayPropertiesFromTheMenuAndARelayCellOfAnAction) {
    openGrid(Warehouse);
    cz::FrmMainWindow& w = window();
    auto propertyDialog = []() -> QDialog* {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == QLatin1String("PropertyDialog") && top->isVisible()) return qobject_cast<QDialog*>(top);
        return nullptr;
    };
    auto expectOpenedAndClose = [&](const char* what) {
        QDialog* props = propertyDialog();
        ASSERT_NE(props, nullptr) << what;
        EXPECT_FALSE(w.isEnabled()) << what;
        props->close();
        EXPECT_TRUE(w.isEnabled()) << what;
    };
    // "Relay Properties..." over relay 3; which object each entry and action row opens is the launch suite's business.
    click(4, 5, Qt::RightButton);
    ASSERT_TRUE(w.mnuSCZPopupParent->isVisible());
    w.mnuSCZPopupChild[1]->trigger();
    w.mnuSCZPopupParent->hide();
    expectOpenedAndClose("relay 3");
    w.SSTab1->setTab(1);
    QTest::mouseDClick(w.grdMCZ->viewport(), Qt::LeftButton, {}, w.grdMCZ->cellRect(1, 3).center());
    expectOpenedAndClose("relay 2 of the trigger row");
}

TEST_P(SCZGrid, FaultsInTheGridAreReportedByTheirOwnConvention) {
    openGrid(Warehouse);
    // A row beyond the table: the toggle shows the error box and changes nothing.
    grid->setRows(200);
    grid->ensureCellVisible(195, 5);
    click(195, 5);
    EXPECT_EQ(boxes.shown(), QStringList{"frmMain.UpdateSCZArrayToggles 9"});

    // The set-up logs its faults and goes on with the next step.
    FlexGrid small;
    small.setRows(50);
    bool initializing = false;
    cz::InitializeSCZGrid(form(), &small, 4, initializing);
    EXPECT_FALSE(initializing);
    ASSERT_FALSE(host.journal->errors.isEmpty());
    EXPECT_EQ(host.journal->errors[0].location, QStringLiteral("InitializeSCZGrid"));
    EXPECT_EQ(small.cols(), 77) << "the steps before and after the failures ran";
    EXPECT_EQ((QStringList{small.textMatrix(0, 3), small.textMatrix(0, 10), small.textMatrix(0, 11), small.textMatrix(0, 76)}),
              (QStringList{"1", "8", "X1", "R1156"})) << "type 4: eight base relays before the expansion relays";
}

TAMRIK_ON_ONE_ENGINE(SCZGrid);

}  // namespace
