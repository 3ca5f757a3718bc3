#pragma once
// Settings files in the Windows profile format, read and written with that platform's rules:
// sections and keys match without regard to case, the first match wins, blanks around keys and
// values are trimmed, one pair of enclosing quotes is removed, a missing file, section or key
// reads "", and values come back cut at 254 characters. A write replaces the key in place or
// appends it to its section (or to a new section), keeps every other line as it was, and
// creates the file but not a missing folder.
#include <QString>
#include <QStringList>

QString ReadIni(const QString& section, const QString& key, const QString& file);
// Returns false when the file could not be written; callers that do not care ignore it.
bool WriteIni(const QString& section, const QString& key, const QString& value, const QString& file);
// Several keys written in turn and the file saved once: it ends as those WriteIni calls one by
// one would leave it.
struct IniWrite {
    QString section, key, value;
};
bool WriteIni(const QList<IniWrite>& writes, const QString& file);
// Removes a key; returns false when the file could not be written.
bool DeleteIniKey(const QString& section, const QString& key, const QString& file);
// The section names of a file, and the keys of one section, in file order (first of each name).
QStringList IniSections(const QString& file);
QStringList IniKeys(const QString& section, const QString& file);
