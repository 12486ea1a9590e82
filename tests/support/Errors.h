#pragma once
// The error a call raises (a test failure when it raises none); Qt values
// printed readably in failure messages.
#include "platform/automation/AutomationError.h"

#include <QString>
#include <QVariant>
#include <gtest/gtest.h>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QVariant& v, std::ostream* os) { *os << "QVariant(" << v.typeName() << ", " << v.toString().toStdString() << ')'; }

namespace testsupport {

template <typename F>
automation::AutomationError errorOf(F&& f) {
    try {
        f();
    } catch (const automation::AutomationError& e) {
        return e;
    }
    ADD_FAILURE() << "expected an AutomationError, none was raised";
    return automation::AutomationError(0, QStringLiteral("no error"));
}
template <typename F>
int errorNumber(F&& f) {
    return errorOf(std::forward<F>(f)).number();
}

}  // namespace testsupport
