#pragma once
// Base64 (RFC 4648, "+" and "/", "=" padding) over the ANSI bytes of a text, on one line.
#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

class clsCrypt {
public:
    clsCrypt();
    QString Encode(const QString& text) const;
    // Empty when the file cannot be read.
    QString EncodeFromFile(const QString& path) const;
    QString EncodeArr(const QByteArray& bytes) const;
    QString Decode(const QString& base64) const;
    // Throws RuntimeError "File already exists." when the target exists; nothing is written then.
    void DecodeToFile(const QString& base64, const QString& path) const;
    QByteArray DecodeArr(const QString& base64) const;

private:
    std::array<char, 64> m_alphabet{};
    std::array<uint8_t, 256> m_reverse{};
};
