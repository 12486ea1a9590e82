#include "platform/automation/Registry.h"
#include "tests/automation/TestObjects.h"
#include "tests/support/Errors.h"

using namespace automation;
using testsupport::errorOf;

TEST(Registry, CreatesRegisteredClassesByIdentifierInAnyCase) {
    Registry::registerClass(QStringLiteral("Test.Widget"), [] { return new Widgetish; });
    ObjectRef w = Registry::create(QStringLiteral("test.WIDGET"));
    ASSERT_TRUE(w);
    EXPECT_EQ(w.call(QStringLiteral("Add"), {1, 2}).toInt(), 3);
    Registry::unregisterClass(QStringLiteral("TEST.widget"));
    EXPECT_FALSE(Registry::isRegistered(QStringLiteral("Test.Widget")));
    // The platform's connection is creatable too.
    ObjectRef c = Registry::create(QStringLiteral("ADODB.Connection"));
    c.set(QStringLiteral("ConnectionString"), QStringLiteral("sqlite::memory:"));
    EXPECT_EQ(c.get(QStringLiteral("ConnectionString")).toString(), QStringLiteral("sqlite::memory:"));
}

TEST(Registry, UnknownIdentifiersAndFailingFactoriesRaise429) {
    qputenv("TAMRIK_REGISTRATION_FILE", "/nonexistent/registrations.ini");
    AutomationError e = errorOf([] { Registry::create(QStringLiteral("Nobody.Home")); });
    EXPECT_EQ(e.number(), err::CannotCreateObject);
    EXPECT_TRUE(e.description().contains(QStringLiteral("Nobody.Home")));
    Registry::registerClass(QStringLiteral("Test.Broken"), []() -> QObject* { automation::raise(err::UserDefined, QStringLiteral("licence expired")); });
    e = errorOf([] { Registry::create(QStringLiteral("Test.Broken")); });
    EXPECT_EQ(e.number(), err::CannotCreateObject);
    EXPECT_TRUE(e.description().contains(QStringLiteral("licence expired")));
}
