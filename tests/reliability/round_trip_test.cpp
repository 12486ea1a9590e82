// Hostile text entered on rows whose stored values the data layer reads back
// normalised (Booleans stored as -1 or 2, a REAL in an integer column, invalid
// UTF-8, extreme integers): the save still finds every row, the text comes
// back exactly (less the commas the name editors remove), nothing else changes.
// Relays, TAG, alert and threat level set with the mouse reach the rows too.
#include "tests/reliability/HostFixture.h"

#include <QCheckBox>

using namespace reliability;

namespace {

class RoundTrip : public HostTest {
protected:
    // Every row of every table, less the logs a save adds to and the zones this test writes.
    QHash<QString, QStringList> everythingElse() {
        const QHash<QString, QString> written{{QStringLiteral("controllerstdcontrolzones"), QStringLiteral("controlzoneindex between 10 and 15")},
                                              {QStringLiteral("controllermastercontrolzones"), QStringLiteral("mastercontrolzoneindex = 192 or mastercontrolzoneindex between 200 and 206")}};
        QHash<QString, QStringList> out;
        for (const QString& table : conn->database().tables()) {
            const QString t = table.toLower();
            if (t == QLatin1String("eventlog") || t == QLatin1String("downloadqueue")) continue;
            const QString others = written.contains(t) ? QStringLiteral("where not (controllerid = %1 and %2)").arg(Warehouse).arg(written[t]) : QString();
            QStringList rows = db().rows(QStringLiteral("select * from %1 %2").arg(t, others));
            rows.sort();
            out.insert(t, rows);
        }
        return out;
    }
};

TEST_P(RoundTrip, EveryRowIsFoundWhatWasEnteredIsStoredAndNothingElseChanges) {
    const QStringList texts{QStringLiteral("O'Brien \"Gate\"; --"), QStringLiteral("x'); DROP TABLE eventlog;--"),
                            QStringLiteral("C:\\doors\\new \\\\ end\\"), QStringLiteral("/* c */ \u00dcn\u00efc\u00f6d\u00e9 \u9580 \u2713 \U0001F512"),
                            QStringLiteral("' OR '1'='1"), QStringLiteral("Robert, the; gate %s %n")};
    // Standard zones 10..15 and master zones 200..205 get the texts; master zone 206 is only viewed.
    const QString invalidUtf8 = QStringLiteral("cast(x'4e6f72c3' as text) || 'th'");  // "Nor", a lone lead byte, "th"
    const QList<std::pair<int, QString>> odd =
        isPostgres() ? QList<std::pair<int, QString>>{{10, "tag = -32768"}, {11, "alert = 32767, defined = false"},
                                                      {12, "name = E'O''Brien \\\\ ;-- \\u00e9\\U0001F600'"},
                                                      {206, "name = E'\\u00c5ngstr\\u00f6m', description = E'tab\\there'"}}
                     : QList<std::pair<int, QString>>{{10, "defined = -1"}, {11, "defined = 2"}, {12, "tag = 2.5"}, {13, "name = " + invalidUtf8},
                                                      {200, "defined = 2"}, {206, "defined = 2, name = " + invalidUtf8}};
    for (const auto& [zone, values] : odd) store(zone, values);
    const auto before = everythingElse();

    open();
    cz::FrmMainWindow& w = window();
    for (int i = 0; i < 6; ++i) {
        clickCell(w.grdSCZ, 10 + i + 1, 1);
        ASSERT_TRUE(w.txtText->isVisible());
        w.txtText->setText(texts[i]);
    }
    const bool relay3 = form().state().SCZArray(11).Relay[3], tag = form().state().SCZArray(12).Tag;
    clickCell(w.grdSCZ, 12, 5);   // relay 3 of zone 11; ends the name edit
    clickCell(w.grdSCZ, 13, 75);  // TAG of zone 12 (on SQLite a stored 2.5)
    for (int i = 0; i < 6; ++i) {
        cz::SelectComboByItemData(w.cmbMCZIndex, 200 + i);
        w.txtMCZName->setText(QStringLiteral("M ") + texts[i]);  // names are unique across both kinds
        w.txtMCZDescription->setText(texts[(i + 1) % 6]);
    }
    // Master zone 192: the name editor refuses a typed comma or '%'; the rest by the mouse.
    cz::SelectComboByItemData(w.cmbMCZIndex, 192);
    w.txtMCZName->selectAll();
    QTest::keyClicks(w.txtMCZName, QStringLiteral("Evacuate, All%"));
    w.cmbThreatLevel->setListIndex(w.cmbThreatLevel->listCount() - 1);
    const int level = w.cmbThreatLevel->itemDataAt(w.cmbThreatLevel->listCount() - 1);
    QTest::mouseClick(w.chkTagAlert[1], Qt::LeftButton);
    const bool alert = form().state().MCZArray(192).Alert;
    // Only viewed: marked changed, and written back as shown.
    cz::SelectComboByItemData(w.cmbMCZIndex, 206);
    const QString shown = w.txtMCZName->text();
    EXPECT_EQ(shown, isPostgres() ? QStringLiteral("\u00c5ngstr\u00f6m") : QStringLiteral("Nor\uFFFDth"));
    ok();
    ASSERT_FALSE(form().isLoaded()) << (boxes.boxes.isEmpty() ? std::string() : boxes.boxes.first().text.toStdString());
    EXPECT_TRUE(reports().isEmpty());
    EXPECT_EQ(stored(206), shown);
    EXPECT_EQ(stored(11, QStringLiteral("ry3")) + stored(12, QStringLiteral("tag")), QStringLiteral("%1%2").arg(relay3 ? 0 : 1).arg(tag ? 0 : 1));
    EXPECT_EQ(stored(192, QStringLiteral("name, securitylevel, alert")), QStringLiteral("Evacuate All|%1|%2").arg(level).arg(alert ? 1 : 0));
    const auto after = everythingElse();
    for (auto it = before.cbegin(); it != before.cend(); ++it) EXPECT_EQ(after.value(it.key()), it.value()) << it.key().toStdString();
    EXPECT_EQ((QList<qlonglong>{db().count(QStringLiteral("downloadqueue")), db().count(QStringLiteral("eventlog"))}), (QList<qlonglong>{14, 14}))
        << "one command and one event per written zone";

    const auto asName = [](QString s) { return s.remove(QLatin1Char(',')); };
    open();
    EXPECT_EQ(window().grdSCZ->textMatrix(12, 5), relay3 ? QString() : QStringLiteral("X")) << "the reopened grid shows the saved mark";
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(form().state().SCZArray(10 + i).Name, asName(texts[i]));
        EXPECT_EQ(form().state().MCZArray(200 + i).Name, asName(QStringLiteral("M ") + texts[i]));
        EXPECT_EQ(form().state().MCZArray(200 + i).Description, texts[(i + 1) % 6]);
        EXPECT_EQ(db().count(QStringLiteral("eventlog"), QStringLiteral("description = '(SCZ%1) %2'").arg(10 + i).arg(asName(texts[i]).replace("'", "''"))), 1)
            << texts[i].toStdString();
    }
}

TAMRIK_ON_BOTH_ENGINES(RoundTrip);

}  // namespace
