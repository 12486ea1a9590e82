#pragma once
// Drives the control zone dialog as an operator does: the mouse on its
// buttons, grid cells and list entries, keys to its window (a keyboard sends
// them to whatever has the focus, never to a widget of its choosing).
#include "dialog/FrmMain.h"
#include "dialog/FrmMainWindow.h"
#include "platform/controls/FlexGrid.h"
#include "platform/controls/ListControls.h"

#include <QPushButton>
#include <QCoreApplication>
#include <QTest>
#include <QWindow>

namespace testsupport {

struct DialogDriver {
    static cz::FrmMain& form() { return cz::FrmMain::instance(); }
    static cz::FrmMainWindow& window() { return *form().window(); }
    // Lets a closed window go and queued calls (the host's report, the next
    // window built ahead) run, as the event loop would.
    static void settle() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    static void press(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton), settle(); }
    static void ok() { press(window().cmdOK); }
    static void cancel() { press(window().CmdCancel); }
    // The mouse on the middle of a cell, or of a list entry (scrolled into view first).
    static void clickCell(controls::FlexGrid* grid, int r, int c, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(grid->viewport(), button, {}, grid->cellRect(r, c).center());
    }
    static void pickEntry(controls::ListBox* list, int index) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->entryRect(index).center());
    }
    static void key(Qt::Key k, Qt::KeyboardModifiers m = {}) { QTest::keyClick(window().windowHandle(), k, m); }
    static void type(const char* keys) { for (; *keys; ++keys) QTest::keyClick(window().windowHandle(), *keys); }
};

}  // namespace testsupport
