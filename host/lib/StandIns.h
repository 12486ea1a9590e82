#pragma once
// Stand-ins for the sibling components the control-zone dialog creates by
// programmatic identifier: the time zone component, the door group component
// and the property dialogs of doors, relays, inputs and readers. Each honours
// the members the dialog calls and reports back through the dialog's public
// callbacks. Their editors take the dialog as their owner window (not as Qt
// parent: the dialog disables itself while they are open).
#include <QObject>
#include "platform/database/Connection.h"

#include <QDialog>
#include <QPointer>
#include <QString>
#include <memory>

class QDialog;
class QWidget;


namespace czhost {

// Registers every stand-in (and the localizer) under its programmatic identifier.
void registerStandIns();

class StandInBase : public QObject {
    Q_OBJECT
    Q_PROPERTY(QObject* DBConnection READ dbConnection WRITE setDBConnection)
    Q_PROPERTY(QObject* NTConnection READ ntConnection WRITE setNTConnection)
    Q_PROPERTY(QObject* Parent READ parentObject WRITE setParentObject)
public:
    ~StandInBase() override;
    QObject* dbConnection() const { return db_; }
    void setDBConnection(QObject* c) { db_ = c; }
    QObject* ntConnection() const { return nt_; }
    void setNTConnection(QObject* c) { nt_ = c; }
    QObject* parentObject() const { return parent_; }
    void setParentObject(QObject* p) { parent_ = p; }

    // The open editor, if any (tests drive it).
    QDialog* editor() const { return editor_; }

protected:
    // The connection to write through: the one handed over, else the host's.
    virtual database::Connection* connection() const;
    // Shows an editor owned by the dialog's window (found through its "hwnd").
    void showEditor(QDialog* editor);
    void closeEditor();

    QPointer<QObject> db_;
    QPointer<QObject> nt_;
    QPointer<QObject> parent_;
    QPointer<QDialog> editor_;
};

class TimeZoneComponent : public StandInBase {
    Q_OBJECT
public:
    // Opens an editor that creates a generic time zone; reports through the
    // parent's TZCallback(type, id, name) or TZCancelCallback().
    Q_INVOKABLE void AddNew();
    // Gives the generic time zone a free slot 0..149 on the controller (or the
    // one it has) and writes it into panelTZ; false when every slot is taken.
    Q_INVOKABLE bool SyncTZToController(int& controllerId, int& genericTZId, uchar& panelTZ);

private:
    void save(const QString& name);
    void cancel();
    bool reported_ = false;
};

class DoorGroupComponent : public StandInBase {
    Q_OBJECT
    Q_PROPERTY(QString DBConnectionString READ connectionString WRITE setConnectionString)
    Q_PROPERTY(int DoorGroupID READ doorGroupId WRITE setDoorGroupId)
public:
    QString connectionString() const { return connectionString_; }
    void setConnectionString(const QString& s) { connectionString_ = s; }
    int doorGroupId() const { return doorGroupId_; }
    void setDoorGroupId(int id) { doorGroupId_ = id; }

    // Opens an editor that creates a door group; reports through the parent's
    // Callback("DOOR_GROUP", id, "ADD", name), or with "CANCEL".
    Q_INVOKABLE void RaiseForm();

protected:
    database::Connection* connection() const override;

private:
    void report(int id, const QString& action, const QString& name);
    mutable std::unique_ptr<database::Connection> own_;
    QString connectionString_;
    int doorGroupId_ = 0;
    bool reported_ = false;
};

// A property dialog that shows one hardware object's row and reports its
// closing through the parent's Callback(kind, id, "CLOSE", "").
class PropertyComponent : public StandInBase {
    Q_OBJECT
public:
    PropertyComponent(QString kind, QString table, QString idColumn);
    Q_INVOKABLE void RaiseForm();
    int objectId() const { return id_; }

protected:
    void setObjectId(int id) { id_ = id; }

private:
    QString kind_, table_, idColumn_;
    int id_ = 0;
    bool reported_ = false;
};

class DoorComponent : public PropertyComponent {
    Q_OBJECT
    Q_PROPERTY(int DoorId READ objectId WRITE setObjectId)
public:
    DoorComponent();
};

class OutputComponent : public PropertyComponent {
    Q_OBJECT
    Q_PROPERTY(int OutputId READ objectId WRITE setObjectId)
public:
    OutputComponent();
};

class ExpOutputComponent : public PropertyComponent {
    Q_OBJECT
    Q_PROPERTY(int ExpOutputId READ objectId WRITE setObjectId)
public:
    ExpOutputComponent();
};

class InputComponent : public PropertyComponent {
    Q_OBJECT
    Q_PROPERTY(int InputId READ objectId WRITE setObjectId)
public:
    InputComponent();
    // The expansion input component shares the id property's name.
    static InputComponent* expansion();

private:
    InputComponent(QString kind, QString table, QString idColumn);
};

class ReaderComponent : public PropertyComponent {
    Q_OBJECT
    Q_PROPERTY(int ReaderId READ objectId WRITE setObjectId)
public:
    ReaderComponent();
};

}  // namespace czhost
