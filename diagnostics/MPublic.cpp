#include "diagnostics/MPublic.h"

#include "component/contracts/HostContracts.h"
#include "platform/automation/ComServer.h"
#include "platform/controls/MessageBox.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <source_location>

namespace cz {

namespace {

thread_local bool LogFileReset = false;
const QString CrLf = QStringLiteral("\r\n");

// The diagnostics cannot report through the error conventions they serve:
// each routine runs its steps through this, so its own failure report knows
// the line of the step that failed.
template <typename F>
auto stepAt(int& line, F&& step, std::source_location where = std::source_location::current()) {
    line = static_cast<int>(where.line());
    return step();
}
}  // namespace

QString GRS(const HostContext& ctx, qint16 resourceId, const QStringList& inserts) {
    int line = 0;
    try {
        return stepAt(line, [&] { return host::GRS(ctx.m_NTConnection, resourceId, inserts); });
    } catch (const automation::AutomationError& e) {
        try {
            host::LogError(ctx.m_NTConnection, QVariant::fromValue(qint16(0)), e, QStringLiteral("GRS"), QVariant::fromValue(qint32(line)));
        } catch (const automation::AutomationError&) {
            // Nowhere left to report it: the caller gets an empty text.
        }
        return QString(QLatin1String(""));
    }
}

void InformationBox(const HostContext& ctx, const QString& text, QWidget* owner) {
    controls::MessageBoxService::show(text, controls::mb::OKOnly | controls::mb::Information, GRS(ctx, MessageTitle), owner);
}

QString LogFilePath() {
    const QString library = automation::com::modulePathOf(reinterpret_cast<const void*>(&LogFilePath));
    return QFileInfo(library).absolutePath() + QLatin1Char('/') + AppTitle + QStringLiteral("_log.txt");
}

void DisplayError(const HostContext& ctx, const automation::AutomationError& error, const QString& functionName,
                  const QString& functionSubItem) {
    int line = 0;
    try {
        const QString intro = QStringLiteral("The following unexpected application error occurred...");
        const QString fn = QStringLiteral("Function Name: ") + functionName;
        const QString sub = QStringLiteral("FunctionSubItem: ") + functionSubItem;
        const QString number = QStringLiteral("Number: ") + QString::number(error.number());
        const QString description = QStringLiteral("Description: ") + error.description();
        stepAt(line, [&] {
            const QString boxText = intro + CrLf + CrLf + fn + CrLf + CrLf + sub + CrLf + CrLf + number + CrLf + description;
            controls::MessageBoxService::show(boxText, controls::mb::OKOnly | controls::mb::Critical, GRS(ctx, MessageTitle));
        });
        stepAt(line, [&] { WriteLog(ctx, QStringList{intro, fn, sub, number, description}.join(QLatin1Char('\n'))); });
    } catch (...) {
        controls::MessageBoxService::show(QStringLiteral("DisplayError: Error (line: %1) displaying error").arg(line),
                                          controls::mb::OKOnly | controls::mb::Critical, GRS(ctx, MessageTitle));
    }
}

void WriteLog(const HostContext& ctx, const QString& message) {
    try {
        const QString path = LogFilePath();
        if (!LogFileReset) {
            if (QFile::exists(path) && !QFile::remove(path))
                automation::raise(automation::err::UserDefined, QStringLiteral("cannot remove %1").arg(path));
            LogFileReset = true;
        }
        QFile file(path);
        if (!file.open(QIODevice::Append | QIODevice::Text))
            automation::raise(automation::err::UserDefined, QStringLiteral("%1: %2").arg(path, file.errorString()));
        QTextStream out(&file);
        out << QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) << ": " << message << '\n';
        out.flush();
        if (out.status() != QTextStream::Ok || file.error() != QFile::NoError)
            automation::raise(automation::err::UserDefined, QStringLiteral("%1: %2").arg(path, file.errorString()));
    } catch (const automation::AutomationError& e) {
        controls::MessageBoxService::show(
            QStringLiteral("Error writing to log file: ") + e.description() + CrLf + CrLf + QStringLiteral("Original log msg: ") + message,
            controls::mb::OKOnly | controls::mb::Critical, GRS(ctx, MessageTitle));
    }
}

}  // namespace cz
