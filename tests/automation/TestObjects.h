#pragma once
// Objects with members of every kind a late-bound caller meets.
#include "platform/automation/AutomationError.h"

#include <QObject>
#include <QStringList>
#include <QVariant>
#include <stdexcept>

class Widgetish : public QObject {
    Q_OBJECT
    Q_PROPERTY(short Count READ count WRITE setCount)
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(bool Flag READ flag WRITE setFlag)
    Q_PROPERTY(int Fixed READ fixed)
    Q_PROPERTY(QObject* Link READ link WRITE setLink)
public:
    short count() const { return count_; }
    void setCount(short c) { count_ = c; }
    QString caption() const { return caption_; }
    void setCaption(const QString& c) { caption_ = c; }
    bool flag() const { return flag_; }
    void setFlag(bool f) { flag_ = f; }
    int fixed() const { return 7; }
    QObject* link() const { return link_; }
    void setLink(QObject* l) { link_ = l; }

    Q_INVOKABLE int Add(int a, int b) { return calls << QStringLiteral("Add"), a + b; }
    Q_INVOKABLE void TakeByte(uchar b) { calls << QStringLiteral("TakeByte(%1)").arg(b); }
    Q_INVOKABLE QVariant Echo(const QVariant& v) { return v; }
    Q_INVOKABLE void FailOwn() { automation::raise(automation::err::UserDefined, QStringLiteral("device busy")); }
    Q_INVOKABLE void FailStd() { throw std::runtime_error("disk full"); }

    QStringList calls;

private:
    short count_ = 0;
    QString caption_;
    bool flag_ = false;
    QObject* link_ = nullptr;
};
