#include "app/clsCrypt.h"

#include "platform/Codec1252.h"
#include "platform/Paths.h"
#include "platform/RuntimeError.h"

#include <QFile>

clsCrypt::clsCrypt() {
    const char* letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (int i = 0; i < 64; ++i) {
        m_alphabet[i] = letters[i];
        m_reverse[static_cast<uint8_t>(letters[i])] = uint8_t(i);
    }
}

QString clsCrypt::Encode(const QString& text) const { return text.isEmpty() ? QString() : EncodeArr(encode1252(text)); }

QString clsCrypt::EncodeFromFile(const QString& path) const {
    QFile f(resolvePath(path));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return EncodeArr(f.readAll());
}

QString clsCrypt::EncodeArr(const QByteArray& bytes) const {
    QByteArray out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    const auto* b = reinterpret_cast<const uint8_t*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    for (; i + 2 < n; i += 3) {
        const uint32_t v = (uint32_t(b[i]) << 16) | (uint32_t(b[i + 1]) << 8) | b[i + 2];
        out += m_alphabet[(v >> 18) & 63];
        out += m_alphabet[(v >> 12) & 63];
        out += m_alphabet[(v >> 6) & 63];
        out += m_alphabet[v & 63];
    }
    if (n - i == 1) {
        const uint32_t v = uint32_t(b[i]) << 16;
        out += m_alphabet[(v >> 18) & 63];
        out += m_alphabet[(v >> 12) & 63];
        out += "==";
    } else if (n - i == 2) {
        const uint32_t v = (uint32_t(b[i]) << 16) | (uint32_t(b[i + 1]) << 8);
        out += m_alphabet[(v >> 18) & 63];
        out += m_alphabet[(v >> 12) & 63];
        out += m_alphabet[(v >> 6) & 63];
        out += '=';
    }
    return QString::fromLatin1(out);
}

QByteArray clsCrypt::DecodeArr(const QString& base64) const {
    QByteArray in;
    in.reserve(base64.size());
    for (QChar c : base64) {
        if (c == u'\r' || c == u'\n' || c == u'=') continue;
        in += char(c.unicode() < 256 ? c.unicode() : 0);
    }
    QByteArray out;
    out.reserve(in.size() / 4 * 3 + 2);
    const qsizetype n = in.size();
    qsizetype i = 0;
    auto val = [&](qsizetype k) { return uint32_t(m_reverse[static_cast<uint8_t>(in[k])]); };
    for (; i + 3 < n; i += 4) {
        const uint32_t v = (val(i) << 18) | (val(i + 1) << 12) | (val(i + 2) << 6) | val(i + 3);
        out += char((v >> 16) & 0xFF);
        out += char((v >> 8) & 0xFF);
        out += char(v & 0xFF);
    }
    if (n - i == 2) {
        const uint32_t v = (val(i) << 18) | (val(i + 1) << 12);
        out += char((v >> 16) & 0xFF);
    } else if (n - i == 3) {
        const uint32_t v = (val(i) << 18) | (val(i + 1) << 12) | (val(i + 2) << 6);
        out += char((v >> 16) & 0xFF);
        out += char((v >> 8) & 0xFF);
    }
    return out;
}

QString clsCrypt::Decode(const QString& base64) const { return base64.isEmpty() ? QString() : decode1252(DecodeArr(base64)); }

void clsCrypt::DecodeToFile(const QString& base64, const QString& path) const {
    const QString target = resolvePath(path);
    constexpr int kObjectError = -2147221504;
    if (QFile::exists(target)) throw RuntimeError(QStringLiteral("File already exists."), kObjectError + 1000);
    QFile f(target);
    if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly)) throw RuntimeError(f.errorString(), 75);
    f.write(DecodeArr(base64));
}
