#include "net/LineFields.h"

#include "app/modSettings.h"
#include "net/frmCon.h"
#include "platform/Forms.h"
#include "platform/Ini.h"
#include "platform/RuntimeError.h"
#include "platform/VbCompat.h"

#include <QtGlobal>

namespace lines {

int fieldCount(const QString& line) { return DivideCount(line, QStringLiteral(" ")); }

namespace {
// A decimal number as the server sends it: optional sign, digits, at most one point.
bool isNumber(const QString& field) {
    qsizetype i = 0;
    if (field.startsWith(u'-') || field.startsWith(u'+')) i = 1;
    bool digit = false, point = false;
    for (; i < field.size(); ++i) {
        const QChar c = field[i];
        if (c >= u'0' && c <= u'9') {
            digit = true;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}
}  // namespace

bool areNumbers(std::initializer_list<QString> fields) {
    for (const QString& f : fields)
        if (!isNumber(f)) return false;
    return true;
}

bool wholeNumber(const QString& field, long long low, long long high, long long& out) {
    const qsizetype sign = field.startsWith(u'-') ? 1 : 0;
    if (field.size() <= sign || field.size() > 18) return false;
    for (qsizetype i = sign; i < field.size(); ++i)
        if (field[i] < u'0' || field[i] > u'9') return false;
    const long long n = field.toLongLong();
    if (n < low || n > high) return false;
    out = n;
    return true;
}

bool integerOf(const QString& field, int16_t& out) {
    try {
        out = vbCInt(vbVal(field));
        return true;
    } catch (const RuntimeError&) {
        return false;
    }
}

QString blanks(const QString& field) { return QString(field).replace(QLatin1String("%20"), QLatin1String(" ")); }

QString encodeBlanks(const QString& text) { return QString(text).replace(u' ', QLatin1String("%20")); }

namespace {
bool onlyOf(const QString& text, bool underscore) {
    if (text.isEmpty()) return false;
    for (QChar c : text) {
        const bool ok = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-' ||
                        (underscore && c == u'_');
        if (!ok) return false;
    }
    return true;
}
}  // namespace

bool plainName(const QString& name) { return onlyOf(name, false); }
bool plainCode(const QString& code) { return onlyOf(code, true); }

QString setting(const QString& section, const QString& key) { return ReadIni(section, key, GetIniFile()); }

bool settingIs(const QString& section, const QString& key, const QString& value) { return setting(section, key) == value; }

bool ignored(const QString& sender) {
    return plainName(sender) && vbVal(setting(QStringLiteral("Ignore"), sender)) == 1;
}

void send(const QString& line) {
    if (frmCon* con = ifLoaded<frmCon>()) con->SendToServer(line);
}

void reject(const char* keyword, const QString& line) { qWarning("%s line ignored: %s", keyword, qPrintable(line.left(200))); }

}  // namespace lines
