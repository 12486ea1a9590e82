#include "master_zones/MCZGrid.h"

#include "component/contracts/HostContracts.h"
#include "diagnostics/ErrorTrap.h"
#include "diagnostics/MPublic.h"
#include "master_zones/MCZRecords.h"
#include "platform/automation/AutomationError.h"
#include "platform/controls/FlexGrid.h"
#include "platform/database/Recordset.h"
#include "platform/automation/Convert.h"
#include "platform/controls/ListControls.h"
#include "platform/controls/Twips.h"
#include "standard_zones/ColumnLayout.h"
#include "standard_zones/ComponentLaunch.h"
#include "standard_zones/SCZRecords.h"

namespace cz {

namespace {
const QString Mark = QStringLiteral("X");
// Resource texts of the column headers.
constexpr qint16 HeaderAction = 1157, HeaderZone = 1158;
}

void InitializeMCZGrid(const HostContext& ctx, controls::FlexGrid* grdMCZ, qint32 ControllerType, bool& InitializingMCZGrid,
                       const std::function<void()>& centerDirections) {
    ErrorTrap step = ErrorTrap::logAndContinue(ctx, QStringLiteral("Initialize MCZ grid"));
    // The widths change one by one; the scroll bars follow once, at the end.
    controls::FlexGrid::Batch layout(grdMCZ);
    qint16 first = 0, last = 0;
    step([&] { InitializingMCZGrid = true; });
    step([&] {
        GetMCZColumnRange(ControllerType, QStringLiteral("EXP"), first, last);
        grdMCZ->setCols(last + 1);
    });
    step([&] { grdMCZ->setColWidth(0, 1600); });
    step([&] { grdMCZ->setColWidth(1, 2000); });
    step([&] { centerDirections(); });
    step([&] { grdMCZ->setTextMatrix(0, 0, GRS(ctx, HeaderAction)); });
    step([&] { grdMCZ->setTextMatrix(0, 1, GRS(ctx, HeaderZone)); });
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

void MCZGridEvents::grdMCZ_Click() {
    controls::FlexGrid* grid = p_.editors.grdMCZ;
    grid->setCol(grid->mouseCol());
    grid->setRow(grid->mouseRow());
    if (grid->row() > 0 && grid->col() == 1) {
        p_.highlighter.HighlightRow(p_.ctx, p_.edit, grid, true);
        ShowMCZDropDown();
    }
}

void MCZGridEvents::ShowMCZDropDown() {
    using namespace controls;
    const InCellEditors& e = p_.editors;
    FlexGrid* grid = e.grdMCZ;
    p_.edit.EditMode = InCellEditor::ZoneList;
    p_.edit.EditRow = static_cast<qint16>(grid->mouseRow());
    p_.edit.EditCol = static_cast<qint16>(grid->mouseCol());
    // The frame's left is not counted, and the button sits 50 twips further right.
    PlaceDropDownButton(e.cmdDropDown, grid, twipsTop(e.SSTab1) + twipsTop(e.SSSplitter1) + twipsTop(e.frmMCZContainer) + twipsTop(grid),
                        twipsLeft(e.SSTab1) + twipsLeft(e.SSSplitter1) + twipsLeft(grid), 50);
}

void MCZGridEvents::lstStdControlZones_Click() {
    controls::ListBox* list = p_.editors.lstStdControlZones;
    controls::FlexGrid* grid = p_.editors.grdMCZ;
    const int index = list->listIndex();
    if (index < 0) return;
    const qint32 zoneNumber = list->itemDataAt(index);
    const qint16 row = static_cast<qint16>(grid->row());
    grid->setText(list->entryText(index));
    MCZRecord& zone = p_.MCZArray(p_.CurrentMCZ);
    zone.Actions[static_cast<size_t>(row - 1)] = automation::toUInt8(zoneNumber);
    zone.Changed = true;
    UpdateMCZSCZDefinition(p_.ctx, grid, p_.SCZArray, p_.ControllerType, row, static_cast<qint16>(zoneNumber));
    list->hide();
}

void MCZGridEvents::grdMCZ_DblClick() {
    controls::FlexGrid* grid = p_.editors.grdMCZ;
    // The action names, the zone column and the header open nothing.
    if (grid->mouseCol() >= 2 && grid->mouseRow() > 0)
        LaunchActionComponent(LaunchContext{p_.ctx, p_.ControllerType, p_.dialog, p_.window}, static_cast<qint16>(grid->mouseRow()),
                              static_cast<qint16>(grid->mouseCol()));
}

}  // namespace cz
