// The master zone tab: the property panel and the actions grid, driven with
// the mouse and keyboard on the real dialog.
#include "tests/dialog/DialogFixture.h"

#include "platform/controls/FlexGrid.h"
#include "platform/controls/ListControls.h"
#include "platform/controls/TabControl.h"
#include "platform/controls/Twips.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTest>

using namespace dialogtest;
using hostdb::demo::Warehouse;

namespace {

class MCZPanel : public DialogTest {
protected:
    void open() {
        raise(Warehouse);
        ASSERT_TRUE(form().isLoaded());
        window().SSTab1->setTab(1);
    }
    int positionOf(controls::ComboBox* combo, qint32 data) {
        for (int i = 0; i < combo->listCount(); ++i)
            if (combo->itemDataAt(i) == data) return i;
        return -1;
    }
    cz::MCZRecord& zone(int m) { return form().state().MCZArray(m); }
};

TEST_P(MCZPanel, TheFirstZoneIsShownAndPickingANumberShowsAnother) {
    open();
    cz::FrmMainWindow& w = window();
    EXPECT_EQ(form().state().CurrentMCZ, 192);
    EXPECT_TRUE(w.SSSplitter1->isVisible());
    EXPECT_EQ(w.txtMCZName->text(), zone(192).Name);
    EXPECT_EQ(w.grdMCZ->textMatrix(1, 1), form().state().SCZArray(zone(192).Actions[0]).Name);
    EXPECT_FALSE(zone(192).Changed) << "nothing loaded counts as changed";

    w.cmbMCZIndex->setListIndex(positionOf(w.cmbMCZIndex, 200));
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
    open();
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

    EXPECT_TRUE(zone(192).Changed);
}

TEST_P(MCZPanel, TheGlobalIdTakesDigitsFromTheKeyboardAndClampsWhatIsPasted) {
    open();
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
    open();
    cz::FrmMainWindow& w = window();
    controls::FlexGrid* grid = w.grdMCZ;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(3, 1).center());
    ASSERT_TRUE(w.cmdDropDown->isVisible());
    EXPECT_EQ(form().state().Edit.EditMode, cz::InCellEditor::ZoneList);
    EXPECT_EQ(controls::twipsWidth(w.cmdDropDown), controls::twipsHeight(w.cmdDropDown));
    QTest::mouseClick(w.cmdDropDown, Qt::LeftButton);
    controls::ListBox* list = w.lstStdControlZones;
    ASSERT_TRUE(list->isVisible());
    grid->setRow(3);
    EXPECT_NEAR(controls::twipsHeight(list), 4 * grid->cellHeight(), 7.5);

    const int pick = 17;
    list->scrollToItem(list->item(pick));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(pick)).center());
    const qint32 number = list->itemDataAt(pick);
    EXPECT_EQ(zone(192).Actions[2], number);
    EXPECT_TRUE(zone(192).Changed);
    EXPECT_EQ(grid->textMatrix(3, 1), form().state().SCZArray(number).Name);
    for (int k = 1; k <= 8; ++k)
        EXPECT_EQ(grid->textMatrix(3, k + 1), form().state().SCZArray(number).Relay[k] ? QStringLiteral("X") : QString()) << k;
    EXPECT_FALSE(list->isVisible());
    EXPECT_TRUE(w.cmdDropDown->isVisible()) << "until the edit ends";

    // Relay cells and the action names take no drop-down.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(5, 4).center());
    EXPECT_FALSE(w.cmdDropDown->isVisible());
}

TEST_P(MCZPanel, ACancelledNewTimeZonePutsTheComboBackAndANewDoorGroupJoinsItsList) {
    open();
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

TEST_P(MCZPanel, AZoneWithoutANameStopsOK) {
    open();
    window().txtMCZName->clear();
    QTest::mouseClick(window().cmdOK, Qt::LeftButton);
    EXPECT_TRUE(form().isLoaded());
    ASSERT_EQ(boxes.boxes.size(), 1);
    EXPECT_EQ(boxes.boxes[0].text, QStringLiteral("R1736|192"));
    EXPECT_EQ(host.journal->count(QStringLiteral("BeginTran")), 0);
}

TEST_P(MCZPanel, TheZoneListFollowsRenamesButTheLinkedZoneComboKeepsTheLoadedName) {
    raise(Warehouse);
    cz::FrmMainWindow& w = window();
    const QString loaded = w.cmbLinkedZone->itemText(2);
    controls::FlexGrid* grid = w.grdSCZ;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(3, 1).center());
    w.txtText->setText(QStringLiteral("Renamed Zone"));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(4, 5).center());  // ends the edit
    w.SSTab1->setTab(1);
    EXPECT_EQ(w.lstStdControlZones->entryText(2), QStringLiteral("CZ2-Renamed Zone"));
    EXPECT_EQ(w.cmbLinkedZone->itemText(2), loaded);
}

TEST_P(MCZPanel, AnActionBeyondTheStandardZonesIsReportedOnceAndTheOtherRowsDrawn) {
    db().runScript(QStringLiteral("update controllermastercontrolzones set unlock = 200 where controllerid = %1 and mastercontrolzoneindex = 193")
                       .arg(Warehouse));
    open();
    window().cmbMCZIndex->setListIndex(1);  // 193
    ASSERT_EQ(boxes.boxes.size(), 1);
    EXPECT_TRUE(boxes.boxes[0].text.contains(QStringLiteral("frmMain.UpdateMCZSCZDefinition")));
    EXPECT_EQ(window().grdMCZ->textMatrix(6, 1), form().state().SCZArray(zone(193).Actions[5]).Name) << "the row after it is drawn";
}

TEST_P(MCZPanel, AnEmptyTimeZoneCatalogueEndsThePanelListsWithTheirErrorBox) {
    db().runScript(QStringLiteral("update sys_procedures set sql_text = 'select name, generictimezoneid from generictimezones where 1 = 0' "
                                  "where name = 'sp_fetchallgenerictimezonenames'"));
    raise(Warehouse);
    ASSERT_TRUE(form().isLoaded());
    ASSERT_EQ(boxes.boxes.size(), 1);
    EXPECT_TRUE(boxes.boxes[0].text.contains(QStringLiteral("Function Name: frmMain.InitMCZCombos")));
    EXPECT_EQ(window().cmbMCZTimeZone->listCount(), 1) << "only the new-time-zone entry";
    EXPECT_EQ(window().cmbThreatLevel->listCount(), 0) << "the lists after the failing one are not filled";
}

TAMRIK_ON_ONE_ENGINE(MCZPanel);

}  // namespace
