#pragma once
// The dialog as a host meets it: the demo site (both engines), a recording
// host object and communication object, the host's stand-ins for the sibling
// components, and ControlZones called by member name.
#include "component/ControlZones.h"
#include "diagnostics/ListSelection.h"
#include "host/lib/StandIns.h"
#include "platform/automation/Dispatch.h"
#include "platform/controls/TabControl.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/HostDatabase.h"
#include "tests/support/RecordingHost.h"

#include <QApplication>
#include <QPushButton>

namespace dialogtest {

class DialogTest : public testsupport::HostDatabaseTest, public testsupport::DialogDriver {
protected:
    void prepareDatabase() override {
        HostDatabaseTest::prepareDatabase();
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
    void open(int controllerId) {
        raise(controllerId);
        ASSERT_TRUE(form().isLoaded());
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
    testsupport::RecordingSecurity& security() { return *host.comm->securityObject; }

    testsupport::RecordingHost host;
    testsupport::MessageBoxRecorder boxes;
    QWidget hostWindow;
    cz::ControlZones zones;
};

}  // namespace dialogtest
