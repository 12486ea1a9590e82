#include "host/lib/SaveReport.h"

#include <QRegularExpression>

namespace czhost {

void SaveReport::addCommand(const QString& commandSet, int rowId) {
    commands_ << ZoneWrite{commandSet == QLatin1String("MASTER_CONTROL_ZONE") ? QStringLiteral("MCZ") : QStringLiteral("SCZ"), rowId, -1};
}

void SaveReport::addEvent(const QString& description, int rowId) {
    static const QRegularExpression zone(QStringLiteral("^\\((SCZ|MCZ)(\\d+)\\)"));
    const QRegularExpressionMatch m = zone.match(description);
    if (!m.hasMatch()) return;
    const ZoneWrite w{m.captured(1), rowId, m.captured(2).toInt()};
    events_ << w;
    // The command of the same row learns its zone number from the event.
    for (ZoneWrite& c : commands_)
        if (c.kind == w.kind && c.rowId == w.rowId) c.zone = w.zone;
    for (ZoneWrite& c : rolledBack_)
        if (c.kind == w.kind && c.rowId == w.rowId) c.zone = w.zone;
}

void SaveReport::endTransaction(bool committed) {
    if (!committed) {
        rolledBack_ << commands_.mid(openCommands_) << events_.mid(openEvents_);
        commands_.resize(openCommands_);
        events_.resize(openEvents_);
    }
    openCommands_ = commands_.size();
    openEvents_ = events_.size();
}

QStringList SaveReport::labels(const QList<ZoneWrite>& writes) const {
    QStringList out;
    for (const ZoneWrite& w : writes) {
        int zone = w.zone;
        for (const ZoneWrite& e : events_)
            if (zone < 0 && e.kind == w.kind && e.rowId == w.rowId) zone = e.zone;
        const QString label = zone >= 0 ? QStringLiteral("%1 %2").arg(w.kind).arg(zone) : QStringLiteral("%1 row %2").arg(w.kind).arg(w.rowId);
        if (!out.contains(label)) out << label;
    }
    return out;
}

QString SaveReport::operatorText(int controllerId) const {
    QStringList lines;
    lines << QStringLiteral("The control zones of controller %1 were not all saved.").arg(controllerId);
    if (!failures_.isEmpty()) {
        lines << QString() << QStringLiteral("%1 save step(s) failed:").arg(failures_.size());
        for (const Failure& f : failures_)
            lines << QStringLiteral("  - %1 (error %2, %3 line %4)")
                         .arg(f.description)
                         .arg(f.number)
                         .arg(f.location.isEmpty() ? QStringLiteral("standard zone save") : f.location, f.line);
    }
    for (const QString& e : hostErrors_) lines << QString() << e;
    const auto list = [&](const QString& head, const QStringList& items) {
        lines << QString() << head + (items.isEmpty() ? QStringLiteral("none") : items.join(QStringLiteral(", ")));
    };
    list(QStringLiteral("Download commands queued for: "), commands());
    list(QStringLiteral("Events logged for: "), events());
    if (!rolledBack_.isEmpty()) list(QStringLiteral("Taken back by a rollback (not saved): "), rolledBack());
    return lines.join(QLatin1Char('\n'));
}

}  // namespace czhost
