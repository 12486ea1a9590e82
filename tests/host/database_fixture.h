#pragma once
// The host database on both engines: a fresh database per test, the schema
// created through hostdb, optionally the demo site, and an open Connection.
#include "host/lib/HostDatabase.h"
#include "host/lib/Seed.h"
#include "platform/automation/AutomationError.h"
#include "platform/automation/Convert.h"
#include "platform/database/Connection.h"
#include "platform/database/Recordset.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>
#include <QStringList>
#include <memory>

namespace hostdbtest {

class HostDatabaseTest : public testsupport::DatabaseTest {
protected:
    enum class Content { Empty, Schema, Demo };
    virtual Content content() const { return Content::Demo; }

    void prepareDatabase() override {
        conn = std::make_unique<database::Connection>();
        conn->Open(db().connectionString());
        if (content() != Content::Empty) hostdb::createSchema(*conn);
        if (content() == Content::Demo) hostdb::seedDemo(*conn);
    }

    // Read over an independent connection of the test support.
    qlonglong count(const QString& table, const QString& where = QStringLiteral("1 = 1")) { return db().count(table, where); }

    database::ResultSet fetch(const QString& sql, const QVariantList& params = {}) { return conn->fetchAll(sql, params); }

    static QStringList lowerColumns(const database::ResultSet& rs) {
        QStringList out;
        for (const QString& c : rs.columns) out << c.toLower();
        return out;
    }
    static QStringList lower(QStringList names) {
        for (QString& n : names) n = n.toLower();
        return names;
    }

    std::unique_ptr<database::Connection> conn;
};

}  // namespace hostdbtest
