#pragma once
// Records every message box instead of showing it, and answers OK.
#include "platform/controls/MessageBox.h"

#include <QList>

namespace testsupport {

class MessageBoxRecorder {
public:
    MessageBoxRecorder()
        : scope_([this](const controls::MessageBoxRequest& r) {
              boxes.append(r);
              return answer;
          }) {}

    QList<controls::MessageBoxRequest> boxes;
    int answer = controls::mb::OK;

private:
    controls::ScopedMessageBoxHandler scope_;
};

}  // namespace testsupport
