#include "app/modText.h"

void Divide(const QString& text, const QString& delimiter, Fields& out) { DivideInto(text, delimiter, out.data(), kDivideFields); }

void DivideInto(const QString& text, QStringView delimiter, QString* out, int count) {
    if (text.isEmpty()) return;
    if (delimiter.isEmpty()) {
        out[0] = text;
        return;
    }
    QStringView pieces[kDivideFields];
    const int filled = DividePrefix(text, delimiter, pieces, count);
    for (int k = 0; k < filled; ++k) out[k] = pieces[k].toString();
}

Fields Divide(const QString& text, const QString& delimiter) {
    Fields f;
    Divide(text, delimiter, f);
    return f;
}

int DividePrefix(QStringView text, QStringView delimiter, QStringView* out, int count) {
    if (text.isEmpty() || count <= 0) return 0;
    if (delimiter.isEmpty()) {
        out[0] = text;
        return 1;
    }
    qsizetype start = 0;
    int k = 0;
    for (; k < count && k < kDivideFields; ++k) {
        const qsizetype at = text.indexOf(delimiter, start);
        out[k] = at < 0 ? text.mid(start) : text.mid(start, at - start);
        if (at < 0) return k + 1;
        start = at + delimiter.size();
    }
    return k;
}

int DivideCount(const QString& text, const QString& delimiter) {
    if (text.isEmpty()) return 0;
    if (delimiter.isEmpty()) return 1;
    const qsizetype n = text.count(delimiter) + 1;
    return int(n < kDivideFields ? n : kDivideFields);
}

bool IsUpper(const QString& s) { return s == s.toUpper(); }
bool IsLower(const QString& s) { return s == s.toLower(); }
bool IsProper(const QString& s) {
    if (s.isEmpty()) return true;
    return s.left(1) == s.left(1).toUpper() && s.mid(1) == s.mid(1).toLower();
}
QString ToProper(const QString& s) { return s.left(1).toUpper() + s.mid(1).toLower(); }

QString& ReplaceCase(QString& text, std::initializer_list<QString> pairs) {
    const QString* p = pairs.begin();
    const size_t count = pairs.size() / 2 * 2;
    for (size_t i = 0; i < count; i += 2) {
        const QString& find = p[i];
        const QString& repl = p[i + 1];
        if (find.isEmpty()) continue;
        qsizetype at = text.indexOf(find, 0, Qt::CaseInsensitive);
        while (at >= 0) {
            const QString found = text.mid(at, find.size());
            QString r;
            if (IsUpper(found))
                r = repl.toUpper();
            else if (IsLower(found))
                r = repl.toLower();
            else if (IsProper(found))
                r = ToProper(repl);
            else
                r = repl;
            text.replace(at, find.size(), r);
            at = text.indexOf(find, at + r.size(), Qt::CaseInsensitive);
        }
    }
    return text;
}

QString ReplaceCaseCopy(QString text, std::initializer_list<QString> pairs) {
    ReplaceCase(text, pairs);
    return text;
}

void SplitAtFirst(const QString& text, const QString& delimiter, QString& before, QString& after) {
    const qsizetype at = delimiter.isEmpty() ? -1 : text.indexOf(delimiter);
    if (at < 0) {
        before = text;
        after.clear();
        return;
    }
    before = text.left(at);
    after = text.mid(at + delimiter.size());
}

QString Spaces(int n) { return QString(n < 0 ? 0 : (n > 254 ? 254 : n), u' '); }

QString SqlQuote(const QString& text) {
    QString t = text;
    t.replace(u'\'', QLatin1String("''"));
    return t;
}

bool clsText::IsAlpha(const QString& ch) const {
    if (ch.isEmpty()) return false;
    const char16_t c = ch[0].unicode();
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}
bool clsText::IsNumeric(const QString&) const { return true; }
bool clsText::IsChar(const QString&) const { return true; }
bool clsText::IsLegit(const QString& ch) const { return (IsNumeric(ch) || IsAlpha(ch)) && IsChar(ch); }
bool clsText::CheckString(const QString& text) const {
    for (qsizetype i = 0; i < text.size(); ++i)
        if (!IsLegit(text.mid(i, 1))) return false;
    return true;
}
