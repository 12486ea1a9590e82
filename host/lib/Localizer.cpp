#include "host/lib/Localizer.h"

#include "platform/automation/AutomationError.h"
#include "platform/automation/Convert.h"
#include "platform/controls/TabControl.h"
#include "platform/controls/Twips.h"
#include "platform/database/Connection.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QShortcut>
#include <QWidget>

namespace czhost {

namespace {

database::Connection* asConnection(QObject* o) {
    auto* c = qobject_cast<database::Connection*>(o);
    if (!c) automation::raise(automation::err::ObjectNotSet, QStringLiteral("the localizer has no connection"));
    return c;
}

QString textOf(QWidget* w) {
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
    if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
    return w->isWindow() ? w->windowTitle() : QString();
}

void applyCaption(QWidget* w, const QString& property, const QString& value) {
    static const QRegularExpression tabCaption(QStringLiteral("^TabCaption\\((\\d+)\\)$"), QRegularExpression::CaseInsensitiveOption);
    const auto m = tabCaption.match(property);
    if (m.hasMatch()) {
        if (auto* tab = qobject_cast<controls::TabControl*>(w)) tab->setTabCaption(m.captured(1).toInt(), value);
        return;
    }
    if (auto* l = qobject_cast<QLabel*>(w)) l->setText(value);
    else if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setText(value);
    else if (auto* g = qobject_cast<QGroupBox*>(w)) g->setTitle(value);
    else if (w->isWindow()) w->setWindowTitle(value);
}

}  // namespace

QWidget* Localizer::form() const { return qobject_cast<QWidget*>(parent()); }

void Localizer::LocalizerApply() {
    QWidget* f = form();
    if (!f) return;
    const database::ResultSet rs = asConnection(connection_)->fetchAll(
        QStringLiteral("select controlname, property, value from localizations where componentnumber = ? order by controlname, property"),
        {componentNumber_});
    for (const QVariantList& row : rs.rows) {
        const QString name = automation::toText(row.value(0));
        const QString property = automation::toText(row.value(1));
        const QString value = automation::isNull(row.value(2)) ? QString() : automation::toText(row.value(2));
        QWidget* w = f->objectName() == name ? f : f->findChild<QWidget*>(name);
        if (!w) continue;  // customizations of controls this version no longer has
        const QString p = property.toLower();
        if (p == QLatin1String("left")) controls::setTwipsLeft(w, value.toDouble());
        else if (p == QLatin1String("top")) controls::setTwipsTop(w, value.toDouble());
        else if (p == QLatin1String("width")) controls::setTwipsWidth(w, value.toDouble());
        else if (p == QLatin1String("height")) controls::setTwipsHeight(w, value.toDouble());
        else {
            applyCaption(w, property, value);
        }
    }
}

void Localizer::store(const QString& controlName, const QString& property, const QString& value) {
    database::Connection* c = asConnection(connection_);
    c->execute(QStringLiteral("delete from localizations where componentnumber = ? and controlname = ? and property = ?"),
               {componentNumber_, controlName, property});
    c->execute(QStringLiteral("insert into localizations (componentnumber, controlname, property, value) values (?, ?, ?, ?)"),
               {componentNumber_, controlName, property, value});
}

void Localizer::setEnabled(bool e) {
    enabled_ = e;
    QWidget* f = form();
    if (e && f && !shortcut_) {
        auto* toggle = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Alt+L")), f);
        QObject::connect(toggle, &QShortcut::activated, this, [this] { customizing_ ? endCustomize() : beginCustomize(); });
        shortcut_ = toggle;
    }
}

void Localizer::LocalizerSelectControl(QObject* control, QObject*) { selected_ = control; }
void Localizer::LocalizerSelectLabel(QObject* label, QObject*) { selected_ = label; }

void Localizer::LocalizerTargetChanged(QObject*, QObject*& target) {
    // Without a target of the form's own, the control selected last is the one that changed.
    auto* w = qobject_cast<QWidget*>(target ? target : selected_.data());
    if (!w || w->objectName().isEmpty()) return;
    store(w->objectName(), QStringLiteral("Left"), QString::number(controls::twipsLeft(w)));
    store(w->objectName(), QStringLiteral("Top"), QString::number(controls::twipsTop(w)));
    store(w->objectName(), QStringLiteral("Width"), QString::number(controls::twipsWidth(w)));
    store(w->objectName(), QStringLiteral("Height"), QString::number(controls::twipsHeight(w)));
    const QString text = textOf(w);
    if (!text.isEmpty()) store(w->objectName(), QStringLiteral("Caption"), text);
}

void Localizer::LocalizerRelease(int) {
    selected_.clear();
    connection_.clear();
}

void Localizer::LocalizerEnd() { selected_.clear(); }

void Localizer::beginCustomize() {
    if (!enabled_ || customizing_) return;
    customizing_ = true;
    emit CustomizeStarted();
}

void Localizer::endCustomize() {
    if (!customizing_) return;
    customizing_ = false;
    emit CustomizeEnded();
}

}  // namespace czhost
