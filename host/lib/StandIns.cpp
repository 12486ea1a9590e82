#include "host/lib/StandIns.h"

#include "host/lib/Localizer.h"
#include "platform/automation/AutomationError.h"
#include "platform/automation/Convert.h"
#include "platform/automation/Dispatch.h"
#include "platform/automation/Registry.h"
#include "platform/controls/MessageBox.h"
#include "platform/controls/WindowHandle.h"
#include "platform/database/Connection.h"

#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace czhost {

namespace {

// A small editor window whose close box counts as Cancel.
class EditorDialog : public QDialog {
public:
    explicit EditorDialog(const QString& name, const QString& title) {
        setObjectName(name);
        setWindowTitle(title);
        setAttribute(Qt::WA_DeleteOnClose);
    }
    std::function<void()> onCancel;

protected:
    void reject() override {
        if (onCancel) onCancel();
        QDialog::reject();
    }
};

// Name field with OK and Cancel; `accept` gets the trimmed name.
EditorDialog* nameEditor(const QString& objectName, const QString& title, const QString& label,
                         std::function<void(const QString&)> accept) {
    auto* dlg = new EditorDialog(objectName, title);
    auto* form = new QFormLayout;
    auto* name = new QLineEdit(dlg);
    name->setObjectName(QStringLiteral("txtName"));
    name->setMaxLength(32);
    form->addRow(label, name);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dlg);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdCancel"));
    auto* layout = new QVBoxLayout(dlg);
    layout->addLayout(form);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dlg, [dlg, name, accept] {
        const QString text = name->text().trimmed();
        if (text.isEmpty()) {
            controls::MessageBoxService::show(QStringLiteral("Please enter a name."), controls::mb::OKOnly | controls::mb::Exclamation,
                                              dlg->windowTitle(), dlg);
            return;
        }
        try {
            accept(text);
        } catch (const automation::AutomationError& e) {
            // The editor stays open: the operator may retry or cancel.
            controls::MessageBoxService::show(QStringLiteral("The name could not be saved:\n%1").arg(e.description()),
                                              controls::mb::OKOnly | controls::mb::Critical, dlg->windowTitle(), dlg);
        }
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, dlg, &QDialog::reject);
    return dlg;
}

QVariant insertReturningId(database::Connection* c, const QString& sql, const QVariantList& params) {
    const database::ResultSet rs = c->fetchAll(sql, params);
    if (rs.rows.isEmpty()) automation::raise(automation::err::ProviderError, QStringLiteral("no id returned"));
    return rs.rows.first().value(0);
}

}  // namespace

StandInBase::~StandInBase() {
    if (editor_) delete editor_.data();
}

database::Connection* StandInBase::connection() const {
    if (auto* c = qobject_cast<database::Connection*>(db_.data())) return c;
    // The host's own connection, so that writes land in the same transaction.
    if (nt_ && automation::hasMember(nt_, QStringLiteral("Connection"))) {
        if (auto* c = qobject_cast<database::Connection*>(automation::toObject(automation::getProperty(nt_, QStringLiteral("Connection")))))
            return c;
    }
    automation::raise(automation::err::ObjectNotSet, QStringLiteral("no database connection was given"));
}

database::Connection* DoorGroupComponent::connection() const {
    try {
        return StandInBase::connection();
    } catch (const automation::AutomationError&) {
        // A host that hands over only the connection string: a connection of our own.
        if (connectionString_.isEmpty()) throw;
        if (!own_) {
            own_ = std::make_unique<database::Connection>();
            own_->Open(connectionString_);
        }
        return own_.get();
    }
}

void StandInBase::showEditor(QDialog* editor) {
    closeEditor();
    editor_ = editor;
    qint32 owner = 0;
    if (parent_ && automation::hasMember(parent_, QStringLiteral("hwnd")))
        owner = automation::toInt32(automation::getProperty(parent_, QStringLiteral("hwnd")));
    controls::setOwnerWindow(editor, owner);
    editor->show();
}

void StandInBase::closeEditor() {
    if (!editor_) return;
    QDialog* e = editor_;
    editor_.clear();
    e->hide();
    e->deleteLater();
}

void TimeZoneComponent::AddNew() {
    reported_ = false;
    auto* dlg = nameEditor(QStringLiteral("TimeZoneEditor"), QStringLiteral("New Time Zone"), QStringLiteral("Time zone name:"),
                           [this](const QString& name) { save(name); });
    dlg->onCancel = [this] { cancel(); };
    showEditor(dlg);
}

void TimeZoneComponent::save(const QString& name) {
    const QVariant id = insertReturningId(connection(), QStringLiteral("insert into generictimezones (name) values (?) returning generictimezoneid"), {name});
    reported_ = true;
    closeEditor();
    QVariantList args{QVariant::fromValue(0), QVariant::fromValue(automation::toInt32(id)), name};
    if (parent_) automation::callByRef(parent_, QStringLiteral("TZCallback"), args);
}

void TimeZoneComponent::cancel() {
    if (reported_) return;
    reported_ = true;
    editor_.clear();
    if (parent_) automation::call(parent_, QStringLiteral("TZCancelCallback"));
}

bool TimeZoneComponent::SyncTZToController(int& controllerId, int& genericTZId, uchar& panelTZ) {
    database::Connection* c = connection();
    const database::ResultSet existing = c->fetchAll(
        QStringLiteral("select slot from controllertimezoneslots where controllerid = ? and generictimezoneid = ? order by slot"),
        {controllerId, genericTZId});
    if (!existing.rows.isEmpty()) {
        panelTZ = automation::toUInt8(existing.rows.first().value(0));
        return true;
    }
    const database::ResultSet used = c->fetchAll(QStringLiteral("select slot from controllertimezoneslots where controllerid = ?"), {controllerId});
    QList<bool> taken(150, false);
    for (const QVariantList& row : used.rows) {
        const int slot = automation::toInt32(row.value(0));
        if (slot >= 0 && slot < 150) taken[slot] = true;
    }
    for (int slot = 0; slot < 150; ++slot) {
        if (taken[slot]) continue;
        c->execute(QStringLiteral("insert into controllertimezoneslots (controllerid, slot, kind, generictimezoneid) values (?, ?, 'S', ?)"),
                   {controllerId, slot, genericTZId});
        panelTZ = static_cast<uchar>(slot);
        return true;
    }
    return false;
}

void DoorGroupComponent::RaiseForm() {
    reported_ = false;
    auto* dlg = nameEditor(QStringLiteral("DoorGroupEditor"), QStringLiteral("New Door Group"), QStringLiteral("Door group name:"),
                           [this](const QString& name) {
                               const QVariant id = insertReturningId(
                                   connection(), QStringLiteral("insert into doorgroups (doorgroupname) values (?) returning doorgroupid"), {name});
                               closeEditor();
                               report(automation::toInt32(id), QStringLiteral("ADD"), name);
                           });
    dlg->onCancel = [this] {
        editor_.clear();
        report(0, QStringLiteral("CANCEL"), QString());
    };
    showEditor(dlg);
}

void DoorGroupComponent::report(int id, const QString& action, const QString& name) {
    if (reported_) return;
    reported_ = true;
    QVariantList args{QStringLiteral("DOOR_GROUP"), QVariant::fromValue(id), action, name};
    if (parent_) automation::callByRef(parent_, QStringLiteral("Callback"), args);
}

PropertyComponent::PropertyComponent(QString kind, QString table, QString idColumn)
    : kind_(std::move(kind)), table_(std::move(table)), idColumn_(std::move(idColumn)) {}

void PropertyComponent::RaiseForm() {
    reported_ = false;
    const database::ResultSet rs =
        connection()->fetchAll(QStringLiteral("select * from %1 where %2 = ?").arg(table_, idColumn_), {id_});
    auto* dlg = new EditorDialog(QStringLiteral("PropertyDialog"), QStringLiteral("%1 %2 Properties").arg(kind_.left(1) + kind_.mid(1).toLower()).arg(id_));
    auto* form = new QFormLayout;
    if (rs.rows.isEmpty()) {
        form->addRow(new QLabel(QStringLiteral("No %1 with id %2 exists.").arg(kind_.toLower()).arg(id_), dlg));
    } else {
        for (int i = 0; i < rs.columns.size(); ++i) {
            const QVariant v = rs.rows.first().value(i);
            auto* value = new QLabel(automation::isNull(v) ? QString() : v.toString(), dlg);
            value->setObjectName(QStringLiteral("lbl_") + rs.columns[i].toLower());
            form->addRow(rs.columns[i] + QLatin1Char(':'), value);
        }
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dlg);
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("cmdClose"));
    auto* layout = new QVBoxLayout(dlg);
    layout->addLayout(form);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dlg, &QDialog::reject);
    dlg->onCancel = [this] {
        if (reported_) return;
        reported_ = true;
        editor_.clear();
        QVariantList args{kind_, QVariant::fromValue(id_), QStringLiteral("CLOSE"), QString()};
        if (parent_) automation::callByRef(parent_, QStringLiteral("Callback"), args);
    };
    showEditor(dlg);
}

DoorComponent::DoorComponent() : PropertyComponent(QStringLiteral("DOOR"), QStringLiteral("doors"), QStringLiteral("doorid")) {}
OutputComponent::OutputComponent() : PropertyComponent(QStringLiteral("OUTPUT"), QStringLiteral("outputs"), QStringLiteral("outputid")) {}
ExpOutputComponent::ExpOutputComponent()
    : PropertyComponent(QStringLiteral("EXPOUTPUT"), QStringLiteral("expoutputs"), QStringLiteral("expoutputid")) {}
InputComponent::InputComponent() : PropertyComponent(QStringLiteral("INPUT"), QStringLiteral("inputs"), QStringLiteral("inputid")) {}
InputComponent::InputComponent(QString kind, QString table, QString idColumn)
    : PropertyComponent(std::move(kind), std::move(table), std::move(idColumn)) {}
InputComponent* InputComponent::expansion() {
    return new InputComponent(QStringLiteral("EXPINPUT"), QStringLiteral("expinputs"), QStringLiteral("expinputid"));
}
ReaderComponent::ReaderComponent() : PropertyComponent(QStringLiteral("READER"), QStringLiteral("readers"), QStringLiteral("readerid")) {}

void registerStandIns() {
    using automation::Registry;
    Registry::registerClass(QStringLiteral("TimeZoneObject.TamrikTimeZone"), [] { return new TimeZoneComponent; });
    Registry::registerClass(QStringLiteral("DoorGroups.TamrikDoorgroup"), [] { return new DoorGroupComponent; });
    Registry::registerClass(QStringLiteral("DoorObject.TamrikDoor"), [] { return new DoorComponent; });
    Registry::registerClass(QStringLiteral("OutputObject.TamrikOutput"), [] { return new OutputComponent; });
    Registry::registerClass(QStringLiteral("ExpOutputObject.TamrikExpOutput"), [] { return new ExpOutputComponent; });
    Registry::registerClass(QStringLiteral("InputObject.TamrikInput"), [] { return new InputComponent; });
    Registry::registerClass(QStringLiteral("ExpInputObject.TamrikExpInput"), [] { return InputComponent::expansion(); });
    Registry::registerClass(QStringLiteral("ReaderObject.Tamrikreader"), [] { return new ReaderComponent; });
    Registry::registerClass(QStringLiteral("TamrikLocalizer.Localizer"), [] { return new Localizer; });
}

}  // namespace czhost
