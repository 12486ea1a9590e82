#pragma once
// The host's main window: the controllers of the database, and a way to open
// the control-zone dialog of the selected one.
#include <QMainWindow>
#include <memory>

class QLabel;
class QTableWidget;

namespace database {
class Connection;
}

namespace czhost {

class Communication;
class HostObject;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(database::Connection* connection, const QString& user, QObject* controlZones);
    ~MainWindow() override;

    // Hands the context to the component and raises its dialog for a controller.
    void openControlZones(int controllerId);
    void reloadControllers();
    Communication* communication() const { return comm_; }
    // Where error-log rows go when the database refuses them: CZHOST_ERROR_LOG, or the application's data folder.
    static QString fallbackLogPath();

private:
    int selectedControllerId() const;
    QString controllerName(int id) const;

    database::Connection* connection_;
    QObject* controlZones_;
    HostObject* host_;
    Communication* comm_;
    QTableWidget* table_;
    QLabel* outcome_;
    int openController_ = 0;
};

}  // namespace czhost
