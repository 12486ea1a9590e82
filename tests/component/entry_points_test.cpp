// The component as a host meets it: a library loaded by path, four entry
// points, and members called by name.
#include "component/ControlZones.h"
#include "component/TypeLibrary.h"
#include "dialog/FrmMain.h"
#include "platform/automation/ComServer.h"
#include "platform/automation/Dispatch.h"
#include "platform/automation/Registry.h"
#include "platform/database/Connection.h"
#include "tests/support/Errors.h"
#include "tests/support/RecordingHost.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <dlfcn.h>

using namespace automation;

namespace {

// The component's library loaded by path, as a host loads it, and its entry points.
void* library() {
    return dlopen((QCoreApplication::applicationDirPath() + QStringLiteral("/TamrikControlZoneObject.so")).toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
}
template <typename F>
F entry(void* library, const char* name) { return reinterpret_cast<F>(dlsym(library, name)); }

}  // namespace

TEST(EntryPoints, TheFactoryCreatesControlZonesAndTheLibraryKnowsWhenItIsInUse) {
    void* lib = library();
    ASSERT_NE(lib, nullptr) << dlerror();
    const auto getClassObject = entry<com::DllGetClassObjectFn>(lib, "DllGetClassObject");
    const auto canUnloadNow = entry<com::DllCanUnloadNowFn>(lib, "DllCanUnloadNow");
    ASSERT_TRUE(getClassObject && canUnloadNow);
    // Nothing but the entry points: a host cannot bind to the dialog's internals.
    EXPECT_EQ(dlsym(lib, "_ZN2cz7FrmMain8instanceEv"), nullptr);
    EXPECT_EQ(dlsym(lib, "_ZN2cz12LoadSCZArrayERKNS_11HostContextERNS_9TimeZonesERNS_8SCZTableE"), nullptr);
    void* raw = nullptr;
    const QByteArray clsid = cz::typelib::ClassGuid.toLatin1();
    ASSERT_EQ(getClassObject(clsid.constData(), com::IID_ClassFactory, &raw), com::S_OK_);
    auto* factory = static_cast<com::ClassFactory*>(raw);
    EXPECT_EQ(canUnloadNow(), com::S_FALSE_) << "a factory in use keeps the library";
    QObject* zones = factory->createInstance();
    factory->release();
    ASSERT_NE(zones, nullptr);
    EXPECT_STREQ(zones->metaObject()->className(), "cz::ControlZones");
    EXPECT_TRUE(hasMember(zones, QStringLiteral("RaiseForm")));
    EXPECT_EQ(canUnloadNow(), com::S_FALSE_);
    delete zones;
    EXPECT_EQ(canUnloadNow(), com::S_OK_);

    raw = reinterpret_cast<void*>(1);
    EXPECT_EQ(getClassObject("00000000-0000-0000-0000-000000000000", com::IID_ClassFactory, &raw), com::CLASS_E_CLASSNOTAVAILABLE_);
    EXPECT_EQ(raw, nullptr);
}

TEST(EntryPoints, RegistrationLetsAnyHostCreateTheClassByItsIdentifier) {
    QTemporaryDir dir;
    qputenv("TAMRIK_REGISTRATION_FILE", (dir.path() + QStringLiteral("/reg.ini")).toLocal8Bit());
    void* lib = library();
    ASSERT_NE(lib, nullptr) << dlerror();
    const auto registerServer = entry<com::DllRegisterServerFn>(lib, "DllRegisterServer");
    const auto unregisterServer = entry<com::DllUnregisterServerFn>(lib, "DllUnregisterServer");
    ASSERT_TRUE(registerServer && unregisterServer);
    ASSERT_EQ(registerServer(), com::S_OK_);

    com::Registration reg;
    ASSERT_TRUE(com::lookupProgId(QStringLiteral("TamrikControlZoneObject.ControlZones"), &reg));
    EXPECT_EQ(reg.clsid, cz::typelib::ClassGuid);
    EXPECT_TRUE(reg.libraryPath.endsWith(QStringLiteral("TamrikControlZoneObject.so")));

    ObjectRef zones = Registry::create(QStringLiteral("TamrikControlZoneObject.ControlZones"));
    ASSERT_TRUE(zones);
    zones.set(QStringLiteral("CONTROLZONETYPE"), 3);

    ASSERT_EQ(unregisterServer(), com::S_OK_);
    EXPECT_FALSE(com::lookupProgId(QStringLiteral("TamrikControlZoneObject.ControlZones"), nullptr));
    EXPECT_EQ(testsupport::errorNumber([] { Registry::create(QStringLiteral("TamrikControlZoneObject.ControlZones")); }),
              err::CannotCreateObject);
}

// RaiseForm and the close are driven through these members by every dialog test.
TEST(ControlZonesObject, WriteOnlyAssignmentsGoStraightIntoTheSharedDialogObject) {
    testsupport::RecordingHost host, other;
    database::Connection connection;
    cz::ControlZones first, second;
    setProperty(&first, QStringLiteral("Parent"), fromObject(host.parent.get()));
    setProperty(&first, QStringLiteral("DBConnection"), fromObject(&connection));
    setProperty(&first, QStringLiteral("NTConnection"), fromObject(host.comm.get()));
    cz::FrmMain& form = cz::FrmMain::instance();
    EXPECT_EQ(form.m_Parent.get(), host.parent.get());
    EXPECT_EQ(form.m_DBConnection.get(), &connection);
    EXPECT_EQ(form.m_NTConnection.get(), host.comm.get());
    // A second object on the same thread replaces what the first assigned.
    setProperty(&second, QStringLiteral("Parent"), fromObject(other.parent.get()));
    EXPECT_EQ(form.m_Parent.get(), other.parent.get());
    EXPECT_EQ(&cz::FrmMain::instance(), &form);

    for (int t : {1, 2, 3, 99}) {
        setProperty(&first, QStringLiteral("CONTROLZONETYPE"), t);
        EXPECT_EQ(first.controlZoneType(), t) << "kept, though nothing uses it";
    }
    EXPECT_EQ(testsupport::errorNumber([&] { getProperty(&first, QStringLiteral("Parent")); }), err::PropertyWriteOnly);
    QObject notAConnection;
    EXPECT_EQ(testsupport::errorNumber([&] { setProperty(&first, QStringLiteral("DBConnection"), fromObject(&notAConnection)); }), err::TypeMismatch);
}
