#include "tools/dial/DialArguments.h"

namespace {

bool isOption(const QString &argument, const char *name)
{
    return argument.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

bool isHelp(const QString &argument)
{
    return isOption(argument, "/help") || isOption(argument, "/?") || isOption(argument, "-h")
        || isOption(argument, "--help");
}

QString unknownOption(const QString &argument) { return QStringLiteral("unknown option \"%1\".").arg(argument); }

} // namespace

std::expected<DialArguments, QString> DialArguments::parse(const QStringList &given)
{
    DialArguments result;
    QStringList arguments = given;
    // Only in front: after the entry, a password may be anything, "--folder" too.
    if (!arguments.isEmpty() && arguments.first().startsWith(QLatin1String("--folder="))) {
        result.folder = arguments.takeFirst().mid(int(qstrlen("--folder=")));
    } else if (!arguments.isEmpty() && arguments.first() == QLatin1String("--folder")) {
        if (arguments.size() < 2)
            return std::unexpected(QStringLiteral("--folder needs a folder."));
        arguments.removeFirst();
        result.folder = arguments.takeFirst();
    }
    if (result.folder && result.folder->isEmpty())
        return std::unexpected(QStringLiteral("--folder needs a folder."));
    if (arguments.isEmpty())
        return result;
    const QString &first = arguments.first();
    if (isHelp(first) || isOption(first, "/list") || isOption(first, "/disconnect")) {
        if (arguments.size() > 1)
            return std::unexpected(QStringLiteral("%1 takes no further arguments.").arg(first));
        result.action = isHelp(first)  ? Action::Help
            : isOption(first, "/list") ? Action::ListEntries
                                       : Action::Disconnect;
        return result;
    }
    if (first.startsWith(QLatin1Char('/')))
        return std::unexpected(unknownOption(first));
    if (first.isEmpty())
        return std::unexpected(QStringLiteral("the entry name is empty."));
    if (arguments.size() > 3)
        return std::unexpected(QStringLiteral("too many arguments."));
    result.entry = first;
    if (arguments.size() == 2 && isOption(arguments.at(1), "/disconnect")) {
        result.action = Action::Disconnect;
        return result;
    }
    result.action = Action::Dial;
    if (arguments.size() >= 2) {
        // A password may begin with anything, a user name not with a slash.
        if (arguments.at(1).startsWith(QLatin1Char('/')))
            return std::unexpected(unknownOption(arguments.at(1)));
        result.userName = arguments.at(1);
    }
    if (arguments.size() == 3)
        result.password = arguments.at(2);
    return result;
}

QString DialArguments::usage()
{
    return QStringLiteral(
        "Usage:\n"
        "  tollwise-dial                          list the active connections\n"
        "  tollwise-dial ENTRY [USER [PASSWORD]]  dial a phonebook entry and wait until it is connected\n"
        "  tollwise-dial ENTRY /disconnect        hang up the entry's connection and wait until it is down\n"
        "  tollwise-dial /disconnect              hang up every connection and wait until they are down\n"
        "  tollwise-dial /list                    list the phonebook entries\n"
        "\n"
        "Without USER the entry's stored user name and saved password are used.\n"
        "Each form may begin with --folder DIR to work on the data folder DIR (its\n"
        "dial-up service choice, the simulator's phonebook and state) instead of the\n"
        "program's own.\n"
        "Exit status: 0 on success; after a dial-up error the low 8 bits of its code\n"
        "(255 when those are 0); 1 when there is nothing to hang up; 2 for bad arguments;\n"
        "3 when the line drops during the dial; 4 when the dial-up service cannot be\n"
        "reached (NetworkManager not running or not answering), so nothing is known\n"
        "about its connections; 5 when a line was not seen to go down within 20 seconds\n"
        "of the hang-up.\n");
}
