#include "reference/NewItems.h"

#include "platform/automation/AutomationError.h"
#include "platform/controls/ListControls.h"

#include <QWidget>

namespace cz {

namespace {
template <typename Control>
void pickOrAsk(QWidget* dialog, NewItemRequest& request, Control* control, const std::function<void()>& askSibling,
               const std::function<void(qint32)>& pick) {
    try {
        const qint32 data = control->itemDataAt(control->listIndex());
        if (data != NewItemData) {
            pick(data);
            return;
        }
        dialog->setEnabled(false);
        request.clear();
        if constexpr (std::is_same_v<Control, controls::ComboBox>) request.combo = control;
        else request.list = control;
        askSibling();
    } catch (const automation::AutomationError&) {
        dialog->setEnabled(true);
    }
}
}  // namespace

void PickOrAskForNewItem(QWidget* dialog, NewItemRequest& request, controls::ComboBox* combo, const std::function<void()>& askSibling,
                         const std::function<void(qint32)>& pick) {
    pickOrAsk(dialog, request, combo, askSibling, pick);
}

void PickOrAskForNewItem(QWidget* dialog, NewItemRequest& request, controls::ListBox* list, const std::function<void()>& askSibling,
                         const std::function<void(qint32)>& pick) {
    pickOrAsk(dialog, request, list, askSibling, pick);
}

void RememberInTag(controls::ComboBox* combo) { combo->setTag(QString::number(combo->listIndex())); }

void RestoreFromTag(controls::ComboBox* combo) {
    bool ok = false;
    const int position = combo->tag().toInt(&ok);
    combo->setListIndex(ok && position >= 0 && position < combo->listCount() ? position : -1);
}

}  // namespace cz
