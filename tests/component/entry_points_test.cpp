// The component as a host meets it: a library loaded by path, four entry
// points, and members called by name.
#include "component/TypeLibrary.h"
#include "platform/automation/ComServer.h"
#include "platform/automation/Dispatch.h"
#include "platform/automation/Registry.h"
#include "tests/support/Errors.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <dlfcn.h>

using namespace automation;

namespace {

struct Library {
    void* handle = nullptr;
    com::DllGetClassObjectFn getClassObject = nullptr;
    com::DllRegisterServerFn registerServer = nullptr;
    com::DllUnregisterServerFn unregisterServer = nullptr;
    com::DllCanUnloadNowFn canUnloadNow = nullptr;

    Library() {
        const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/TamrikControlZoneObject.so");
        handle = dlopen(path.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) return;
        getClassObject = reinterpret_cast<com::DllGetClassObjectFn>(dlsym(handle, "DllGetClassObject"));
        registerServer = reinterpret_cast<com::DllRegisterServerFn>(dlsym(handle, "DllRegisterServer"));
        unregisterServer = reinterpret_cast<com::DllUnregisterServerFn>(dlsym(handle, "DllUnregisterServer"));
        canUnloadNow = reinterpret_cast<com::DllCanUnloadNowFn>(dlsym(handle, "DllCanUnloadNow"));
    }
};

}  // namespace

TEST(EntryPoints, TheFactoryCreatesControlZonesAndTheLibraryKnowsWhenItIsInUse) {
    Library lib;
    ASSERT_NE(lib.handle, nullptr) << dlerror();
    ASSERT_NE(lib.getClassObject, nullptr);
    ASSERT_NE(lib.canUnloadNow, nullptr);
    // Nothing but the entry points: a host cannot bind to the dialog's internals.
    EXPECT_EQ(dlsym(lib.handle, "_ZN2cz7FrmMain8instanceEv"), nullptr);
    EXPECT_EQ(dlsym(lib.handle, "_ZN2cz12LoadSCZArrayERKNS_11HostContextERNS_9TimeZonesERNS_8SCZTableE"), nullptr);
    void* raw = nullptr;
    const QByteArray clsid = cz::typelib::ClassGuid.toLatin1();
    ASSERT_EQ(lib.getClassObject(clsid.constData(), com::IID_ClassFactory, &raw), com::S_OK_);
    auto* factory = static_cast<com::ClassFactory*>(raw);
    EXPECT_EQ(lib.canUnloadNow(), com::S_FALSE_) << "a factory in use keeps the library";
    QObject* zones = factory->createInstance();
    factory->release();
    ASSERT_NE(zones, nullptr);
    EXPECT_STREQ(zones->metaObject()->className(), "cz::ControlZones");
    EXPECT_TRUE(hasMember(zones, QStringLiteral("RaiseForm")));
    EXPECT_EQ(lib.canUnloadNow(), com::S_FALSE_);
    delete zones;
    EXPECT_EQ(lib.canUnloadNow(), com::S_OK_);

    raw = reinterpret_cast<void*>(1);
    EXPECT_EQ(lib.getClassObject("00000000-0000-0000-0000-000000000000", com::IID_ClassFactory, &raw), com::CLASS_E_CLASSNOTAVAILABLE_);
    EXPECT_EQ(raw, nullptr);
}

TEST(EntryPoints, RegistrationLetsAnyHostCreateTheClassByItsIdentifier) {
    QTemporaryDir dir;
    qputenv("TAMRIK_REGISTRATION_FILE", (dir.path() + QStringLiteral("/reg.ini")).toLocal8Bit());
    Library lib;
    ASSERT_NE(lib.registerServer, nullptr) << dlerror();
    ASSERT_NE(lib.unregisterServer, nullptr);
    ASSERT_EQ(lib.registerServer(), com::S_OK_);

    com::Registration reg;
    ASSERT_TRUE(com::lookupProgId(QStringLiteral("TamrikControlZoneObject.ControlZones"), &reg));
    EXPECT_EQ(reg.clsid, cz::typelib::ClassGuid);
    EXPECT_TRUE(reg.libraryPath.endsWith(QStringLiteral("TamrikControlZoneObject.so")));

    ObjectRef zones = Registry::create(QStringLiteral("TamrikControlZoneObject.ControlZones"));
    ASSERT_TRUE(zones);
    zones.set(QStringLiteral("CONTROLZONETYPE"), 3);

    ASSERT_EQ(lib.unregisterServer(), com::S_OK_);
    EXPECT_FALSE(com::lookupProgId(QStringLiteral("TamrikControlZoneObject.ControlZones"), nullptr));
    EXPECT_EQ(testsupport::errorNumber([] { Registry::create(QStringLiteral("TamrikControlZoneObject.ControlZones")); }),
              err::CannotCreateObject);
}
