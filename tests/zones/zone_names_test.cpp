// The name check run before saving, with the host's own resource texts.
#include "master_zones/ZoneNames.h"
#include "tests/zones/ZoneDatabase.h"

using namespace zonetest;

namespace {

class ZoneNamesBeforeSave : public SaveTest {};
TAMRIK_ON_ONE_ENGINE(ZoneNamesBeforeSave);

// Only changed zones are checked, in zone order (standard before master), and
// the first failing one is named in an information box with the component's title.
TEST_P(ZoneNamesBeforeSave, TheFirstChangedZoneWithoutANameOrWithATakenOneIsNamed) {
    const QString unique = QStringLiteral(": the name \"%1\" is already used by another control zone. Please enter a unique name.");
    const struct {
        QList<int> changed;  // master zones from 192 on
        QString box;
    } steps[] = {
        {{150, 230}, QStringLiteral("Standard control zone 150 has no name. Please enter a name.")},  // neither has a row
        {{230}, QStringLiteral("Master control zone 230 has no name. Please enter a name.")},
        {{}, QString()},
        {{150, 195, 9}, QStringLiteral("Standard control zone 9") + unique.arg(QStringLiteral("Dock"))},
        {{150, 195}, QStringLiteral("Standard control zone 150") + unique.arg(QStringLiteral("Yard"))},
        {{195}, QStringLiteral("Master control zone 195") + unique.arg(QStringLiteral("Dock"))},  // the unchanged zone 9 still holds it
        {{3, 4, 192, 5}, QString()},  // names differing only in case are distinct; zone 5 has only its own name
    };
    for (const auto& step : steps) {
        if (step.changed.contains(9)) {
            scz(150).Name = mcz(250).Name = QStringLiteral("Yard");
            mcz(195).Name = scz(9).Name = QStringLiteral("Dock");
        }
        if (step.changed.contains(192)) {
            scz(150).Name = mcz(195).Name = scz(9).Name = QString();
            scz(3).Name = QStringLiteral("Gate");
            scz(4).Name = QStringLiteral("gate");
            mcz(192).Name = QStringLiteral("GATE");
        }
        for (int n = 0; n < cz::SCZTable::Count; ++n) scz(n).Changed = step.changed.contains(n);
        for (int n = cz::MCZTable::First; n <= cz::MCZTable::Last; ++n) mcz(n).Changed = step.changed.contains(n);
        boxes.boxes.clear();
        EXPECT_EQ(cz::ValidateZoneNames(ctx, scz, mcz), !step.box.isEmpty()) << step.box.toStdString();
        EXPECT_EQ(boxes.shown(), step.box.isEmpty() ? QStringList() : QStringList{QStringLiteral("64 TamrikControlZoneObject: ") + step.box});
    }
}

}  // namespace
