#pragma once
// The lines the framer target's seeds and dictionary are made of. The dispatcher's own tables
// (clsWinsock::prefixes() and keywords()) say which families and keywords there are; this file
// adds what those tables do not hold: the keywords each family's module reads after its prefix,
// the window a family draws on, and argument shapes taken from real server lines (numbers,
// names, %20-encoded text, @@- and ::-separated fields).
#include <QLatin1StringView>

#include <initializer_list>

namespace framerseeds {

// The windows an input meets, picked by the high four bits of its first byte.
enum Windows : int {
    LobbyOnly = 0,
    Omni,
    TeamOmni,
    Sphere,
    Dice,
    Memory,
    CardWars,
    Playing,
    TeamRoom,
    SingleRoom,
    Economy,
    Admin,
    Connect,
    Guild,
    TableInfo,
    AllGames,
};

struct Shape {
    QLatin1StringView keyword;
    std::initializer_list<const char*> arguments;  // "" is the bare keyword
};

struct FamilyKeywords {
    QLatin1StringView prefix;
    Windows windows;
    std::initializer_list<Shape> keywords;
};

using L = QLatin1StringView;

// Every family of the dispatcher, with the keywords its module reads. Order does not matter; the
// generator checks each prefix against the dispatcher's table and each keyword against its family.
inline const std::initializer_list<FamilyKeywords> kFamilies = {
    {L("OB"), Sphere, {
        {L("OBSTART"), {""}}, {L("OBGO"), {"20", "30", ""}}, {L("OBBORDER"), {"0 5", "20 5", "%1 %2"}},
        {L("OBCORE"), {"1 300", "2 -1", ""}}, {L("OBMULTI"), {"5", "10", ""}}, {L("OBSCORE"), {"1 12", "2 99999"}},
        {L("OBTURNS"), {"1", "2"}}, {L("OBFREEZE"), {"", "extra"}}, {L("OBOPPSCORE"), {"17", "x"}},
        {L("OBOPPFROZEN"), {""}}, {L("OBECHO"), {"2", "3"}}, {L("OBCLOSE"), {""}}}},
    {L("AA"), Economy, {{L("AALEVELUP"), {"7", ""}}, {L("AAREFRESH"), {""}}, {L("AAVETREFRESH"), {""}}}},
    {L("CHPASS"), LobbyOnly, {{L("CHPASS-WRONGPASS"), {""}}, {L("CHPASS-OK"), {""}}}},
    {L("CHALLENGE"), TeamRoom, {
        {L("CHALLENGEREADY"), {"3 1", "4 x"}}, {L("CHALLENGEREADYS"), {"1 1", "2 0"}},
        {L("CHALLENGEREMOVE"), {"1", "3"}}, {L("CHALLENGEREMOVES"), {"1", "2", "5"}},
        {L("CHALLENGECHAT"), {"Ann hello there", "hi all"}},
        {L("CHALLENGECHATS"), {"*** Nyx is ready.", "Nyx good luck", "/kick 2"}},
        {L("CHALLENGEBOX"), {"12 kira Nyx Orrin Bree OMNICV_PLAYER 3", "12 kira Nyx Orrin Bree OMNICV_SEALED 7", ""}},
        {L("CHALLENGEBOXS"), {"2 Nyx kira 0 OMNICV_RANDOM@@5", "2 kira Nyx 0 MEMORY", "12 kira Nyx 100 "}},
        {L("CHALLENGEAVATAR"), {"1 001 001 001 f", "3 003 001 002 m"}},
        {L("CHALLENGEAVATARS"), {"0 001 001 001 m", "1 001 002 003 f"}}}},
    {L("CHINCHIN"), Dice, {
        {L("CHINCHINYES"), {""}}, {L("CHINCHINTURN"), {"1", "2", "0"}},
        {L("CHINCHINTEXT"), {"kira rolls 4-5-6: the straight, 12 points", ""}},
        {L("CHINCHINDICE"), {"1 1 7", "2 3 4", "4 4 4", ""}}, {L("CHINCHINCLOSE"), {""}},
        {L("CHINCHINPOINTS"), {"1 12", "2 3"}}}},
    {L("OCV"), Omni, {
        {L("OCVSTARTER"), {"1", "2", "3"}}, {L("OCVBLOCK"), {"4", "0", "-1", "%1"}},
        {L("OCVCARDDRAW"), {"Gustling.jpg Emberlark.jpg", "..%2F..%2Fx.jpg Gustling.jpg", ""}},
        {L("OCVPLACEDAT"), {"12", ""}}, {L("OCVYOURTURN"), {""}}, {L("OCVTURNOVER"), {""}},
        {L("OCVPLACEDCARD"), {"12 Tidecall%20Nymph", "-3 Gustling", ""}},
        {L("OCVPOINTS"), {"3 2", "1 0", ""}}, {L("OCVBLUECARD"), {"12 Gustling", "19 Cinderpup"}},
        {L("OCVREDCARD"), {"12 Kilnwarden", "3"}}, {L("OCVCARDFLIP"), {"12 1 red", "3 1 blue", ""}},
        {L("OCVSAME"), {"", "7 8"}}, {L("OCVPLUS"), {""}}, {L("OCVCOMBO"), {"", "1 2"}}, {L("OCVCLOSE"), {""}}}},
    {L("MEMORY"), Memory, {
        {L("MEMORYYES"), {""}}, {L("MEMORYTURN"), {"1", "2", "3"}}, {L("MEMORYSLOT"), {"0 1", "2 2", ""}},
        {L("MEMORYSCORE"), {"1 0", "2 7"}}, {L("MEMORYMATCH"), {"2 24", "3 7", "2"}}, {L("MEMORYCLOSE"), {""}}}},
    {L("TEAM_"), TeamOmni, {
        {L("TEAM_OCVSTARTER"), {"1", "0", "7"}}, {L("TEAM_OCVCOLOR"), {"blue", "red"}},
        {L("TEAM_OMNIBLOCK"), {"3", "0", "25", "-1"}},
        {L("TEAM_OCVCARDDRAW"), {"Gustling.jpg Emberlark.jpg", "Gustling.jpg Gustling.jpg", ""}},
        {L("TEAM_QUEUE"), {"Ann::f::001::002::003 Bob::m::002::001::003   0",
                           "Ann::f::001::002::000 Bo::m::002::001::003  Di::../x::003::001::001 0", ":::::::: 0"}},
        {L("TEAM_OCVPLACEDAT"), {"6"}}, {L("TEAM_OCVYOURTURN"), {""}}, {L("TEAM_OCVTURNOVER"), {"", "x"}},
        {L("TEAM_OCVPLACEDCARD"), {"6 Cinderpup red", "12 Gustling blue", "30 Gustling red"}},
        {L("TEAM_OCVPOINTS"), {"1 0", "2 3", ""}}, {L("TEAM_OCVBLUECARD"), {"30 Gustling", "12 Gustling"}},
        {L("TEAM_OCVREDCARD"), {"12 Gustling", "-2 Gustling", "5"}}, {L("TEAM_OCVCARDFLIP"), {"12 2 red", "z 1 red"}},
        {L("TEAM_OCVSAME"), {"", "3 4"}}, {L("TEAM_OCVPLUS"), {""}}, {L("TEAM_OCVCOMBO"), {""}},
        {L("TEAM_GAMECHAT"), {"Bob /team hi", "<b>Al</b> <i>x</i>", ""}},
        {L("TEAM_MATCH"), {"A 3 B 4 C 1 D 2 6 4 1 77", "A 3 B 4 C 1 D 2 05 5 3 77", ""}}, {L("TEAM_OCVCLOSE"), {""}}}},
    {L("CV"), Playing, {
        {L("CV_STARTER"), {"1", "2", "3"}}, {L("CV_PICKCARDS"), {"0", "1"}},
        {L("CV_ELEMENT"), {"0 water", "6 fire", "3 nosuchelement"}}, {L("CV_YOURTURN"), {""}},
        {L("CV_TURNOVER"), {""}}, {L("CV_CARDFLIP"), {"1 1 blue", "3 1 "}}, {L("CV_POINTS"), {"3 7", "5 5"}},
        {L("CV_PLUSELEMENT"), {"1 1", "1 -1"}}, {L("CV_MINUSELEMENT"), {"1 2", "8 -1"}},
        {L("CV_BLUECARD"), {"1 Gustling", "1 Dawnbell%20Acolyte"}}, {L("CV_REDCARD"), {"1 Rimehorn%20Elk", "3"}},
        {L("CV_SAME"), {""}}, {L("CV_PLUS"), {""}}, {L("CV_MINUS"), {""}}, {L("CV_MULTIPLY"), {""}}, {L("CV_COMBO"), {""}},
        {L("CV_PLACEDCARD"), {"1 0 Sparkfin%20Eel", "1 2 Rimehorn%20Elk", "-1 0 Gustling"}},
        {L("CV_OPENCARD"), {"Sparkfin%20Eel Tidecall%20Nymph Gustling Rimehorn%20Elk Squall%20Harrier", ""}},
        {L("CV_HAND"), {"0 Cinderpup", "0 Gustling", "%1 %2"}}, {L("CV_CLOSE"), {""}},
        {L("CV_CARDGAIN"), {"Rimehorn%20Elk Squall%20Harrier", "Nothing", "Brine%20Skitter.jpg"}},
        {L("CV_CARDLOST"), {"Gustling Emberlark", "Nothing"}},
        {L("CV_DISPLAY"), {"501 Win x 1 2 Sparkfin%20Eel Tidecall%20Nymph Gustling Rimehorn%20Elk Squall%20Harrier",
                           "1 Win x 1 99999 Gustling", ""}}}},
    {L("ADMIN"), Admin, {
        {L("ADMINCHAT"), {"Mod hi", "Mod at%20<b>9</b>", ""}}, {L("ADMINWARN"), {"Nyx spam%20in%20chat", "Stop%20<b>now</b>"}},
        {L("ADMINWARNING"), {"", "Nyx be%20nice"}}, {L("ADMINKEYWORD"), {"scam alert", ""}},
        {L("ADMINREMOVETRIGGER"), {"ENDGAME Nyx", "TABLE Nyx 4", ""}},
        {L("ADMINOPCOMMAND"), {"ban Nyx Mod x", "warn"}}, {L("ADMINSTATUS"), {"", "99999999999999999999", "1 Nyx"}},
        {L("ADMINPASSERROR"), {""}}, {L("ADMINCHATCLEAR"), {""}}}},
    {L("UPDATE"), LobbyOnly, {
        {L("UPDATEAP"), {"55", "abc"}}, {L("UPDATESTATS"), {"5 6000 100 11 12 13 14 15", "1 2 1e999 4 5 6 7 8"}},
        {L("UPDATECASH"), {"25", "12.50", "$5"}}, {L("UPDATEEXP"), {"40 12040 8 15000", "a b c d"}},
        {L("UPDATERUSH"), {"100", "-20", "1e999"}}, {L("UPDATEGP"), {"42", "12x"}},
        {L("UPDATEGUILD"), {"Iron%20Fist%20Clan", ""}}, {L("UPDATEAVATAR"), {"f 002 001 003", "../x 001 001 001"}},
        {L("UPDATEPLAYER"), {"Nyx 10", "NYX 3 Owls", "Nyx x9"}}}},
    {L("AVATAR"), Economy, {{L("AVATARINVENTORYREFRESH"), {""}}}},
    {L("LOADGAME"), Connect, {
        {L("LOADGAME-ONLINE"), {""}}, {L("LOADGAME-NOSUCHNICK"), {""}}, {L("LOADGAME-WRONGPASS"), {""}},
        {L("LOADGAME-OK"), {""}}}},
    {L("CARDWARS"), CardWars, {
        {L("CARDWARSLOAD"), {"1", "2", ""}}, {L("CARDWARSBOARD"), {"1 2 1 x2 5 5 5", "1 2 1 x2 11 5 5", ""}},
        {L("CARDWARSSTART"), {""}}, {L("CARDWARSHAND"), {"1 Cinderpup Gustling", "1 ", ""}},
        {L("CARDWARSPHASE"), {"Basalt%20Vigil Cinderpup"}}, {L("CARDWARSHISTORY"), {"<b>x</b>%20&amp;", "Nyx%20attacks"}},
        {L("CARDWARSMATCH"), {"Nyx [12-3] kira [9-9] %1 %2 4711"}}, {L("CARDWARSCLOSE"), {""}}}},
};

// Argument shapes of the whole keywords; a keyword without an entry gets kGeneric.
inline const std::initializer_list<Shape> kKeywordShapes = {
    {L("MOTD"), {"Welcome back", "Tables  open at 8", ""}},
    {L("SHOWMAIN"), {"1 0 2 3 4 0 f 000 000 000 0 %20 0 0 0 0 0 0 0 0", "1 0 1 1 1 0 %1 %2 %2 %2 0", ""}},
    {L("NEWPLAYER"), {"0 0 0 0 bob", "0 0 0 0 [VIP]%20Nyx", "0 <b>x</b> <i>Owls</i> Gold <u>Ryo</u>"}},
    {L("NEWPLAYER2"), {"0 x y Gold Nyx", "0 x y Gold Kira%2012", "0 x y Gold %20", "3 Owls Gold Ryo"}},
    {L("CHAT"), {"Nyx hello there", "Nyx see http://example.com/x and mailto:a@b.c", " hi", "!endgame [Game Request]"}},
    {L("TABLE"), {"9 Kira Ryo", "0 a b", "5"}},
    {L("REMPLAYER"), {"Nyx", "Nobody", "  "}},
    {L("MATCH"), {"<b>Kira</b> 12 Ryo 9 3 1 3 781", "Ann [x] Bo [y] 5 1 1 7"}},
    {L("INPM"), {"Nyx kira hi", "<b>Bree</b> kira <a%20href=x>click</a>", " kira hi"}},
    {L("CHATBLOCK"), {"Away ann%20is%20away.", "Big%20News all%20tables%20open"}},
    {L("GPADD"), {"100", "-600", "1e999"}},
    {L("TABLEJACKPOTCHANGE"), {"1 1", "0 1", "1 2"}},
    {L("LEVELUP"), {"5 6", "9 15000 20000", "x y z"}},
    {L("NOTICE"), {"Restart%20soon", "<font%20color=red>careful</font>"}},
    {L("AUTODECLINE"), {"10", "12", " "}},
    {L("ADDBLOCK"), {"Gain Kira won%20the%20pot 65280", "a b c -1", "a b c 99999999"}},
    {L("SOUNDWAV"), {"1", "2", "x"}},
    {L("ENDMATCH"), {"Mod Kira Ryo", "a b"}},
    {L("EXIT"), {"Server%20maintenance%20at 10", ""}},
    {L("GAMECHAT"), {"Nyx good  luck %20 <b>x</b>", "Nyx"}},
    {L("ADDTABLE"), {"0 a b r@@c@@d@@1", "1 Nyx  r@@one@@d@@0", "-5 a b r"}},
    {L("REMOVETABLE"), {"0", "1", "-5"}},
    {L("TABLEINFO"), {"4 Kira Ryo ", "0 a b r", "2"}},
    {L("GAMEOPPONENT"), {"Ryo", "<b>Nyx</b>"}},
};
inline const std::initializer_list<const char*> kGeneric = {"", "1", "0 Nyx", "1 2 3"};

// The windows a whole keyword's handler draws on, where the lobby alone is not all.
struct KeywordWindows {
    QLatin1StringView keyword;
    Windows windows;
};
inline const std::initializer_list<KeywordWindows> kKeywordWindows = {
    {L("QUERYPLAYERS"), Connect}, {L("QUERYRECONNECTPLAYERS"), Connect}, {L("PLAYERSLOADED"), Connect},
    {L("SHOWMAIN"), Connect},     {L("SHOWMENU"), Connect},              {L("STARTERDECKREFRESHGRID"), Economy},
    {L("CANCELBOX"), TeamRoom},   {L("TABLEINFO"), TableInfo},           {L("GAMECHAT"), Playing},
    {L("GAMEOPPONENT"), Playing}, {L("GAMESTALEMATE"), Playing},         {L("DROPGAME"), AllGames},
    {L("ENDMATCH"), Playing},     {L("KILLMATCH"), AllGames},            {L("MATCH"), Playing},
    {L("QUITOKAY"), AllGames},    {L("ADDTABLE"), Admin},                {L("REMOVETABLE"), Admin},
};

// Players the lobby shows before the lines of a seed arrive.
inline constexpr const char* kPrologue = "NEWPLAYER2 0 x y Gold Nyx\rNEWPLAYER2 3 Owls Gold Ryo\r";

// Further dictionary words: separators and encodings the handlers read, names and numbers.
inline const std::initializer_list<const char*> kWords = {
    " ", "\r", "%20", "%25", "%1", "@@", "::", ":::", "<", ">", "[", "]", "/", "\\", "..", "../", "-1", "0",
    "1", "12", "255", "32767", "32768", "65535", "2147483648", "99999999999", "1e999", "x2", "kira", "Nyx", "Ryo",
    "Gold", "Owls", "f", "m", "001", "red", "blue", "water", "fire", "Gustling", "Gustling.jpg", "Cinderpup",
    "OMNICV_PLAYER", "OMNICV_RANDOM", "OMNICV_SEALED", "MEMORY", "ENDGAME", "/team", "/kick", "http://", "mailto:",
};

}  // namespace framerseeds
