#pragma once
// The generic time zone catalogue and the current controller's time zone map.
// Zone records hold generic time zone ids; the controller and the zone rows of
// the database hold the controller's own time zone numbers (0..149). This
// class loads both tables once per dialog and converts between the numberings.
#include "diagnostics/HostContext.h"
#include "platform/automation/Dispatch.h"

#include <QString>
#include <QVector>
#include <array>

namespace cz {

struct GenericTZRecord {
    QString Name;
    qint32 GenericTimeZoneId = 0;
};

class TimeZones {
public:
    // Keeps references: ctx and the time zone object live in the dialog object.
    TimeZones(const HostContext& ctx, const automation::ObjectRef& timeZoneObject);

    // In the procedure's row order; neither sorted nor de-duplicated.
    QVector<GenericTZRecord> GenericTZArray;
    // Controller time zone number -> generic id; 0: none known.
    std::array<qint16, 150> PanelTimeZoneMap{};

    void LoadTimeZoneInformation(qint32 ControllerId);
    void LoadGenericTZArray(QVector<GenericTZRecord>& table);
    void LoadPanelTimeZoneMap(qint32 ControllerId);
    qint32 ConvertPanelTZToGenericTZId(qint32 ControllerId, quint8 PanelTZ);
    qint32 LookupGenericTZId(quint8 PanelTZ);
    quint8 LookupPanelTZNumber(qint32 ControllerId, qint32 GenericTZId);
    QString LookupGenericTZName(qint32 GenericTZId);

private:
    const HostContext& ctx_;
    const automation::ObjectRef& timeZoneObject_;
};

}  // namespace cz
