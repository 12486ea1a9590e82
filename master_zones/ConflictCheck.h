#pragma once
// Conflict detection at OK, for hosts that ask for it: a host whose
// communication object has a readable "DetectConflicts" member returning True.
// The loaders remember the zone rows as they read them; at OK, before the
// saves, the rows of the zones OK will write are read again, and if another
// operator saved any of them since, one box lists them and lets the operator
// overwrite them or go back to editing with nothing saved. Any other host
// gets no check at all.
//
// The check reads the rows, then the saves write them: another operator's
// save between that read and a row's update is not seen (the window is the
// time the saves take).
#include "diagnostics/HostContext.h"

#include <QHash>
#include <QString>
#include <QVariantList>

namespace database {
class Recordset;
}

namespace cz {

class MCZTable;
class SCZTable;
class TimeZones;

enum class LoadedKind { Standard, Master };

// The zone rows one load read, by kind and zone number; it lives as long as
// the load's other state.
struct RowsAsLoaded {
    struct Rows {
        bool taken = false;
        QHash<QString, int> columns;  // lower-case name -> position
        QHash<int, QVariantList> rows;
    };
    Rows kinds[2];
};

// Called by a loader once its recordset is open: keeps its rows as loaded.
void RememberRowsAsLoaded(RowsAsLoaded& keep, LoadedKind kind, const database::Recordset& rs);

// Whether the host asked for the check: the member is probed by name first,
// so a host without it sees no call, no error and no "LogError".
bool ConflictDetectionRequested(const HostContext& ctx);

// True when OK may go on to the saves: no check asked for, no conflict, the
// operator chose to overwrite, or the check itself failed (written to the
// component's log file). False: back to editing, nothing saved.
bool ConfirmNoConflicts(const HostContext& ctx, const RowsAsLoaded& asLoaded, const TimeZones& timeZones, const SCZTable& SCZArray,
                        const MCZTable& MCZArray);

}  // namespace cz
