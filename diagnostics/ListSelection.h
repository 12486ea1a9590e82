#pragma once
// Selecting a list entry by its item data: the first entry that carries the
// value is selected, which raises the control's click as the operator's pick
// does; without one the selection stays as it was.
#include <QtGlobal>

namespace controls {
class ComboBox;
class ListBox;
}  // namespace controls

namespace cz {

void SelectComboByItemData(controls::ComboBox* combo, qint32 value);
void SelectListByItemData(controls::ListBox* list, qint32 value);

}  // namespace cz
