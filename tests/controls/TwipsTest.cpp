#include "platform/controls/Twips.h"

#include <QWidget>
#include <gtest/gtest.h>

using namespace controls;

TEST(Twips, ConvertsAtTheGivenDpiRoundingToTheNearestPixel) {
    EXPECT_DOUBLE_EQ(pixelsToTwips(1, 96), 15.0);
    EXPECT_DOUBLE_EQ(pixelsToTwips(96, 96), 1440.0);
    EXPECT_DOUBLE_EQ(pixelsToTwips(1, 120), 12.0);
    EXPECT_EQ(twipsToPixels(1440, 96), 96);
    EXPECT_EQ(twipsToPixels(7, 96), 0);   // 0.47 px
    EXPECT_EQ(twipsToPixels(8, 96), 1);   // 0.53 px
    EXPECT_EQ(twipsToPixels(1000, 96), 67);
    EXPECT_EQ(twipsToPixels(1000, 144), 100);
    EXPECT_EQ(twipsToPixels(-22, 96), -1);
}

TEST(Twips, OffscreenWidgetsUseFifteenTwipsPerPixel) {
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
    EXPECT_EQ(twipsLeft(&child), 150);
    EXPECT_EQ(twipsTop(&child), 300);
    EXPECT_EQ(twipsWidth(&child), 1005);  // to the pixel
    EXPECT_EQ(twipsHeight(&child), 450);

    setTwipsLeft(&child, 3000);
    setTwipsHeight(&child, 150);
    EXPECT_EQ(child.geometry(), QRect(200, 20, 67, 10));
    setTwipsTop(&child, 15);
    setTwipsWidth(&child, 30);
    EXPECT_EQ(child.geometry(), QRect(200, 1, 2, 10));

    // A negative size means nothing on screen, not an inverted rectangle.
    setTwipsGeometry(&child, -150, 0, -100, -100);
    EXPECT_EQ(child.geometry(), QRect(-10, 0, 0, 0));
}
