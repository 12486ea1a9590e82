// The name check run before saving, with the host's own resource texts.
#include "master_zones/MCZRecords.h"
#include "master_zones/ZoneNames.h"
#include "tests/save/SaveFixture.h"

using namespace savetest;

namespace {

class ZoneNamesBeforeSave : public SaveTest {
protected:
    bool check() { return cz::ValidateZoneNames(ctx, scz, mcz); }
    // Text of the one box shown, after checking it is the information box with the component's title.
    QString onlyBox() {
        if (boxes.boxes.size() != 1) {
            ADD_FAILURE() << "expected one message box, got " << boxes.boxes.size();
            return QString();
        }
        const controls::MessageBoxRequest& box = boxes.boxes.first();
        EXPECT_EQ(box.style, 64);
        EXPECT_EQ(box.title, QStringLiteral("TamrikControlZoneObject"));
        return box.text;
    }

    cz::MCZTable mcz;
};
INSTANTIATE_TEST_SUITE_P(Engines, ZoneNamesBeforeSave, ::testing::Values(testsupport::Engine::SQLite), testsupport::EngineParamName());

TEST_P(ZoneNamesBeforeSave, AChangedZoneWithoutANameIsNamedByItsNumber) {
    scz(150).Changed = true;  // no row in the database: empty name
    mcz(200).Changed = true;
    EXPECT_TRUE(check());
    EXPECT_EQ(onlyBox(), QStringLiteral("Standard control zone 150 has no name. Please enter a name."));

    boxes.boxes.clear();
    scz(150).Changed = false;
    EXPECT_TRUE(check());
    EXPECT_EQ(onlyBox(), QStringLiteral("Master control zone 200 has no name. Please enter a name."));

    boxes.boxes.clear();
    mcz(200).Changed = false;
    EXPECT_FALSE(check()) << "unchanged zones without a name are not checked";
    EXPECT_TRUE(boxes.boxes.isEmpty());
}

TEST_P(ZoneNamesBeforeSave, TheFirstChangedDuplicateInZoneOrderIsNamed) {
    // MCZ 195 duplicates zone 9 and comes later; zone 150 duplicates an unchanged MCZ.
    scz(150).Name = mcz(250).Name = QStringLiteral("Yard");
    scz(150).Changed = true;
    mcz(195).Name = scz(9).Name = QStringLiteral("Dock");
    mcz(195).Changed = true;
    scz(9).Changed = true;
    EXPECT_TRUE(check());
    EXPECT_EQ(onlyBox(), QStringLiteral("Standard control zone 9: the name \"Dock\" is already used by another control zone. Please enter a unique name."));

    boxes.boxes.clear();
    scz(9).Changed = false;
    EXPECT_TRUE(check());
    EXPECT_EQ(onlyBox(), QStringLiteral("Standard control zone 150: the name \"Yard\" is already used by another control zone. Please enter a unique name."));

    boxes.boxes.clear();
    scz(150).Changed = false;
    EXPECT_TRUE(check()) << "the unchanged zone 9 still holds the name";
    EXPECT_EQ(onlyBox(), QStringLiteral("Master control zone 195: the name \"Dock\" is already used by another control zone. Please enter a unique name."));
}

TEST_P(ZoneNamesBeforeSave, NamesDifferingOnlyInCaseAreDistinct) {
    scz(3).Name = QStringLiteral("Gate");  // loaded zones keep their database names
    scz(3).Changed = true;
    scz(4).Name = QStringLiteral("gate");
    scz(4).Changed = true;
    mcz(192).Name = QStringLiteral("GATE");
    mcz(192).Changed = true;
    scz(5).Changed = true;  // "Zone 5", its own name only
    EXPECT_FALSE(check());
    EXPECT_TRUE(boxes.boxes.isEmpty());
}

}  // namespace
