// Opening and closing the dialog: the load sequence, the user's rights, the
// ways out and what the host hears of them; its layout and the customize mode.
#include "tests/dialog/DialogFixture.h"

#include "host/lib/Localizer.h"
#include "platform/controls/SizingFrame.h"

#include <QLabel>
#include <QSplitter>

using namespace dialogtest;
using hostdb::demo::MainEntrance;
using hostdb::demo::Warehouse;

namespace {

class DialogLifecycle : public DialogTest {
protected:
    void denyTabs(bool standard, bool master) {
        security().tabs->canView.insert(QStringLiteral("&Standard Control Zones"), !standard);
        security().tabs->canView.insert(QStringLiteral("&Master Control Zones"), !master);
    }
    czhost::Localizer* localizer() { return qobject_cast<czhost::Localizer*>(window().Localizer.get()); }
};

TEST_P(DialogLifecycle, TheLoadAsksForRightsOwnsTheHostWindowAndDisablesTheHostLastAndASecondRequestOnlyBringsItForward) {
    open(Warehouse);
    EXPECT_TRUE(window().isVisible());
    const QStringList& calls = host.journal->calls;
    const QStringList order{"ComponentType=32", "CanView", "CanSave", "SubPermissions", "GRS(1164)"};
    for (int i = 1; i < order.size(); ++i) EXPECT_LT(calls.indexOf(order[i - 1]), calls.indexOf(order[i])) << order[i].toStdString();
    EXPECT_EQ(calls.last(), QStringLiteral("Enabled=False")) << "the host is disabled at the very end";
    EXPECT_TRUE(host.journal->errors.isEmpty() && boxes.boxes.isEmpty()) << host.journal->errors.value(0).location.toStdString();

    cz::FrmMainWindow& w = window();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("R1164|Warehouse \"North\", Dock 2"));
    EXPECT_EQ(w.windowHandle()->transientParent(), hostWindow.windowHandle()) << "the host window owns the dialog";
    EXPECT_EQ(w.parent(), nullptr) << "as an owner, not as a Qt parent";
    EXPECT_EQ(w.SSTab1->tabCaption(1), QStringLiteral("&Master Control Zones")) << "the caption the tab rights name";
    // Names the localizer's stored texts are keyed by; the editors (the last six) start hidden.
    const QStringList names{"lblSCZDirections", "lblMCZDirections", "Label1_7", "chkTagAlert_1", "chkGlobal", "cmdHelp", "txtText",
                            "cmdDropDown", "lstTimeZones", "lstStdControlZones", "cmbLinkedZone", "cmbLinkedAccessZone"};
    for (const QString& name : names) {
        QWidget* c = w.findChild<QWidget*>(name);
        ASSERT_NE(c, nullptr) << name.toStdString();
        EXPECT_TRUE(names.indexOf(name) < 6 || !c->isVisible()) << name.toStdString();
    }

    // The door group sibling opens its own connection from the string (the time zone one's is used by the grid's cases).
    ASSERT_TRUE(form().state().m_DoorGroupObject);
    EXPECT_EQ(form().state().m_DoorGroupObject.get(QStringLiteral("DBConnectionString")).toString(), db().connectionString());

    // The buttons sit in a row under the tab (Help at its left edge, OK just
    // before Cancel at its right); the grid fills the tab, centred, below its strip.
    for (const QSize size : {QSize(900, 640), QSize(700, 500)}) {
        w.resize(size);
        const QRect tab = w.SSTab1->geometry(), ok = w.cmdOK->geometry(), cancel = w.CmdCancel->geometry(), help = w.cmdHelp->geometry(), grid = w.grdSCZ->geometry();
        EXPECT_TRUE(w.rect().contains(tab.united(ok).united(help))) << size.width();
        EXPECT_TRUE(help.top() > tab.bottom() && ok.top() == help.top() && cancel.top() == help.top()) << "one row under the tab";
        EXPECT_TRUE(help.left() == tab.left() && help.right() < ok.left() && ok.right() < cancel.left() && cancel.right() == tab.right())
            << "Help at the left edge, OK before Cancel at the right";
        EXPECT_TRUE(QRect(QPoint(), tab.size()).contains(grid) && grid.y() > w.SSTab1->tabHeightPixels()) << size.width();
        EXPECT_TRUE(grid.left() == tab.width() - 1 - grid.right() && grid.width() > tab.width() * 9 / 10) << "centred, nearly as wide as the tab";
    }
    // Shrinking below zero keeps the last valid sizes; growing restores them.
    const QSize grid = w.grdSCZ->size();
    w.setMinimumSize(0, 0);
    w.resize(20, 20);
    EXPECT_EQ(w.grdSCZ->size(), grid) << "a negative width or height is skipped";
    w.resize(900, 640);
    EXPECT_GT(w.grdSCZ->width(), grid.width());

    // Help names the active tab's topic; a second request only brings the dialog forward.
    press(w.cmdHelp);
    w.SSTab1->setTab(1);
    press(w.cmdHelp);
    EXPECT_EQ(calls.filter(QStringLiteral("ShowHelp")), (QStringList{"ShowHelp(11)", "ShowHelp(10)"}));
    const QString zone = form().state().SCZArray(5).Name;
    raise(MainEntrance);
    EXPECT_TRUE(form().isLoaded());
    EXPECT_EQ(form().m_ControllerId, Warehouse) << "the open dialog keeps the controller its tables belong to";
    EXPECT_EQ(form().state().SCZArray(5).Name, zone);
    EXPECT_EQ(host.journal->count(QStringLiteral("CanView")), 1) << "no second load";
}

// A refused load tells the user (even when its box cannot be shown), still
// unloads, hands on the previous close reason, and the next open is whole.
TEST_P(DialogLifecycle, ARefusedLoadTellsWhyUnloadsAndLeavesTheNextOpenWhole) {
    const struct { bool view, tabs; const char* text; } refusals[] = {{false, false, "R1580"}, {true, true, "R288"}};
    for (const auto& r : refusals)
        for (int failures : {0, 1}) {
            SCOPED_TRACE(r.text);
            form().CloseReason = failures ? QStringLiteral("CANCEL") : QStringLiteral("OK");  // a previous close
            security().view = r.view;
            denyTabs(r.tabs, r.tabs);
            boxes.boxes.clear();
            boxes.failures = failures;
            raise(MainEntrance);  // would throw if the refusal failed the call
            EXPECT_TRUE(!form().isLoaded() && form().FormLoadCanceled);
            EXPECT_EQ(boxes.shown(), failures ? QStringList() : QStringList{QStringLiteral("64 R290: ") + QLatin1String(r.text)});
            EXPECT_EQ(host.parent->lastCloseReason, form().CloseReason);
            EXPECT_TRUE(host.parent->enabled() && host.journal->count(QStringLiteral("Enabled=False")) == 0) << "the host was never disabled";
        }
    // One denied tab leaves the other, usable.
    security().view = true;
    denyTabs(true, false);
    open(MainEntrance);
    EXPECT_TRUE(!window().SSTab1->tabEnabled(0) && window().SSTab1->tab() == 1);
    EXPECT_TRUE(window().SSSplitter1->isVisible()) << "the load hides the master page; the tab left must show it";
    EXPECT_FALSE(window().grdSCZ->isVisible());
    EXPECT_EQ(window().grdSCZ->rows(), 193);
    EXPECT_EQ(window().cmbMCZIndex->listCount(), 64) << "a whole load, not a leftover window";
    EXPECT_EQ(host.journal->calls.last(), QStringLiteral("Enabled=False"));
}

TEST_P(DialogLifecycle, EachWayOutReportsItsReasonAfterReEnablingTheHostAndKeepsTheTables) {
    struct Way { const char* name; std::function<void(cz::FrmMainWindow&)> close; const char* reason; bool saveRight = true; };
    const std::vector<Way> ways{
        {"OK", [](cz::FrmMainWindow& w) { QTest::mouseClick(w.cmdOK, Qt::LeftButton); }, "OK"},
        {"Cancel", [](cz::FrmMainWindow& w) { QTest::mouseClick(w.CmdCancel, Qt::LeftButton); }, "CANCEL"},
        {"Escape", [](cz::FrmMainWindow& w) { QTest::keyClick(&w, Qt::Key_Escape); }, "CANCEL"},
        {"close box", [](cz::FrmMainWindow& w) { w.close(); }, "CANCEL"},
        {"Escape without the save right", [](cz::FrmMainWindow& w) { QTest::keyClick(&w, Qt::Key_Escape); }, "CANCEL", false}};
    cz::FrmMain* dialogObject = &form();
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        security().save = way.saveRight;
        open(Warehouse);
        EXPECT_EQ(window().cmdOK->isEnabled(), security().save);
        const QString zoneName = form().state().SCZArray(5).Name;
        host.journal->calls.clear();
        way.close(window());
        settle();
        EXPECT_FALSE(form().isLoaded());
        // OK saves first, each zone kind in its own transaction; every way ends with the host enabled, then called back.
        EXPECT_EQ(host.journal->calls.mid(host.journal->calls.size() - 2),
                  (QStringList{"Enabled=True", QStringLiteral("CZCallback(%1,False)").arg(QLatin1String(way.reason))}));
        EXPECT_EQ(host.journal->count(QStringLiteral("BeginTran")), way.reason == std::string("OK") ? 2 : 0);
        EXPECT_TRUE(!form().m_Parent && !form().state().m_TimeZoneObject) << "the host's objects are let go";
        // The dialog object outlives its window; the tables stay until the next load.
        EXPECT_EQ(&form(), dialogObject);
        EXPECT_EQ(form().m_ControllerId, Warehouse);
        EXPECT_EQ(form().state().SCZArray(5).Name, zoneName);
    }
}

// A failing load step is logged, ends the load and re-enables the host, and
// the dialog shows what it has; a missing controller, or a controller query
// that fails (with its error box), gives type 4 and keeps the last name, and the load goes on.
TEST_P(DialogLifecycle, AFailingStepEndsTheLoadAndAMissingControllerOrABrokenQueryGivesTypeFour) {
    security().tabs->failItem = true;
    open(MainEntrance);
    EXPECT_FALSE(form().FormLoadCanceled);
    ASSERT_EQ(host.journal->errors.size(), 1);
    EXPECT_EQ(host.journal->errors[0].location, QStringLiteral("Load"));
    EXPECT_EQ(host.journal->errors[0].controllerId.toInt(), MainEntrance);
    EXPECT_EQ(host.journal->calls.last(), QStringLiteral("Enabled=True"));
    EXPECT_EQ(host.journal->count(QStringLiteral("GRS(1164)")), 0) << "the load ended at the failure";
    cancel();

    security().tabs->failItem = false;
    open(Warehouse);
    cancel();
    open(9999);
    EXPECT_EQ(form().state().ControllerType, 4);
    EXPECT_EQ(form().ControllerName, QStringLiteral("Warehouse \"North\", Dock 2"));
    EXPECT_EQ(window().grdSCZ->cols(), 8 + 69);
    EXPECT_TRUE(boxes.boxes.isEmpty());
    cancel();

    db().runScript(QStringLiteral("alter table controllers rename column controller_type to kind"));
    open(MainEntrance);
    EXPECT_EQ(boxes.shown().value(0), QStringLiteral("frmMain.GetControllerInfo %1").arg(automation::err::ProviderError));
    EXPECT_EQ(form().state().ControllerType, 4);
    EXPECT_EQ(host.journal->calls.last(), QStringLiteral("Enabled=False")) << "the load itself completed";
}

// Customize mode: only with the right are stored texts applied; a control is
// selected with the sizing frame, a moved label stored by the localizer, and
// OK and Escape only select themselves.
TEST_P(DialogLifecycle, OnlyWithTheCustomizeRightStoredTextsApplyAndALabelIsMovedAndStored) {
    open(Warehouse);
    EXPECT_EQ(window().Label1[3]->text(), QStringLiteral("MCZ#:")) << "stored texts are not applied";
    ASSERT_NE(localizer(), nullptr);
    EXPECT_FALSE(localizer()->enabled());
    cancel();

    host.comm->customize = true;
    raise(Warehouse);
    cz::FrmMainWindow& w = window();
    EXPECT_EQ(w.Label1[3]->text(), QStringLiteral("MCZ No.:")) << "the stored text of the seeded site";
    ASSERT_TRUE(localizer()->enabled()) << "every tab is available";
    w.SSTab1->setTab(1);
    localizer()->beginCustomize();
    QLabel* label = w.Label1[0];
    QTest::mouseClick(label, Qt::LeftButton);
    controls::SizingFrame* frame = w.MhStretch1;
    ASSERT_TRUE(frame->isVisible());
    EXPECT_TRUE(frame->target() == label && frame->parentWidget() == label->parentWidget()) << "the frame moves into the control's container";

    const QPoint before = label->pos(), grab(frame->width() / 2, frame->height() / 2);
    QTest::mousePress(frame, Qt::LeftButton, {}, grab);
    QTest::mouseMove(frame, grab + QPoint(20, 10));
    QTest::mouseRelease(frame, Qt::LeftButton, {}, grab + QPoint(20, 10));
    EXPECT_EQ(label->pos(), before + QPoint(20, 10));
    const QString stored = QStringLiteral("select value from localizations where componentnumber = 5 and controlname = 'Label1_0' and property = 'Left'");
    EXPECT_EQ(db().scalar(stored).toInt(), (before.x() + 20) * 15);

    press(w.cmdOK);
    EXPECT_TRUE(form().isLoaded() && frame->target() == w.cmdOK) << "OK only selects itself for customization";
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::mouseClick(w.cmbGlobalId->lineEdit(), Qt::LeftButton);  // where the mouse lands in an editable combo
    EXPECT_EQ(frame->target(), w.cmbGlobalId) << "the combo is selected, not its inner line edit";
    key(Qt::Key_Escape);
    EXPECT_TRUE(form().isLoaded() && frame->target() == w.CmdCancel) << "Escape acts as the Cancel click, which selects Cancel";

    localizer()->endCustomize();
    EXPECT_TRUE(!frame->isVisible() && w.SSTab1->tab() == 0) << "back on the tab that was active when the texts were applied";
    cancel();
    EXPECT_FALSE(form().isLoaded());
}

TAMRIK_ON_ONE_ENGINE(DialogLifecycle);

}  // namespace
