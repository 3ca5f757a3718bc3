#pragma once
// The dispatcher: one object per received line. The keyword is matched first against the
// message-family prefixes, in a fixed order, then against whole keywords.
#include "app/modText.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <span>

class clsWinsock {
public:
    int32_t BeginProcessing() const { return m_begin; }
    void BeginProcessing(int32_t v) { m_begin = v; }
    int32_t EndProcessing() const { return m_end; }
    void EndProcessing(int32_t v) { m_end = v; }
    double ProcessingSeconds() const;

    void HandleIncoming(QString& line);
    void killmatch();

    // Which code handles a line, read from its first field alone: a family (index into the
    // prefixes) or else a whole keyword (index into the keywords); -1 where none matched.
    struct Route {
        int family = -1;
        int keyword = -1;
        qsizetype keywordLength = 0;  // the first field's length
    };
    static Route routeOf(QStringView line);
    // Index of the family whose prefix the keyword begins with (0-based, in matching order), or -1.
    static int familyOf(QStringView keyword);
    // Index of the whole keyword (0-based, in matching order), or -1.
    static int keywordOf(QStringView keyword);
    static constexpr int kFamilyCount = 14;
    static constexpr int kKeywordCount = 38;

private:
    void dispatchFamily(int family, QString& keyword, QString& line);
    void dispatchKeyword(int index, QString& line);

    // Reconnection and login.
    void QueryReconnectPlayers();
    void ShowMenu();
    void Motd(QString& line);
    void ShowMain(QString& line);
    // Player list.
    void NewPlayer(QString& line, bool announce);
    void RemPlayer(QString& line);
    // Chat and private messages.
    void Chat(QString& line);
    void InPM(QString& line);
    // Tables.
    void NoTable();
    void Table(QString& line);
    void TableJackpotChange(QString& line);
    void AddTable(QString& line);
    void RemoveTable(QString& line);
    void TableInfo(QString& line);
    // Match results.
    void Match(QString& line);
    // Quit, notices and game state.
    void ChatBlock(QString& line);
    void GPAdd(QString& line);
    void PlayBuySound();
    void QuitOkay();
    void QuitNotOkay();
    void LevelUp(QString& line);
    void Notice(QString& line);
    void DropGame();
    void AutoDecline(QString& line);
    void AddBlock(QString& line);
    void SoundWav(QString& line);
    void EndMatch(QString& line);
    void ExitMessage(QString& line);
    void GameChat(QString& line);
    void GameOpponent(QString& line);
    void GameStalemate();

    int32_t m_begin = 0;
    int32_t m_end = 0;

public:
    // The matching tables themselves, in matching order (the fuzz target builds its seeds from them).
    static std::span<const QLatin1StringView> prefixes();
    static std::span<const QLatin1StringView> keywords();
};
