#pragma once
// The dialog as a host meets it: a seeded host database (both engines), a
// recording host object and communication object, the host's stand-ins for
// the sibling components, and ControlZones called by member name.
#include "component/ControlZones.h"
#include "dialog/FrmMain.h"
#include "dialog/FrmMainWindow.h"
#include "host/lib/HostDatabase.h"
#include "host/lib/Seed.h"
#include "host/lib/StandIns.h"
#include "platform/automation/Dispatch.h"
#include "platform/controls/FlexGrid.h"
#include "platform/controls/ListControls.h"
#include "platform/database/Connection.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/TestDatabase.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QTest>
#include <memory>

namespace dialogtest {

class DialogTest : public testsupport::DatabaseTest {
protected:
    void prepareDatabase() override {
        conn = std::make_unique<database::Connection>();
        conn->Open(db().connectionString());
        hostdb::createSchema(*conn);
        hostdb::seedDemo(*conn);
        czhost::registerStandIns();
        hostWindow.resize(400, 300);
        hostWindow.show();
        host.parent->window = &hostWindow;
    }

    // Hands the context over by member name and raises the dialog, as a host
    // does; the recording communication object unless given another.
    void raise(int controllerId, QObject* comm = nullptr) {
        automation::setProperty(&zones, QStringLiteral("Parent"), automation::fromObject(host.parent.get()));
        automation::setProperty(&zones, QStringLiteral("DBConnection"), automation::fromObject(conn.get()));
        automation::setProperty(&zones, QStringLiteral("NTConnection"), automation::fromObject(comm ? comm : host.comm.get()));
        QVariantList args{controllerId};
        automation::callByRef(&zones, QStringLiteral("RaiseForm"), args);
    }

    // Raises the dialog and checks that it loaded; clicks a button of the dialog and lets a closed window go.
    void open(int controllerId) {
        raise(controllerId);
        ASSERT_TRUE(form().isLoaded());
    }
    void press(QPushButton* button) {
        QTest::mouseClick(button, Qt::LeftButton);
        settle();
    }
    // The mouse on the middle of a cell, or of a list entry (scrolled into view first).
    static void clickCell(controls::FlexGrid* grid, int r, int c, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(grid->viewport(), button, {}, grid->cellRect(r, c).center());
    }
    static void pickEntry(controls::ListBox* list, int index) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->entryRect(index).center());
    }

    // Where a widget, or a cell as painted, is in the dialog.
    QRect placed(QWidget* w) { return QRect(w->mapTo(&window(), QPoint()), w->size()); }
    QRect placed(controls::FlexGrid* grid, int r, int c) {
        return grid->cellRect(r, c).translated(grid->viewport()->mapTo(&window(), QPoint()));
    }
    // A drop-down list opens right under the cell it edits, as wide as the cell and four rows high.
    void expectListUnderCell(QWidget* list, controls::FlexGrid* grid, int r, int c) {
        const QRect cell = placed(grid, r, c), at = placed(list);
        EXPECT_NEAR(at.top(), cell.bottom() + 1, 1);
        EXPECT_NEAR(at.left(), cell.left(), 1);
        EXPECT_NEAR(at.width(), cell.width(), 1);
        EXPECT_NEAR(at.height(), 4 * cell.height(), 4);
    }

    cz::FrmMain& form() { return cz::FrmMain::instance(); }
    cz::FrmMainWindow& window() { return *form().window(); }
    testsupport::RecordingSecurity& security() { return *host.comm->securityObject; }
    // Runs the event loop once, as a host does after a click: a destroyed
    // window goes and the next one is built ahead.
    static void settle() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    std::unique_ptr<database::Connection> conn;
    testsupport::RecordingHost host;
    testsupport::MessageBoxRecorder boxes;
    QWidget hostWindow;
    cz::ControlZones zones;
};

}  // namespace dialogtest
