#pragma once
// Late binding on QObjects: members are found by name alone (case-insensitive,
// as on the original platform) and every argument is converted to the member's
// declared parameter type with the checked conversions. So a caller needs no
// header of the callee: any QObject with members of those names works.
//
// Properties are Q_PROPERTYs; methods are Q_INVOKABLE (or public slots).
// A method parameter declared as a non-const reference (int&, QString&,
// QVariant&) is by reference: the callee's write lands back in the caller's
// QVariant. A class names its default member with
// Q_CLASSINFO("DefaultMember", "Item"); calling a property with arguments
// applies the default member of the object the property returns.
#include <QObject>
#include <QPointer>
#include <QVariant>
#include <QVariantList>
#include <memory>

namespace automation {

// Objects travel inside QVariants as QObject pointers.
QVariant fromObject(QObject* o);
QObject* toObject(const QVariant& v);  // nullptr when v holds no object
bool holdsObject(const QVariant& v);

QVariant getProperty(QObject* obj, const QString& name);
void setProperty(QObject* obj, const QString& name, const QVariant& value);

// Calls a member with arguments passed by reference: reference parameters of
// the callee write back into args.
QVariant callByRef(QObject* obj, const QString& name, QVariantList& args);
// Calls a member with arguments passed by value.
QVariant call(QObject* obj, const QString& name, QVariantList args = {});
QVariant callDefault(QObject* obj, QVariantList& args);

bool hasMember(QObject* obj, const QString& name);

// A reference the component holds to an outside object. Borrowed references
// (host objects) are only forgotten on release; owned ones (objects the
// component created by programmatic identifier) are destroyed with the last
// reference, as a release of the last count would.
class ObjectRef {
public:
    ObjectRef() = default;
    static ObjectRef borrowed(QObject* o);
    static ObjectRef owned(QObject* o);

    QObject* get() const { return ptr_.data(); }
    explicit operator bool() const { return !ptr_.isNull(); }
    void release();

    // Convenience: late-bound calls on the referenced object; a released or
    // never assigned reference raises error 91.
    QVariant get(const QString& property) const;
    void set(const QString& property, const QVariant& value) const;
    QVariant call(const QString& member, QVariantList args = {}) const;
    QVariant callByRef(const QString& member, QVariantList& args) const;
    ObjectRef getObject(const QString& property) const;  // borrowed result

private:
    QObject* checked() const;
    std::shared_ptr<QObject> owner_;
    QPointer<QObject> ptr_;
};

}  // namespace automation
