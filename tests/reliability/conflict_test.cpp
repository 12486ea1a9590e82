// Conflict detection at OK, for hosts that ask for it: another host process
// saves zones this dialog is about to write; the operator sees them listed and
// chooses. Hosts that do not ask get the plain save, unprobed by calls.
#include "diagnostics/ListSelection.h"
#include "tests/reliability/HostFixture.h"

#include "diagnostics/MPublic.h"
#include "master_zones/ConflictCheck.h"
#include "tests/reliability/ProbeObject.h"
#include "tests/support/RecordingHost.h"

#include <QProcess>

using namespace reliability;

namespace {

class Conflicts : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        if (HasFatalFailure() || IsSkipped()) return;
        comm()->setDetectConflicts(true);
        boxes.answer = controls::mb::No;
    }
    void otherOperatorSaves(int zone, const QString& edit) {
        QProcess peer;
        peer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        peer.start(QCoreApplication::applicationDirPath() + QStringLiteral("/reliability_peer"),
                   {db().connectionString(), QString::number(Warehouse), QString::number(zone), edit, QStringLiteral("detect")});
        ASSERT_TRUE(peer.waitForFinished(60000));
        ASSERT_EQ(peer.exitCode(), 0);
    }
    // This operator edits standard zone 5 and only views master zone 220 (one whose texts fit its editors);
    // the other edits both and saves first.
    void collide() {
        open();
        renameSCZ(5, QStringLiteral("Mine"));
        untouched = form().state().SCZArray(6).Name;
        cz::SelectComboByItemData(form().window()->cmbMCZIndex, 220);
        ASSERT_TRUE(form().state().MCZArray(220).Changed);
        renameSCZ(6, untouched);  // changed, but as the other left it: no conflict
        otherOperatorSaves(5, QStringLiteral("relay:1"));
        otherOperatorSaves(220, QStringLiteral("rename:Theirs"));
        boxes.boxes.clear();
    }
    int relay1(int zone) {
        return db().scalar(QStringLiteral("select ry1 from controllerstdcontrolzones where controllerid = %1 and controlzoneindex = %2").arg(Warehouse).arg(zone)).toInt();
    }
    QString untouched;
};

TEST_P(Conflicts, TheOperatorSeesTheZonesSavedSinceTheLoadAndMayGoBack) {
    const int theirRelay = relay1(5) ? 0 : 1;
    collide();
    const QString shown = form().state().MCZArray(220).Name;
    ok();
    ASSERT_EQ(boxes.boxes.size(), 1);
    const QString box = boxes.boxes.first().text;
    EXPECT_EQ(boxes.boxes.first().buttons(), controls::mb::YesNo);
    EXPECT_TRUE(box.contains(QStringLiteral("SCZ 5 \"Mine\" (edited here)"))) << box.toStdString();
    EXPECT_TRUE(box.contains(QStringLiteral("MCZ 220 \"%1\" (only viewed here)").arg(shown))) << box.toStdString();
    EXPECT_FALSE(box.contains(QStringLiteral("SCZ 6"))) << box.toStdString();

    // Back to editing: the dialog stays, nothing of this operator is saved.
    EXPECT_TRUE(form().isLoaded());
    EXPECT_EQ(relay1(5), theirRelay);
    EXPECT_NE(storedName(5), QStringLiteral("Mine"));
    EXPECT_EQ(storedName(220), QStringLiteral("Theirs"));
    EXPECT_EQ(db().count(QStringLiteral("eventlog"), QStringLiteral("description like '(SCZ5)%'")), 1) << "only the other's event";

    // Overwrite: this dialog's rows win, as without the check.
    boxes.answer = controls::mb::Yes;
    boxes.boxes.clear();
    ok();
    EXPECT_FALSE(form().isLoaded());
    EXPECT_EQ(boxes.boxes.size(), 1);
    EXPECT_EQ(storedName(5), QStringLiteral("Mine"));
    EXPECT_EQ(relay1(5), theirRelay ? 0 : 1);
    EXPECT_EQ(storedName(220), shown);
}

// A check that cannot read is written to the component's log file and OK
// saves as it would without the check.
TEST_P(Conflicts, ACheckThatCannotReadLogsAndSaves) {
    QFile::remove(cz::LogFilePath());
    collide();
    bool first = true;
    conn->setStatementHook([&](const database::Connection::Statement& s) { return !s.own && std::exchange(first, false); });
    ok();
    conn->setStatementHook(nullptr);
    EXPECT_FALSE(form().isLoaded());
    EXPECT_TRUE(boxes.boxes.isEmpty());
    EXPECT_EQ(storedName(5), QStringLiteral("Mine"));
    QFile log(cz::LogFilePath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(log.readAll()).contains(QStringLiteral("The conflict check before saving failed; saving as usual: injected fault")));
}

TAMRIK_ON_BOTH_ENGINES(Conflicts);

// Only a readable Boolean True turns the check on; probing calls nothing.
TEST(ConflictProbe, OnlyABooleanTrueTurnsItOn) {
    testsupport::RecordingHost without;  // no such member
    cz::HostContext ctx;
    ctx.m_NTConnection = automation::ObjectRef::borrowed(without.comm.get());
    EXPECT_FALSE(cz::ConflictDetectionRequested(ctx));
    EXPECT_TRUE(without.journal->calls.isEmpty());
    EXPECT_TRUE(without.journal->errors.isEmpty());

    reliability::Probe probe;
    ctx.m_NTConnection = automation::ObjectRef::borrowed(&probe);
    const struct {
        QVariant value;
        bool fail;
        bool on;
    } cases[] = {{true, false, true}, {false, false, false}, {QStringLiteral("True"), false, false}, {1, false, false}, {true, true, false}};
    for (const auto& c : cases) {
        probe.value = c.value;
        probe.fail = c.fail;
        EXPECT_EQ(cz::ConflictDetectionRequested(ctx), c.on) << c.value.toString().toStdString() << (c.fail ? " failing" : "");
    }
}

}  // namespace
