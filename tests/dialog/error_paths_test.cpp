// Faults that only a failing message box can carry out of an operation's own
// handler: they reach the handlers around it, which show them with their own
// location.
#include "tests/dialog/DialogFixture.h"

#include "platform/automation/AutomationError.h"
#include "platform/controls/FlexGrid.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace dialogtest;
using hostdb::demo::Warehouse;

namespace {

class ErrorPaths : public DialogTest {};

TEST_P(ErrorPaths, AFaultDuringTheNameCheckIsShownAsOKsOwnAndNothingIsSaved) {
    raise(Warehouse);
    controls::FlexGrid* grid = window().grdSCZ;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(3, 1).center());
    window().txtText->clear();  // an empty name: the check wants to say so
    boxes.failures = 1;
    QTest::mouseClick(window().cmdOK, Qt::LeftButton);
    EXPECT_TRUE(form().isLoaded()) << "OK ended at the fault";
    ASSERT_EQ(boxes.boxes.size(), 1);
    EXPECT_TRUE(boxes.boxes[0].text.contains(QStringLiteral("Function Name: frmMain.cmdOK_Click")));
    EXPECT_TRUE(boxes.boxes[0].text.contains(QStringLiteral("no desktop to show boxes on")));
    EXPECT_EQ(host.journal->count(QStringLiteral("BeginTran")), 0);
}

TEST_P(ErrorPaths, AFaultEscapingTheCatalogueLoadIsShownByTheTimeZoneLoad) {
    db().runScript(QStringLiteral("update sys_procedures set sql_text = 'select no_such_column from generictimezones' "
                                  "where name = 'sp_fetchallgenerictimezonenames' and engine = '%1'")
                       .arg(isPostgres() ? QStringLiteral("postgresql") : QStringLiteral("sqlite")));
    boxes.failures = 2;  // the catalogue's own box and its fallback box
    raise(Warehouse);
    ASSERT_TRUE(form().isLoaded());
    ASSERT_GE(boxes.boxes.size(), 1);
    EXPECT_TRUE(boxes.boxes[0].text.contains(QStringLiteral("Function Name: frmMain.LoadTimeZoneInformation")));
}

TAMRIK_ON_BOTH_ENGINES(ErrorPaths);

}  // namespace
