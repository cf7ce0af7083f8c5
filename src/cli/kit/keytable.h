#pragma once

#include "core/calc/kitkeys.h"

#include <QJsonValue>
#include <QString>

namespace lir::cli {

using lir::Key;

// A value that does not have the key's form; its text says why.
struct InvalidValue
{
    QString text;
};

// The value of an input key as the calculator takes it: the item index, the
// number, or 0/1. Throws InvalidValue.
int inputValue(const Key& key, const QJsonValue& value, const KitCalculator& c);
bool boolValue(const Key& key, const QJsonValue& value);
QString pathValue(const Key& key, const QJsonValue& value);

// The current value of an input key, as the answer's state writes it (an item
// by its text, null for none).
QJsonValue stateValue(const Key& key, const KitCalculator& c);

} // namespace lir::cli
