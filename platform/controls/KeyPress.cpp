#include "platform/controls/KeyPress.h"

#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

namespace controls {

namespace {
class KeyPressFilter : public QObject {
public:
    KeyPressFilter(QWidget* control, std::function<bool(int)> handler) : QObject(control), handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(e);
        // Shortcuts (Ctrl+V and the like) are not typed characters; AltGr
        // (Ctrl+Alt) types them on some layouts.
        const Qt::KeyboardModifiers chord = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        if (chord && chord != (Qt::ControlModifier | Qt::AltModifier)) return false;
        int code = 0;
        if (key->key() == Qt::Key_Backspace) code = 8;
        else if (!key->text().isEmpty()) code = key->text().at(0).unicode();
        // Navigation, Tab, Enter, Escape, Delete and shortcuts are not typed characters.
        if (code != 8 && (code < 32 || code == 127)) return false;
        return !handler_(code);
    }

private:
    std::function<bool(int)> handler_;
};
}  // namespace

void onKeyPress(QWidget* control, std::function<bool(int)> handler) {
    control->installEventFilter(new KeyPressFilter(control, std::move(handler)));
}

}  // namespace controls
