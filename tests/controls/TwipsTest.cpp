#include "platform/controls/Twips.h"

#include <QWidget>
#include <gtest/gtest.h>

using namespace controls;

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
