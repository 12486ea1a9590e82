// Two operators, two host processes, one controller. This process's dialog
// is open while the other host opens the same controller, edits, and saves;
// then this one saves.
#include "tests/reliability/HostFixture.h"

#include <QProcess>

using namespace reliability;

namespace {

class TwoHosts : public HostTest {
protected:
    // The other operator's whole session, in a process of its own.
    void otherOperatorSaves(int zone, const QString& edit, bool detect = false) {
        QProcess peer;
        peer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QStringList args{db().connectionString(), QString::number(Warehouse), QString::number(zone), edit};
        if (detect) args << QStringLiteral("detect");
        peer.start(QCoreApplication::applicationDirPath() + QStringLiteral("/reliability_peer"), args);
        ASSERT_TRUE(peer.waitForFinished(60000));
        ASSERT_EQ(peer.exitStatus(), QProcess::NormalExit);
        ASSERT_EQ(peer.exitCode(), 0) << "the other host saved without a report";
    }
    int relay1(int zone) {
        return db().scalar(QStringLiteral("select ry1 from controllerstdcontrolzones where controllerid = %1 and controlzoneindex = %2").arg(Warehouse).arg(zone)).toInt();
    }
};

TEST_P(TwoHosts, EditsOfDifferentZonesBothSurvive) {
    const int relay = relay1(6);
    open();
    renameSCZ(5, QStringLiteral("Mine"));
    otherOperatorSaves(6, QStringLiteral("relay:1"));
    ok();
    EXPECT_TRUE(reports().isEmpty());
    EXPECT_EQ(storedName(5), QStringLiteral("Mine"));
    EXPECT_EQ(relay1(6), relay ? 0 : 1) << "the other operator's relay";
}

// Without conflict detection the later OK wins, whole rows at a time.
TEST_P(TwoHosts, OnTheSameZoneTheLaterOkWinsWithoutDetection) {
    const int relay = relay1(5);
    open();
    renameSCZ(5, QStringLiteral("Mine"));
    otherOperatorSaves(5, QStringLiteral("relay:1"));
    ASSERT_EQ(relay1(5), relay ? 0 : 1);
    ok();
    EXPECT_TRUE(boxes.boxes.isEmpty());
    EXPECT_EQ(storedName(5), QStringLiteral("Mine"));
    EXPECT_EQ(relay1(5), relay) << "this dialog's row, as it loaded it, overwrote the other's relay";
}

TAMRIK_ON_BOTH_ENGINES(TwoHosts);

}  // namespace
