#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// An INI text kept line by line, so that comments, blank lines, other
// sections and keys the program does not know survive a rewrite. Section and
// key names compare without regard to case, as the platform's INI files do.
class IniDocument {
public:
    static IniDocument parse(const QString &text);

    std::optional<QString> value(const QString &section, const QString &key) const;
    // Every section name in the order of first appearance, each once.
    QStringList sections() const;
    // Replaces the key's value in place, or appends the key to its section
    // (creating the section at the end when it does not exist).
    void setValue(const QString &section, const QString &key, const QString &value);

    QString toText() const;

private:
    struct Line {
        QString text;
        QString section; // the section the line belongs to
        QString key; // empty for headers, comments and blank lines
    };

    qsizetype find(const QString &section, const QString &key) const;

    QList<Line> m_lines;
};
