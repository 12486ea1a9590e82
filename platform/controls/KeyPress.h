#pragma once
// A control's key-press event as the original platform raised it: the handler
// sees each typed character before the control does and may discard it.
#include <QObject>
#include <functional>

class QWidget;

namespace controls {

// Calls `handler` with the character code of each key typed into `control`;
// a handler that returns false discards the key.
void onKeyPress(QWidget* control, std::function<bool(int keyAscii)> handler);

}  // namespace controls
