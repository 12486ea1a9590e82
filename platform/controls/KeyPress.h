#pragma once
// A control's key-press event as the original platform raised it: the handler
// sees each typed character before the control does and may discard it.
#include <QObject>
#include <functional>

class QWidget;

namespace controls {

// Calls `handler` with the character code of each character typed into
// `control` (Backspace is 8); a handler that returns false discards the key.
// Other keys (Tab, arrows, Enter, Escape, Delete, shortcuts such as a paste)
// pass untouched. Install it on the widget that receives the keys: an
// editable combo box takes them itself and hands them to its line edit
// without that line edit's filters seeing them.
void onKeyPress(QWidget* control, std::function<bool(int keyAscii)> handler);

}  // namespace controls
