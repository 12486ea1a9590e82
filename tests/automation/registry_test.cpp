#include "platform/automation/AutomationError.h"
#include "platform/automation/Registry.h"
#include "tests/automation/TestObjects.h"

#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace automation;

TEST(Registry, CreatesRegisteredClassesByIdentifierInAnyCase) {
    Registry::registerClass(QStringLiteral("Test.Widget"), [] { return new Widgetish; });
    ObjectRef w = Registry::create(QStringLiteral("test.WIDGET"));
    ASSERT_TRUE(w);
    EXPECT_EQ(w.call(QStringLiteral("Add"), {1, 2}).toInt(), 3);
    Registry::unregisterClass(QStringLiteral("TEST.widget"));
    EXPECT_FALSE(Registry::isRegistered(QStringLiteral("Test.Widget")));
}

TEST(Registry, UnknownIdentifiersAndFailingFactoriesRaise429) {
    qputenv("TAMRIK_REGISTRATION_FILE", "/nonexistent/registrations.ini");
    try {
        Registry::create(QStringLiteral("Nobody.Home"));
        FAIL() << "created an unknown class";
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.number(), err::CannotCreateObject);
        EXPECT_TRUE(e.description().contains(QStringLiteral("Nobody.Home")));
    }
    Registry::registerClass(QStringLiteral("Test.Broken"), []() -> QObject* { automation::raise(err::UserDefined, QStringLiteral("licence expired")); });
    try {
        Registry::create(QStringLiteral("Test.Broken"));
        FAIL() << "no error";
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.number(), err::CannotCreateObject);
        EXPECT_TRUE(e.description().contains(QStringLiteral("licence expired")));
    }
}

TEST(Registry, ThePlatformConnectionIsCreatable) {
    ObjectRef c = Registry::create(QStringLiteral("ADODB.Connection"));
    ASSERT_TRUE(c);
    c.set(QStringLiteral("ConnectionString"), QStringLiteral("sqlite::memory:"));
    EXPECT_EQ(c.get(QStringLiteral("ConnectionString")).toString(), QStringLiteral("sqlite::memory:"));
}
