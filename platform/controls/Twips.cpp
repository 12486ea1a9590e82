#include "platform/controls/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace controls {

namespace {
constexpr double kFallbackDpi = 96.0;

double screenDpi(bool horizontal) {
    const QScreen* s = QGuiApplication::primaryScreen();
    if (!s) return kFallbackDpi;
    const double dpi = horizontal ? s->logicalDotsPerInchX() : s->logicalDotsPerInchY();
    return dpi > 0 ? dpi : kFallbackDpi;
}
}  // namespace

double pixelsToTwips(double pixels, double dpi) { return pixels * kTwipsPerInch / dpi; }

int twipsToPixels(double twips, double dpi) {
    return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

double logicalDpiX(const QWidget* w) {
    if (!w) return screenDpi(true);
    const int dpi = w->logicalDpiX();
    return dpi > 0 ? dpi : kFallbackDpi;
}

double logicalDpiY(const QWidget* w) {
    if (!w) return screenDpi(false);
    const int dpi = w->logicalDpiY();
    return dpi > 0 ? dpi : kFallbackDpi;
}

double twipsPerPixelX(const QWidget* w) { return kTwipsPerInch / logicalDpiX(w); }
double twipsPerPixelY(const QWidget* w) { return kTwipsPerInch / logicalDpiY(w); }

double pixelsToTwipsX(const QWidget* w, double pixels) { return pixelsToTwips(pixels, logicalDpiX(w)); }
double pixelsToTwipsY(const QWidget* w, double pixels) { return pixelsToTwips(pixels, logicalDpiY(w)); }
int twipsToPixelsX(const QWidget* w, double twips) { return twipsToPixels(twips, logicalDpiX(w)); }
int twipsToPixelsY(const QWidget* w, double twips) { return twipsToPixels(twips, logicalDpiY(w)); }

int twipsLeft(const QWidget* w) { return static_cast<int>(std::lround(pixelsToTwipsX(w, w->x()))); }
int twipsTop(const QWidget* w) { return static_cast<int>(std::lround(pixelsToTwipsY(w, w->y()))); }
int twipsWidth(const QWidget* w) { return static_cast<int>(std::lround(pixelsToTwipsX(w, w->width()))); }
int twipsHeight(const QWidget* w) { return static_cast<int>(std::lround(pixelsToTwipsY(w, w->height()))); }

void setTwipsGeometry(QWidget* w, double left, double top, double width, double height) {
    w->setGeometry(twipsToPixelsX(w, left), twipsToPixelsY(w, top), std::max(0, twipsToPixelsX(w, width)),
                   std::max(0, twipsToPixelsY(w, height)));
}

void setTwipsLeft(QWidget* w, double left) { w->move(twipsToPixelsX(w, left), w->y()); }
void setTwipsTop(QWidget* w, double top) { w->move(w->x(), twipsToPixelsY(w, top)); }
void setTwipsWidth(QWidget* w, double width) { w->resize(std::max(0, twipsToPixelsX(w, width)), w->height()); }
void setTwipsHeight(QWidget* w, double height) { w->resize(w->width(), std::max(0, twipsToPixelsY(w, height))); }

}  // namespace controls
