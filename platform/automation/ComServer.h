#pragma once
// The generic logic behind an in-process server's four entry points:
// registration in a registration file of our own, class factories and the
// "can unload" answer. A component's entry points only hand over to these
// with their own server description.
#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

namespace automation::com {

using HResult = int32_t;
constexpr HResult S_OK_ = 0;
constexpr HResult S_FALSE_ = 1;
constexpr HResult E_FAIL_ = static_cast<HResult>(0x80004005u);
constexpr HResult E_POINTER_ = static_cast<HResult>(0x80004003u);
constexpr HResult CLASS_E_CLASSNOTAVAILABLE_ = static_cast<HResult>(0x80040111u);
constexpr HResult SELFREG_E_CLASS_ = static_cast<HResult>(0x80040201u);

// The interface identifier of ClassFactory, the only one our factories answer.
inline constexpr const char* IID_ClassFactory = "00000001-0000-0000-c000-000000000046";

class ClassFactory {
public:
    virtual ~ClassFactory() = default;
    // A new object of the class; the caller owns it.
    virtual QObject* createInstance() = 0;
    // Ends the caller's use of the factory.
    virtual void release() = 0;
};

struct ClassDescription {
    QString clsid;
    QString progId;
    QString name;
    std::function<QObject*()> create;
};

struct ServerDescription {
    QString typeLibName;
    QString typeLibGuid;
    QString description;
    QString version;
    std::vector<ClassDescription> classes;
    // Live objects and factories of this server; a server may be unloaded at zero.
    std::atomic<int>* liveCount = nullptr;
};

// The registration file; TAMRIK_REGISTRATION_FILE redirects it (tests do).
QString registrationFilePath();

// Path of the shared library that contains the given address.
QString modulePathOf(const void* address);

HResult registerServer(const ServerDescription& server, const QString& libraryPath);
HResult unregisterServer(const ServerDescription& server);
HResult getClassObject(const ServerDescription& server, const char* clsid, const char* iid, void** factory);
HResult canUnloadNow(const ServerDescription& server);

// Client side: what the registration file says about a programmatic identifier.
// False when it is not registered; raises error 429 when the file may not be
// trusted (others than its owner can write it) or names a relative path.
struct Registration {
    QString clsid;
    QString libraryPath;
};
bool lookupProgId(const QString& progId, Registration* out);

// Client side: loads the library by path and asks its factory for a new
// object of the class. Before loading, the path must be absolute and the file
// an ELF shared library whose symbol table defines the four entry points.
// Raises error 429 with the reason (the check that failed) on failure.
QObject* createFromLibrary(const QString& libraryPath, const QString& clsid);

// The entry points' C signatures, for clients that dlsym them.
extern "C" {
using DllGetClassObjectFn = HResult (*)(const char* clsid, const char* iid, void** factory);
using DllRegisterServerFn = HResult (*)();
using DllUnregisterServerFn = HResult (*)();
using DllCanUnloadNowFn = HResult (*)();
}

}  // namespace automation::com
