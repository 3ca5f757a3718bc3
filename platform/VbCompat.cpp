#include "platform/VbCompat.h"
#include "platform/RuntimeError.h"

#include <cmath>
#include <limits>

namespace {
bool isBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }
int digitIn(QChar c, int base) {
    const char16_t u = c.toUpper().unicode();
    const int d = (u >= u'0' && u <= u'9') ? u - u'0' : (u >= u'A' && u <= u'F') ? u - u'A' + 10 : -1;
    return d < base ? d : -1;
}
}  // namespace

double vbVal(const QString& text) {
    const int n = text.size();
    int i = 0;
    while (i < n && isBlank(text[i])) ++i;
    if (i + 1 < n && text[i] == u'&') {
        const QChar kind = text[i + 1].toUpper();
        int base = kind == u'H' ? 16 : kind == u'O' ? 8 : 0;
        if (base) {
            double v = 0;
            for (i += 2; i < n; ++i) {
                const int d = digitIn(text[i], base);
                if (d < 0) break;
                v = v * base + d;
            }
            return v;
        }
    }
    // Collect sign, digits, one point and an exponent, skipping blanks inside as the old runtime did.
    std::string buf;
    bool seenDigit = false, seenPoint = false, seenExp = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) buf += char(text[i++].unicode());
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (isBlank(c)) continue;
        if (c.isDigit() && c.unicode() < 128) {
            buf += char(c.unicode());
            seenDigit = true;
        } else if (c == u'.' && !seenPoint && !seenExp) {
            buf += '.';
            seenPoint = true;
        } else if ((c == u'e' || c == u'E' || c == u'd' || c == u'D') && seenDigit && !seenExp) {
            // Only an exponent when digits follow (after an optional sign).
            int j = i + 1;
            if (j < n && (text[j] == u'-' || text[j] == u'+')) ++j;
            if (j < n && text[j].isDigit()) {
                buf += 'e';
                seenExp = true;
                if (text[i + 1] == u'-' || text[i + 1] == u'+') buf += char(text[++i].unicode());
            } else {
                break;
            }
        } else {
            break;
        }
    }
    if (!seenDigit) return 0.0;
    return std::strtod(buf.c_str(), nullptr);
}

bool vbIsNumeric(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return false;
    bool ok = false;
    t.toDouble(&ok);
    if (ok) return true;
    if (t.startsWith(u"&H", Qt::CaseInsensitive)) {
        t.mid(2).toLongLong(&ok, 16);
        return ok;
    }
    return false;
}

namespace {
double bankersRound(double v) { return std::nearbyint(v); }  // default mode rounds half to even
}  // namespace

int16_t vbCInt(double value) {
    const double r = bankersRound(value);
    if (!(r >= -32768.0 && r <= 32767.0)) throw RuntimeError(QStringLiteral("Overflow"), 6);
    return static_cast<int16_t>(r);
}

int16_t vbCInt(const QString& text) {
    if (!vbIsNumeric(text)) throw RuntimeError(QStringLiteral("Type mismatch"), 13);
    return vbCInt(vbVal(text));
}

int32_t vbCLng(double value) {
    const double r = bankersRound(value);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) throw RuntimeError(QStringLiteral("Overflow"), 6);
    return static_cast<int32_t>(r);
}

int32_t vbCLng(const QString& text) {
    if (!vbIsNumeric(text)) throw RuntimeError(QStringLiteral("Type mismatch"), 13);
    return vbCLng(vbVal(text));
}

bool tryInt16(const QString& text, int16_t& out) {
    if (!vbIsNumeric(text)) return false;
    const double r = bankersRound(vbVal(text));
    if (!(r >= -32768.0 && r <= 32767.0)) return false;
    out = static_cast<int16_t>(r);
    return true;
}

bool tryInt32(const QString& text, int32_t& out) {
    if (!vbIsNumeric(text)) return false;
    const double r = bankersRound(vbVal(text));
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) return false;
    out = static_cast<int32_t>(r);
    return true;
}

QString vbStr(double value) {
    if (std::isnan(value)) return QStringLiteral("0");
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        return QString::number(static_cast<long long>(value));
    QString s = QString::number(value, 'g', 15);
    return s;
}

QColor vbColor(long bgr) {
    const unsigned long v = static_cast<unsigned long>(bgr) & 0xFFFFFFul;
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

long vbColorNumber(const QString& text) {
    const double v = vbVal(text);
    // The upper bound rounds up as a double, so it is excluded.
    return v >= double(std::numeric_limits<long>::min()) && v < double(std::numeric_limits<long>::max()) ? long(v) : 0;
}

long vbColorValue(const QColor& colour) {
    return long(colour.red()) | (long(colour.green()) << 8) | (long(colour.blue()) << 16);
}
