#include "master_zones/MCZGrid.h"

#include "component/HostContracts.h"
#include "diagnostics/ErrorTrap.h"
#include "diagnostics/MPublic.h"
#include "master_zones/MCZRecords.h"
#include "platform/automation/AutomationError.h"
#include "platform/controls/FlexGrid.h"
#include "platform/database/Recordset.h"
#include "standard_zones/ColumnLayout.h"
#include "standard_zones/SCZRecords.h"

namespace cz {

namespace {
const QString Mark = QStringLiteral("X");
}

void InitializeMCZGrid(const HostContext& ctx, controls::FlexGrid* grdMCZ, qint32 ControllerType, bool& InitializingMCZGrid,
                       const std::function<void()>& centerDirections) {
    ErrorTrap step = ErrorTrap::logAndContinue(ctx, QStringLiteral("Initialize MCZ grid"));
    qint16 first = 0, last = 0;
    step([&] { InitializingMCZGrid = true; });
    step([&] {
        GetMCZColumnRange(ControllerType, QStringLiteral("EXP"), first, last);
        grdMCZ->setCols(last + 1);
    });
    step([&] { grdMCZ->setColWidth(0, 1600); });
    step([&] { grdMCZ->setColWidth(1, 2000); });
    step([&] { centerDirections(); });
    step([&] { grdMCZ->setTextMatrix(0, 0, GRS(ctx, 1157)); });
    step([&] { grdMCZ->setTextMatrix(0, 1, GRS(ctx, 1158)); });
    GetMCZColumnRange(ControllerType, QStringLiteral("BASE"), first, last);
    for (int c = first; c <= last; ++c) step([&] { grdMCZ->setTextMatrix(0, c, QString::number(c - first + 1)); });
    qint16 expFirst = 0, expLast = 0;
    GetMCZColumnRange(ControllerType, QStringLiteral("EXP"), expFirst, expLast);
    for (int c = expFirst; c <= expLast; ++c) step([&] { grdMCZ->setTextMatrix(0, c, Mark + QString::number(c - expFirst + 1)); });
    for (int c = 2; c <= expLast; ++c) {
        step([&] { grdMCZ->setColWidth(c, 400); });
        step([&] { grdMCZ->setColAlignment(c, controls::align::CenterCenter); });
    }

    database::Recordset rs;
    if (step([&] { rs.Open(QStringLiteral("sp_fetchMCZActions"), ctx.db(), database::adOpenForwardOnly, database::adLockReadOnly); })) {
        int row = 1;
        // A failing end test or move ends the names; it is logged like any step.
        step.forEachRow(rs, [&] {
            step([&] {
                const database::Field action = rs.field(QStringLiteral("Action"));
                const bool custom = host::EnableCustomize(ctx.m_NTConnection) && !action.isNull() && !action.toText().isEmpty();
                grdMCZ->setTextMatrix(row, 0, custom ? action.toText() : rs.field(QStringLiteral("DefaultAction")).toText());
            });
            ++row;
        });
        step([&] { rs.Close(); });
    }
    for (int r = 1; r <= 21; ++r)
        step([&] {
            grdMCZ->setRow(r);
            grdMCZ->setCol(1);
            grdMCZ->setCellBackColor(QColor(0xFF, 0xFF, 0xFF));
            grdMCZ->setCellAlignment(controls::align::LeftCenter);
        });
    step([&] { InitializingMCZGrid = false; });
}

void UpdateMCZSCZDefinition(const HostContext& ctx, controls::FlexGrid* grdMCZ, const SCZTable& SCZArray, qint32 ControllerType,
                            qint16 Row, qint16 SCZ) {
    ErrorTrap step = ErrorTrap::showAndEnd(ctx, QStringLiteral("frmMain.UpdateMCZSCZDefinition"));
    step([&] {
        if (SCZ < 0 || SCZ > 191) automation::raise(automation::err::SubscriptOutOfRange, QStringLiteral("standard control zone %1").arg(SCZ));
    });
    step([&] { grdMCZ->setTextMatrix(Row, 1, SCZArray(SCZ).Name); });
    qint16 first = 0, last = 0;
    GetMCZColumnRange(ControllerType, QStringLiteral("BASE"), first, last);
    for (int c = first; c <= last; ++c) step([&] { grdMCZ->setTextMatrix(Row, c, SCZArray(SCZ).Relay[c - first + 1] ? Mark : QString()); });
    GetMCZColumnRange(ControllerType, QStringLiteral("EXP"), first, last);
    for (int c = first; c <= last; ++c) step([&] { grdMCZ->setTextMatrix(Row, c, SCZArray(SCZ).ExpRelay[c - first + 1] ? Mark : QString()); });
}

void UpdateALLMCZSCZDefinitions(const HostContext& ctx, controls::FlexGrid* grdMCZ, const SCZTable& SCZArray, const MCZTable& MCZArray,
                                qint32 ControllerType, quint8 MCZ) {
    ErrorTrap step = ErrorTrap::showAndEnd(ctx, QStringLiteral("frmMain.UpdateALLMCZSCZDefinitions"));
    for (qint16 row = 1; row <= 21; ++row)
        step([&] { UpdateMCZSCZDefinition(ctx, grdMCZ, SCZArray, ControllerType, row, MCZArray(MCZ).Actions[row - 1]); });
}

}  // namespace cz
