// Several opens in one process, of different controllers: each open must show
// exactly what the database holds, and closing without an edit must write
// nothing, however the previous open ended.
#include "tests/dialog/DialogFixture.h"

#include <QCheckBox>
#include <algorithm>

using namespace dialogtest;
using hostdb::demo::MainEntrance;
using hostdb::demo::Warehouse;

namespace {

using testsupport::fieldsOf;

class CleanOpen : public DialogTest {
protected:
    // Checks the dialog's tables against a first load of the controller in a fresh process.
    void expectTablesAsStored(int controller) {
        ASSERT_TRUE(form().isLoaded());
        ASSERT_EQ(form().m_ControllerId, controller);
        testsupport::RecordingHost quiet;
        const cz::HostContext ctx{{}, automation::ObjectRef::borrowed(conn.get()), automation::ObjectRef::borrowed(quiet.comm.get()), controller};
        automation::ObjectRef noTimeZoneObject;
        cz::TimeZones tz(ctx, noTimeZoneObject);
        tz.LoadTimeZoneInformation(controller);
        auto scz = std::make_unique<cz::SCZTable>();
        auto mcz = std::make_unique<cz::MCZTable>();
        cz::LoadSCZArray(ctx, tz, *scz);
        cz::LoadMCZArray(ctx, tz, *mcz);
        const cz::LoadState& s = form().state();
        for (int n = 0; n < cz::SCZTable::Count; ++n) EXPECT_TRUE(fieldsOf(s.SCZArray(n)) == fieldsOf((*scz)(n))) << "SCZ " << n;
        for (int m = cz::MCZTable::First; m <= cz::MCZTable::Last; ++m)
            EXPECT_TRUE(fieldsOf(s.MCZArray(m)) == fieldsOf((*mcz)(m))) << "MCZ " << m;
        EXPECT_EQ(s.CurrentMCZ, 192);
    }
    // Every zone row of a controller, as text.
    QStringList rowsOf(int controller) {
        const QString select = QStringLiteral("select %1 from controller%2controlzones where controllerid = %3 order by 2");
        return db().rows(select.arg(testsupport::quoted(testsupport::standardZoneColumns()).join(QLatin1Char(',')), QStringLiteral("std")).arg(controller)) +
               db().rows(select.arg(testsupport::quoted(testsupport::masterZoneColumns()).join(QLatin1Char(',')), QStringLiteral("master")).arg(controller));
    }
};

// Widgets, windows and the keyboard are the dialog's own business: one engine is enough.
class ManyOpens : public CleanOpen {};

TEST_P(CleanOpen, EveryOpenShowsTheDatabaseAndAnOKWithoutEditsWritesNothing) {
    // Warehouse's first master zone far from every default; Main Entrance
    // lacks zone rows and holds a NULL where Warehouse holds a 1.
    db().runScript(QStringLiteral("update controllermastercontrolzones set securitylevel = 7, globid = 17, globout = 1, tag = 1 "
                                  "where controllerid = 5 and mastercontrolzoneindex = 192;"
                                  "update controllerstdcontrolzones set ry1 = 1 where controllerid = 5 and controlzoneindex = 9;"
                                  "update controllerstdcontrolzones set ry1 = null where controllerid = 4 and controlzoneindex = 9;"
                                  "delete from controllerstdcontrolzones where controllerid = 4 and controlzoneindex = 7;"
                                  "delete from controllermastercontrolzones where controllerid = 4 and mastercontrolzoneindex in (192, 200)"));
    const QStringList warehouse = rowsOf(Warehouse), entrance = rowsOf(MainEntrance);

    raise(Warehouse);
    expectTablesAsStored(Warehouse);
    // The panel shows the stored values of master zone 192, not the combos' first entries.
    window().SSTab1->setTab(1);
    EXPECT_EQ(window().cmbGlobalId->currentText(), QStringLiteral("17"));
    EXPECT_EQ(window().cmbThreatLevel->itemDataAt(window().cmbThreatLevel->listIndex()), 7);
    EXPECT_TRUE(window().chkGlobal->isChecked());
    // Picking another number shows that zone, and marks it: the panel's handlers store what they show.
    const cz::MCZRecord& other = form().state().MCZArray(200);
    cz::SelectComboByItemData(window().cmbMCZIndex, 200);
    EXPECT_EQ(window().txtMCZName->text() + window().txtMCZDescription->text(), other.Name + other.Description);
    for (int row = 1; row <= 21; ++row) EXPECT_EQ(window().grdMCZ->textMatrix(row, 1), form().state().SCZArray(other.Actions[row - 1]).Name) << row;
    EXPECT_TRUE(other.Changed);
    EXPECT_FALSE(form().state().MCZArray(192).Changed) << "nothing loaded counts as changed";
    cancel();

    raise(MainEntrance);
    expectTablesAsStored(MainEntrance);  // zones without rows zeroed, the NULL not the previous controller's 1
    ok();
    EXPECT_EQ(host.journal->count(QStringLiteral("BeginTran")), 2);

    raise(Warehouse);
    expectTablesAsStored(Warehouse);
    ok();
    EXPECT_EQ(rowsOf(Warehouse), warehouse);
    EXPECT_EQ(rowsOf(MainEntrance), entrance);
}

TEST_P(CleanOpen, StoredTextLongerThanTheTypingLimitIsShownAndKeptWhole) {
    const QString forty = QStringLiteral("Forty characters of a stored zone name.").leftJustified(40, QLatin1Char('!'));
    const QString long200 = QStringLiteral("0123456789").repeated(20);
    for (const auto& [zone, text] : {std::pair{5, "name = '%1'"}, {6, "name = '%2'"}, {193, "name = '%1', description = '%2'"}, {194, "name = '%2', description = '%1'"}})
        store(zone, QString::fromLatin1(text).replace(QStringLiteral("%1"), forty).replace(QStringLiteral("%2"), long200));
    const QStringList stored = rowsOf(Warehouse);

    raise(Warehouse);
    controls::FlexGrid* grid = window().grdSCZ;
    QLineEdit* box = window().txtText;
    for (int row : {7, 6}) {
        clickCell(grid, row, 1);  // into the name editor
        EXPECT_EQ(box->text(), row == 6 ? forty : long200);
        clickCell(grid, row, 0);  // and out again
    }
    // Typing into the long name: nothing that makes it longer, shortening always.
    clickCell(grid, 6, 1);
    box->setCursorPosition(40);
    QTest::keyClicks(box, QStringLiteral("x"));
    EXPECT_EQ(box->text(), forty) << "an insertion that leaves it longer than before is refused";
    box->setSelection(37, 3);
    QTest::keyClicks(box, QStringLiteral("y"));
    EXPECT_EQ(box->text(), forty.left(37) + QStringLiteral("y")) << "replacing a selection by less is taken";
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("Short") + QString(40, QLatin1Char('z')));
    EXPECT_EQ(box->text(), QStringLiteral("Short").leftJustified(32, QLatin1Char('z'))) << "new typing stops at the limit";
    box->setText(forty);
    clickCell(grid, 6, 0);

    window().SSTab1->setTab(1);
    for (int zone : {193, 194}) {
        cz::SelectComboByItemData(window().cmbMCZIndex, zone);
        EXPECT_EQ(window().txtMCZName->text().size(), zone == 193 ? 40 : 200);
        EXPECT_EQ(window().txtMCZDescription->cursorPosition(), 0) << "a stored text is shown from its start";
        QTest::mouseClick(window().txtMCZName, Qt::LeftButton);
        QTest::mouseClick(window().txtMCZDescription, Qt::LeftButton);
    }
    ok();
    EXPECT_EQ(rowsOf(Warehouse), stored) << "nothing was cut short";
}

// Each of the first opens, in a window built ahead, highlights a clicked row
// and keeps the keyboard on the grid; two hundred opens leave no widget behind.
TEST_P(ManyOpens, AClickedRowIsHighlightedOnEveryOpenTheGridKeepsTheKeyboardAndNothingIsLeft) {
    auto live = [] { return QApplication::allWidgets().size() + QApplication::topLevelWidgets().size(); };
    qsizetype after10 = 0;
    for (int open = 1; open <= 200; ++open) {
        raise(open % 2 ? Warehouse : MainEntrance);
        ASSERT_TRUE(form().isLoaded()) << "open " << open;
        if (open <= 3) {
            ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
            controls::FlexGrid* grid = window().grdSCZ;
            const QPoint name = grid->cellRect(5, 1).topLeft() + QPoint(2, 2);
            auto colourAt = [&] { return grid->viewport()->grab().toImage().pixelColor(name); };
            ASSERT_NE(colourAt(), grid->backColorSel());
            clickCell(grid, 5, 3);
            EXPECT_EQ(colourAt(), grid->backColorSel()) << "open " << open;
            EXPECT_EQ(QApplication::focusWidget(), grid) << "open " << open;
            // Keys go where a keyboard sends them: to the window's focus.
            for (Qt::Key k : {Qt::Key_Space, Qt::Key_Right, Qt::Key_Down, Qt::Key_Space}) key(k);
            ASSERT_TRUE(form().isLoaded()) << "open " << open;
            EXPECT_EQ(QApplication::focusWidget(), grid) << "open " << open;
        }
        cancel();
        if (open == 3) {
            // The next open shows a window built while the host was idle, never
            // this one again; a library about to go takes it along.
            auto hidden = [] {
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                const QWidgetList tops = QApplication::topLevelWidgets();
                return std::count_if(tops.begin(), tops.end(), [](QWidget* w) { return w->objectName() == QLatin1String("frmMain") && !w->isVisible(); });
            };
            EXPECT_EQ(hidden(), 1);
            cz::FrmMain::ReleaseIdleWindow();
            EXPECT_EQ(hidden(), 0);
        }
        if (open == 10) after10 = live();
    }
    EXPECT_EQ(live(), after10);
    EXPECT_EQ(host.journal->count(QStringLiteral("CZCallback(CANCEL,False)")), 200);
    EXPECT_EQ(host.journal->count(QStringLiteral("BeginTran")), 0) << "nothing was saved";
}

TAMRIK_ON_BOTH_ENGINES(CleanOpen);
TAMRIK_ON_ONE_ENGINE(ManyOpens);

}  // namespace
