// What the registration file and a library must pass before anything is
// loaded, and the reason given when they do not.
#include "platform/automation/ComServer.h"
#include "platform/automation/Registry.h"
#include "tests/support/Errors.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <dlfcn.h>

using namespace automation;
using testsupport::errorOf;

namespace {

const QString kClsid = QStringLiteral("e8f9d230-24e9-4c51-a37d-64ec7adf04c3");

class RegistrationChecks : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        qputenv("TAMRIK_REGISTRATION_FILE", regFile().toLocal8Bit());
    }
    QString regFile() const { return dir.filePath(QStringLiteral("reg.ini")); }
    // A registration of Test.Rogue pointing at `library`, with the file's mode.
    void registerRogue(const QString& library, QFile::Permissions mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther) {
        QFile f(regFile());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("[ProgID]\ntest.rogue=%1\n\n[CLSID]\n%1\\InprocServer32=%2\n").arg(kClsid, library).toUtf8());
        f.close();
        ASSERT_TRUE(QFile::setPermissions(regFile(), mode));
    }
    static QString rogue() { return QCoreApplication::applicationDirPath() + QStringLiteral("/libtamrik_rogue_library.so"); }
    static QString reason(const std::function<void()>& f) {
        const AutomationError e = errorOf(f);
        EXPECT_EQ(e.number(), err::CannotCreateObject);
        return e.description();
    }

    QTemporaryDir dir;
};

TEST_F(RegistrationChecks, EachRefusalNamesTheCheckThatFailed) {
    QFile text(dir.filePath(QStringLiteral("notes.so")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("#!/bin/sh\necho not a library\n");
    text.close();
    const QFile::Permissions shared = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther;
    const struct {
        QString library;
        QFile::Permissions mode;
        QString because;
    } cases[] = {
        {rogue(), shared, QStringLiteral("others than its owner can write it")},
        {QStringLiteral("bin/libtamrik_rogue_library.so"), QFile::ReadOwner | QFile::WriteOwner, QStringLiteral("which is not an absolute path")},
        {text.fileName(), QFile::ReadOwner | QFile::WriteOwner, QStringLiteral("is not a 64-bit ELF shared library")},
        {dir.filePath(QStringLiteral("missing.so")), QFile::ReadOwner | QFile::WriteOwner, QStringLiteral("cannot be read")},
        {rogue(), QFile::ReadOwner | QFile::WriteOwner,
         QStringLiteral("does not export DllRegisterServer, DllUnregisterServer, DllCanUnloadNow, so it is no component library")},
    };
    for (const auto& c : cases) {
        registerRogue(c.library, c.mode);
        const QString why = reason([] { Registry::create(QStringLiteral("Test.Rogue")); });
        EXPECT_TRUE(why.contains(c.because)) << why.toStdString();
    }
    EXPECT_TRUE(reason([] { com::createFromLibrary(QStringLiteral("libtamrik_rogue_library.so"), kClsid); }).contains(QStringLiteral("not an absolute path")));
    // The symbols were read from the file: the library itself never ran.
    EXPECT_FALSE(qEnvironmentVariableIsSet("TAMRIK_ROGUE_LOADED"));
    EXPECT_EQ(dlopen(QFile::encodeName(rogue()).constData(), RTLD_NOW | RTLD_NOLOAD), nullptr);
}

}  // namespace
