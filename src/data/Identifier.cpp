#include "Identifier.h"

#include <QLocale>

QString MakeIdentifier(const QString& prefix, const QDateTime& when,
                       const std::function<bool(const QString&)>& taken)
{
    // Local wall-clock text; arithmetic in UTC so a daylight-saving change cannot stall it.
    QDateTime moment(when.date(), when.time(), Qt::UTC);
    for (;;) {
        const QString id = prefix + QLocale::c().toString(moment, QStringLiteral("yyyyMMddHHmmsszzz"));
        if (!taken || !taken(id))
            return id;
        moment = moment.addMSecs(1);
    }
}
