#include "reference/NewItems.h"

#include "diagnostics/ErrorTrap.h"
#include "platform/controls/ListControls.h"

#include <QWidget>

namespace cz {

namespace {
template <typename Control>
void pickOrAsk(const HostContext& ctx, QWidget* dialog, NewItemRequest& request, Control* control, const std::function<void()>& askSibling,
               const std::function<void(qint32)>& pick) {
    ErrorTrap step = ErrorTrap::endSilently(ctx);
    step.afterReport([dialog] { dialog->setEnabled(true); });
    step([&] {
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
    });
}
}  // namespace

void PickOrAskForNewItem(const HostContext& ctx, QWidget* dialog, NewItemRequest& request, controls::ComboBox* combo, const std::function<void()>& askSibling,
                         const std::function<void(qint32)>& pick) {
    pickOrAsk(ctx, dialog, request, combo, askSibling, pick);
}

void PickOrAskForNewItem(const HostContext& ctx, QWidget* dialog, NewItemRequest& request, controls::ListBox* list, const std::function<void()>& askSibling,
                         const std::function<void(qint32)>& pick) {
    pickOrAsk(ctx, dialog, request, list, askSibling, pick);
}

void RememberInTag(controls::ComboBox* combo) { combo->setTag(QString::number(combo->listIndex())); }

void RestoreFromTag(controls::ComboBox* combo) {
    bool ok = false;
    const int position = combo->tag().toInt(&ok);
    combo->setListIndex(ok && position >= 0 && position < combo->listCount() ? position : -1);
}

}  // namespace cz
