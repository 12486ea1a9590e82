#include "standard_zones/ComponentLaunch.h"

#include "component/contracts/HostContracts.h"
#include "diagnostics/ErrorTrap.h"
#include "diagnostics/MPublic.h"
#include "platform/automation/Convert.h"
#include "platform/controls/MessageBox.h"
#include "platform/database/Recordset.h"
#include "standard_zones/ColumnLayout.h"

#include <QWidget>
#include <functional>

namespace cz {

namespace {

constexpr qint16 kNoReaderHere = 289;
constexpr qint16 kNoExpansionInputHere = 2801;
constexpr qint16 kNoExpansionInputs = 2802;
constexpr qint16 kNoBaseInputHere = 2807;

constexpr qint16 kExpansionInputs = 32;
constexpr qint16 kReaders = 16;

const QString kBase = QStringLiteral("BASE");
const QString kExp = QStringLiteral("EXP");

struct Lookup {
    const char* code;
    const char* query;    // followed by the number, " and controllerid = " and the controller id
    const char* idField;
    bool mayBelongToDoor;  // the row has BelongToDoor and BelongTo
};

const Lookup kLookups[] = {
    {"RY", "select OutputID, BelongToDoor, BelongTo from outputs where [index] = ", "OutputId", true},
    {"XRY", "select ExpOutputID from Expoutputs where OutputIndex = ", "ExpOutputId", false},
    {"INP", "select InputID, BelongToDoor, BelongTo from Inputs where [index] = ", "InputId", true},
    {"XINP", "select ExpInputID from ExpInputs where InputIndex = ", "ExpInputId", false},
    {"RDR", "select ReaderId from Readers where ReaderIndex = ", "ReaderId", false},
};

const Lookup* findLookup(const QString& code) {
    for (const Lookup& l : kLookups)
        if (code == QLatin1String(l.code)) return &l;
    return nullptr;
}

// A lookup result as the 32-bit id it names: text that is no number is error 13.
qint32 idOf(const QString& text) { return automation::toInt32(QVariant(text)); }

void tell(const LaunchContext& lc, qint16 message) {
    InformationBox(lc.host, GRS(lc.host, message), lc.window);
}

// Our references destroy a created object with the last of them, whereas a
// component whose own dialog is open must outlive the launch that raised it:
// its editor belongs to it and reports the close through the dialog's
// Callback. So the window keeps the last raised component until the next
// raise or its own end.
const QString kKeeperName = QStringLiteral("RaisedComponent");

class RaisedComponent : public QObject {
public:
    RaisedComponent(QWidget* window, automation::ObjectRef component) : QObject(window), component_(std::move(component)) {
        setObjectName(kKeeperName);
    }

private:
    automation::ObjectRef component_;
};

void keepWithWindow(QWidget* window, automation::ObjectRef component) {
    for (QObject* previous : window->findChildren<QObject*>(kKeeperName, Qt::FindDirectChildrenOnly)) delete previous;
    new RaisedComponent(window, std::move(component));
}

// One launch: every failing step goes to the host's error log under the
// launch's name, enables the dialog again and ends the launch. A component
// that is not raised is released when the launch ends.
class Launch {
public:
    Launch(const LaunchContext& lc, const QString& operation) : lc_(lc), step(ErrorTrap::logAndEnd(lc.host, operation)) {
        step.afterReport([this] { enableDialog(true); });
    }

    // Creates the component and sets its id property; returns the id.
    qint32 create(const QString& progId, const QString& idProperty, const QString& idText) {
        qint32 id = 0;
        step([&] { id = idOf(idText); });
        step([&] { component_ = host::create(progId); });
        step([&] { host::setProperty(component_, idProperty, QVariant::fromValue(id)); });
        return id;
    }

    void createOnly(const QString& progId) {
        step([&] { component_ = host::create(progId); });
    }

    // The dialog takes no input until the component calls back. `between`
    // (the reader's id) runs after "NTConnection", before "Parent".
    void raise(const std::function<void()>& between = {}) {
        step([&] { enableDialog(false); });
        step([&] { host::setProperty(component_, QStringLiteral("DBConnection"), automation::fromObject(lc_.host.m_DBConnection.get())); });
        step([&] { host::setProperty(component_, QStringLiteral("NTConnection"), automation::fromObject(lc_.host.m_NTConnection.get())); });
        if (between) step(between);
        step([&] { host::setProperty(component_, QStringLiteral("Parent"), automation::fromObject(lc_.dialog)); });
        step([&] { host::RaiseForm(component_); });
        if (!step.ended() && lc_.window) keepWithWindow(lc_.window, std::move(component_));
    }

    const automation::ObjectRef& component() const { return component_; }

private:
    void enableDialog(bool enabled) {
        if (lc_.window) lc_.window->setEnabled(enabled);
    }

    const LaunchContext& lc_;
    automation::ObjectRef component_;
    ErrorTrap step;
};

}  // namespace

QString GetComponentIdStr(const HostContext& ctx, const QString& code, qint16 number) {
    QString result = QStringLiteral("0");
    const Lookup* lookup = findLookup(code);
    if (!lookup) return result;

    // After the error box the lookup ends; the result stays "0" unless a row was read.
    auto trap = ErrorTrap::showAndEnd(ctx, QStringLiteral("frmMain.GetComponentIdStr"));
    const QString source = QLatin1String(lookup->query) + QString::number(number) + QStringLiteral(" and controllerid = ") +
                           QString::number(ctx.m_ControllerId);
    database::Recordset rs;
    trap([&] { rs.Open(source, ctx.db(), database::adOpenForwardOnly, database::adLockReadOnly, database::adCmdUnspecified); });
    bool atEnd = true;
    trap([&] { atEnd = rs.eof(); });
    if (trap.ended()) return result;
    if (!atEnd) {
        // Only the first row counts.
        trap([&] {
            if (lookup->mayBelongToDoor) {
                const database::Field belongs = rs.field(QStringLiteral("BelongToDoor"));
                if (!belongs.isNull() && belongs.toInt32() == 1) {
                    result = rs.field(QStringLiteral("BelongTo")).toText();
                    return;
                }
            }
            result = rs.field(QLatin1String(lookup->idField)).toText();
        });
    }
    trap([&] { rs.Close(); });
    return result;
}

void LaunchRelayObject(const LaunchContext& lc, qint16 column, const QString& gridName) {
    Launch launch(lc, QStringLiteral("LaunchRelayObject"));
    qint32 id = 0;
    qint16 first = 0, last = 0;
    if (gridName == QLatin1String("MCZ"))
        GetMCZColumnRange(lc.ControllerType, kBase, first, last);
    else
        GetColumnRange(lc.ControllerType, kBase, first, last);

    if (column >= first && column <= last) {
        const QString s = GetComponentIdStr(lc.host, QStringLiteral("RY"), static_cast<qint16>(column - (first - 1)));
        if (s.startsWith(QLatin1Char('D')))
            id = launch.create(host::progid::Door, QStringLiteral("DoorId"), s.mid(1));
        else
            id = launch.create(host::progid::Output, QStringLiteral("OutputId"), s);
    } else if (column > last) {
        // No upper bound: a column past the 64 expansion relays finds no row.
        const QString s = GetComponentIdStr(lc.host, QStringLiteral("XRY"), static_cast<qint16>(column - last));
        id = launch.create(host::progid::ExpOutput, QStringLiteral("ExpOutputId"), s);
    }
    // No row, or a result that is no positive number: nothing to show.
    if (id > 0) launch.raise();
}

void LaunchInputObject(const LaunchContext& lc, qint16 column) {
    Launch launch(lc, QStringLiteral("LaunchInputObject"));
    qint16 number = 0;
    qint16 first = 0, last = 0;
    GetMCZColumnRange(lc.ControllerType, kBase, first, last);

    if (column >= first && column <= last) {
        number = static_cast<qint16>(column - (first - 1));
        const QString s = GetComponentIdStr(lc.host, QStringLiteral("INP"), number);
        if (s.startsWith(QLatin1Char('D'))) {
            launch.create(host::progid::Door, QStringLiteral("DoorId"), s.mid(1));
        } else if (lc.ControllerType == 3 && number > 2) {
            tell(lc, kNoBaseInputHere);
            return;
        } else {
            launch.create(host::progid::Input, QStringLiteral("InputId"), s);
        }
    } else if (column > last) {
        number = static_cast<qint16>(column - last);
        if (number > kExpansionInputs) {
            tell(lc, kNoExpansionInputHere);
            return;
        }
        if (lc.ControllerType == 7) {
            tell(lc, kNoExpansionInputs);
            return;
        }
        const QString s = GetComponentIdStr(lc.host, QStringLiteral("XINP"), number);
        launch.create(host::progid::ExpInput, QStringLiteral("InputId"), s);
    }
    // Raised even without a row (id 0): the input's own dialog says so.
    if (number > 0) launch.raise();
}

void LaunchReaderObject(const LaunchContext& lc, qint16 column) {
    Launch launch(lc, QStringLiteral("LaunchReaderObject"));
    qint16 first = 0, last = 0;
    GetMCZColumnRange(lc.ControllerType, kExp, first, last);

    if (column < first || column > first + kReaders - 1) {
        tell(lc, kNoReaderHere);
        return;
    }
    const qint16 k = static_cast<qint16>(column - (first - 1));
    const QString s = GetComponentIdStr(lc.host, QStringLiteral("RDR"), k);
    launch.createOnly(host::progid::Reader);
    // The reader takes its id after the connections.
    launch.raise([&] { host::setProperty(launch.component(), QStringLiteral("ReaderId"), QVariant::fromValue(idOf(s))); });
}

void LaunchComponent(const LaunchContext& lc, const QString& kind, qint16 column) {
    const qint16 mczColumn = static_cast<qint16>(column + 1);
    if (kind == QLatin1String("OUTPUT"))
        LaunchRelayObject(lc, mczColumn, QStringLiteral("MCZ"));
    else if (kind == QLatin1String("INPUT"))
        LaunchInputObject(lc, mczColumn);
    else if (kind == QLatin1String("READER"))
        LaunchReaderObject(lc, mczColumn);
}

void LaunchActionComponent(const LaunchContext& lc, qint16 row, qint16 column) {
    switch (row) {
    case 1: case 2:                                   // trigger, Clear
    case 5: case 6: case 7: case 8: case 9: case 10:  // Unlock .. force_off
    case 11: case 12: case 13: case 14:               // force_off_rel .. lock_open_rel
        LaunchRelayObject(lc, column, QStringLiteral("MCZ"));
        break;
    case 3: case 4:                                   // mask, unmask
    case 16: case 17: case 18: case 19:               // entry_cancel, exit_start, unmaskif, farm
        LaunchInputObject(lc, column);
        break;
    case 15:                                          // annunc_keypads
        LaunchReaderObject(lc, column);
        break;
    default:                                          // LEDOn, LEDOff and rows past the actions
        break;
    }
}

void LaunchFromSCZPopup(const LaunchContext& lc, int index, qint16 currentColumn) {
    static const char* const kinds[] = {"INPUT", "OUTPUT", "READER"};
    if (index < 0 || index > 2) return;
    LaunchComponent(lc, QLatin1String(kinds[index]), static_cast<qint16>(currentColumn - 2));
}

}  // namespace cz
