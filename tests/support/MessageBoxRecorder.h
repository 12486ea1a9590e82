#pragma once
// Records every message box instead of showing it, and answers OK; the first
// `failures` boxes fail to show instead, as without a desktop.
#include "platform/automation/AutomationError.h"
#include "platform/controls/MessageBox.h"

#include <QList>
#include <QRegularExpression>
#include <QStringList>

namespace testsupport {

class MessageBoxRecorder {
public:
    MessageBoxRecorder()
        : scope_([this](const controls::MessageBoxRequest& r) {
              if (failures > 0) {
                  --failures;
                  automation::raise(automation::err::UserDefined, QStringLiteral("no desktop to show boxes on"));
              }
              boxes.append(r);
              return answer;
          }) {}

    // Each box: an error box as "function number" (e.g. "frmMain.X 94"), any other as "style title: text".
    QStringList shown() const {
        static const QRegularExpression fields(QStringLiteral("Function Name: (\\S*).*Number: (-?\\d+)"), QRegularExpression::DotMatchesEverythingOption);
        QStringList out;
        for (const auto& b : boxes)
            if (b.icon() == controls::mb::Critical) out << fields.match(b.text).capturedTexts().mid(1).join(QLatin1Char(' '));
            else out << QStringLiteral("%1 %2: %3").arg(b.style).arg(b.title, b.text);
        return out;
    }

    QList<controls::MessageBoxRequest> boxes;
    int answer = controls::mb::OK;
    int failures = 0;

private:
    controls::ScopedMessageBoxHandler scope_;
};

}  // namespace testsupport
