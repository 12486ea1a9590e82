// Two operators, one controller: while this dialog is open another operator's
// save changes rows over a connection of its own; with detection asked for,
// this operator sees the zones saved since the load and chooses; saving
// anyway, the later OK wins whole rows and the other's untouched zones survive.
#include "tests/reliability/HostFixture.h"

using namespace reliability;

namespace {

// A communication object whose "DetectConflicts" reads as any value, or fails.
class Probe : public QObject {
    Q_OBJECT
    Q_PROPERTY(QVariant DetectConflicts READ detect)
public:
    QVariant value;
    bool fail = false;
    QVariant detect() { return fail ? (automation::raise(automation::err::UserDefined, QStringLiteral("no")), QVariant()) : value; }
};

class TwoOperators : public HostTest {
protected:
    bool relay1(int zone) { return stored(zone, QStringLiteral("ry1")) == QLatin1String("1"); }

    // This operator edits standard zone 5, leaves 6 changed as it was loaded,
    // and only views master zone 220 (one whose texts fit its editors); the
    // other operator's save toggles relay 1 of zones 5 and 7 and renames 220.
    void collide() {
        comm()->setDetectConflicts(true);
        boxes.answer = controls::mb::No;
        open();
        rename(5, QStringLiteral("Mine"));
        rename(6, form().state().SCZArray(6).Name);
        cz::SelectComboByItemData(window().cmbMCZIndex, 220);
        for (int zone : {5, 7}) store(zone, QStringLiteral("ry1 = 1 - ry1"));
        store(220, QStringLiteral("name = 'Theirs'"));
        boxes.boxes.clear();
    }
};

// Going back saves nothing of this operator; a check that cannot read is
// written to the component's log file, and OK saves as without it.
TEST_P(TwoOperators, WithDetectionTheOperatorSeesTheZonesSavedSinceTheLoadAndMayGoBack) {
    QFile::remove(cz::LogFilePath());
    const bool theirRelay = !relay1(5), theirRelay7 = !relay1(7);
    collide();
    const QString shown = form().state().MCZArray(220).Name;
    ok();
    ASSERT_EQ(boxes.boxes.size(), 1);
    const QString box = boxes.boxes.first().text;
    EXPECT_EQ(boxes.boxes.first().buttons(), controls::mb::YesNo);
    EXPECT_TRUE(box.contains(QStringLiteral("SCZ 5 \"Mine\" (edited here)"))) << box.toStdString();
    EXPECT_TRUE(box.contains(QStringLiteral("MCZ 220 \"%1\" (only viewed here)").arg(shown))) << box.toStdString();
    EXPECT_FALSE(box.contains(QStringLiteral("SCZ 6")) || box.contains(QStringLiteral("SCZ 7"))) << box.toStdString();
    EXPECT_TRUE(form().isLoaded());
    EXPECT_EQ(db().count(QStringLiteral("eventlog")), 0) << "nothing saved here";

    boxes.boxes.clear();
    bool first = true;
    conn->setStatementHook([&](const database::Connection::Statement& s) { return !s.own && std::exchange(first, false); });
    ok();
    conn->setStatementHook(nullptr);
    EXPECT_FALSE(form().isLoaded());
    EXPECT_TRUE(boxes.boxes.isEmpty());
    EXPECT_EQ(stored(5), QStringLiteral("Mine"));
    EXPECT_EQ(relay1(5), !theirRelay);
    EXPECT_EQ(stored(220), shown) << "this dialog's rows win";
    EXPECT_EQ(relay1(7), theirRelay7) << "the other's edit of a zone this dialog left alone survives";
    QFile log(cz::LogFilePath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains("The conflict check before saving failed; saving as usual: injected fault"));
}

TAMRIK_ON_BOTH_ENGINES(TwoOperators);

// Only a readable Boolean True turns detection on (hosts without the member are the dialog tests' recording host).
TEST(ConflictProbe, OnlyABooleanTrueTurnsItOn) {
    Probe probe;
    cz::HostContext ctx;
    ctx.m_NTConnection = automation::ObjectRef::borrowed(&probe);
    const std::tuple<QVariant, bool, bool> cases[] = {{true, false, true}, {false, false, false}, {"True", false, false}, {1, false, false}, {true, true, false}};
    for (const auto& [value, fail, on] : cases) {
        probe.value = value, probe.fail = fail;
        EXPECT_EQ(cz::ConflictDetectionRequested(ctx), on) << value.toString().toStdString() << (fail ? " failing" : "");
    }
}

}  // namespace

#include "two_operators_test.moc"
