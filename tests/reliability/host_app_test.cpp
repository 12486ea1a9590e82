// The shipped host over many opens, and on a file that is no database.
#include "tests/reliability/HostFixture.h"

#include <QProcess>

using namespace reliability;

namespace {

class HostApp : public HostTest {
protected:
    // Every object the host holds, the window's widgets included.
    int hostObjects() { return static_cast<int>(host->findChildren<QObject*>().size()); }
};

// Each load asks for the per-tab rights; the host answers with the same
// objects every time instead of adding two per open.
TEST_P(HostApp, ObjectCountsStayFlatOverTwoHundredOpens) {
    const auto cycle = [&] {
        open(hostdb::demo::ServerRoom);
        QTest::mouseClick(form().window()->findChild<QPushButton*>(QStringLiteral("CmdCancel")), Qt::LeftButton);
        settle();
        ASSERT_FALSE(form().isLoaded());
    };
    cycle();  // the first open creates what the host keeps for good
    const int after1 = hostObjects();
    for (int i = 0; i < 199; ++i) cycle();
    EXPECT_EQ(hostObjects(), after1);
}

TAMRIK_ON_BOTH_ENGINES(HostApp);

TEST(HostAppFiles, ACorruptFileIsReportedAsNoDatabase) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("site.db"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));  // not SQLite's header
    f.close();
    QProcess czhost;
    czhost.start(QCoreApplication::applicationDirPath() + QStringLiteral("/czhost"),
                 {QStringLiteral("--database"), path, QStringLiteral("--screenshot"), dir.filePath(QStringLiteral("shot.png"))});
    ASSERT_TRUE(czhost.waitForFinished(60000));
    const QString err = QString::fromLocal8Bit(czhost.readAllStandardError());
    EXPECT_EQ(czhost.exitCode(), 1);
    EXPECT_TRUE(err.contains(QStringLiteral("is not a database"))) << err.toStdString();
    EXPECT_FALSE(err.contains(QStringLiteral("creating the demo database"))) << err.toStdString();
    EXPECT_EQ(f.size(), 4096) << "the file is left as it was";
}

}  // namespace
