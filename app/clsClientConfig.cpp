#include "app/clsClientConfig.h"

#include "platform/Paths.h"
#include "platform/RuntimeError.h"
#include "platform/VbCompat.h"

clsClientConfig::clsClientConfig() {
    m_DeckFolder = ClientFolder() + QStringLiteral("/decks/");
    m_RetryConnection = -1;
    m_AdminStatus = 0;
    PacketCount(QStringLiteral("0"));
    Version(QStringLiteral("3.4.5.332"));
}

QString clsClientConfig::PacketCount() const { return QString::number(m_PacketCount); }

void clsClientConfig::PacketCount(const QString& v) { m_PacketCount = vbCInt(v); }

void clsClientConfig::countPacket() {
    // Only "none since the last look" matters to the ping timer, so a long burst without a lobby
    // to reset the count saturates instead of overflowing into the error reporter.
    if (m_PacketCount < INT16_MAX) ++m_PacketCount;
}

QString clsClientConfig::PacketBlock() const { return m_PacketBlock ? QStringLiteral("True") : QStringLiteral("False"); }

void clsClientConfig::PacketBlock(const QString& v) {
    const QString t = v.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
        m_PacketBlock = true;
    } else if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
        m_PacketBlock = false;
    } else if (vbIsNumeric(t)) {
        m_PacketBlock = vbVal(t) != 0;
    } else {
        throw RuntimeError(QStringLiteral("Type mismatch"), 13);
    }
}
