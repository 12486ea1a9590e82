#include "host/lib/MainWindow.h"

#include "host/lib/HostObjects.h"
#include "platform/automation/AutomationError.h"
#include "platform/automation/Convert.h"
#include "platform/automation/Dispatch.h"
#include "platform/controls/MessageBox.h"
#include "platform/database/Connection.h"

#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTimer>
#include <QDir>
#include <QVBoxLayout>

namespace czhost {

MainWindow::MainWindow(database::Connection* connection, const QString& user, QObject* controlZones)
    : connection_(connection), controlZones_(controlZones) {
    setObjectName(QStringLiteral("czhostMain"));
    setWindowTitle(QStringLiteral("Access Control - Controllers (%1)").arg(user));
    host_ = new HostObject(this, this);
    comm_ = new Communication(connection, user, this);
    comm_->setDetectConflicts(true);
    comm_->setFallbackLogPath(fallbackLogPath());

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    table_ = new QTableWidget(0, 3, central);
    table_->setObjectName(QStringLiteral("controllerList"));
    table_->setHorizontalHeaderLabels({QStringLiteral("Id"), QStringLiteral("Type"), QStringLiteral("Name")});
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->verticalHeader()->hide();
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(table_);
    auto* open = new QPushButton(QStringLiteral("&Control Zones..."), central);
    open->setObjectName(QStringLiteral("cmdControlZones"));
    layout->addWidget(open, 0, Qt::AlignRight);
    outcome_ = new QLabel(central);
    outcome_->setObjectName(QStringLiteral("lblOutcome"));
    statusBar()->addWidget(outcome_, 1);
    setCentralWidget(central);
    resize(560, 420);

    connect(open, &QPushButton::clicked, this, [this] {
        if (const int id = selectedControllerId()) openControlZones(id);
    });
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int, int) {
        if (const int id = selectedControllerId()) openControlZones(id);
    });
    connect(host_, &HostObject::dialogClosed, this, [this](const QString& reason, bool edited) {
        outcome_->setText(QStringLiteral("Control zones of \"%1\" closed with %2; a zone cell was %3edited.")
                              .arg(controllerName(openController_), reason, edited ? QString() : QStringLiteral("not ")));
        const SaveReport report = comm_->endSession();
        if (!report.anythingToTell()) return;
        outcome_->setText(QStringLiteral("Control zones of \"%1\": the save did not go through completely.").arg(controllerName(openController_)));
        // Once the dialog is gone: this runs inside its unload.
        QTimer::singleShot(0, this, [this, text = report.operatorText(openController_)] {
            controls::MessageBoxService::show(text, controls::mb::OKOnly | controls::mb::Exclamation, windowTitle(), this);
        });
    });
    connect(comm_, &Communication::errorLogFallback, this, [this](const QString& text) { statusBar()->showMessage(text); });
    reloadControllers();
}

MainWindow::~MainWindow() = default;

QString MainWindow::fallbackLogPath() {
    const QString configured = qEnvironmentVariable("CZHOST_ERROR_LOG");
    if (!configured.isEmpty()) return configured;
    QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (dir.isEmpty()) dir = QDir::homePath() + QStringLiteral("/.local/share/czhost");
    QDir().mkpath(dir);
    return dir + QStringLiteral("/czhost_errors.log");
}

void MainWindow::reloadControllers() {
    const database::ResultSet rs =
        connection_->fetchAll(QStringLiteral("select controller_id, controller_type, controller_name from controllers order by controller_id"));
    table_->setRowCount(static_cast<int>(rs.rows.size()));
    for (int r = 0; r < rs.rows.size(); ++r)
        for (int c = 0; c < 3; ++c) table_->setItem(r, c, new QTableWidgetItem(rs.rows[r].value(c).toString()));
    if (!rs.rows.isEmpty()) table_->selectRow(0);
}

int MainWindow::selectedControllerId() const {
    const int row = table_->currentRow();
    if (row < 0 || !table_->item(row, 0)) return 0;
    return table_->item(row, 0)->text().toInt();
}

QString MainWindow::controllerName(int id) const {
    for (int r = 0; r < table_->rowCount(); ++r)
        if (table_->item(r, 0) && table_->item(r, 0)->text().toInt() == id) return table_->item(r, 2)->text();
    return QString::number(id);
}

void MainWindow::openControlZones(int controllerId) {
    openController_ = controllerId;
    try {
        // A server that restarted dropped the connection: the dialog must not open on a dead one.
        connection_->reconnectIfDropped();
    } catch (const automation::AutomationError& e) {
        controls::MessageBoxService::show(QStringLiteral("The control zones cannot be opened: %1").arg(e.description()),
                                          controls::mb::OKOnly | controls::mb::Critical, windowTitle(), this);
        return;
    }
    try {
        // Closing the dialog releases these, so they are handed over before every raise.
        automation::setProperty(controlZones_, QStringLiteral("Parent"), automation::fromObject(host_));
        automation::setProperty(controlZones_, QStringLiteral("DBConnection"), automation::fromObject(connection_));
        automation::setProperty(controlZones_, QStringLiteral("NTConnection"), automation::fromObject(comm_));
        QVariantList args{QVariant::fromValue(controllerId)};
        // A load can log thousands of field errors: they are written together when it is over.
        comm_->holdErrorRows();
        struct Write {
            Communication* comm;
            ~Write() { comm->writeHeldErrorRows(); }
        } write{comm_};
        automation::callByRef(controlZones_, QStringLiteral("RaiseForm"), args);
    } catch (const automation::AutomationError& e) {
        controls::MessageBoxService::show(QStringLiteral("The control zones could not be opened:\n%1 (%2)").arg(e.description()).arg(e.number()),
                                          controls::mb::OKOnly | controls::mb::Critical, windowTitle(), this);
    }
}

}  // namespace czhost
