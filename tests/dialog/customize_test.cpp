// Customize mode: stored texts applied on load, controls selected with the
// sizing frame, a moved label stored by the localizer, and the way back.
#include "tests/dialog/DialogFixture.h"

#include "host/lib/Localizer.h"
#include "platform/controls/ListControls.h"
#include "platform/controls/SizingFrame.h"
#include "platform/controls/TabControl.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace dialogtest;
using hostdb::demo::Warehouse;

namespace {

class Customize : public DialogTest {
protected:
    czhost::Localizer* localizer() { return qobject_cast<czhost::Localizer*>(window().Localizer.get()); }
};

TEST_P(Customize, OnlyWithTheRightStoredTextsApplyAndALabelIsMovedAndStoredWhileOKDoesNothing) {
    // Without the right only the active tab is remembered.
    open(Warehouse);
    EXPECT_EQ(window().Label1[3]->text(), QStringLiteral("MCZ#:")) << "stored texts are not applied";
    ASSERT_NE(localizer(), nullptr);
    EXPECT_FALSE(localizer()->enabled());
    EXPECT_EQ(form().state().SavedTab, 0);
    press(window().CmdCancel);

    host.comm->customize = true;
    raise(Warehouse);
    cz::FrmMainWindow& w = window();
    EXPECT_EQ(w.Label1[3]->text(), QStringLiteral("MCZ No.:")) << "the stored text of the seeded site";
    ASSERT_TRUE(localizer()->enabled()) << "every tab is available";
    w.SSTab1->setTab(1);

    localizer()->beginCustomize();
    ASSERT_TRUE(form().CustomizeMode);
    QLabel* label = w.Label1[0];
    QTest::mouseClick(label, Qt::LeftButton);
    controls::SizingFrame* frame = w.MhStretch1;
    ASSERT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->target(), label);
    EXPECT_EQ(frame->parentWidget(), label->parentWidget()) << "the frame moves into the control's container";
    EXPECT_EQ(form().state().CustomizeTarget, label);

    const QPoint before = label->pos();
    const QPoint grab = QPoint(frame->width() / 2, frame->height() / 2);
    QTest::mousePress(frame, Qt::LeftButton, {}, grab);
    QTest::mouseMove(frame, grab + QPoint(20, 10));
    QTest::mouseRelease(frame, Qt::LeftButton, {}, grab + QPoint(20, 10));
    EXPECT_EQ(label->pos(), before + QPoint(20, 10));
    EXPECT_EQ(db().scalar(QStringLiteral("select value from localizations where componentnumber = 5 and controlname = 'Label1_0' and property = 'Left'"))
                  .toInt(),
              (before.x() + 20) * 15);

    QTest::mouseClick(w.cmdOK, Qt::LeftButton);
    EXPECT_TRUE(form().isLoaded()) << "OK only selects itself for customization";
    EXPECT_EQ(frame->target(), w.cmdOK);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::mouseClick(w.cmbGlobalId->lineEdit(), Qt::LeftButton);  // where the mouse lands in an editable combo
    EXPECT_EQ(frame->target(), w.cmbGlobalId) << "the combo is selected, not its inner line edit";
    QTest::keyClick(w.windowHandle(), Qt::Key_Escape);
    EXPECT_TRUE(form().isLoaded());
    EXPECT_EQ(frame->target(), w.CmdCancel) << "Escape acts as the Cancel click, which selects Cancel";

    localizer()->endCustomize();
    EXPECT_FALSE(form().CustomizeMode);
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(w.SSTab1->tab(), 0) << "back on the tab that was active when the texts were applied";
    QTest::mouseClick(w.CmdCancel, Qt::LeftButton);
    EXPECT_FALSE(form().isLoaded());
}

TAMRIK_ON_ONE_ENGINE(Customize);

}  // namespace
