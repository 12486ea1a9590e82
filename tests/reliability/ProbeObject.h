#pragma once
// A communication object whose "DetectConflicts" reads as any value, or fails.
#include "platform/automation/AutomationError.h"

#include <QObject>
#include <QVariant>

namespace reliability {

class Probe : public QObject {
    Q_OBJECT
    Q_PROPERTY(QVariant DetectConflicts READ detect)
public:
    QVariant value;
    bool fail = false;
    QVariant detect() {
        if (fail) automation::raise(automation::err::UserDefined, QStringLiteral("no"));
        return value;
    }
};

}  // namespace reliability
