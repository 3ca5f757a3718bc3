#pragma once
// Handler of the challenge-room messages: one object per line, no state kept between lines.
// The room records open and fill the rooms ("CHALLENGEBOX" the four-seat room, "CHALLENGEBOXS"
// the two-seat room), the avatar lines draw a seat, and the status lines set ready flags, print
// room chat and empty seats. A keyword without a trailing S addresses the four-seat room.
#include <QString>
#include <memory>

class ChallengeRoom;
class clsCVRules;

class clsChallengeBoxes {
public:
    // keyword is the line's first field; a keyword this family does not know is ignored.
    void ChallengeModule(QString& keyword, QString& line);
    // A "CHALLENGECHATS" line printed in the two-seat room (the room's own notices come this way too).
    void challengechats(const QString& line);

    // The game a two-seat room record describes: its key ("cv" for the card game).
    static QString RecordKind(const QString& record);
    // A card-game record ("%20" for blanks) read into a new rule set: the 40 rule words before
    // the first "@@", then the decks, either right after it or after the game name that follows it.
    static std::shared_ptr<clsCVRules> CardRules(const QString& record);

private:
    void ReadyFlag(ChallengeRoom* room, const QString& line);
    void RoomChat(ChallengeRoom* room, const QString& line);
    void RemoveSeat(ChallengeRoom* room, const QString& line, bool fourSeats);
    void OpenTeamRoom(const QString& line);
    void OpenSingleRoom(const QString& line);
    void ShowRoomAvatar(ChallengeRoom* room, const QString& line);
};
