#pragma once
// Windows-1252, the code page of the wire and of the settings files.
#include <QByteArray>
#include <QString>

QString decode1252(const char* data, qsizetype size);
inline QString decode1252(const QByteArray& bytes) { return decode1252(bytes.constData(), bytes.size()); }
// Characters outside the code page become '?'.
QByteArray encode1252(QStringView text);
