#pragma once
// Objects with members of every kind a late-bound caller meets.
#include "platform/automation/AutomationError.h"

#include <QObject>
#include <QStringList>
#include <QVariant>
#include <stdexcept>

class Entry : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool CanView READ canView)
public:
    Entry(bool v, QObject* parent) : QObject(parent), v_(v) {}
    bool canView() const { return v_; }

private:
    bool v_;
};

class Collection : public QObject {
    Q_OBJECT
    Q_CLASSINFO("DefaultMember", "Item")
public:
    using QObject::QObject;
    Q_INVOKABLE QObject* Item(const QString& key) { return new Entry(key != QLatin1String("denied"), this); }
};

class Widgetish : public QObject {
    Q_OBJECT
    Q_PROPERTY(short Count READ count WRITE setCount)
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(bool Flag READ flag WRITE setFlag)
    Q_PROPERTY(int Fixed READ fixed)
    Q_PROPERTY(QObject* Items READ items)
    Q_PROPERTY(QObject* Link READ link WRITE setLink)
public:
    Widgetish() : items_(new Collection(this)) {}

    short count() const { return count_; }
    void setCount(short c) { count_ = c; }
    QString caption() const { return caption_; }
    void setCaption(const QString& c) { caption_ = c; }
    bool flag() const { return flag_; }
    void setFlag(bool f) { flag_ = f; }
    int fixed() const { return 7; }
    QObject* items() const { return items_; }
    QObject* link() const { return link_; }
    void setLink(QObject* l) { link_ = l; }

    Q_INVOKABLE int Add(int a, int b) {
        calls << QStringLiteral("Add");
        return a + b;
    }
    Q_INVOKABLE void TakeByte(uchar b) {
        calls << QStringLiteral("TakeByte(%1)").arg(b);
    }
    // Writes its third argument, like a synchronisation that assigns a slot.
    Q_INVOKABLE bool Sync(int& controllerId, int& genericId, uchar& slot) {
        calls << QStringLiteral("Sync(%1,%2)").arg(controllerId).arg(genericId);
        slot = static_cast<uchar>(genericId + 1);
        controllerId = -1;  // by-reference arguments that change come back too
        return true;
    }
    Q_INVOKABLE void Rename(QString& name) { name = name.toUpper(); }
    Q_INVOKABLE QVariant Echo(const QVariant& v) { return v; }
    Q_INVOKABLE void FailOwn() { automation::raise(automation::err::UserDefined, QStringLiteral("device busy")); }
    Q_INVOKABLE void FailStd() { throw std::runtime_error("disk full"); }

    QStringList calls;

private:
    short count_ = 0;
    QString caption_;
    bool flag_ = false;
    Collection* items_;
    QObject* link_ = nullptr;
};
