#pragma once
// The error a call raises; a test failure when it raises none.
#include "platform/automation/AutomationError.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

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
