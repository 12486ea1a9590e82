#pragma once
// 32-bit window handles, as the original platform passed them between host
// and component ("hwnd"), and the owner relation between windows. An owner is
// the window system's (a transient parent), never a Qt parent: a disabled Qt
// parent would disable its child windows too.
#include <QtGlobal>

class QWidget;

namespace controls {

// A stable handle for a top-level widget; the same widget keeps its handle.
qint32 windowHandle(QWidget* window);
// The widget of a handle, or nullptr when it is unknown or destroyed.
QWidget* windowFromHandle(qint32 handle);

// Makes `owner` the owner window of `window` and returns the previous owner's handle (0: none).
qint32 setOwnerWindow(QWidget* window, qint32 ownerHandle);
qint32 ownerWindow(QWidget* window);

}  // namespace controls
