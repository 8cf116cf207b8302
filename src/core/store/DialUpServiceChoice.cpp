#include "core/store/DialUpServiceChoice.h"

#include "core/store/Cp1252.h"
#include "core/store/IniDocument.h"
#include "core/store/SettingsFile.h"

#include <QFile>

QString dialUpServiceText(DialUpServiceChoice choice)
{
    switch (choice) {
    case DialUpServiceChoice::NetworkManager:
        return QStringLiteral("NetworkManager");
    case DialUpServiceChoice::Simulator:
        return QStringLiteral("Simulator");
    case DialUpServiceChoice::Auto:
        break;
    }
    return QStringLiteral("Auto");
}

DialUpServiceChoice parseDialUpService(const QString &text)
{
    for (const auto choice : { DialUpServiceChoice::NetworkManager, DialUpServiceChoice::Simulator })
        if (text.trimmed().compare(dialUpServiceText(choice), Qt::CaseInsensitive) == 0)
            return choice;
    return DialUpServiceChoice::Auto;
}

DialUpServiceChoice readDialUpServiceChoice(const QString &settingsPath)
{
    QFile file(settingsPath);
    if (!file.open(QIODevice::ReadOnly))
        return DialUpServiceChoice::Auto;
    const IniDocument document = IniDocument::parse(cp1252::decode(file.readAll()));
    return parseDialUpService(
        document.value(SettingsFile::kSection, QStringLiteral("DialUpService")).value_or(QString()));
}
