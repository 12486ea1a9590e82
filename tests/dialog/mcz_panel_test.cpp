// The master zone tab: the property panel and the actions grid, driven with
// the mouse and keyboard on the real dialog.
#include "tests/dialog/DialogFixture.h"

#include "diagnostics/ListSelection.h"
#include "platform/controls/TabControl.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QSplitter>

using namespace dialogtest;
using hostdb::demo::Warehouse;

namespace {

class MCZPanel : public DialogTest {
protected:
    void openMaster() {
        open(Warehouse);
        window().SSTab1->setTab(1);
    }
    cz::MCZRecord& zone(int m) { return form().state().MCZArray(m); }
};

TEST_P(MCZPanel, TheFirstZoneIsShownAndPickingANumberShowsAnother) {
    openMaster();
    cz::FrmMainWindow& w = window();
    EXPECT_EQ(form().state().CurrentMCZ, 192);
    EXPECT_TRUE(w.SSSplitter1->isVisible());
    EXPECT_EQ(w.txtMCZName->text(), zone(192).Name);
    EXPECT_EQ(w.grdMCZ->textMatrix(1, 1), form().state().SCZArray(zone(192).Actions[0]).Name);
    EXPECT_FALSE(zone(192).Changed) << "nothing loaded counts as changed";

    cz::SelectComboByItemData(w.cmbMCZIndex, 200);
    EXPECT_EQ(form().state().CurrentMCZ, 200);
    EXPECT_EQ(w.txtMCZName->text(), zone(200).Name);
    EXPECT_EQ(w.txtMCZDescription->text(), zone(200).Description);
    EXPECT_EQ(w.chkTagAlert[0]->isChecked(), zone(200).Tag);
    EXPECT_EQ(w.cmbMCZTimeZone->itemDataAt(w.cmbMCZTimeZone->listIndex()), zone(200).TimeZoneId);
    for (int row = 1; row <= 21; ++row) EXPECT_EQ(w.grdMCZ->textMatrix(row, 1), form().state().SCZArray(zone(200).Actions[row - 1]).Name) << row;
    EXPECT_TRUE(zone(200).Changed) << "showing a zone runs the panel's handlers, which store and mark it";
    EXPECT_FALSE(zone(192).Changed);
}

TEST_P(MCZPanel, EditsInThePanelGoIntoTheShownZone) {
    openMaster();
    cz::FrmMainWindow& w = window();
    w.txtMCZName->selectAll();
    QTest::keyClicks(w.txtMCZName, QStringLiteral("Fire, Alarm 50%"));
    EXPECT_EQ(w.txtMCZName->text(), QStringLiteral("Fire Alarm 50"));
    w.txtMCZName->insert(QStringLiteral(", East"));  // pasted
    EXPECT_EQ(zone(192).Name, QStringLiteral("Fire Alarm 50 East"));
    EXPECT_TRUE(zone(192).Changed);
    w.txtMCZDescription->setText(QStringLiteral("North, South"));
    EXPECT_EQ(zone(192).Description, QStringLiteral("North, South")) << "commas are allowed in descriptions";

    const bool alert = zone(192).Alert;
    QTest::mouseClick(w.chkTagAlert[1], Qt::LeftButton);
    EXPECT_EQ(zone(192).Alert, !alert);
    w.cmbThreatLevel->setListIndex(w.cmbThreatLevel->listCount() - 1);
    EXPECT_EQ(zone(192).SecurityLevel, w.cmbThreatLevel->itemDataAt(w.cmbThreatLevel->listCount() - 1));
}

TEST_P(MCZPanel, TheGlobalIdTakesDigitsFromTheKeyboardAndClampsWhatIsPasted) {
    openMaster();
    cz::FrmMainWindow& w = window();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::mouseClick(w.cmbGlobalId, Qt::LeftButton, {}, QPoint(5, 5));
    // Keys go where a keyboard sends them: to the window's focus.
    auto type = [&](const QString& keys) {
        for (QChar c : keys) QTest::keyClick(w.windowHandle(), c.toLatin1());
    };
    auto key = [&](Qt::Key k, Qt::KeyboardModifiers m = {}) { QTest::keyClick(w.windowHandle(), k, m); };
    key(Qt::Key_A, Qt::ControlModifier);
    key(Qt::Key_Backspace);
    EXPECT_EQ(w.cmbGlobalId->currentText(), QString());
    EXPECT_EQ(zone(192).GlobalId, 0) << "an empty global id is 0";
    type(QStringLiteral("7a-"));
    EXPECT_EQ(w.cmbGlobalId->currentText(), QStringLiteral("7")) << "only digits are typed";
    type(QStringLiteral("1"));
    key(Qt::Key_Left);
    key(Qt::Key_Delete);
    EXPECT_EQ(w.cmbGlobalId->currentText(), QStringLiteral("7")) << "arrows and Delete still edit";
    type(QStringLiteral("3x00"));
    EXPECT_EQ(w.cmbGlobalId->currentText(), QStringLiteral("255")) << "letters are refused, 7300 becomes 255";
    EXPECT_EQ(zone(192).GlobalId, 255);

    for (const QString& pasted : {QStringLiteral("99999999999"), QStringLiteral("123456789012345678901234567890"), QStringLiteral("42x")}) {
        key(Qt::Key_A, Qt::ControlModifier);
        QGuiApplication::clipboard()->setText(pasted);
        key(Qt::Key_V, Qt::ControlModifier);
        const int expected = pasted == QStringLiteral("42x") ? 42 : 255;
        EXPECT_EQ(zone(192).GlobalId, expected) << pasted.toStdString();
    }
    EXPECT_TRUE(boxes.boxes.isEmpty()) << boxes.boxes.value(0).text.toStdString();
    key(Qt::Key_Escape);
    EXPECT_FALSE(form().isLoaded()) << "Escape still closes the dialog";
}

TEST_P(MCZPanel, AnActionTakesTheStandardZonePickedUnderItsCell) {
    openMaster();
    cz::FrmMainWindow& w = window();
    controls::FlexGrid* grid = w.grdMCZ;
    clickCell(grid, 3, 1);
    ASSERT_TRUE(w.cmdDropDown->isVisible());
    EXPECT_EQ(form().state().Edit.EditMode, cz::InCellEditor::ZoneList);
    EXPECT_EQ(placed(w.cmdDropDown).top(), placed(grid, 3, 1).top());
    EXPECT_EQ(w.cmdDropDown->width(), w.cmdDropDown->height()) << "square";
    QTest::mouseClick(w.cmdDropDown, Qt::LeftButton);
    controls::ListBox* list = w.lstStdControlZones;
    ASSERT_TRUE(list->isVisible());
    expectListUnderCell(list, grid, 3, 1);

    pickEntry(list, 17);
    const qint32 number = list->itemDataAt(17);
    EXPECT_EQ(zone(192).Actions[2], number);
    EXPECT_TRUE(zone(192).Changed);
    EXPECT_EQ(grid->textMatrix(3, 1), form().state().SCZArray(number).Name);
    for (int k = 1; k <= 8; ++k)
        EXPECT_EQ(grid->textMatrix(3, k + 1), form().state().SCZArray(number).Relay[k] ? QStringLiteral("X") : QString()) << k;
    EXPECT_FALSE(list->isVisible());
    EXPECT_TRUE(w.cmdDropDown->isVisible()) << "until the edit ends";

    // Relay cells and the action names take no drop-down.
    clickCell(grid, 5, 4);
    EXPECT_FALSE(w.cmdDropDown->isVisible());
}

TEST_P(MCZPanel, ACancelledNewTimeZonePutsTheComboBackAndANewDoorGroupJoinsItsList) {
    openMaster();
    cz::FrmMainWindow& w = window();
    controls::ComboBox* tz = w.cmbMCZTimeZone;
    tz->setListIndex(3);  // a normal pick, remembered
    const qint32 chosen = zone(192).TimeZoneId;
    tz->setListIndex(0);  // the new-time-zone entry
    EXPECT_FALSE(w.isEnabled());
    auto* component = qobject_cast<czhost::TimeZoneComponent*>(form().state().m_TimeZoneObject.get());
    ASSERT_NE(component->editor(), nullptr);
    QTest::mouseClick(component->editor()->findChild<QPushButton*>(QStringLiteral("cmdCancel")), Qt::LeftButton);
    EXPECT_TRUE(w.isEnabled());
    EXPECT_EQ(tz->listIndex(), 3);
    EXPECT_EQ(zone(192).TimeZoneId, chosen);

    controls::ComboBox* groups = w.cmbLinkedAccessZone;
    const int before = groups->listCount();
    groups->setListIndex(0);
    auto* doorGroups = qobject_cast<czhost::DoorGroupComponent*>(form().state().m_DoorGroupObject.get());
    ASSERT_NE(doorGroups->editor(), nullptr);
    doorGroups->editor()->findChild<QLineEdit*>(QStringLiteral("txtName"))->setText(QStringLiteral("Night Patrol"));
    QTest::mouseClick(doorGroups->editor()->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    EXPECT_TRUE(w.isEnabled());
    ASSERT_EQ(groups->listCount(), before + 1);
    EXPECT_EQ(groups->itemText(before), QStringLiteral("Night Patrol"));
    EXPECT_EQ(groups->listIndex(), before);
    EXPECT_EQ(zone(192).DoorGroupID, groups->itemDataAt(before));
}

// A rename reaches the zone list, not the linked zone combo; the name check
// at OK shows a box, keeps the dialog open and saves nothing.
TEST_P(MCZPanel, RenamesReachTheZoneListAndAMissingOrTakenNameStopsOK) {
    open(Warehouse);
    cz::FrmMainWindow& w = window();
    const QString other = form().state().SCZArray(9).Name, loaded = w.cmbLinkedZone->itemText(2);
    clickCell(w.grdSCZ, 3, 1);
    w.txtText->setText(other);
    clickCell(w.grdSCZ, 4, 5);  // ends the edit
    w.SSTab1->setTab(1);
    EXPECT_EQ(w.lstStdControlZones->entryText(2), QStringLiteral("CZ2-") + other);
    EXPECT_EQ(w.cmbLinkedZone->itemText(2), loaded);
    QTest::mouseClick(w.cmdOK, Qt::LeftButton);
    ASSERT_EQ(boxes.boxes.size(), 1);
    EXPECT_TRUE(boxes.boxes[0].text.contains(other)) << boxes.boxes[0].text.toStdString();
    EXPECT_EQ(boxes.boxes[0].title, QStringLiteral("TamrikControlZoneObject"));
    w.SSTab1->setTab(0);
    clickCell(w.grdSCZ, 3, 1);
    w.txtText->setText(QStringLiteral("Unique"));
    w.SSTab1->setTab(1);
    w.txtMCZName->clear();
    QTest::mouseClick(w.cmdOK, Qt::LeftButton);
    EXPECT_TRUE(form().isLoaded());
    ASSERT_EQ(boxes.boxes.size(), 2);
    EXPECT_EQ(boxes.boxes[1].text, QStringLiteral("R1736|192"));
    EXPECT_EQ(host.journal->count(QStringLiteral("BeginTran")), 0);
}

TEST_P(MCZPanel, AnActionBeyondTheStandardZonesIsReportedOnceAndTheOtherRowsDrawn) {
    db().runScript(QStringLiteral("update controllermastercontrolzones set unlock = 200 where controllerid = %1 and mastercontrolzoneindex = 193")
                       .arg(Warehouse));
    openMaster();
    window().cmbMCZIndex->setListIndex(1);  // 193
    ASSERT_EQ(boxes.boxes.size(), 1);
    EXPECT_TRUE(boxes.boxes[0].text.contains(QStringLiteral("frmMain.UpdateMCZSCZDefinition")));
    EXPECT_EQ(window().grdMCZ->textMatrix(6, 1), form().state().SCZArray(zone(193).Actions[5]).Name) << "the row after it is drawn";
}

TEST_P(MCZPanel, AnEmptyTimeZoneCatalogueEndsThePanelListsWithTheirErrorBox) {
    db().runScript(QStringLiteral("update sys_procedures set sql_text = 'select name, generictimezoneid from generictimezones where 1 = 0' "
                                  "where name = 'sp_fetchallgenerictimezonenames'"));
    open(Warehouse);
    ASSERT_EQ(boxes.boxes.size(), 1);
    EXPECT_TRUE(boxes.boxes[0].text.contains(QStringLiteral("Function Name: frmMain.InitMCZCombos")));
    EXPECT_EQ(window().cmbMCZTimeZone->listCount(), 1) << "only the new-time-zone entry";
    EXPECT_EQ(window().cmbThreatLevel->listCount(), 0) << "the lists after the failing one are not filled";
}

TAMRIK_ON_ONE_ENGINE(MCZPanel);

}  // namespace
