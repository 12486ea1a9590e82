#include "host/lib/HostObjects.h"

#include "platform/automation/AutomationError.h"
#include "platform/automation/Convert.h"
#include "platform/automation/Dispatch.h"
#include "platform/controls/MessageBox.h"
#include "platform/controls/WindowHandle.h"

#include <QDateTime>
#include <QFile>
#include <QWidget>
#include <cstdio>
#include <utility>

namespace czhost {

namespace sql {
// The host database's tables, as the host's own objects use them.
const QString resourceText = QStringLiteral("select text from resources where resourceid = ?");
const QString userRight = QStringLiteral("select canview, cansave from userrights where username = ? and componenttype = ?");
const QString tabRight = QStringLiteral("select canview from usertabrights where username = ? and componenttype = ? and tabcaption = ?");
const QString insertError = QStringLiteral(
    "insert into errorlog (controllerid, errornumber, description, location, line, extra, username) values (?, ?, ?, ?, ?, ?, ?)");
const QString insertEvent = QStringLiteral(
    "insert into eventlog (eventtext, objectkind, objectid, description, eventcode, username) values (?, ?, ?, ?, ?, ?)");
const QString insertDownload = QStringLiteral("insert into downloadqueue (controllerid, commandset, objectid) values (?, ?, ?)");
}  // namespace sql

HostObject::HostObject(QWidget* mainWindow, QObject* parent) : QObject(parent), window_(mainWindow) {}

int HostObject::hwnd() const { return controls::windowHandle(window_); }

bool HostObject::enabled() const { return window_ && window_->isEnabled(); }

void HostObject::setEnabled(bool enabled) {
    if (window_) window_->setEnabled(enabled);
}

void HostObject::CZCallback(QString& closeReason, QString& cellEdited) {
    emit dialogClosed(closeReason, automation::toBool(cellEdited));
}

SubPermissions::SubPermissions(Security* security) : QObject(security), security_(security) {}

QObject* SubPermissions::Item(const QString& tabCaption) {
    TabPermission*& p = byCaption_[tabCaption];
    if (!p) p = new TabPermission(security_, tabCaption, this);
    return p;
}

bool TabPermission::canView() const { return security_->tabCanView(caption_); }

Security::Security(Communication* comm) : QObject(comm), comm_(comm), subPermissions_(new SubPermissions(this)) {}

namespace {
// A right the database does not mention is not granted.
bool right(const database::ResultSet& rs, int column) {
    if (rs.rows.isEmpty()) return false;
    const QVariant v = rs.rows.first().value(column);
    return !automation::isNull(v) && automation::toBool(v);
}
}  // namespace

// A dialog sets its component type, then asks for its rights: one read per set.
const database::ResultSet& Security::rights() const {
    if (!rights_) rights_ = comm_->connection()->fetchAll(sql::userRight, {comm_->user(), componentType_});
    return *rights_;
}

bool Security::canView() const { return right(rights(), 0); }

bool Security::canSave() const { return right(rights(), 1); }

bool Security::tabCanView(const QString& caption) const {
    const database::ResultSet rs = comm_->connection()->fetchAll(sql::tabRight, {comm_->user(), componentType_, caption});
    // Tabs without a row of their own follow the component's view right.
    if (rs.rows.isEmpty()) return canView();
    const QVariant v = rs.rows.first().value(0);
    return !automation::isNull(v) && automation::toBool(v);
}

CommandSets::CommandSets(Communication* comm, qint32 controllerId, QObject* parent)
    : QObject(parent), comm_(comm), controllerId_(controllerId) {}

void CommandSets::Add(const QString& commandSet, const QVariant& objectId) {
    const qint32 id = automation::toInt32(objectId);
    comm_->connection()->write(sql::insertDownload, {controllerId_, commandSet, id});
    comm_->noteCommand(commandSet, id);
}

Controller::Controller(Communication* comm, qint32 controllerId, QObject* parent)
    : QObject(parent), controllerId_(controllerId), commandSets_(new CommandSets(comm, controllerId, this)) {}

Controllers::Controllers(Communication* comm) : QObject(comm), comm_(comm) {}

QObject* Controllers::Add(int& controllerId) {
    Controller*& c = byId_[controllerId];
    if (!c) c = new Controller(comm_, controllerId, this);
    return c;
}

Communication::Communication(database::Connection* connection, QString user, QObject* parent)
    : QObject(parent), connection_(connection), user_(std::move(user)), security_(new Security(this)), controllers_(new Controllers(this)) {}

database::Connection* Communication::connection() const {
    if (!connection_) automation::raise(automation::err::ObjectNotSet, QStringLiteral("the host has no open database connection"));
    return connection_;
}

QString Communication::resourceText(int resourceId, const QStringList& inserts) const {
    auto stored = resourceTexts_.constFind(resourceId);
    if (stored == resourceTexts_.constEnd()) {
        const database::ResultSet rs = connection()->fetchAll(sql::resourceText, {resourceId});
        stored = resourceTexts_.insert(resourceId, rs.rows.isEmpty() ? QString(QLatin1String("")) : automation::toText(rs.rows.first().value(0)));
    }
    QString text = *stored;
    // Highest first, so %1 does not eat the start of %10-like sequences.
    for (int i = 9; i >= 1; --i) text.replace(QStringLiteral("%%1").arg(i), inserts.value(i - 1));
    return text;
}

QString Communication::GRS(short& resourceId, QString& s1, QString& s2, QString& s3, QString& s4, QString& s5,
                           QString& s6, QString& s7, QString& s8, QString& s9) {
    return resourceText(resourceId, {s1, s2, s3, s4, s5, s6, s7, s8, s9});
}

void Communication::LogError(QVariant& controllerId, QObject* error, QString& location, QVariant& line, QVariant& extra) {
    const QVariant number = error ? automation::getProperty(error, QStringLiteral("Number")) : QVariant(0);
    const QVariant description = error ? automation::getProperty(error, QStringLiteral("Description")) : QVariant(QString());
    ErrorRow row{{automation::toInt32(controllerId), automation::toInt32(number), automation::toText(description), location,
                  automation::toText(line), automation::toText(extra), user_}};
    if (session_) report_.addFailure({row.values[1].toInt(), row.values[2].toString(), location, row.values[4].toString()});
    heldErrors_ << row;
    // Inside a transaction the row would share its fate; it waits for Endtran.
    if (!holding_ && (!connection_ || !connection_->inTransaction())) writeErrorRows();
}

void Communication::holdErrorRows() { holding_ = true; }

void Communication::writeHeldErrorRows() {
    holding_ = false;
    if (!connection_ || !connection_->inTransaction()) writeErrorRows();
}

void Communication::writeErrorRows() {
    if (heldErrors_.isEmpty()) return;
    const QList<ErrorRow> rows = std::exchange(heldErrors_, {});
    database::Connection* c = connection_;
    // Many rows go in one transaction: one commit, not one per row.
    bool batch = rows.size() > 1 && c && c->isOpen() && !c->inTransaction();
    if (batch) {
        try {
            c->beginTransaction();
        } catch (const automation::AutomationError&) {
            batch = false;
        }
    }
    QList<const ErrorRow*> uncommitted;
    for (const ErrorRow& row : rows) {
        try {
            connection()->write(sql::insertError, row.values);
            if (batch) uncommitted << &row;
        } catch (const automation::AutomationError& e) {
            writeToFallback(row, e.description());
            if (batch && !c->inTransaction()) {
                // The failure took the transaction, and the rows written in it, along.
                for (const ErrorRow* written : std::as_const(uncommitted)) writeToFallback(*written, e.description());
                uncommitted.clear();
                batch = false;
            }
        }
    }
    if (!batch) return;
    try {
        c->commitTransaction();
    } catch (const automation::AutomationError& e) {
        for (const ErrorRow* written : std::as_const(uncommitted)) writeToFallback(*written, e.description());
    }
}

void Communication::writeToFallback(const ErrorRow& row, const QString& why) {
    const QString line = QStringLiteral("%1: controller %2, error %3: %4 (location '%5', line %6, user %7)")
                             .arg(QDateTime::currentDateTime().toString(Qt::ISODate), row.values[0].toString(), row.values[1].toString(),
                                  row.values[2].toString(), row.values[3].toString(), row.values[4].toString(), row.values[6].toString());
    QFile file(fallbackLogPath_);
    const bool written = !fallbackLogPath_.isEmpty() && file.open(QIODevice::Append | QIODevice::Text) &&
                         file.write((line + QLatin1Char('\n')).toUtf8()) > 0;
    const QString where = written ? fallbackLogPath_ : QStringLiteral("standard error");
    if (!written) std::fprintf(stderr, "czhost: %s\n", qPrintable(line));
    const QString text = QStringLiteral("The error log could not be written to the database (%1); the error went to %2.").arg(why, where);
    if (session_) report_.addHostError(text);
    emit errorLogFallback(text);
}

void Communication::LogEvent(QString& eventText, QString& objectKind, QVariant& objectId, QString& description, short& eventCode) {
    const qint32 id = automation::toInt32(objectId);
    connection()->write(sql::insertEvent, {eventText, objectKind, id, description, eventCode, user_});
    if (session_) report_.addEvent(description, id);
}

void Communication::noteCommand(const QString& commandSet, int rowId) {
    if (session_) report_.addCommand(commandSet, rowId);
}

void Communication::ShowHelp(short topic) {
    QString text = resourceText(9000 + topic);
    if (text.isEmpty()) text = QStringLiteral("No help is available for topic %1.").arg(topic);
    controls::MessageBoxService::show(text, controls::mb::OKOnly | controls::mb::Information, resourceText(290));
}

void Communication::BeginTran() {
    database::Connection* c = connection();
    if (!session_) {
        session_ = true;
        report_ = SaveReport();
        // A locked database costs the save one wait, not one per statement.
        c->setSingleLockWait(true);
    }
    c->beginTransaction();
    transactionOpen_ = true;
}

void Communication::Endtran() {
    database::Connection* c = connection();
    const bool wasOpen = std::exchange(transactionOpen_, false);
    if (wasOpen && !c->inTransaction()) {
        // The server went away with it, or the database rolled it back.
        report_.endTransaction(false);
        const QString why = c->lostTransaction().isEmpty() ? QStringLiteral("the connection to the database was lost") : c->lostTransaction();
        if (session_) report_.addHostError(QStringLiteral("The open transaction of the save was rolled back: %1.").arg(why));
    } else if (c->inTransaction()) {
        try {
            c->commitTransaction();
            report_.endTransaction(true);
        } catch (const automation::AutomationError& e) {
            // The connection has ended it either way; what it held is gone.
            report_.endTransaction(false);
            if (session_) report_.addHostError(QStringLiteral("A transaction could not be committed and was rolled back: %1").arg(e.description()));
            heldErrors_ << ErrorRow{{0, e.number(), e.description(), QStringLiteral("Endtran"), QStringLiteral("0"), QStringLiteral("0"), user_}};
        }
    }
    writeErrorRows();
}

SaveReport Communication::endSession() {
    if (connection_) {
        writeErrorRows();
        try {
            connection_->setSingleLockWait(false);
        } catch (const automation::AutomationError&) {
            // A dead connection has no wait to restore; the next open reconnects.
        }
    }
    session_ = false;
    return std::exchange(report_, SaveReport());
}

}  // namespace czhost
