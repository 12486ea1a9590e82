#include "platform/automation/Dispatch.h"

#include "platform/automation/AutomationError.h"
#include "platform/automation/Convert.h"

#include <QMetaMethod>
#include <QMetaProperty>
#include <exception>
#include <vector>

namespace automation {

QVariant fromObject(QObject* o) { return QVariant::fromValue(o); }

bool holdsObject(const QVariant& v) {
    return v.isValid() && (v.metaType().flags() & QMetaType::PointerToQObject);
}

QObject* toObject(const QVariant& v) {
    if (!holdsObject(v)) return nullptr;
    return *static_cast<QObject* const*>(v.constData());
}

namespace {

QString className(QObject* obj) { return QString::fromLatin1(obj->metaObject()->className()); }

QObject* requireObject(QObject* obj, const QString& member) {
    if (!obj) raise(err::ObjectNotSet, QStringLiteral("calling '%1' on nothing").arg(member));
    return obj;
}

int findProperty(const QMetaObject* mo, const QString& name) {
    for (int i = 0; i < mo->propertyCount(); ++i)
        if (QString::fromLatin1(mo->property(i).name()).compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

bool isCallable(const QMetaMethod& m) {
    return m.access() == QMetaMethod::Public &&
           (m.methodType() == QMetaMethod::Method || m.methodType() == QMetaMethod::Slot);
}

std::vector<QMetaMethod> findMethods(const QMetaObject* mo, const QString& name) {
    std::vector<QMetaMethod> found;
    for (int i = 0; i < mo->methodCount(); ++i) {
        QMetaMethod m = mo->method(i);
        if (isCallable(m) && QString::fromLatin1(m.name()).compare(name, Qt::CaseInsensitive) == 0) found.push_back(m);
    }
    return found;
}

QMetaType parameterType(const QMetaMethod& m, int i, bool* byRef) {
    QByteArray typeName = m.parameterTypeName(i);
    *byRef = typeName.endsWith('&') && !typeName.startsWith("const ");
    QMetaType t = m.parameterMetaType(i);
    if (t.isValid()) return t;
    if (typeName.startsWith("const ")) typeName = typeName.mid(6);
    while (typeName.endsWith('&')) typeName.chop(1);
    return QMetaType::fromName(typeName);
}

// Exceptions other than ours leave a callee as error objects too.
template <typename F>
auto guarded(QObject* obj, const QString& member, F&& f) {
    try {
        return f();
    } catch (const AutomationError&) {
        throw;
    } catch (const std::exception& e) {
        throw AutomationError(err::UserDefined, QString::fromUtf8(e.what()), className(obj) + QLatin1Char('.') + member);
    }
}

QVariant invoke(QObject* obj, const QMetaMethod& m, const QString& name, QVariantList& args) {
    const int n = m.parameterCount();
    std::vector<QVariant> storage(static_cast<size_t>(n));
    std::vector<bool> byRef(static_cast<size_t>(n));
    std::vector<bool> asVariant(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        bool ref = false;
        QMetaType t = parameterType(m, i, &ref);
        if (!t.isValid())
            raise(err::TypeMismatch, QStringLiteral("%1.%2: unknown parameter type %3").arg(className(obj), name, QString::fromLatin1(m.parameterTypeName(i))));
        byRef[i] = ref;
        asVariant[i] = t.id() == QMetaType::QVariant;
        try {
            storage[i] = convertTo(args[i], t);
        } catch (const AutomationError& e) {
            throw AutomationError(e.number(), QStringLiteral("%1 (argument %2 of %3.%4)").arg(e.description()).arg(i + 1).arg(className(obj), name));
        }
    }
    QVariant ret;
    std::vector<void*> argv(static_cast<size_t>(n) + 1, nullptr);
    if (m.returnMetaType().isValid() && m.returnMetaType().id() != QMetaType::Void) {
        ret = QVariant(m.returnMetaType());
        argv[0] = ret.data();
    }
    for (int i = 0; i < n; ++i) argv[i + 1] = asVariant[i] ? static_cast<void*>(&storage[i]) : storage[i].data();
    guarded(obj, name, [&] {
        QMetaObject::metacall(obj, QMetaObject::InvokeMetaMethod, m.methodIndex(), argv.data());
        return 0;
    });
    for (int i = 0; i < n; ++i)
        if (byRef[i]) args[i] = storage[i];
    if (ret.metaType().id() == QMetaType::QVariant) return *static_cast<const QVariant*>(ret.constData());
    return ret;
}

}  // namespace

QVariant getProperty(QObject* obj, const QString& name) {
    requireObject(obj, name);
    const QMetaObject* mo = obj->metaObject();
    const int idx = findProperty(mo, name);
    if (idx < 0) {
        // A method without arguments may be read like a property.
        for (const QMetaMethod& m : findMethods(mo, name))
            if (m.parameterCount() == 0) {
                QVariantList none;
                return invoke(obj, m, name, none);
            }
        raise(err::MemberNotFound, QStringLiteral("%1 has no member '%2'").arg(className(obj), name));
    }
    QMetaProperty p = mo->property(idx);
    if (!p.isReadable()) raise(err::PropertyWriteOnly, QStringLiteral("%1.%2").arg(className(obj), name));
    return guarded(obj, name, [&] { return p.read(obj); });
}

void setProperty(QObject* obj, const QString& name, const QVariant& value) {
    requireObject(obj, name);
    const QMetaObject* mo = obj->metaObject();
    const int idx = findProperty(mo, name);
    if (idx < 0) raise(err::MemberNotFound, QStringLiteral("%1 has no member '%2'").arg(className(obj), name));
    QMetaProperty p = mo->property(idx);
    if (!p.isWritable()) raise(err::PropertyReadOnly, QStringLiteral("%1.%2").arg(className(obj), name));
    QVariant converted;
    try {
        converted = convertTo(value, p.metaType());
    } catch (const AutomationError& e) {
        throw AutomationError(e.number(), QStringLiteral("%1 (assigning %2.%3)").arg(e.description(), className(obj), name));
    }
    const bool ok = guarded(obj, name, [&] { return p.write(obj, converted); });
    if (!ok) raise(err::TypeMismatch, QStringLiteral("%1.%2 refused the value").arg(className(obj), name));
}

QVariant callByRef(QObject* obj, const QString& name, QVariantList& args) {
    requireObject(obj, name);
    const QMetaObject* mo = obj->metaObject();
    const std::vector<QMetaMethod> methods = findMethods(mo, name);
    for (const QMetaMethod& m : methods)
        if (m.parameterCount() == args.size()) return invoke(obj, m, name, args);
    if (!methods.empty())
        raise(err::WrongArgumentCount, QStringLiteral("%1.%2 takes %3 argument(s), given %4").arg(className(obj), name).arg(methods.front().parameterCount()).arg(args.size()));
    if (findProperty(mo, name) >= 0) {
        QVariant value = getProperty(obj, name);
        if (args.isEmpty()) return value;
        // obj.Prop(args): the default member of the object the property returns.
        QObject* target = toObject(value);
        if (!target) raise(err::WrongArgumentCount, QStringLiteral("%1.%2 takes no arguments").arg(className(obj), name));
        return callDefault(target, args);
    }
    raise(err::MemberNotFound, QStringLiteral("%1 has no member '%2'").arg(className(obj), name));
}

QVariant call(QObject* obj, const QString& name, QVariantList args) { return callByRef(obj, name, args); }

QVariant callDefault(QObject* obj, QVariantList& args) {
    requireObject(obj, QStringLiteral("(default)"));
    const QMetaObject* mo = obj->metaObject();
    const int ci = mo->indexOfClassInfo("DefaultMember");
    if (ci < 0) raise(err::MemberNotFound, QStringLiteral("%1 has no default member").arg(className(obj)));
    return callByRef(obj, QString::fromLatin1(mo->classInfo(ci).value()), args);
}

bool hasMember(QObject* obj, const QString& name) {
    if (!obj) return false;
    return findProperty(obj->metaObject(), name) >= 0 || !findMethods(obj->metaObject(), name).empty();
}

ObjectRef ObjectRef::borrowed(QObject* o) {
    ObjectRef r;
    r.ptr_ = o;
    return r;
}

ObjectRef ObjectRef::owned(QObject* o) {
    ObjectRef r;
    r.owner_ = std::shared_ptr<QObject>(o);
    r.ptr_ = o;
    return r;
}

void ObjectRef::release() {
    ptr_.clear();
    owner_.reset();
}

QObject* ObjectRef::checked() const {
    if (ptr_.isNull()) raise(err::ObjectNotSet);
    return ptr_.data();
}

QVariant ObjectRef::get(const QString& property) const { return ::automation::getProperty(checked(), property); }
void ObjectRef::set(const QString& property, const QVariant& value) const { ::automation::setProperty(checked(), property, value); }
QVariant ObjectRef::call(const QString& member, QVariantList args) const { return ::automation::callByRef(checked(), member, args); }
QVariant ObjectRef::callByRef(const QString& member, QVariantList& args) const {
    return ::automation::callByRef(checked(), member, args);
}
ObjectRef ObjectRef::getObject(const QString& property) const {
    QVariant v = get(property);
    QObject* o = toObject(v);
    if (!o) raise(err::ObjectRequired, QStringLiteral("'%1' is not an object").arg(property));
    return borrowed(o);
}

}  // namespace automation
