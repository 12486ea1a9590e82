#include "platform/automation/ComServer.h"

#include "platform/automation/AutomationError.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <dlfcn.h>

namespace automation::com {

namespace {

QString normalizeGuid(QString g) {
    g = g.trimmed().toLower();
    if (g.startsWith(QLatin1Char('{'))) g = g.mid(1);
    if (g.endsWith(QLatin1Char('}'))) g.chop(1);
    return g;
}

class ServerClassFactory final : public ClassFactory {
public:
    ServerClassFactory(const ClassDescription& cls, std::atomic<int>* live) : cls_(cls), live_(live) {
        if (live_) ++*live_;
    }
    QObject* createInstance() override {
        QObject* obj = cls_.create();
        if (obj && live_) {
            ++*live_;
            std::atomic<int>* live = live_;
            QObject::connect(obj, &QObject::destroyed, [live] { --*live; });
        }
        return obj;
    }
    void release() override {
        if (live_) --*live_;
        delete this;
    }

private:
    ClassDescription cls_;
    std::atomic<int>* live_;
};

}  // namespace

QString registrationFilePath() {
    const QByteArray redirected = qgetenv("TAMRIK_REGISTRATION_FILE");
    if (!redirected.isEmpty()) return QString::fromLocal8Bit(redirected);
    QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dir.isEmpty()) dir = QDir::homePath() + QStringLiteral("/.local/share");
    return dir + QStringLiteral("/tamrik/registrations.ini");
}

QString modulePathOf(const void* address) {
    Dl_info info{};
    if (dladdr(address, &info) && info.dli_fname) return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absoluteFilePath();
    return QString();
}

HResult registerServer(const ServerDescription& server, const QString& libraryPath) {
    const QString path = registrationFilePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSettings reg(path, QSettings::IniFormat);
    reg.beginGroup(QStringLiteral("TypeLib"));
    reg.setValue(normalizeGuid(server.typeLibGuid), QStringList{server.typeLibName, server.version, libraryPath});
    reg.endGroup();
    for (const ClassDescription& cls : server.classes) {
        reg.beginGroup(QStringLiteral("CLSID/") + normalizeGuid(cls.clsid));
        reg.setValue(QStringLiteral("Name"), cls.name);
        reg.setValue(QStringLiteral("ProgID"), cls.progId);
        reg.setValue(QStringLiteral("InprocServer32"), libraryPath);
        reg.setValue(QStringLiteral("TypeLib"), normalizeGuid(server.typeLibGuid));
        reg.setValue(QStringLiteral("Description"), server.description);
        reg.endGroup();
        reg.beginGroup(QStringLiteral("ProgID"));
        reg.setValue(cls.progId.toLower(), normalizeGuid(cls.clsid));
        reg.endGroup();
    }
    reg.sync();
    return reg.status() == QSettings::NoError ? S_OK_ : SELFREG_E_CLASS_;
}

HResult unregisterServer(const ServerDescription& server) {
    QSettings reg(registrationFilePath(), QSettings::IniFormat);
    reg.remove(QStringLiteral("TypeLib/") + normalizeGuid(server.typeLibGuid));
    for (const ClassDescription& cls : server.classes) {
        reg.remove(QStringLiteral("CLSID/") + normalizeGuid(cls.clsid));
        reg.remove(QStringLiteral("ProgID/") + cls.progId.toLower());
    }
    reg.sync();
    return reg.status() == QSettings::NoError ? S_OK_ : SELFREG_E_CLASS_;
}

HResult getClassObject(const ServerDescription& server, const char* clsid, const char* iid, void** factory) {
    if (!factory) return E_POINTER_;
    *factory = nullptr;
    if (!clsid) return CLASS_E_CLASSNOTAVAILABLE_;
    if (iid && normalizeGuid(QString::fromLatin1(iid)) != QLatin1String(IID_ClassFactory)) return CLASS_E_CLASSNOTAVAILABLE_;
    const QString wanted = normalizeGuid(QString::fromLatin1(clsid));
    for (const ClassDescription& cls : server.classes) {
        if (normalizeGuid(cls.clsid) == wanted) {
            *factory = static_cast<ClassFactory*>(new ServerClassFactory(cls, server.liveCount));
            return S_OK_;
        }
    }
    return CLASS_E_CLASSNOTAVAILABLE_;
}

HResult canUnloadNow(const ServerDescription& server) {
    return (server.liveCount && server.liveCount->load() > 0) ? S_FALSE_ : S_OK_;
}

bool lookupProgId(const QString& progId, Registration* out) {
    QSettings reg(registrationFilePath(), QSettings::IniFormat);
    const QString clsid = reg.value(QStringLiteral("ProgID/") + progId.toLower()).toString();
    if (clsid.isEmpty()) return false;
    const QString path = reg.value(QStringLiteral("CLSID/") + clsid + QStringLiteral("/InprocServer32")).toString();
    if (path.isEmpty()) return false;
    if (out) *out = Registration{clsid, path};
    return true;
}

QObject* createFromLibrary(const QString& libraryPath, const QString& clsid) {
    // The library stays loaded for the life of the process, as on the original platform
    // when objects of it may still be alive.
    void* handle = dlopen(QFile::encodeName(libraryPath).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        raise(err::CannotCreateObject, QStringLiteral("cannot load '%1': %2").arg(libraryPath, QString::fromLocal8Bit(dlerror())));
    auto getClassObjectFn = reinterpret_cast<DllGetClassObjectFn>(dlsym(handle, "DllGetClassObject"));
    if (!getClassObjectFn) raise(err::CannotCreateObject, QStringLiteral("'%1' exports no DllGetClassObject").arg(libraryPath));
    void* raw = nullptr;
    const QByteArray id = clsid.toLatin1();
    const HResult hr = getClassObjectFn(id.constData(), IID_ClassFactory, &raw);
    if (hr != S_OK_ || !raw)
        raise(err::CannotCreateObject, QStringLiteral("class %1 is not available from '%2' (0x%3)").arg(clsid, libraryPath).arg(static_cast<uint32_t>(hr), 8, 16, QLatin1Char('0')));
    auto* factory = static_cast<ClassFactory*>(raw);
    QObject* obj = nullptr;
    try {
        obj = factory->createInstance();
    } catch (...) {
        factory->release();
        throw;
    }
    factory->release();
    return obj;
}

}  // namespace automation::com
