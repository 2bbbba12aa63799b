// Identifiers of tasks and categories: a prefix and the creation time, "yyyyMMddhhmmsszzz".
#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

// The identifier for a record made at `when`. While `taken` says the text is in use, the
// time moves on by one millisecond, so no two stored records share an identifier.
QString MakeIdentifier(const QString& prefix, const QDateTime& when,
                       const std::function<bool(const QString&)>& taken = {});
