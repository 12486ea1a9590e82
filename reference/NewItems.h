#pragma once
// Lists that offer a new-item entry (item data -1, text resource 1159): the
// time zone pick list, the panel's time zone combo and its door group combo.
// Picking that entry asks a sibling component for a new time zone or door
// group; the dialog takes no input until the sibling reports back, and the
// report goes to the control that asked.
#include "diagnostics/HostContext.h"

#include <QPointer>
#include <functional>

class QWidget;

namespace controls {
class ComboBox;
class ListBox;
}  // namespace controls

namespace cz {

constexpr qint32 NewItemData = -1;
constexpr qint16 NewItemText = 1159;

// The control whose new-item entry asked last; cleared once its answer is handled.
struct NewItemRequest {
    QPointer<controls::ComboBox> combo;
    QPointer<controls::ListBox> list;
    void clear() {
        combo.clear();
        list.clear();
    }
};

// The pick of an entry of such a control: the new-item entry disables the
// dialog, records the control as the requester and runs `askSibling`; any
// other entry goes to `pick` with its item data. A fault (no entry selected,
// a sibling that fails to open) gives the dialog back, silently.
void PickOrAskForNewItem(const HostContext& ctx, QWidget* dialog, NewItemRequest& request, controls::ComboBox* combo, const std::function<void()>& askSibling,
                         const std::function<void(qint32 itemData)>& pick);
void PickOrAskForNewItem(const HostContext& ctx, QWidget* dialog, NewItemRequest& request, controls::ListBox* list, const std::function<void()>& askSibling,
                         const std::function<void(qint32 itemData)>& pick);

// A normal pick remembers its position in the combo's tag ...
void RememberInTag(controls::ComboBox* combo);
// ... which a cancelled request selects again (its click runs); without a
// remembered position the combo is left with no selection.
void RestoreFromTag(controls::ComboBox* combo);

}  // namespace cz
