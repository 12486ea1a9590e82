#include "diagnostics/ErrorTrap.h"

#include "component/contracts/HostContracts.h"
#include "diagnostics/MPublic.h"

namespace cz {

void ErrorTrap::report(const automation::AutomationError& e, int line) {
    ++failures_;
    if (report_ == Report::MessageBox) {
        DisplayError(ctx_, e, location_, QString::number(line));
    } else if (report_ == Report::Log) {
        try {
            host::LogError(ctx_.m_NTConnection, QVariant::fromValue(ctx_.m_ControllerId), e, location_, QString::number(line));
        } catch (const automation::AutomationError&) {
            // The host's log is the only place this convention reports to.
        }
    }
    if (after_mode_ == After::End) ended_ = true;
    if (after_) {
        try {
            after_();
        } catch (const automation::AutomationError&) {
        }
    }
}

}  // namespace cz
