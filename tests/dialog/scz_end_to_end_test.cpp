// The first road from database to controller, end to end, through the host's
// real objects: edit standard zones in the grid, press OK, find the rows
// written, one download command and one event per changed zone, and the edits
// again when the dialog reopens.
#include "tests/dialog/DialogFixture.h"

#include "host/lib/HostObjects.h"
#include "platform/controls/FlexGrid.h"
#include "platform/controls/ListControls.h"
#include "platform/controls/TabControl.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace dialogtest;
using hostdb::demo::Warehouse;

namespace {

class SCZEndToEnd : public DialogTest {
protected:
    void openWithHost() {
        comm = std::make_unique<czhost::Communication>(conn.get(), QStringLiteral("admin"));
        raise(Warehouse, comm.get());
        ASSERT_TRUE(form().isLoaded());
        grid = window().grdSCZ;
    }
    void click(int r, int c) { QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(r, c).center()); }
    QVariant stored(int zone, const QString& column) {
        return db().scalar(QStringLiteral("select %1 from controllerstdcontrolzones where controllerid = %2 and controlzoneindex = %3")
                               .arg(column)
                               .arg(Warehouse)
                               .arg(zone));
    }
    qlonglong count(const QString& table, const QString& where) { return db().count(table, where); }

    std::unique_ptr<czhost::Communication> comm;
    controls::FlexGrid* grid = nullptr;
};

TEST_P(SCZEndToEnd, EditsReachTheDatabaseTheControllerQueueAndTheEventLog) {
    openWithHost();
    const int relay3 = form().state().SCZArray(2).Relay[3];
    const bool tag = form().state().SCZArray(4).Tag;
    click(3, 1);  // rename zone 2
    window().txtText->selectAll();
    QTest::keyClicks(window().txtText, QStringLiteral("Goods In, Gate"));
    click(3, 5);  // relay 3 of zone 2; the click also ends the name edit
    click(5, 75);  // TAG of zone 4
    click(7, 2);  // time zone of zone 6
    QTest::mouseClick(window().cmdDropDown, Qt::LeftButton);
    controls::ListBox* list = window().lstTimeZones;
    const int pick = list->listCount() - 1;
    list->scrollToItem(list->item(pick));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(pick)).center());
    const qint32 pickedId = list->itemDataAt(pick);
    const QString pickedName = list->entryText(pick);
    QTest::mouseClick(window().cmdOK, Qt::LeftButton);
    settle();
    ASSERT_FALSE(form().isLoaded());
    EXPECT_EQ(host.parent->lastCloseReason, QStringLiteral("OK"));
    EXPECT_EQ(host.parent->lastCellEdited, QStringLiteral("True"));

    EXPECT_EQ(stored(2, QStringLiteral("name")).toString(), QStringLiteral("Goods In Gate")) << "the comma never reaches a name";
    EXPECT_EQ(stored(2, QStringLiteral("ry3")).toInt(), relay3 ? 0 : 1);
    EXPECT_EQ(stored(4, QStringLiteral("tag")).toInt(), tag ? 0 : 1);
    const QVariant slot = db().scalar(QStringLiteral("select slot from controllertimezoneslots where controllerid = %1 and generictimezoneid = %2 order by slot")
                                          .arg(Warehouse)
                                          .arg(pickedId));
    ASSERT_TRUE(slot.isValid()) << "the picked time zone has a controller slot";
    EXPECT_EQ(stored(6, QStringLiteral("tz_pred")).toInt(), slot.toInt());

    const QString queued = QStringLiteral("controllerid = %1 and commandset = 'STD_CONTROL_ZONE'").arg(Warehouse);
    EXPECT_EQ(count(QStringLiteral("downloadqueue"), queued), 3) << "one command per changed zone";
    EXPECT_EQ(count(QStringLiteral("eventlog"), QStringLiteral("eventcode = 1092 and objectkind = 'Std Control Zone'")), 3);
    EXPECT_EQ(count(QStringLiteral("eventlog"), QStringLiteral("description = '(SCZ2) Goods In Gate'")), 1);
    EXPECT_EQ(count(QStringLiteral("controllerstdcontrolzones"), QStringLiteral("controllerid = %1 and name = 'Goods In Gate'").arg(Warehouse)), 1);

    // Reopening reads the edits back.
    openWithHost();
    EXPECT_EQ(grid->textMatrix(3, 1), QStringLiteral("Goods In Gate"));
    EXPECT_EQ(grid->textMatrix(3, 5), relay3 ? QString() : QStringLiteral("X"));
    EXPECT_EQ(grid->textMatrix(7, 2), pickedName);
    EXPECT_FALSE(form().state().SCZArray(2).Changed);
}

TEST_P(SCZEndToEnd, ADuplicateNameKeepsTheDialogOpenAndSavesNothing) {
    openWithHost();
    const QString other = form().state().SCZArray(9).Name;
    click(3, 1);
    window().txtText->setText(other);
    QTest::mouseClick(window().cmdOK, Qt::LeftButton);
    EXPECT_TRUE(form().isLoaded()) << "the dialog stays open";
    ASSERT_EQ(boxes.boxes.size(), 1);
    EXPECT_TRUE(boxes.boxes[0].text.contains(other)) << boxes.boxes[0].text.toStdString();
    EXPECT_EQ(boxes.boxes[0].title, QStringLiteral("TamrikControlZoneObject"));
    EXPECT_EQ(count(QStringLiteral("downloadqueue"), QStringLiteral("1 = 1")), 0);
    EXPECT_NE(stored(2, QStringLiteral("name")).toString(), other);
    QTest::mouseClick(window().CmdCancel, Qt::LeftButton);
}

TEST_P(SCZEndToEnd, AMasterZoneEditedInThePanelIsSavedAfterTheStandardZones) {
    openWithHost();
    window().SSTab1->setTab(1);
    window().txtMCZName->setText(QStringLiteral("Evacuate, All"));
    QTest::mouseClick(window().chkTagAlert[1], Qt::LeftButton);
    const bool alert = form().state().MCZArray(192).Alert;
    QTest::mouseClick(window().cmdOK, Qt::LeftButton);
    settle();
    ASSERT_FALSE(form().isLoaded());
    const QString row = QStringLiteral("controllerid = %1 and mastercontrolzoneindex = 192").arg(Warehouse);
    EXPECT_EQ(db().scalar(QStringLiteral("select name from controllermastercontrolzones where ") + row).toString(), QStringLiteral("Evacuate All"));
    EXPECT_EQ(db().scalar(QStringLiteral("select alert from controllermastercontrolzones where ") + row).toInt(), alert ? 1 : 0);
    EXPECT_EQ(count(QStringLiteral("downloadqueue"), QStringLiteral("commandset = 'MASTER_CONTROL_ZONE'")), 1);
    EXPECT_EQ(count(QStringLiteral("downloadqueue"), QStringLiteral("commandset = 'STD_CONTROL_ZONE'")), 0);
    EXPECT_EQ(count(QStringLiteral("eventlog"), QStringLiteral("eventcode = 1093 and description = '(MCZ192) Evacuate All'")), 1);
}

TAMRIK_ON_BOTH_ENGINES(SCZEndToEnd);

}  // namespace
