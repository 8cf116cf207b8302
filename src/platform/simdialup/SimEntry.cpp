#include "platform/simdialup/SimEntry.h"

#include <algorithm>

QString SimEntry::nameProblem(const QString &name)
{
    if (name.isEmpty())
        return QStringLiteral("Enter a name for the entry.");
    if (name.size() > kMaxNameLength)
        return QStringLiteral("A name can have at most %1 characters.").arg(kMaxNameLength);
    if (name.trimmed() != name)
        return QStringLiteral("A name cannot begin or end with a blank.");
    if (hasControlCharacter(name))
        return QStringLiteral("A name cannot contain line breaks, tabs or other control characters.");
    return {};
}

bool SimEntry::hasControlCharacter(const QString &text)
{
    return std::ranges::any_of(text, [](QChar c) { return c.category() == QChar::Other_Control; });
}
