#pragma once
// The one way an operation of the component meets an unexpected failure. An
// operation is written as a sequence of steps; each step that fails is
// reported with its own line, so "each store is its own step" reads as a list
// of one-line steps. One named variant per behaviour:
//  - showAndEnd: DisplayError with the location and the line; the operation ends;
//  - logAndContinue / logAndEnd: the host's "LogError" with the controller id,
//    the error, the location, the line and 0; nothing is shown, and the
//    operation goes on with its next step, or ends;
//  - skipEachFailure: a failing step is skipped and the next one runs (the unload);
//  - endSilently: the operation ends without a word (a pick that cannot be made).
// An operation without a handler of its own uses no trap: its faults reach
// the caller's.
#include "diagnostics/HostContext.h"
#include "platform/automation/AutomationError.h"

#include <QString>
#include <exception>
#include <functional>
#include <source_location>

namespace cz {

class ErrorTrap {
public:
    enum class Report { MessageBox, Log, Nothing };
    enum class After { End, Continue };

    static ErrorTrap showAndEnd(const HostContext& ctx, QString location) { return {ctx, Report::MessageBox, After::End, std::move(location)}; }
    static ErrorTrap logAndContinue(const HostContext& ctx, QString location) { return {ctx, Report::Log, After::Continue, std::move(location)}; }
    static ErrorTrap logAndEnd(const HostContext& ctx, QString location) { return {ctx, Report::Log, After::End, std::move(location)}; }
    static ErrorTrap skipEachFailure(const HostContext& ctx) { return {ctx, Report::Nothing, After::Continue, QString()}; }
    static ErrorTrap endSilently(const HostContext& ctx) { return {ctx, Report::Nothing, After::End, QString()}; }

    // Runs after every reported failure (a save closes its transaction here).
    ErrorTrap& afterReport(std::function<void()> f) {
        after_ = std::move(f);
        return *this;
    }

    // Runs one step unless the operation has ended; true when it succeeded.
    template <typename F>
    bool operator()(F&& step, std::source_location where = std::source_location::current()) {
        if (ended_) return false;
        try {
            std::forward<F>(step)();
            return true;
        } catch (const automation::AutomationError& e) {
            report(e, static_cast<int>(where.line()));
        } catch (const std::exception& e) {
            report(automation::AutomationError(automation::err::UserDefined, QString::fromUtf8(e.what())), static_cast<int>(where.line()));
        }
        return false;
    }

    // Runs `row` for every row of an open recordset. The end test and each
    // move are steps of their own; a recordset that fails by itself ends the
    // loop (its position can no longer be trusted). False when it ended so.
    template <typename Recordset, typename F>
    bool forEachRow(Recordset& rs, F&& row, std::source_location where = std::source_location::current()) {
        for (;;) {
            bool atEnd = true;
            if (!(*this)([&] { atEnd = rs.eof(); }, where)) return false;
            if (atEnd) return true;
            row();
            if (ended_ || !(*this)([&] { rs.MoveNext(); }, where)) return false;
        }
    }

    bool failed() const { return failures_ > 0; }
    int failures() const { return failures_; }
    bool ended() const { return ended_; }
    // Ends the operation without a failure (a step decided to stop).
    void end() { ended_ = true; }

    // Reports a failure caught elsewhere, as a failing step at `line` would be.
    void report(const automation::AutomationError& e, int line);

private:
    ErrorTrap(const HostContext& ctx, Report r, After a, QString location)
        : ctx_(ctx), report_(r), after_mode_(a), location_(std::move(location)) {}

    const HostContext& ctx_;
    Report report_;
    After after_mode_;
    QString location_;
    std::function<void()> after_;
    int failures_ = 0;
    bool ended_ = false;
};

}  // namespace cz
