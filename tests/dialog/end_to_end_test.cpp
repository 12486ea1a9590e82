// The road from database to controller, end to end, through the host's real
// objects: edit zones in the grid and the panel, press OK, find the rows
// written, one download command and one event per changed zone, and the edits
// again when the dialog reopens.
#include "tests/dialog/DialogFixture.h"

#include "host/lib/HostObjects.h"
#include "platform/controls/TabControl.h"

#include <QCheckBox>
#include <QLineEdit>

using namespace dialogtest;
using hostdb::demo::Warehouse;

namespace {

class EndToEnd : public DialogTest {
protected:
    void openWithHost() {
        comm = std::make_unique<czhost::Communication>(conn.get(), QStringLiteral("admin"));
        raise(Warehouse, comm.get());
        ASSERT_TRUE(form().isLoaded());
        grid = window().grdSCZ;
    }

    std::unique_ptr<czhost::Communication> comm;
    controls::FlexGrid* grid = nullptr;
};

TEST_P(EndToEnd, EditsReachTheDatabaseTheControllerQueueAndTheEventLog) {
    openWithHost();
    const int relay3 = form().state().SCZArray(2).Relay[3];
    const bool tag = form().state().SCZArray(4).Tag;
    clickCell(grid, 3, 1);  // rename zone 2
    window().txtText->selectAll();
    QTest::keyClicks(window().txtText, QStringLiteral("Goods In, Gate"));
    clickCell(grid, 3, 5);  // relay 3 of zone 2; the click also ends the name edit
    clickCell(grid, 5, 75);  // TAG of zone 4
    clickCell(grid, 7, 2);  // time zone of zone 6
    QTest::mouseClick(window().cmdDropDown, Qt::LeftButton);
    controls::ListBox* list = window().lstTimeZones;
    const int pick = list->listCount() - 1;
    pickEntry(list, pick);
    const qint32 pickedId = list->itemDataAt(pick);
    const QString pickedName = list->entryText(pick);
    // A master zone edited in the panel is saved after the standard zones;
    // its name refuses commas and '%' typed or pasted, its description keeps them.
    window().SSTab1->setTab(1);
    window().txtMCZName->selectAll();
    QTest::keyClicks(window().txtMCZName, QStringLiteral("Evacuate, All%"));
    window().txtMCZName->insert(QStringLiteral(", Now"));  // pasted
    window().txtMCZDescription->setText(QStringLiteral("North, South"));
    window().cmbThreatLevel->setListIndex(window().cmbThreatLevel->listCount() - 1);
    const int level = window().cmbThreatLevel->itemDataAt(window().cmbThreatLevel->listCount() - 1);
    QTest::mouseClick(window().chkTagAlert[1], Qt::LeftButton);
    const bool alert = form().state().MCZArray(192).Alert;
    ok();
    ASSERT_FALSE(form().isLoaded());
    EXPECT_EQ(host.parent->lastCloseReason, QStringLiteral("OK"));
    EXPECT_EQ(host.parent->lastCellEdited, QStringLiteral("True"));

    EXPECT_EQ(stored(2, QStringLiteral("name, ry3")), QStringLiteral("Goods In Gate|%1").arg(relay3 ? 0 : 1)) << "the comma never reaches a name";
    EXPECT_EQ(stored(4, QStringLiteral("tag")).toInt(), tag ? 0 : 1);
    const QStringList given = db().rows(QStringLiteral("select slot from controllertimezoneslots where controllerid = %1 and generictimezoneid = %2").arg(Warehouse).arg(pickedId));
    EXPECT_TRUE(given.contains(stored(6, QStringLiteral("tz_pred")))) << "the picked time zone has a controller slot";
    EXPECT_EQ(stored(192, QStringLiteral("name, description, securitylevel, alert")), QStringLiteral("Evacuate All Now|North, South|%1|%2").arg(level).arg(alert ? 1 : 0));
    EXPECT_EQ(db().rows(QStringLiteral("select commandset from downloadqueue where controllerid = %1 order by downloadqueueid").arg(Warehouse)),
              (QStringList{"STD_CONTROL_ZONE", "STD_CONTROL_ZONE", "STD_CONTROL_ZONE", "MASTER_CONTROL_ZONE"}))
        << "one command per changed zone, the standard zones first";
    EXPECT_EQ(db().count(QStringLiteral("eventlog"), QStringLiteral("eventcode = 1092 and objectkind = 'Std Control Zone'")), 3);
    EXPECT_EQ(db().count(QStringLiteral("eventlog"), QStringLiteral("description = '(SCZ2) Goods In Gate'")), 1);
    EXPECT_EQ(db().count(QStringLiteral("eventlog"), QStringLiteral("eventcode = 1093 and description = '(MCZ192) Evacuate All Now'")), 1);

    // Reopening reads the edits back.
    openWithHost();
    EXPECT_EQ(grid->textMatrix(3, 1), QStringLiteral("Goods In Gate"));
    EXPECT_EQ(grid->textMatrix(3, 5), relay3 ? QString() : QStringLiteral("X"));
    EXPECT_EQ(grid->textMatrix(7, 2), pickedName);
    EXPECT_FALSE(form().state().SCZArray(2).Changed);
}

TAMRIK_ON_BOTH_ENGINES(EndToEnd);

}  // namespace
