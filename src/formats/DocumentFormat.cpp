#include "DocumentFormat.h"

namespace formats {

QString DocumentFormat::filter() const
{
    QStringList patterns;
    for (const QString &e : extensions())
        patterns.append(QStringLiteral("*.") + e);
    return QStringLiteral("%1 (%2)").arg(name(), patterns.join(u' '));
}

} // namespace formats
