#pragma once
// Everything the dialog holds for one load: each load starts from a fresh
// value, so nothing of a previous controller (its zones, its pick lists, the
// shown master zone, the edit state, the painted highlight) can leak into the
// next open. Closing the dialog keeps the value until the next load.
#include "diagnostics/HostContext.h"
#include "master_zones/ConflictCheck.h"
#include "master_zones/InCellEditing.h"
#include "master_zones/MCZRecords.h"
#include "reference/NewItems.h"
#include "reference/TimeZones.h"
#include "standard_zones/SCZRecords.h"

#include <QPointer>
#include <QWidget>

namespace cz {

struct LoadState {
    explicit LoadState(const HostContext& ctx) : TimeZoneInfo(ctx, m_TimeZoneObject) {}
    LoadState(const LoadState&) = delete;
    LoadState& operator=(const LoadState&) = delete;

    // The controller being edited; 4 when it is not found.
    qint32 ControllerType = 0;
    automation::ObjectRef SubPermissions;
    qint32 PreviousOwnerWindow = 0;
    // Sibling components from load to unload, and the host's controller object during a save.
    automation::ObjectRef m_TimeZoneObject;
    automation::ObjectRef m_DoorGroupObject;
    automation::ObjectRef m_ControllerObject;

    // The tab that was active when the stored customizations were applied.
    quint8 SavedTab = 0;
    QPointer<QWidget> CustomizeTarget;

    // The zone tables and the time zone catalogue; every record starts zeroed.
    TimeZones TimeZoneInfo;
    SCZTable SCZArray;
    MCZTable MCZArray;
    // The master zone the panel shows; 0 until the load selects one, and the
    // panel's handlers store nothing while it is 0.
    quint8 CurrentMCZ = 0;

    EditState Edit;
    RowHighlighter Highlighter;
    // The control whose new-item entry asked a sibling for a new time zone or door group.
    NewItemRequest NewItem;
    // The zone rows as this load read them, for the conflict check at OK;
    // released at the unload.
    RowsAsLoaded AsLoaded;
};

}  // namespace cz
