// Rows whose stored values the data layer reads back normalised (a Boolean
// stored as -1 or 2, text with invalid UTF-8, a REAL in an integer column)
// are still found by the save's optimistic update, and nothing is lost.
#include "diagnostics/ListSelection.h"
#include "tests/reliability/HostFixture.h"

#include "diagnostics/MPublic.h"

#include <QLineEdit>

using namespace reliability;

namespace {

class OddStoredValues : public HostTest {
protected:
    void setStd(int zone, const QString& assignments) {
        db().runScript(QStringLiteral("update controllerstdcontrolzones set %1 where controllerid = %2 and controlzoneindex = %3")
                           .arg(assignments)
                           .arg(Warehouse)
                           .arg(zone));
    }
    void setMaster(int zone, const QString& assignments) {
        db().runScript(QStringLiteral("update controllermastercontrolzones set %1 where controllerid = %2 and mastercontrolzoneindex = %3")
                           .arg(assignments)
                           .arg(Warehouse)
                           .arg(zone));
    }
};

TEST_P(OddStoredValues, EveryRowIsFoundAndStoredAsTheOperatorLeftIt) {
    // zone -> what the database holds that the data layer reads back otherwise
    struct Case {
        int zone;
        QString stored;
    };
    // "N" 'o' 'r' then a lone lead byte: read as U+FFFD.
    const QString invalidUtf8 = QStringLiteral("cast(x'4e6f72c3' as text) || 'th'");
    const QList<Case> cases = isPostgres() ? QList<Case>{{5, QStringLiteral("tag = -32768")},
                                                         {6, QStringLiteral("alert = 32767, defined = false")},
                                                         {7, QStringLiteral("name = E'O''Brien \\\\ ;-- \\u00e9\\U0001F600'")},
                                                         {200, QStringLiteral("name = E'\\u00c5ngstr\\u00f6m', description = E'tab\\there'")}}
                                           : QList<Case>{{5, QStringLiteral("defined = -1")},
                                                         {6, QStringLiteral("defined = 2")},
                                                         {7, QStringLiteral("tag = 2.5")},
                                                         {8, QStringLiteral("name = ") + invalidUtf8},
                                                         {200, QStringLiteral("defined = 2, name = ") + invalidUtf8}};
    for (const Case& c : cases) c.zone >= 192 ? setMaster(c.zone, c.stored) : setStd(c.zone, c.stored);

    open();
    // Standard zones: the operator's edit; the master zone: only shown, which
    // marks it changed and writes its name back as shown.
    for (const Case& c : cases)
        if (c.zone < 192) renameSCZ(c.zone, QStringLiteral("Edited %1 \u00e9").arg(c.zone));
    cz::SelectComboByItemData(form().window()->cmbMCZIndex, 200);
    const QString shown = form().window()->txtMCZName->text();
    ASSERT_TRUE(form().state().MCZArray(200).Changed);
    ok();

    EXPECT_EQ(db().count(QStringLiteral("errorlog")), 0) << "no row went missing: " << db().scalar(QStringLiteral("select description from errorlog")).toString().toStdString();
    EXPECT_TRUE(reports().isEmpty());
    for (const Case& c : cases) {
        if (c.zone < 192) {
            EXPECT_EQ(storedName(c.zone), QStringLiteral("Edited %1 \u00e9").arg(c.zone)) << c.stored.toStdString();
        }
    }
    EXPECT_EQ(storedName(200), shown);
    EXPECT_EQ(shown, isPostgres() ? QStringLiteral("\u00c5ngstr\u00f6m") : QStringLiteral("Nor\uFFFDth"));
    // One command and one event per written zone.
    EXPECT_EQ(db().count(QStringLiteral("downloadqueue")), cases.size());
    EXPECT_EQ(db().count(QStringLiteral("eventlog")), cases.size());
}

TAMRIK_ON_BOTH_ENGINES(OddStoredValues);

}  // namespace
