#include "diagnostics/ListSelection.h"

#include "platform/controls/ListControls.h"

namespace cz {

void SelectComboByItemData(controls::ComboBox* combo, qint32 value) {
    for (qint16 i = 0; i < combo->listCount(); ++i) {
        if (combo->itemDataAt(i) == value) {
            combo->setListIndex(i);
            return;
        }
    }
}

void SelectListByItemData(controls::ListBox* list, qint32 value) {
    for (qint16 i = 0; i < list->listCount(); ++i) {
        if (list->itemDataAt(i) == value) {
            list->setListIndex(i);
            return;
        }
    }
}

}  // namespace cz
