#include "standard_zones/SCZGrid.h"

#include "diagnostics/ErrorTrap.h"
#include "diagnostics/MPublic.h"
#include "platform/controls/FlexGrid.h"
#include "reference/TimeZones.h"
#include "standard_zones/ColumnLayout.h"
#include "standard_zones/SCZRecords.h"

namespace cz {

namespace {
const QString Mark = QStringLiteral("X");
const QColor White(0xFF, 0xFF, 0xFF);
}  // namespace

void InitializeSCZGrid(const HostContext& ctx, controls::FlexGrid* grdSCZ, qint32 ControllerType, bool& InitializingSCZGrid) {
    ErrorTrap step = ErrorTrap::logAndContinue(ctx, QStringLiteral("InitializeSCZGrid"));
    step.afterReport([&] { InitializingSCZGrid = false; });
    qint16 first = 0, last = 0;
    step([&] { InitializingSCZGrid = true; });
    step([&] {
        GetColumnRange(ControllerType, QStringLiteral("ALERT"), first, last);
        grdSCZ->setCols(last + 1);
    });
    step([&] { grdSCZ->setRow(0); });
    step([&] { grdSCZ->setColWidth(0, 400); });
    step([&] { grdSCZ->setColWidth(1, 2000); });
    step([&] { grdSCZ->setColWidth(2, 2000); });
    for (int c = 3; c <= grdSCZ->cols() - 2; ++c) {
        step([&] { grdSCZ->setColWidth(c, 400); });
        step([&] { grdSCZ->setColAlignment(c, controls::align::CenterCenter); });
    }
    step([&] { grdSCZ->setTextMatrix(0, 0, GRS(ctx, 1152)); });
    step([&] { grdSCZ->setTextMatrix(0, 1, GRS(ctx, 1153)); });
    step([&] { grdSCZ->setTextMatrix(0, 2, GRS(ctx, 1154)); });
    GetColumnRange(ControllerType, QStringLiteral("BASE"), first, last);
    for (int c = first; c <= last; ++c) step([&] { grdSCZ->setTextMatrix(0, c, QString::number(c - (first - 1))); });
    GetColumnRange(ControllerType, QStringLiteral("EXP"), first, last);
    for (int c = first; c <= last; ++c) step([&] { grdSCZ->setTextMatrix(0, c, Mark + QString::number(c - (first - 1))); });
    GetColumnRange(ControllerType, QStringLiteral("TAG"), first, last);
    step([&] { grdSCZ->setColWidth(first, 650); });
    step([&] { grdSCZ->setColAlignment(first, controls::align::CenterCenter); });
    step([&] { grdSCZ->setTextMatrix(0, first, GRS(ctx, 1155)); });
    GetColumnRange(ControllerType, QStringLiteral("ALERT"), first, last);
    step([&] { grdSCZ->setColWidth(first, 650); });
    step([&] { grdSCZ->setColAlignment(first, controls::align::CenterCenter); });
    step([&] { grdSCZ->setTextMatrix(0, first, GRS(ctx, 1156)); });
    for (int r = 1; r <= 192; ++r) {
        step([&] { grdSCZ->setRow(r); });
        for (int c = 0; c <= 2; ++c)
            step([&] {
                grdSCZ->setCol(c);
                grdSCZ->setCellAlignment(controls::align::LeftCenter);
            });
        step([&] {
            grdSCZ->setCol(1);
            grdSCZ->setCellBackColor(White);
        });
    }
    step([&] { InitializingSCZGrid = false; });
}

void FillSCZGrid(controls::FlexGrid* grdSCZ, const SCZTable& SCZArray, TimeZones& timeZones, qint32 ControllerType) {
    qint16 tag = 0, alert = 0, baseFirst = 0, baseLast = 0, expFirst = 0, expLast = 0, unused = 0;
    GetColumnRange(ControllerType, QStringLiteral("TAG"), tag, unused);
    GetColumnRange(ControllerType, QStringLiteral("ALERT"), alert, unused);
    GetColumnRange(ControllerType, QStringLiteral("BASE"), baseFirst, baseLast);
    GetColumnRange(ControllerType, QStringLiteral("EXP"), expFirst, expLast);
    for (int i = 0; i < SCZTable::Count; ++i) {
        const SCZRecord& zone = SCZArray(i);
        const int row = i + 1;
        grdSCZ->setTextMatrix(row, 0, QString::number(zone.ControlZoneIndex));
        grdSCZ->setTextMatrix(row, 1, zone.Name);
        grdSCZ->setTextMatrix(row, 2, timeZones.LookupGenericTZName(zone.TimeZoneId));
        grdSCZ->setTextMatrix(row, tag, zone.Tag ? Mark : QString());
        grdSCZ->setTextMatrix(row, alert, zone.Alert ? Mark : QString());
        for (int c = baseFirst; c <= baseLast; ++c) grdSCZ->setTextMatrix(row, c, zone.Relay[c - baseFirst + 1] ? Mark : QString());
        for (int c = expFirst; c <= expLast; ++c) grdSCZ->setTextMatrix(row, c, zone.ExpRelay[c - expFirst + 1] ? Mark : QString());
    }
}

}  // namespace cz
