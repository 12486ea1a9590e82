// Faults that only a failing message box can carry out of an operation's own
// handler: they reach the handlers around it, which show them with their own
// location.
#include "tests/dialog/DialogFixture.h"

#include "platform/automation/AutomationError.h"
#include "platform/controls/FlexGrid.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace dialogtest;
using hostdb::demo::Warehouse;

namespace {

class ErrorPaths : public DialogTest {
protected:
    // The first `failures` boxes fail to show; the rest are recorded.
    void failBoxes(int failures) {
        failuresLeft = failures;
        handler = std::make_unique<controls::ScopedMessageBoxHandler>([this](const controls::MessageBoxRequest& r) {
            if (failuresLeft > 0) {
                --failuresLeft;
                automation::raise(automation::err::UserDefined, QStringLiteral("no desktop to show boxes on"));
            }
            shown.append(r);
            return controls::mb::OK;
        });
    }
    int failuresLeft = 0;
    QList<controls::MessageBoxRequest> shown;
    std::unique_ptr<controls::ScopedMessageBoxHandler> handler;
};

TEST_P(ErrorPaths, AFaultDuringTheNameCheckIsShownAsOKsOwnAndNothingIsSaved) {
    raise(Warehouse);
    controls::FlexGrid* grid = window().grdSCZ;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(3, 1).center());
    window().txtText->clear();  // an empty name: the check wants to say so
    failBoxes(1);
    QTest::mouseClick(window().cmdOK, Qt::LeftButton);
    EXPECT_TRUE(form().isLoaded()) << "OK ended at the fault";
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].text.contains(QStringLiteral("Function Name: frmMain.cmdOK_Click")));
    EXPECT_TRUE(shown[0].text.contains(QStringLiteral("no desktop to show boxes on")));
    EXPECT_EQ(host.journal->count(QStringLiteral("BeginTran")), 0);
}

TEST_P(ErrorPaths, AFaultEscapingTheCatalogueLoadIsShownByTheTimeZoneLoad) {
    db().runScript(QStringLiteral("update sys_procedures set sql_text = 'select no_such_column from generictimezones' "
                                  "where name = 'sp_fetchallgenerictimezonenames' and engine = '%1'")
                       .arg(isPostgres() ? QStringLiteral("postgresql") : QStringLiteral("sqlite")));
    failBoxes(2);  // the catalogue's own box and its fallback box
    raise(Warehouse);
    ASSERT_TRUE(form().isLoaded());
    ASSERT_GE(shown.size(), 1);
    EXPECT_TRUE(shown[0].text.contains(QStringLiteral("Function Name: frmMain.LoadTimeZoneInformation")));
}

TAMRIK_ON_BOTH_ENGINES(ErrorPaths);

}  // namespace
