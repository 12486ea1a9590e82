// The master zone tab: the property panel and the actions grid, driven with
// the mouse and keyboard on the real dialog.
#include "tests/dialog/DialogFixture.h"

#include <QClipboard>
#include <QGuiApplication>

using namespace dialogtest;
using hostdb::demo::Warehouse;

namespace {

class MCZPanel : public DialogTest {
protected:
    void openMaster() { open(Warehouse), window().SSTab1->setTab(1); }
    cz::MCZRecord& zone(int m) { return form().state().MCZArray(m); }
    QString zoneName(int n) { return form().state().SCZArray(n).Name; }
};

TEST_P(MCZPanel, TheGlobalIdTakesDigitsFromTheKeyboardAndClampsWhatIsPasted) {
    openMaster();
    cz::FrmMainWindow& w = window();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::mouseClick(w.cmbGlobalId, Qt::LeftButton, {}, QPoint(5, 5));
    key(Qt::Key_A, Qt::ControlModifier), key(Qt::Key_Backspace);
    EXPECT_TRUE(w.cmbGlobalId->currentText().isEmpty() && zone(192).GlobalId == 0) << "an empty global id is 0";
    type("7a-");
    EXPECT_EQ(w.cmbGlobalId->currentText(), QStringLiteral("7")) << "only digits are typed";
    type("1"), key(Qt::Key_Left), key(Qt::Key_Delete);
    EXPECT_EQ(w.cmbGlobalId->currentText(), QStringLiteral("7")) << "arrows and Delete still edit";
    type("3x00");
    EXPECT_TRUE(w.cmbGlobalId->currentText() == QLatin1String("255") && zone(192).GlobalId == 255) << "letters are refused, 7300 becomes 255";
    for (const auto& [pasted, expected] : {std::pair{"99999999999", 255}, {"123456789012345678901234567890", 255}, {"42x", 42}}) {
        key(Qt::Key_A, Qt::ControlModifier);
        QGuiApplication::clipboard()->setText(QLatin1String(pasted));
        key(Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(zone(192).GlobalId, expected) << pasted;
    }
    EXPECT_TRUE(boxes.boxes.isEmpty()) << boxes.boxes.value(0).text.toStdString();
    key(Qt::Key_Escape);
    EXPECT_FALSE(form().isLoaded()) << "Escape still closes the dialog";
}

TEST_P(MCZPanel, AnActionTakesTheZonePickedUnderItsCellACancelledNewTimeZoneNothingAndANewDoorGroupJoinsItsList) {
    openMaster();
    cz::FrmMainWindow& w = window();
    controls::FlexGrid* grid = w.grdMCZ;
    clickCell(grid, 3, 1);
    ASSERT_TRUE(w.cmdDropDown->isVisible());
    EXPECT_EQ(placed(w.cmdDropDown).top(), placed(grid, 3, 1).top());
    EXPECT_EQ(w.cmdDropDown->width(), w.cmdDropDown->height()) << "square";
    QTest::mouseClick(w.cmdDropDown, Qt::LeftButton);
    controls::ListBox* list = w.lstStdControlZones;
    ASSERT_TRUE(list->isVisible());
    expectListUnderCell(list, grid, 3, 1);

    pickEntry(list, 17);
    const qint32 number = list->itemDataAt(17);
    EXPECT_TRUE(zone(192).Actions[2] == number && zone(192).Changed);
    EXPECT_EQ(grid->textMatrix(3, 1), zoneName(number));
    for (int k = 1; k <= 8; ++k)
        EXPECT_EQ(grid->textMatrix(3, k + 1), form().state().SCZArray(number).Relay[k] ? QStringLiteral("X") : QString()) << k;
    EXPECT_TRUE(!list->isVisible() && w.cmdDropDown->isVisible()) << "the button stays until the edit ends";
    clickCell(grid, 5, 4);
    EXPECT_FALSE(w.cmdDropDown->isVisible()) << "relay cells take no drop-down";

    // A cancelled new time zone puts the combo back; a new door group joins its list.
    controls::ComboBox* tz = w.cmbMCZTimeZone;
    tz->setListIndex(3);  // a normal pick, remembered
    const qint32 chosen = zone(192).TimeZoneId;
    tz->setListIndex(0);  // the new-time-zone entry
    EXPECT_FALSE(w.isEnabled());
    auto* component = qobject_cast<czhost::TimeZoneComponent*>(form().state().m_TimeZoneObject.get());
    ASSERT_NE(component->editor(), nullptr);
    QTest::mouseClick(component->editor()->findChild<QPushButton*>(QStringLiteral("cmdCancel")), Qt::LeftButton);
    EXPECT_TRUE(w.isEnabled() && tz->listIndex() == 3 && zone(192).TimeZoneId == chosen);

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
    EXPECT_TRUE(groups->listIndex() == before && zone(192).DoorGroupID == groups->itemDataAt(before));
    groups->setListIndex(0);  // a new door group closed unsaved puts the combo back
    doorGroups->editor()->close();
    EXPECT_TRUE(w.isEnabled() && groups->listIndex() == before && groups->listCount() == before + 1);
}

// A rename reaches the zone list, not the linked zone combo; the name check
// at OK (its rules: the save suite) shows a box, keeps the dialog open and saves nothing.
TEST_P(MCZPanel, RenamesReachTheZoneListAndATakenNameStopsOK) {
    open(Warehouse);
    cz::FrmMainWindow& w = window();
    const QString other = zoneName(9), loaded = w.cmbLinkedZone->itemText(2);
    clickCell(w.grdSCZ, 3, 1);
    w.txtText->setText(other);
    clickCell(w.grdSCZ, 4, 5);  // ends the edit
    w.SSTab1->setTab(1);
    EXPECT_EQ(w.lstStdControlZones->entryText(2), QStringLiteral("CZ2-") + other);
    EXPECT_EQ(w.cmbLinkedZone->itemText(2), loaded);
    press(w.cmdOK);
    EXPECT_TRUE(form().isLoaded());
    ASSERT_EQ(boxes.boxes.size(), 1);
    EXPECT_TRUE(boxes.boxes[0].text.contains(other)) << boxes.boxes[0].text.toStdString();
    EXPECT_EQ(host.journal->count(QStringLiteral("BeginTran")), 0);
}

// An empty time zone catalogue ends the panel's lists with their error box;
// an action beyond the standard zones is reported once and the rows after it drawn.
TEST_P(MCZPanel, ABrokenListOrActionShowsItsErrorBoxAndThePanelGoesOn) {
    db().runScript(QStringLiteral("update sys_procedures set sql_text = 'select name, generictimezoneid from generictimezones where 1 = 0' "
                                  "where name = 'sp_fetchallgenerictimezonenames';"
                                  "update controllermastercontrolzones set unlock = 200 where controllerid = %1 and mastercontrolzoneindex = 193")
                       .arg(Warehouse));
    openMaster();
    EXPECT_EQ(window().cmbMCZTimeZone->listCount(), 1) << "only the new-time-zone entry";
    EXPECT_EQ(window().cmbThreatLevel->listCount(), 0) << "the lists after the failing one are not filled";
    cz::SelectComboByItemData(window().cmbMCZIndex, 193);
    EXPECT_EQ(boxes.shown(), (QStringList{"frmMain.InitMCZCombos 5", "frmMain.UpdateMCZSCZDefinition 9"}));
    EXPECT_EQ(window().grdMCZ->textMatrix(6, 1), zoneName(zone(193).Actions[5])) << "the row after it is drawn";
}

TAMRIK_ON_ONE_ENGINE(MCZPanel);

}  // namespace
