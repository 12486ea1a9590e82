#include "platform/controls/TextBox.h"

#include <QEvent>
#include <QValidator>

namespace controls {

// The validator sees every change; it judges only those made while the box
// handles the operator's own input, so text set from code always stands.
class TypingLimitValidator : public QValidator {
public:
    explicit TypingLimitValidator(TextBox* box) : QValidator(box), box_(box) {}
    State validate(QString& input, int&) const override {
        if (!box_->operatorInput_) return Acceptable;
        return TextBox::fitsLimit(box_->before_, input.size(), box_->limit_) ? Acceptable : Invalid;
    }

private:
    TextBox* box_;
};

TextBox::TextBox(QWidget* parent) : QLineEdit(parent) {
    setValidator(new TypingLimitValidator(this));
    connect(this, &QLineEdit::textChanged, this, [this](const QString& t) {
        // The length before the next edit, for the "no longer than before" rule.
        before_ = t.size();
        // Text set from code is shown from its start, as a long stored one must be.
        if (!operatorInput_) setCursorPosition(0);
    });
}

bool TextBox::event(QEvent* e) {
    // Keys (typing, shortcuts that paste), input methods, drops, the
    // selection paste of a middle click and the context menu's Paste all run
    // inside the box's own event handling.
    switch (e->type()) {
    case QEvent::KeyPress:
    case QEvent::InputMethod:
    case QEvent::Drop:
    case QEvent::MouseButtonRelease:
    case QEvent::ContextMenu: {
        const bool outer = operatorInput_;
        operatorInput_ = true;
        const bool handled = QLineEdit::event(e);
        operatorInput_ = outer;
        return handled;
    }
    default: return QLineEdit::event(e);
    }
}

}  // namespace controls
