#include "platform/controls/ListControls.h"
#include "platform/controls/Twips.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace controls;

// A fill must not run the handlers of a selection nobody made: Qt's own
// selection of a combo's first entry would, for an editable one, also through
// its text.
TEST(ListControls, FillingAComboSelectsNothingAndRaisesNothing) {
    for (const auto& [editable, batch] : {std::pair{false, false}, {false, true}, {true, false}, {true, true}}) {
        ComboBox combo;
        combo.setEditable(editable);
        QSignalSpy clicks(&combo, &ComboBox::click), texts(&combo, &QComboBox::editTextChanged), index(&combo, &QComboBox::currentIndexChanged);
        if (batch) combo.addEntries({{"0", 0}, {"1", 1}, {"2", 2}});
        else for (int n = 0; n < 3; ++n) combo.addEntry(QString::number(n), n);
        combo.setEntry(3, QStringLiteral("3"), 3);
        EXPECT_EQ(combo.listIndex(), -1) << editable;
        EXPECT_EQ(combo.currentText(), QString()) << editable;
        EXPECT_EQ(clicks.count() + texts.count() + index.count(), 0) << editable;

        combo.setListIndex(2);
        combo.setListIndex(2);
        EXPECT_EQ(clicks.count(), 2) << "selecting from code raises click, also for the same entry";
        if (batch) combo.addEntries({{"4", 4}, {"5", 5}});
        else combo.addEntry(QStringLiteral("4"), 4);
        EXPECT_EQ(combo.listIndex(), 2) << "a later entry leaves the selection";
        EXPECT_EQ(combo.itemDataAt(4), 4);
        EXPECT_EQ(combo.itemText(4), QStringLiteral("4"));
        combo.setEntry(2, QStringLiteral("two"), 22);
        EXPECT_EQ(combo.currentText(), QStringLiteral("two")) << "a replaced entry shows at once";
        EXPECT_EQ(combo.itemDataAt(2), 22);
    }
}

TEST(Twips, ConvertAtTheGivenDpiRoundingToTheNearestPixelAndFifteenPerPixelOffscreen) {
    EXPECT_DOUBLE_EQ(pixelsToTwips(1, 96), 15.0);
    EXPECT_DOUBLE_EQ(pixelsToTwips(96, 96), 1440.0);
    EXPECT_DOUBLE_EQ(pixelsToTwips(1, 120), 12.0);
    // 1440, 7 (0.47 px), 8 (0.53 px), 1000 and -22 twips at 96 dpi; 1000 at 144.
    EXPECT_EQ((QList<int>{twipsToPixels(1440, 96), twipsToPixels(7, 96), twipsToPixels(8, 96), twipsToPixels(1000, 96), twipsToPixels(-22, 96),
                          twipsToPixels(1000, 144)}),
              (QList<int>{96, 0, 1, 67, -1, 100}));
    QWidget w;
    EXPECT_DOUBLE_EQ(twipsPerPixelX(&w), 15.0);
    EXPECT_DOUBLE_EQ(twipsPerPixelY(&w), 15.0);
    EXPECT_DOUBLE_EQ(twipsPerPixelX(nullptr), 15.0);
}

TEST(Twips, GeometryIsReadAndSetRelativeToTheParent) {
    QWidget parent;
    parent.resize(800, 600);
    QWidget child(&parent);
    setTwipsGeometry(&child, 150, 300, 1000, 457);
    EXPECT_EQ(child.geometry(), QRect(10, 20, 67, 30));
    EXPECT_EQ((QList<int>{twipsLeft(&child), twipsTop(&child), twipsWidth(&child), twipsHeight(&child)}),
              (QList<int>{150, 300, 1005, 450}))
        << "to the pixel";
    setTwipsLeft(&child, 3000), setTwipsHeight(&child, 150), setTwipsTop(&child, 15), setTwipsWidth(&child, 30);
    EXPECT_EQ(child.geometry(), QRect(200, 1, 2, 10));
    // A negative size means nothing on screen, not an inverted rectangle.
    setTwipsGeometry(&child, -150, 0, -100, -100);
    EXPECT_EQ(child.geometry(), QRect(-10, 0, 0, 0));
}
