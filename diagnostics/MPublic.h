#pragma once
// The component's shared services: resource strings from the host, the error
// box with its log line, and the log file beside the component.
#include "diagnostics/HostContext.h"
#include "platform/automation/AutomationError.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace cz {

// The component's application title: names the log file and titles some boxes.
inline const QString AppTitle = QStringLiteral("TamrikControlZoneObject");

// Major, minor and revision joined by ".", as the localizer is told.
inline QString ComponentVersion() {
    return QStringLiteral("%1.%2.%3").arg(TAMRIK_CZ_VERSION_MAJOR).arg(TAMRIK_CZ_VERSION_MINOR).arg(TAMRIK_CZ_VERSION_PATCH);
}

// Resource text by number with up to nine inserts, from the host; empty when
// the host cannot give it (the failure goes to the host's error log).
QString GRS(const HostContext& ctx, qint16 resourceId, const QStringList& inserts = {});

// Resource text 290 titles the component's message boxes.
constexpr qint16 MessageTitle = 290;
// A message with the information icon and the OK button, titled with GRS(MessageTitle).
void InformationBox(const HostContext& ctx, const QString& text, QWidget* owner = nullptr);

// The error message box, then the same text in the log file.
void DisplayError(const HostContext& ctx, const automation::AutomationError& error, const QString& functionName,
                  const QString& functionSubItem);

// One line in the component's log file; the first line of a run replaces the old file.
void WriteLog(const HostContext& ctx, const QString& message);
QString LogFilePath();


}  // namespace cz
