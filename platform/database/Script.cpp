#include "platform/database/Script.h"

#include <QRegularExpression>

namespace database {

QStringList splitStatements(const QString& script) {
    static const QRegularExpression dollarTag(QStringLiteral("\\$[A-Za-z_]*\\$"));
    QStringList out;
    QString current;
    auto flush = [&] {
        const QString s = current.trimmed();
        if (!s.isEmpty()) out << s;
        current.clear();
    };
    const qsizetype n = script.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = script.at(i);
        const QChar next = i + 1 < n ? script.at(i + 1) : QChar();
        if (c == QLatin1Char('-') && next == QLatin1Char('-')) {
            const qsizetype end = script.indexOf(QLatin1Char('\n'), i);
            i = end < 0 ? n : end;  // keep the line break
        } else if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            const qsizetype end = script.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? n : end + 2;
            current += QLatin1Char(' ');
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // A doubled quote inside is read as closing and reopening: same text.
            const qsizetype end = script.indexOf(c, i + 1);
            const qsizetype stop = end < 0 ? n : end + 1;
            current += QStringView(script).mid(i, stop - i);
            i = stop;
        } else if (c == QLatin1Char('$')) {
            const QRegularExpressionMatch m =
                dollarTag.match(script, i, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
            if (m.hasMatch()) {
                const QString tag = m.captured();
                const qsizetype end = script.indexOf(tag, i + tag.size());
                const qsizetype stop = end < 0 ? n : end + tag.size();
                current += QStringView(script).mid(i, stop - i);
                i = stop;
            } else {
                current += c;
                ++i;
            }
        } else if (c == QLatin1Char(';')) {
            flush();
            ++i;
        } else {
            current += c;
            ++i;
        }
    }
    flush();
    return out;
}

}  // namespace database
