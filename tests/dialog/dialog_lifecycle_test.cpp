// Opening and closing the dialog: the load sequence, the user's rights, the
// four ways out and what the host hears of them.
#include "tests/dialog/DialogFixture.h"

#include "platform/controls/FlexGrid.h"
#include "platform/controls/ListControls.h"
#include "platform/controls/TabControl.h"
#include "platform/controls/WindowHandle.h"

#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTest>
#include <QWindow>

using namespace dialogtest;
using hostdb::demo::MainEntrance;
using hostdb::demo::Warehouse;

namespace {

class DialogLifecycle : public DialogTest {};

int indexOf(const QStringList& calls, const QString& call) { return static_cast<int>(calls.indexOf(call)); }

TEST_P(DialogLifecycle, TheLoadAsksForRightsOwnsTheHostWindowAndDisablesTheHostLast) {
    raise(Warehouse);
    ASSERT_TRUE(form().isLoaded());
    EXPECT_TRUE(window().isVisible());
    EXPECT_FALSE(form().FormLoadCanceled);
    const QStringList& calls = host.journal->calls;
    EXPECT_LT(indexOf(calls, QStringLiteral("ComponentType=32")), indexOf(calls, QStringLiteral("CanView")));
    EXPECT_LT(indexOf(calls, QStringLiteral("CanView")), indexOf(calls, QStringLiteral("CanSave")));
    EXPECT_LT(indexOf(calls, QStringLiteral("CanSave")), indexOf(calls, QStringLiteral("SubPermissions")));
    EXPECT_LT(indexOf(calls, QStringLiteral("SubPermissions")), indexOf(calls, QStringLiteral("GRS(1164)")));
    EXPECT_EQ(calls.last(), QStringLiteral("Enabled=False")) << "the host is disabled at the very end";
    EXPECT_TRUE(host.journal->errors.isEmpty()) << host.journal->errors.value(0).location.toStdString() << ": "
                                                << host.journal->errors.value(0).description.toStdString();
    EXPECT_TRUE(boxes.boxes.isEmpty());

    EXPECT_EQ(window().windowTitle(), QStringLiteral("R1164|Warehouse \"North\", Dock 2"));
    EXPECT_EQ(form().state().ControllerType, 4);
    EXPECT_EQ(window().grdSCZ->cols(), 8 + 69) << "controller type 4 has eight base relays";
    EXPECT_EQ(window().windowHandle()->transientParent(), hostWindow.windowHandle()) << "the host window owns the dialog";
    EXPECT_EQ(window().parent(), nullptr) << "as an owner, not as a Qt parent";
    EXPECT_TRUE(window().cmdOK->isEnabled());
    EXPECT_FALSE(window().SSSplitter1->isVisible());
    EXPECT_EQ(form().state().CurrentMCZ, 192);
    for (int m = 192; m <= 255; ++m) EXPECT_FALSE(form().state().MCZArray(m).Changed) << m;
    EXPECT_EQ(form().state().Edit.EditMode, cz::InCellEditor::None);
    // The siblings live from load to unload, with their context.
    ASSERT_TRUE(form().state().m_TimeZoneObject);
    EXPECT_EQ(automation::toObject(form().state().m_TimeZoneObject.get(QStringLiteral("DBConnection"))), conn.get());
    ASSERT_TRUE(form().state().m_DoorGroupObject);
    EXPECT_EQ(form().state().m_DoorGroupObject.get(QStringLiteral("DBConnectionString")).toString(), db().connectionString());
}

TEST_P(DialogLifecycle, EveryControlIsThereUnderItsName) {
    raise(MainEntrance);
    cz::FrmMainWindow& w = window();
    // Names the localizer and the customize mode find controls by.
    for (const char* name : {"lblSCZDirections", "lblMCZDirections", "Label1_0", "Label1_3", "Label1_7", "chkTagAlert_1", "chkGlobal", "cmdHelp"})
        EXPECT_NE(w.findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("Label1_3"))->text(), QStringLiteral("MCZ#:"));
    EXPECT_EQ(w.SSTab1->tabCaption(1), QStringLiteral("&Master Control Zones")) << "the caption the tab rights name";
    for (const char* hidden : {"txtText", "cmdDropDown", "lstTimeZones", "lstStdControlZones", "cmbLinkedZone", "cmbLinkedAccessZone"}) {
        QWidget* c = w.findChild<QWidget*>(QString::fromLatin1(hidden));
        ASSERT_NE(c, nullptr) << hidden;
        EXPECT_FALSE(c->isVisible()) << hidden;
    }
    EXPECT_EQ(w.grdSCZ->rows(), 193);
    EXPECT_EQ(w.grdMCZ->rows(), 22);
    // The tab control's children sit in its own coordinates, strip included.
    EXPECT_EQ(w.grdSCZ->parentWidget(), w.SSTab1);
    EXPECT_GT(w.grdSCZ->y(), w.SSTab1->tabHeightPixels());
}

TEST_P(DialogLifecycle, WithoutTheViewRightTheUserIsToldAndNoDialogRemains) {
    form().CloseReason = QStringLiteral("OK");  // a previous close
    security().view = false;
    raise(MainEntrance);
    EXPECT_FALSE(form().isLoaded());
    EXPECT_TRUE(form().FormLoadCanceled);
    ASSERT_EQ(boxes.boxes.size(), 1);
    EXPECT_EQ(boxes.boxes[0].text, QStringLiteral("R1580"));
    EXPECT_EQ(boxes.boxes[0].title, QStringLiteral("R290"));
    EXPECT_EQ(boxes.boxes[0].icon(), controls::mb::Information);
    // The refused load still unloads: the host is enabled and called back with the previous reason.
    EXPECT_EQ(host.parent->lastCloseReason, QStringLiteral("OK"));
    EXPECT_TRUE(host.parent->enabled());
    EXPECT_EQ(host.journal->count(QStringLiteral("Enabled=False")), 0);
}

TEST_P(DialogLifecycle, ARefusalWhoseBoxCannotBeShownStillRefusesAndTheNextOpenIsWhole) {
    for (bool tabsOnly : {false, true}) {
        security().view = tabsOnly;
        security().tabs->canView.insert(QStringLiteral("&Standard Control Zones"), !tabsOnly);
        security().tabs->canView.insert(QStringLiteral("&Master Control Zones"), !tabsOnly);
        boxes.failures = 1;
        raise(MainEntrance);  // would throw if the refusal failed the call
        EXPECT_FALSE(form().isLoaded()) << tabsOnly;
        EXPECT_TRUE(form().FormLoadCanceled) << tabsOnly;
        EXPECT_TRUE(host.parent->enabled()) << tabsOnly;
    }
    security().view = true;
    security().tabs->canView.clear();
    raise(MainEntrance);
    ASSERT_TRUE(form().isLoaded());
    EXPECT_EQ(window().grdSCZ->rows(), 193);
    EXPECT_EQ(window().cmbMCZIndex->listCount(), 64) << "a whole load, not a leftover window";
    EXPECT_EQ(host.journal->calls.last(), QStringLiteral("Enabled=False"));
}

TEST_P(DialogLifecycle, EveryTabDeniedRefusesTheDialogOneDeniedLeavesTheOther) {
    security().tabs->canView.insert(QStringLiteral("&Standard Control Zones"), false);
    security().tabs->canView.insert(QStringLiteral("&Master Control Zones"), false);
    raise(MainEntrance);
    EXPECT_FALSE(form().isLoaded());
    ASSERT_EQ(boxes.boxes.size(), 1);
    EXPECT_EQ(boxes.boxes[0].text, QStringLiteral("R288"));

    security().tabs->canView.insert(QStringLiteral("&Master Control Zones"), true);
    raise(MainEntrance);
    ASSERT_TRUE(form().isLoaded());
    EXPECT_FALSE(window().SSTab1->tabEnabled(0));
    EXPECT_EQ(window().SSTab1->tab(), 1);
    EXPECT_TRUE(window().SSSplitter1->isVisible()) << "the remaining tab is usable";
    EXPECT_FALSE(window().grdSCZ->isVisible());
}

TEST_P(DialogLifecycle, WithoutTheSaveRightOKIsDisabledAndEscapeStillCloses) {
    security().save = false;
    raise(MainEntrance);
    ASSERT_TRUE(form().isLoaded());
    EXPECT_FALSE(window().cmdOK->isEnabled());
    QTest::keyClick(&window(), Qt::Key_Escape);
    EXPECT_FALSE(form().isLoaded());
    EXPECT_EQ(host.journal->calls.last(), QStringLiteral("CZCallback(CANCEL,False)"));
}

TEST_P(DialogLifecycle, EachWayOutReportsItsReasonAfterReEnablingTheHost) {
    struct Way {
        const char* name;
        std::function<void(cz::FrmMainWindow&)> close;
        const char* reason;
    };
    const std::vector<Way> ways{
        {"OK", [](cz::FrmMainWindow& w) { QTest::mouseClick(w.cmdOK, Qt::LeftButton); }, "OK"},
        {"Cancel", [](cz::FrmMainWindow& w) { QTest::mouseClick(w.CmdCancel, Qt::LeftButton); }, "CANCEL"},
        {"Escape", [](cz::FrmMainWindow& w) { QTest::keyClick(&w, Qt::Key_Escape); }, "CANCEL"},
        {"close box", [](cz::FrmMainWindow& w) { w.close(); }, "CANCEL"}};
    for (const Way& way : ways) {
        raise(Warehouse);
        ASSERT_TRUE(form().isLoaded()) << way.name;
        host.journal->calls.clear();
        way.close(window());
        settle();
        EXPECT_FALSE(form().isLoaded()) << way.name;
        // OK saves first; every way ends with the host enabled, then called back.
        const QStringList& calls = host.journal->calls;
        ASSERT_GE(calls.size(), 2) << way.name;
        EXPECT_EQ(calls[calls.size() - 2], QStringLiteral("Enabled=True")) << way.name;
        EXPECT_EQ(calls.last(), QStringLiteral("CZCallback(%1,False)").arg(QLatin1String(way.reason))) << way.name;
        // OK runs both saves, each in its own transaction.
        EXPECT_EQ(host.journal->count(QStringLiteral("BeginTran")), way.reason == std::string("OK") ? 2 : 0) << way.name;
        EXPECT_FALSE(form().m_Parent) << way.name;
        EXPECT_FALSE(form().state().m_TimeZoneObject) << way.name;
        EXPECT_EQ(form().CloseReason, QLatin1String(way.reason));
    }
}

TEST_P(DialogLifecycle, HelpNamesTheTopicOfTheActiveTab) {
    raise(MainEntrance);
    QTest::mouseClick(window().cmdHelp, Qt::LeftButton);
    window().SSTab1->setTab(1);
    QTest::mouseClick(window().cmdHelp, Qt::LeftButton);
    EXPECT_EQ(host.journal->count(QStringLiteral("ShowHelp(11)")), 1);
    EXPECT_EQ(host.journal->count(QStringLiteral("ShowHelp(10)")), 1);
    EXPECT_TRUE(form().isLoaded()) << "help does not close the dialog";
}

TEST_P(DialogLifecycle, AMissingControllerGivesTypeFourAndKeepsTheLastName) {
    raise(Warehouse);
    QTest::mouseClick(window().CmdCancel, Qt::LeftButton);
    raise(9999);
    ASSERT_TRUE(form().isLoaded());
    EXPECT_EQ(form().state().ControllerType, 4);
    EXPECT_EQ(form().ControllerName, QStringLiteral("Warehouse \"North\", Dock 2"));
    EXPECT_EQ(window().grdSCZ->cols(), 8 + 69);
    EXPECT_TRUE(boxes.boxes.isEmpty());
}

TEST_P(DialogLifecycle, AFailingLoadIsLoggedReEnablesTheHostAndShowsWhatItHas) {
    security().tabs->failItem = true;
    raise(MainEntrance);
    ASSERT_TRUE(form().isLoaded()) << "a failed load still shows the dialog";
    EXPECT_FALSE(form().FormLoadCanceled);
    ASSERT_EQ(host.journal->errors.size(), 1);
    EXPECT_EQ(host.journal->errors[0].location, QStringLiteral("Load"));
    EXPECT_EQ(host.journal->errors[0].controllerId.toInt(), MainEntrance);
    EXPECT_EQ(host.journal->calls.last(), QStringLiteral("Enabled=True"));
    EXPECT_EQ(host.journal->count(QStringLiteral("GRS(1164)")), 0) << "the load ended at the failure";
}

TEST_P(DialogLifecycle, ABrokenControllerQueryShowsTheErrorBoxAndTheLoadGoesOn) {
    db().runScript(pick(QStringLiteral("alter table controllers rename column controller_type to kind"),
                        QStringLiteral("alter table controllers rename column controller_type to kind")));
    raise(MainEntrance);
    ASSERT_TRUE(form().isLoaded());
    ASSERT_GE(boxes.boxes.size(), 1);
    EXPECT_TRUE(boxes.boxes[0].text.contains(QStringLiteral("Function Name: frmMain.GetControllerInfo")));
    EXPECT_EQ(form().state().ControllerType, 4);
    EXPECT_EQ(host.journal->calls.last(), QStringLiteral("Enabled=False")) << "the load itself completed";
}

TEST_P(DialogLifecycle, TheDialogObjectAndItsTablesSurviveAnUnload) {
    raise(Warehouse);
    const QString zoneName = form().state().SCZArray(5).Name;
    ASSERT_FALSE(zoneName.isEmpty());
    cz::FrmMain* before = &form();
    QTest::mouseClick(window().cmdOK, Qt::LeftButton);
    settle();
    EXPECT_EQ(&form(), before);
    EXPECT_EQ(form().state().SCZArray(5).Name, zoneName);
    EXPECT_EQ(form().CloseReason, QStringLiteral("OK"));
    EXPECT_EQ(form().m_ControllerId, Warehouse);
    security().view = false;
    raise(MainEntrance);
    EXPECT_EQ(host.parent->lastCloseReason, QStringLiteral("OK")) << "a refused load hands on the previous close";
}

TEST_P(DialogLifecycle, ASecondRequestWhileOpenOnlyBringsTheDialogForward) {
    raise(Warehouse);
    const QString zone = form().state().SCZArray(5).Name;
    raise(MainEntrance);
    EXPECT_EQ(form().m_ControllerId, Warehouse) << "the open dialog keeps the controller its tables belong to";
    EXPECT_EQ(form().state().SCZArray(5).Name, zone);
    EXPECT_EQ(host.journal->count(QStringLiteral("CanView")), 1) << "no second load";
}

TAMRIK_ON_ONE_ENGINE(DialogLifecycle);

}  // namespace
