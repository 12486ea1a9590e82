#pragma once
// Lengths on the dialog are twips: 1440 per inch. Pixels convert through the
// logical DPI of the widget's screen (96 offscreen and on most desktops, i.e.
// 15 twips per pixel). Twips -> pixels rounds to the nearest pixel.
class QWidget;

namespace controls {

constexpr int kTwipsPerInch = 1440;

// Pure conversions for a given logical DPI.
double pixelsToTwips(double pixels, double dpi);
int twipsToPixels(double twips, double dpi);

// The logical DPI a widget paints with; the primary screen's for nullptr
// (96 when there is no screen at all).
double logicalDpiX(const QWidget* w);
double logicalDpiY(const QWidget* w);
double twipsPerPixelX(const QWidget* w);
double twipsPerPixelY(const QWidget* w);

// Conversions in the widget's own horizontal (X) or vertical (Y) resolution.
double pixelsToTwipsX(const QWidget* w, double pixels);
double pixelsToTwipsY(const QWidget* w, double pixels);
int twipsToPixelsX(const QWidget* w, double twips);
int twipsToPixelsY(const QWidget* w, double twips);

// Left/Top/Width/Height in twips, relative to the parent widget (the screen
// for a window), as the dialog's layout formulas use them.
int twipsLeft(const QWidget* w);
int twipsTop(const QWidget* w);
int twipsWidth(const QWidget* w);
int twipsHeight(const QWidget* w);

// Moves/resizes in twips; each of the four values rounds to the nearest pixel
// on its own, so reading a value back gives what was set (to a pixel).
void setTwipsGeometry(QWidget* w, double left, double top, double width, double height);
void setTwipsLeft(QWidget* w, double left);
void setTwipsTop(QWidget* w, double top);
void setTwipsWidth(QWidget* w, double width);
void setTwipsHeight(QWidget* w, double height);

}  // namespace controls
