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
    // The rows of Warehouse in a table that meet a condition, joined by ';'.
    QString stored(const QString& columns, const QString& table, const QString& condition) {
        return db().rows(QStringLiteral("select %1 from %2 where controllerid = %3 and %4").arg(columns, table).arg(Warehouse).arg(condition))
            .join(QLatin1Char(';'));
    }
    QString standard(int zone, const QString& column) {
        return stored(column, QStringLiteral("controllerstdcontrolzones"), QStringLiteral("controlzoneindex = %1").arg(zone));
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
    press(window().cmdOK);
    ASSERT_FALSE(form().isLoaded());
    EXPECT_EQ(host.parent->lastCloseReason, QStringLiteral("OK"));
    EXPECT_EQ(host.parent->lastCellEdited, QStringLiteral("True"));

    EXPECT_EQ(standard(2, QStringLiteral("name")), QStringLiteral("Goods In Gate")) << "the comma never reaches a name";
    EXPECT_EQ(standard(2, QStringLiteral("ry3")).toInt(), relay3 ? 0 : 1);
    EXPECT_EQ(standard(4, QStringLiteral("tag")).toInt(), tag ? 0 : 1);
    const QString given = stored(QStringLiteral("slot"), QStringLiteral("controllertimezoneslots"), QStringLiteral("generictimezoneid = %1").arg(pickedId));
    ASSERT_FALSE(given.isEmpty()) << "the picked time zone has a controller slot";
    EXPECT_TRUE(given.split(QLatin1Char(';')).contains(standard(6, QStringLiteral("tz_pred"))));
    EXPECT_EQ(stored(QStringLiteral("name, description, securitylevel, alert"), QStringLiteral("controllermastercontrolzones"),
                     QStringLiteral("mastercontrolzoneindex = 192")),
              QStringLiteral("Evacuate All Now|North, South|%1|%2").arg(level).arg(alert ? 1 : 0));
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
