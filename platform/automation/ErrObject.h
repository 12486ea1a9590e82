#pragma once
// The error object handed to a host's error log: number, description and
// source, readable by member name.
#include "platform/automation/AutomationError.h"

#include <QObject>

namespace automation {

class ErrObject : public QObject {
    Q_OBJECT
    Q_PROPERTY(int Number READ number)
    Q_PROPERTY(QString Description READ description)
    Q_PROPERTY(QString Source READ source)
public:
    explicit ErrObject(const AutomationError& e, QObject* parent = nullptr)
        : QObject(parent), number_(e.number()), description_(e.description()), source_(e.source()) {}
    ErrObject(int number, QString description, QObject* parent = nullptr)
        : QObject(parent), number_(number), description_(std::move(description)) {}

    int number() const { return number_; }
    QString description() const { return description_; }
    QString source() const { return source_; }

private:
    int number_;
    QString description_;
    QString source_;
};

}  // namespace automation
