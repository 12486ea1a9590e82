// Resource strings, the error box and the log file, the selection helpers and
// the two ways an operation reports a failure.
#include "diagnostics/ErrorTrap.h"
#include "diagnostics/ListSelection.h"
#include "diagnostics/MPublic.h"
#include "platform/controls/ListControls.h"
#include "tests/support/Errors.h"
#include "tests/support/RecordingHost.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>

using namespace automation;

namespace {

struct Diagnostics : ::testing::Test {
    testsupport::RecordingHost host;
    cz::HostContext ctx;
    testsupport::MessageBoxRecorder boxes;

    void SetUp() override {
        ctx.m_NTConnection = ObjectRef::borrowed(host.comm.get());
        ctx.m_Parent = ObjectRef::borrowed(host.parent.get());
        ctx.m_ControllerId = 31;
        host.comm->resources.insert(290, QStringLiteral("Control Zones"));
        QFile::remove(cz::LogFilePath());
    }
    void TearDown() override {
        QDir(cz::LogFilePath()).removeRecursively();
        QFile::remove(cz::LogFilePath());
    }

    QStringList logLines() {
        QFile f(cz::LogFilePath());
        if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
};

}  // namespace

TEST_F(Diagnostics, ResourceStringsComeFromTheHostWithTheirInserts) {
    host.comm->resources.insert(1164, QStringLiteral("Control Zones - %1"));
    EXPECT_EQ(cz::GRS(ctx, 1164, {QStringLiteral("Lobby")}), QStringLiteral("Control Zones - Lobby"));
    EXPECT_EQ(cz::GRS(ctx, 661), QStringLiteral("R661"));

    // A failing lookup is logged and gives an empty text.
    host.comm->failGRS = true;
    EXPECT_EQ(cz::GRS(ctx, 1152), QString());
    ASSERT_EQ(host.journal->errors.size(), 1);
    const auto& e = host.journal->errors.first();
    EXPECT_EQ(e.location, QStringLiteral("GRS"));
    EXPECT_EQ(e.controllerId.metaType().id(), QMetaType::Short) << "the resource function logs with a 16-bit 0";
    EXPECT_EQ(e.controllerId.toInt(), 0);
    EXPECT_EQ(e.line.metaType().id(), QMetaType::Int) << "and its line as a number";
    EXPECT_GT(e.line.toInt(), 0);
    EXPECT_TRUE(e.description.contains(QStringLiteral("resource file missing")));

    cz::HostContext nobody;
    EXPECT_EQ(cz::GRS(nobody, 290), QString()) << "no communication object at all";
}

TEST_F(Diagnostics, TheErrorBoxHasTheExactTextAndTheLogGetsTheSameLines) {
    cz::DisplayError(ctx, AutomationError(13, QStringLiteral("Type mismatch")), QStringLiteral("frmMain.LeaveCellEdit"), QStringLiteral("42"));
    ASSERT_EQ(boxes.boxes.size(), 1);
    const auto& box = boxes.boxes.first();
    EXPECT_EQ(box.text, QStringLiteral("The following unexpected application error occurred...\r\n\r\n"
                                       "Function Name: frmMain.LeaveCellEdit\r\n\r\n"
                                       "FunctionSubItem: 42\r\n\r\n"
                                       "Number: 13\r\n"
                                       "Description: Type mismatch"));
    EXPECT_EQ(box.title, QStringLiteral("Control Zones"));
    EXPECT_EQ(box.style, controls::mb::Critical | controls::mb::OKOnly);
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral(": The following unexpected application error occurred...")));
    EXPECT_EQ(lines[1], QStringLiteral("Function Name: frmMain.LeaveCellEdit"));
    EXPECT_EQ(lines[4], QStringLiteral("Description: Type mismatch"));
}

// The first line of a run replaces the old file, later ones append; a file
// that cannot be written shows its own box.
TEST_F(Diagnostics, TheLogFileStartsAfreshEachRunAndAFailedWriteIsShown) {
    {
        QFile old(cz::LogFilePath());
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("yesterday's news\n");
    }
    cz::WriteLog(ctx, QStringLiteral("first"));
    cz::WriteLog(ctx, QStringLiteral("second"));
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral(": first")) && lines[1].endsWith(QStringLiteral(": second"))) << lines.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(boxes.boxes.isEmpty());

    QFile::remove(cz::LogFilePath());
    QDir().mkpath(cz::LogFilePath());  // a directory where the file should be
    cz::WriteLog(ctx, QStringLiteral("lost line"));
    ASSERT_EQ(boxes.boxes.size(), 1);
    EXPECT_TRUE(boxes.boxes[0].text.startsWith(QStringLiteral("Error writing to log file: ")));
    EXPECT_TRUE(boxes.boxes[0].text.endsWith(QStringLiteral("\r\n\r\nOriginal log msg: lost line")));
    EXPECT_EQ(boxes.boxes[0].title, QStringLiteral("Control Zones"));
    EXPECT_EQ(boxes.boxes[0].style, controls::mb::Critical | controls::mb::OKOnly);
}

TEST_F(Diagnostics, SelectingByItemDataRaisesClickOnlyWhenAnEntryMatches) {
    controls::ComboBox combo;
    controls::ListBox list;
    for (int i = 0; i < 3; ++i) combo.addEntry(QStringLiteral("e%1").arg(i), 10 * i), list.addEntry(QStringLiteral("e%1").arg(i), 10 * i);
    QSignalSpy comboClicks(&combo, &controls::ComboBox::click), listClicks(&list, &controls::ListBox::click);
    combo.setListIndex(0);
    for (int data : {20, 20, 99}) cz::SelectComboByItemData(&combo, data);  // the same entry again still clicks, a missing one not
    for (int data : {10, -1}) cz::SelectListByItemData(&list, data);
    EXPECT_EQ((QList<qsizetype>{combo.listIndex(), comboClicks.count(), list.listIndex(), listClicks.count()}), (QList<qsizetype>{2, 3, 1, 1}));
}

// Show and end; log and continue; log and end with an action after the report.
TEST_F(Diagnostics, TheErrorConventionsReportEachFailureTheirWayAndGoOnOrEnd) {
    int ran = 0, closed = 0;
    auto shows = cz::ErrorTrap::showAndEnd(ctx, QStringLiteral("frmMain.GetControllerInfo"));
    auto goesOn = cz::ErrorTrap::logAndContinue(ctx, QStringLiteral("LoadSCZArray"));
    auto ends = cz::ErrorTrap::logAndEnd(ctx, QStringLiteral("LaunchRelayObject"));
    ends.afterReport([&] { ++closed; });
    shows([&] { ++ran; });
    const int failingLine = __LINE__ + 1;
    shows([&] { automation::raise(err::Overflow); });
    shows([&] { ran += 100; });
    goesOn([&] { automation::raise(err::InvalidUseOfNull); });
    goesOn([&] { ++ran; });
    ends([&] { automation::raise(err::CannotCreateObject); });
    ends([&] { ran += 100; });
    EXPECT_EQ(ran, 2) << "only the log-and-continue trap runs steps after a failure";
    EXPECT_EQ(closed, 1);
    EXPECT_TRUE(ends.ended());

    ASSERT_EQ(boxes.boxes.size(), 1);
    EXPECT_TRUE(boxes.boxes[0].text.contains(QStringLiteral("Function Name: frmMain.GetControllerInfo")));
    EXPECT_TRUE(boxes.boxes[0].text.contains(QStringLiteral("FunctionSubItem: %1").arg(failingLine)));
    ASSERT_EQ(host.journal->errors.size(), 2);
    const auto& first = host.journal->errors[0];
    EXPECT_EQ(first.controllerId.toInt(), 31);
    EXPECT_EQ(first.number, err::InvalidUseOfNull);
    EXPECT_EQ(first.location, QStringLiteral("LoadSCZArray"));
    EXPECT_EQ(first.line.metaType().id(), QMetaType::QString) << "the dialog passes its line as text";
    EXPECT_EQ(first.zero.toInt(), 0);
    EXPECT_EQ(host.journal->errors[1].location, QStringLiteral("LaunchRelayObject"));
}
