#include "core/store/IniDocument.h"

#include <QSet>

namespace {

bool sameName(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

} // namespace

IniDocument IniDocument::parse(const QString &text)
{
    IniDocument document;
    QString section;
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString trimmed = line.trimmed();
        QString key;
        if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'))) {
            section = trimmed.mid(1, trimmed.size() - 2).trimmed();
        } else if (!trimmed.startsWith(QLatin1Char(';')) && trimmed.contains(QLatin1Char('='))) {
            key = trimmed.left(trimmed.indexOf(QLatin1Char('='))).trimmed();
        }
        document.m_lines.append({ line, section, key });
    }
    return document;
}

qsizetype IniDocument::find(const QString &section, const QString &key) const
{
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const Line &line = m_lines.at(i);
        if (!line.key.isEmpty() && sameName(line.section, section) && sameName(line.key, key))
            return i;
    }
    return -1;
}

std::optional<QString> IniDocument::value(const QString &section, const QString &key) const
{
    const qsizetype i = find(section, key);
    if (i < 0)
        return std::nullopt;
    const QString &text = m_lines.at(i).text;
    return text.mid(text.indexOf(QLatin1Char('=')) + 1).trimmed();
}

QStringList IniDocument::sections() const
{
    QStringList names;
    QSet<QString> seen;
    for (const Line &line : m_lines) {
        const QString trimmed = line.text.trimmed();
        const bool header = trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'));
        if (header && !seen.contains(line.section.toCaseFolded())) {
            seen.insert(line.section.toCaseFolded());
            names.append(line.section);
        }
    }
    return names;
}

void IniDocument::setValue(const QString &section, const QString &key, const QString &value)
{
    const QString text = key + QLatin1Char('=') + value;
    const qsizetype existing = find(section, key);
    if (existing >= 0) {
        Line &line = m_lines[existing];
        line.text = line.text.left(line.text.indexOf(QLatin1Char('=')) + 1) + value; // keeps the key as spelt
        return;
    }
    qsizetype insertAt = -1;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const Line &line = m_lines.at(i);
        if (sameName(line.section, section)
            && (!line.key.isEmpty() || line.text.trimmed().startsWith(QLatin1Char('['))))
            insertAt = i + 1; // after the section's last key
    }
    if (insertAt < 0) {
        m_lines.append({ QLatin1Char('[') + section + QLatin1Char(']'), section, {} });
        insertAt = m_lines.size();
    }
    m_lines.insert(insertAt, { text, section, key });
}

QString IniDocument::toText() const
{
    QString text;
    for (const Line &line : m_lines)
        text += line.text + QLatin1String("\r\n");
    return text;
}
