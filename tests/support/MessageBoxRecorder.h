#pragma once
// Records every message box instead of showing it, and answers OK; the first
// `failures` boxes fail to show instead, as without a desktop.
#include "platform/automation/AutomationError.h"
#include "platform/controls/MessageBox.h"

#include <QList>

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

    QList<controls::MessageBoxRequest> boxes;
    int answer = controls::mb::OK;
    int failures = 0;

private:
    controls::ScopedMessageBoxHandler scope_;
};

}  // namespace testsupport
