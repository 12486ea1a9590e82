#pragma once
// Every message box of the component, the host and the stand-ins goes through
// this one service; it needs no widgets itself. Tests install a handler that records the box (text, title,
// icon, buttons) and answers it, so no modal window ever blocks a headless run.
#include <QString>
#include <functional>

class QWidget;

namespace controls {

// Styles and answers with the original platform's values.
namespace mb {
constexpr int OKOnly = 0;
constexpr int OKCancel = 1;
constexpr int YesNo = 4;
constexpr int Critical = 16;
constexpr int Question = 32;
constexpr int Exclamation = 48;
constexpr int Information = 64;

constexpr int OK = 1;
constexpr int Cancel = 2;
constexpr int Yes = 6;
constexpr int No = 7;
}  // namespace mb

struct MessageBoxRequest {
    QString text;
    QString title;
    int style = mb::OKOnly;
    QWidget* owner = nullptr;

    int buttons() const { return style & 0x0F; }
    int icon() const { return style & 0x70; }
};

class MessageBoxService {
public:
    using Handler = std::function<int(const MessageBoxRequest&)>;

    // Shows a box and returns the answer: through the handler when one is
    // installed, else through the presenter (the controls library installs
    // real modal boxes), else printed on stderr and answered with its first
    // button, as also with TAMRIK_MSGBOX=stderr (unattended runs). It never
    // throws: a handler that fails counts as the first button.
    static int show(const QString& text, int style, const QString& title, QWidget* owner = nullptr);

    // Installs a handler (empty: back to the presenter); returns the previous one.
    static Handler setHandler(Handler handler);
    // What shows boxes on screen; the widget library installs it when it loads.
    static void setPresenter(Handler presenter);
};

// Installs a handler for the life of a scope.
class ScopedMessageBoxHandler {
public:
    explicit ScopedMessageBoxHandler(MessageBoxService::Handler h) : previous_(MessageBoxService::setHandler(std::move(h))) {}
    ~ScopedMessageBoxHandler() { MessageBoxService::setHandler(std::move(previous_)); }
    ScopedMessageBoxHandler(const ScopedMessageBoxHandler&) = delete;
    ScopedMessageBoxHandler& operator=(const ScopedMessageBoxHandler&) = delete;

private:
    MessageBoxService::Handler previous_;
};

}  // namespace controls
