// Names and descriptions an operator (or an attacker) might enter travel
// through the editors, OK and a reload exactly, except for the commas the
// name editors remove; nothing else in the database changes.
#include "diagnostics/ListSelection.h"
#include "tests/reliability/HostFixture.h"

#include "diagnostics/MPublic.h"
#include "platform/controls/FlexGrid.h"

#include <QLineEdit>

using namespace reliability;

namespace {

class HostileText : public HostTest {
protected:
    // Every row of every table, as text, keyed by table.
    QHash<QString, QStringList> dump() {
        database::Connection c;
        c.Open(db().connectionString());
        QHash<QString, QStringList> out;
        for (const QString& t : c.database().tables()) {
            QStringList rows;
            for (const auto& r : c.fetchAll(QStringLiteral("select * from %1").arg(t)).rows) {
                QStringList cells;
                for (const QVariant& v : r) cells << (v.isNull() ? QStringLiteral("<null>") : v.toString());
                rows << cells.join(QChar(0x1f));
            }
            rows.sort();
            out.insert(t.toLower(), rows);
        }
        return out;
    }
};

TEST_P(HostileText, RoundTripsExactlyAndTouchesNothingElse) {
    // Each at most 32 characters: what an editor lets the operator enter.
    const QStringList texts{
        QStringLiteral("O'Brien \"Gate\"; --"),
        QStringLiteral("x'); DROP TABLE eventlog;--"),
        QStringLiteral("C:\\doors\\new \\\\ end\\"),
        QStringLiteral("/* c */ \u00dcn\u00efc\u00f6d\u00e9 \u9580 \u2713 \U0001F512"),
        QStringLiteral("' OR '1'='1"),
        QStringLiteral("Robert, the; gate %s %n"),
    };
    // Names are unique across both kinds.
    const auto masterName = [](const QString& s) { return QStringLiteral("M ") + s; };
    const QList<int> stdZones{10, 11, 12, 13, 14, 15};
    const QList<int> masterZones{200, 201, 202, 203, 204, 205};
    const auto before = dump();

    open();
    controls::FlexGrid* grid = form().window()->grdSCZ;
    for (int i = 0; i < texts.size(); ++i) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(stdZones[i] + 1, 1).center());
        ASSERT_TRUE(form().window()->txtText->isVisible());
        form().window()->txtText->setText(texts[i]);
    }
    for (int i = 0; i < texts.size(); ++i) {
        cz::SelectComboByItemData(form().window()->cmbMCZIndex, masterZones[i]);
        form().window()->txtMCZName->setText(masterName(texts[i]));
        form().window()->txtMCZDescription->setText(texts[(i + 1) % texts.size()]);
    }
    ok();
    ASSERT_FALSE(form().isLoaded()) << (boxes.boxes.isEmpty() ? std::string() : boxes.boxes.first().text.toStdString());
    EXPECT_TRUE(reports().isEmpty());

    // What the name editors keep: everything but commas.
    const auto asName = [](QString s) { return s.remove(QLatin1Char(',')); };
    open();
    for (int i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(form().state().SCZArray(stdZones[i]).Name, asName(texts[i]));
        EXPECT_EQ(form().state().MCZArray(masterZones[i]).Name, asName(masterName(texts[i])));
        EXPECT_EQ(form().state().MCZArray(masterZones[i]).Description, texts[(i + 1) % texts.size()]);
        EXPECT_EQ(storedName(masterZones[i]), asName(masterName(texts[i])));
    }
    QTest::mouseClick(form().window()->findChild<QPushButton*>(QStringLiteral("CmdCancel")), Qt::LeftButton);
    settle();

    // Apart from the edited rows and the logs the save adds to, every table holds what it held.
    const auto after = dump();
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (it.key() == QLatin1String("eventlog") || it.key() == QLatin1String("downloadqueue")) continue;
        const QStringList& was = it.value();
        const QStringList& is = after.value(it.key());
        if (it.key().endsWith(QLatin1String("controlzones"))) {
            QSet<QString> gone(was.cbegin(), was.cend()), added(is.cbegin(), is.cend());
            gone.subtract(QSet<QString>(is.cbegin(), is.cend()));
            added.subtract(QSet<QString>(was.cbegin(), was.cend()));
            EXPECT_EQ(gone.size(), texts.size()) << it.key().toStdString() << ": only the edited rows differ";
            EXPECT_EQ(added.size(), texts.size()) << it.key().toStdString();
        } else {
            EXPECT_EQ(is, was) << it.key().toStdString();
        }
    }
    EXPECT_EQ(after.value(QStringLiteral("eventlog")).size(), 2 * texts.size());
    EXPECT_EQ(after.value(QStringLiteral("downloadqueue")).size(), 2 * texts.size());
    for (int i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(db().count(QStringLiteral("eventlog"), QStringLiteral("description = '(SCZ%1) %2'").arg(stdZones[i]).arg(asName(texts[i]).replace("'", "''"))), 1)
            << texts[i].toStdString();
    }
}

TAMRIK_ON_BOTH_ENGINES(HostileText);

}  // namespace
