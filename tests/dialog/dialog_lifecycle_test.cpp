// Opening and closing the dialog: the load sequence, the user's rights, the
// four ways out and what the host hears of them.
#include "tests/dialog/DialogFixture.h"

#include "platform/controls/TabControl.h"

#include <QLabel>
#include <QSplitter>
#include <QWindow>

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
};

TEST_P(DialogLifecycle, TheLoadAsksForRightsOwnsTheHostWindowAndDisablesTheHostLast) {
    open(Warehouse);
    EXPECT_TRUE(window().isVisible());
    EXPECT_FALSE(form().FormLoadCanceled);
    const QStringList& calls = host.journal->calls;
    const QStringList order{"ComponentType=32", "CanView", "CanSave", "SubPermissions", "GRS(1164)"};
    for (int i = 1; i < order.size(); ++i) EXPECT_LT(calls.indexOf(order[i - 1]), calls.indexOf(order[i])) << order[i].toStdString();
    EXPECT_EQ(calls.last(), QStringLiteral("Enabled=False")) << "the host is disabled at the very end";
    EXPECT_TRUE(host.journal->errors.isEmpty()) << host.journal->errors.value(0).location.toStdString() << ": "
                                                << host.journal->errors.value(0).description.toStdString();
    EXPECT_TRUE(boxes.boxes.isEmpty());

    cz::FrmMainWindow& w = window();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("R1164|Warehouse \"North\", Dock 2"));
    EXPECT_EQ(w.windowHandle()->transientParent(), hostWindow.windowHandle()) << "the host window owns the dialog";
    EXPECT_EQ(w.parent(), nullptr) << "as an owner, not as a Qt parent";
    EXPECT_TRUE(w.cmdOK->isEnabled());
    EXPECT_FALSE(w.SSSplitter1->isVisible());
    EXPECT_EQ(form().state().Edit.EditMode, cz::InCellEditor::None);
    // Names the localizer and the customize mode find controls by; the editors start hidden.
    for (const char* name : {"lblSCZDirections", "lblMCZDirections", "Label1_7", "chkTagAlert_1", "chkGlobal", "cmdHelp"})
        EXPECT_NE(w.findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(w.SSTab1->tabCaption(1), QStringLiteral("&Master Control Zones")) << "the caption the tab rights name";
    for (const char* hidden : {"txtText", "cmdDropDown", "lstTimeZones", "lstStdControlZones", "cmbLinkedZone", "cmbLinkedAccessZone"}) {
        QWidget* c = w.findChild<QWidget*>(QString::fromLatin1(hidden));
        ASSERT_NE(c, nullptr) << hidden;
        EXPECT_FALSE(c->isVisible()) << hidden;
    }
    // The tab control's children sit in its own coordinates, strip included.
    EXPECT_EQ(w.grdSCZ->parentWidget(), w.SSTab1);
    EXPECT_GT(w.grdSCZ->y(), w.SSTab1->tabHeightPixels());
    // The siblings live from load to unload, with their context.
    ASSERT_TRUE(form().state().m_TimeZoneObject);
    EXPECT_EQ(automation::toObject(form().state().m_TimeZoneObject.get(QStringLiteral("DBConnection"))), conn.get());
    ASSERT_TRUE(form().state().m_DoorGroupObject);
    EXPECT_EQ(form().state().m_DoorGroupObject.get(QStringLiteral("DBConnectionString")).toString(), db().connectionString());
}

// A refused load tells the user (even when its box cannot be shown), still
// unloads, hands on the previous close reason, and the next open is whole.
TEST_P(DialogLifecycle, ARefusedLoadTellsWhyUnloadsAndLeavesTheNextOpenWhole) {
    const struct {
        bool view, tabs;
        const char* text;
    } refusals[] = {{false, false, "R1580"}, {true, true, "R288"}};
    for (const auto& r : refusals)
        for (int failures : {0, 1}) {
            form().CloseReason = failures ? QStringLiteral("CANCEL") : QStringLiteral("OK");  // a previous close
            security().view = r.view;
            denyTabs(r.tabs, r.tabs);
            boxes.boxes.clear();
            boxes.failures = failures;
            raise(MainEntrance);  // would throw if the refusal failed the call
            EXPECT_FALSE(form().isLoaded()) << r.text;
            EXPECT_TRUE(form().FormLoadCanceled) << r.text;
            ASSERT_EQ(boxes.boxes.size(), 1 - failures) << r.text;
            if (!failures) {
                EXPECT_EQ(boxes.boxes[0].text, QLatin1String(r.text));
                EXPECT_EQ(boxes.boxes[0].title, QStringLiteral("R290"));
                EXPECT_EQ(boxes.boxes[0].icon(), controls::mb::Information);
            }
            EXPECT_EQ(host.parent->lastCloseReason, form().CloseReason) << r.text;
            EXPECT_TRUE(host.parent->enabled()) << r.text;
            EXPECT_EQ(host.journal->count(QStringLiteral("Enabled=False")), 0) << r.text;
        }
    // One denied tab leaves the other, usable.
    security().view = true;
    denyTabs(true, false);
    open(MainEntrance);
    EXPECT_FALSE(window().SSTab1->tabEnabled(0));
    EXPECT_EQ(window().SSTab1->tab(), 1);
    EXPECT_TRUE(window().SSSplitter1->isVisible());
    EXPECT_FALSE(window().grdSCZ->isVisible());
    EXPECT_EQ(window().grdSCZ->rows(), 193);
    EXPECT_EQ(window().cmbMCZIndex->listCount(), 64) << "a whole load, not a leftover window";
    EXPECT_EQ(host.journal->calls.last(), QStringLiteral("Enabled=False"));
}

TEST_P(DialogLifecycle, EachWayOutReportsItsReasonAfterReEnablingTheHostAndKeepsTheTables) {
    struct Way {
        const char* name;
        std::function<void(cz::FrmMainWindow&)> close;
        const char* reason;
        bool saveRight = true;
    };
    const std::vector<Way> ways{
        {"OK", [](cz::FrmMainWindow& w) { QTest::mouseClick(w.cmdOK, Qt::LeftButton); }, "OK"},
        {"Cancel", [](cz::FrmMainWindow& w) { QTest::mouseClick(w.CmdCancel, Qt::LeftButton); }, "CANCEL"},
        {"Escape", [](cz::FrmMainWindow& w) { QTest::keyClick(&w, Qt::Key_Escape); }, "CANCEL"},
        {"close box", [](cz::FrmMainWindow& w) { w.close(); }, "CANCEL"},
        {"Escape without the save right", [](cz::FrmMainWindow& w) { QTest::keyClick(&w, Qt::Key_Escape); }, "CANCEL", false}};
    cz::FrmMain* dialogObject = &form();
    for (const Way& way : ways) {
        security().save = way.saveRight;
        open(Warehouse);
        EXPECT_EQ(window().cmdOK->isEnabled(), security().save) << way.name;
        const QString zoneName = form().state().SCZArray(5).Name;
        host.journal->calls.clear();
        way.close(window());
        settle();
        EXPECT_FALSE(form().isLoaded()) << way.name;
        // OK saves first, each zone kind in its own transaction; every way ends with the host enabled, then called back.
        const QStringList& calls = host.journal->calls;
        ASSERT_GE(calls.size(), 2) << way.name;
        EXPECT_EQ(calls[calls.size() - 2], QStringLiteral("Enabled=True")) << way.name;
        EXPECT_EQ(calls.last(), QStringLiteral("CZCallback(%1,False)").arg(QLatin1String(way.reason))) << way.name;
        EXPECT_EQ(host.journal->count(QStringLiteral("BeginTran")), way.reason == std::string("OK") ? 2 : 0) << way.name;
        EXPECT_FALSE(form().m_Parent) << way.name;
        EXPECT_FALSE(form().state().m_TimeZoneObject) << way.name;
        EXPECT_EQ(form().CloseReason, QLatin1String(way.reason));
        // The dialog object outlives its window; the tables stay until the next load.
        EXPECT_EQ(&form(), dialogObject);
        EXPECT_EQ(form().m_ControllerId, Warehouse);
        EXPECT_EQ(form().state().SCZArray(5).Name, zoneName);
    }
}

TEST_P(DialogLifecycle, HelpNamesTheTopicOfTheActiveTabAndASecondRequestOnlyBringsTheDialogForward) {
    open(Warehouse);
    QTest::mouseClick(window().cmdHelp, Qt::LeftButton);
    window().SSTab1->setTab(1);
    QTest::mouseClick(window().cmdHelp, Qt::LeftButton);
    EXPECT_EQ(host.journal->count(QStringLiteral("ShowHelp(11)")), 1);
    EXPECT_EQ(host.journal->count(QStringLiteral("ShowHelp(10)")), 1);
    const QString zone = form().state().SCZArray(5).Name;
    raise(MainEntrance);
    EXPECT_TRUE(form().isLoaded());
    EXPECT_EQ(form().m_ControllerId, Warehouse) << "the open dialog keeps the controller its tables belong to";
    EXPECT_EQ(form().state().SCZArray(5).Name, zone);
    EXPECT_EQ(host.journal->count(QStringLiteral("CanView")), 1) << "no second load";
}

TEST_P(DialogLifecycle, AMissingControllerGivesTypeFourAndKeepsTheLastName) {
    open(Warehouse);
    press(window().CmdCancel);
    open(9999);
    EXPECT_EQ(form().state().ControllerType, 4);
    EXPECT_EQ(form().ControllerName, QStringLiteral("Warehouse \"North\", Dock 2"));
    EXPECT_EQ(window().grdSCZ->cols(), 8 + 69);
    EXPECT_TRUE(boxes.boxes.isEmpty());
}

TEST_P(DialogLifecycle, AFailingLoadIsLoggedReEnablesTheHostAndShowsWhatItHas) {
    security().tabs->failItem = true;
    open(MainEntrance);  // a failed load still shows the dialog
    EXPECT_FALSE(form().FormLoadCanceled);
    ASSERT_EQ(host.journal->errors.size(), 1);
    EXPECT_EQ(host.journal->errors[0].location, QStringLiteral("Load"));
    EXPECT_EQ(host.journal->errors[0].controllerId.toInt(), MainEntrance);
    EXPECT_EQ(host.journal->calls.last(), QStringLiteral("Enabled=True"));
    EXPECT_EQ(host.journal->count(QStringLiteral("GRS(1164)")), 0) << "the load ended at the failure";
}

TEST_P(DialogLifecycle, ABrokenControllerQueryShowsTheErrorBoxAndTheLoadGoesOn) {
    db().runScript(QStringLiteral("alter table controllers rename column controller_type to kind"));
    open(MainEntrance);
    ASSERT_GE(boxes.boxes.size(), 1);
    EXPECT_TRUE(boxes.boxes[0].text.contains(QStringLiteral("Function Name: frmMain.GetControllerInfo")));
    EXPECT_EQ(form().state().ControllerType, 4);
    EXPECT_EQ(host.journal->calls.last(), QStringLiteral("Enabled=False")) << "the load itself completed";
}

TAMRIK_ON_ONE_ENGINE(DialogLifecycle);

}  // namespace
