#include "simdialup/SimEntry.h"

QString SimEntry::nameProblem(const QString &name)
{
    if (name.isEmpty())
        return QStringLiteral("Enter a name for the entry.");
    if (name.size() > kMaxNameLength)
        return QStringLiteral("A name can have at most %1 characters.").arg(kMaxNameLength);
    if (name.trimmed() != name)
        return QStringLiteral("A name cannot begin or end with a blank.");
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control)
            return QStringLiteral("A name cannot contain line breaks, tabs or other control characters.");
    }
    return {};
}
