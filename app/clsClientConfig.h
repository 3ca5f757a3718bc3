#pragma once
// The settings and figures of the current login that several windows share. A plain holder:
// every property is a get/set pair without checks, except PacketCount and PacketBlock, which
// are held as a number and a flag and exposed as text.
#include <QString>
#include <cstdint>

class clsClientConfig {
public:
    clsClientConfig();

    int16_t SkinOutofDate() const { return m_SkinOutofDate; }
    void SkinOutofDate(int16_t v) { m_SkinOutofDate = v; }
    int16_t ReconnectAttempts() const { return m_ReconnectAttempts; }
    void ReconnectAttempts(int16_t v) { m_ReconnectAttempts = v; }
    int16_t XMLError() const { return m_XMLError; }
    void XMLError(int16_t v) { m_XMLError = v; }
    QString MOTD() const { return m_MOTD; }
    void MOTD(const QString& v) { m_MOTD = v; }
    QString MainChatPacket() const { return m_MainChatPacket; }
    void MainChatPacket(const QString& v) { m_MainChatPacket = v; }
    QString PassKey() const { return m_PassKey; }
    void PassKey(const QString& v) { m_PassKey = v; }
    // Lines handled since the ping timer last looked; text outside 16 bits is an error of the caller.
    QString PacketCount() const;
    void PacketCount(const QString& v);
    QString Username() const { return m_Username; }
    void Username(const QString& v) { m_Username = v; }
    QString Password() const { return m_Password; }
    void Password(const QString& v) { m_Password = v; }
    QString DeckFolder() const { return m_DeckFolder; }
    void DeckFolder(const QString& v) { m_DeckFolder = v; }
    // "True" holds the receive queue back.
    QString PacketBlock() const;
    void PacketBlock(const QString& v);
    QString IP() const { return m_IP; }
    void IP(const QString& v) { m_IP = v; }
    QString Port() const { return m_Port; }
    void Port(const QString& v) { m_Port = v; }
    QString Version() const { return m_Version; }
    void Version(const QString& v) { m_Version = v; }
    QString CurrentVersion() const { return m_CurrentVersion; }
    void CurrentVersion(const QString& v) { m_CurrentVersion = v; }
    QString WhatsNew() const { return m_WhatsNew; }
    void WhatsNew(const QString& v) { m_WhatsNew = v; }
    bool RetryConnection() const { return m_RetryConnection != 0; }
    void RetryConnection(bool v) { m_RetryConnection = v ? -1 : 0; }
    int16_t AdminStatus() const { return m_AdminStatus; }
    void AdminStatus(int16_t v) { m_AdminStatus = v; }

    // Fast paths for the receive pump, which counts every line.
    bool packetBlocked() const { return m_PacketBlock; }
    void countPacket();

private:
    int16_t m_SkinOutofDate = 0;
    int16_t m_ReconnectAttempts = 0;
    int16_t m_XMLError = 0;
    QString m_MOTD;
    QString m_MainChatPacket;
    QString m_PassKey;
    int16_t m_PacketCount = 0;
    QString m_Username;
    QString m_Password;
    QString m_DeckFolder;
    bool m_PacketBlock = false;
    QString m_IP;
    QString m_Port;
    QString m_Version;
    QString m_CurrentVersion;
    QString m_WhatsNew;
    int16_t m_RetryConnection = 0;
    int16_t m_AdminStatus = 0;
};
