#include "platform/automation/ComServer.h"

#include "platform/automation/AutomationError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <dlfcn.h>
#include <elf.h>
#include <sys/stat.h>
#include <cstring>

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

const char* const kEntryPoints[] = {"DllGetClassObject", "DllRegisterServer", "DllUnregisterServer", "DllCanUnloadNow"};

// The global functions a 64-bit ELF shared object defines in its dynamic
// symbol table, read from the file without loading it (loading would run its
// constructors). Raises 429 with the reason when the file is no such object.
QStringList exportedFunctions(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) raise(err::CannotCreateObject, QStringLiteral("'%1' cannot be read: %2").arg(path, file.errorString()));
    const qint64 size = file.size();
    const uchar* base = size > 0 ? file.map(0, size) : nullptr;
    const auto notElf = [&] { raise(err::CannotCreateObject, QStringLiteral("'%1' is not a 64-bit ELF shared library").arg(path)); };
    if (!base || size < static_cast<qint64>(sizeof(Elf64_Ehdr))) notElf();
    // Every read is bounds-checked: the file is untrusted until it passes.
    const auto within = [&](quint64 offset, quint64 length) { return offset <= static_cast<quint64>(size) && length <= static_cast<quint64>(size) - offset; };
    Elf64_Ehdr eh;
    std::memcpy(&eh, base, sizeof eh);
    if (std::memcmp(eh.e_ident, ELFMAG, SELFMAG) != 0 || eh.e_ident[EI_CLASS] != ELFCLASS64 || eh.e_type != ET_DYN ||
        eh.e_shentsize != sizeof(Elf64_Shdr) || !within(eh.e_shoff, quint64(eh.e_shnum) * sizeof(Elf64_Shdr)))
        notElf();
    const auto section = [&](quint64 i) {
        Elf64_Shdr sh;
        std::memcpy(&sh, base + eh.e_shoff + i * sizeof(Elf64_Shdr), sizeof sh);
        return sh;
    };
    QStringList names;
    for (quint64 i = 0; i < eh.e_shnum; ++i) {
        const Elf64_Shdr symtab = section(i);
        if (symtab.sh_type != SHT_DYNSYM) continue;
        if (symtab.sh_link >= eh.e_shnum || symtab.sh_entsize != sizeof(Elf64_Sym) || !within(symtab.sh_offset, symtab.sh_size)) notElf();
        const Elf64_Shdr strtab = section(symtab.sh_link);
        if (!within(strtab.sh_offset, strtab.sh_size)) notElf();
        const char* strings = reinterpret_cast<const char*>(base + strtab.sh_offset);
        for (quint64 k = 0; k < symtab.sh_size / sizeof(Elf64_Sym); ++k) {
            Elf64_Sym sym;
            std::memcpy(&sym, base + symtab.sh_offset + k * sizeof(Elf64_Sym), sizeof sym);
            const int bind = ELF64_ST_BIND(sym.st_info);
            if (sym.st_shndx == SHN_UNDEF || ELF64_ST_TYPE(sym.st_info) != STT_FUNC || (bind != STB_GLOBAL && bind != STB_WEAK)) continue;
            if (sym.st_name >= strtab.sh_size) notElf();
            const char* name = strings + sym.st_name;
            const std::size_t n = strnlen(name, strtab.sh_size - sym.st_name);
            if (n == strtab.sh_size - sym.st_name) notElf();  // not terminated inside its table
            names << QString::fromLatin1(name, static_cast<qsizetype>(n));
        }
    }
    return names;
}

// The checks a library passes before it is loaded: an absolute path to an
// ELF shared library that defines the four entry points.
void checkLibrary(const QString& path) {
    if (!QFileInfo(path).isAbsolute())
        raise(err::CannotCreateObject, QStringLiteral("'%1' is not an absolute path; only absolute library paths are loaded").arg(path));
    const QStringList exported = exportedFunctions(path);
    QStringList missing;
    for (const char* entry : kEntryPoints)
        if (!exported.contains(QLatin1String(entry))) missing << QLatin1String(entry);
    if (!missing.isEmpty())
        raise(err::CannotCreateObject, QStringLiteral("'%1' does not export %2, so it is no component library").arg(path, missing.join(QStringLiteral(", "))));
}

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
    const QString file = registrationFilePath();
    struct stat st {};
    if (::stat(QFile::encodeName(file).constData(), &st) != 0) return false;
    // Whoever can write the file chooses what every host loads.
    if (st.st_mode & (S_IWGRP | S_IWOTH))
        raise(err::CannotCreateObject,
              QStringLiteral("the registration file %1 is ignored: others than its owner can write it").arg(file));
    QSettings reg(file, QSettings::IniFormat);
    const QString clsid = reg.value(QStringLiteral("ProgID/") + progId.toLower()).toString();
    if (clsid.isEmpty()) return false;
    const QString path = reg.value(QStringLiteral("CLSID/") + clsid + QStringLiteral("/InprocServer32")).toString();
    if (path.isEmpty()) return false;
    if (!QFileInfo(path).isAbsolute())
        raise(err::CannotCreateObject, QStringLiteral("the registration of '%1' names the library '%2', which is not an absolute path").arg(progId, path));
    if (out) *out = Registration{clsid, path};
    return true;
}

QObject* createFromLibrary(const QString& libraryPath, const QString& clsid) {
    checkLibrary(libraryPath);
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
