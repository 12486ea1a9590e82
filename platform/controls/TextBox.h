#pragma once
// A text box whose length limit binds only what the operator types, pastes or
// drops. Text set from code is shown and kept whole, however long: a stored
// value longer than the limit must survive being viewed. An insertion is taken
// when the result fits the limit or is no longer than the text before it;
// otherwise it is refused whole. Deleting is always possible.
#include <QLineEdit>

namespace controls {

class TextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr);

    int typingLimit() const { return limit_; }
    void setTypingLimit(int characters) { limit_ = characters; }

    // Whether `after` may replace `before` as the operator's edit.
    static bool fitsLimit(qsizetype before, qsizetype after, int limit) { return limit <= 0 || after <= limit || after <= before; }

protected:
    bool event(QEvent* e) override;

private:
    friend class TypingLimitValidator;
    int limit_ = 0;
    qsizetype before_ = 0;
    bool operatorInput_ = false;
};

}  // namespace controls
