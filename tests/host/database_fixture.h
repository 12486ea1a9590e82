#pragma once
// The host database on both engines: a fresh database per test, the schema
// created through hostdb, optionally the demo site, and an open Connection.
#include "host/lib/HostDatabase.h"
#include "host/lib/Seed.h"
#include "platform/automation/AutomationError.h"
#include "platform/database/Connection.h"
#include "platform/database/Recordset.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestDatabase.h"

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
    // The first column of every row, over the test's connection.
    QVariantList column(const QString& sql, const QVariantList& params = {}) {
        QVariantList out;
        for (const QVariantList& row : conn->fetchAll(sql, params).rows) out << row.value(0);
        return out;
    }

    std::unique_ptr<database::Connection> conn;
};

}  // namespace hostdbtest
