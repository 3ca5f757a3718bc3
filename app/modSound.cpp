#include "app/modSound.h"

#include "app/modSettings.h"
#include "app/storedvars.h"
#include "platform/Ini.h"
#include "platform/Paths.h"
#include "platform/Services.h"

QString SoundFile(int id) {
    switch (id) {
        case 1: return QStringLiteral("\\wavs\\coin.wav");
        case 2: return QStringLiteral("\\wavs\\combo.wav");
        case 3: return QStringLiteral("\\wavs\\beep.wav");
        case 4: return QStringLiteral("\\wavs\\on.wav");
        case 5: return QStringLiteral("\\wavs\\off.wav");
        case 6: return QStringLiteral("\\wavs\\enter.wav");
        case 7: return QStringLiteral("\\wavs\\scroll.WAV");
        case 8: return QStringLiteral("\\wavs\\join.wav");
        case 9: return QStringLiteral("\\wavs\\part.wav");
        case 10: return QStringLiteral("\\wavs\\ready.wav");
        case 11: return QStringLiteral("\\wavs\\requestlog.wav");
        case 12: return QStringLiteral("\\wavs\\special.wav");
        case 13: return QStringLiteral("\\wavs\\pm.wav");
        case 14: return QStringLiteral("\\wavs\\kick.wav");
        case 15:
        case 18: return QStringLiteral("\\wavs\\pmchat.wav");
        case 19: return QStringLiteral("\\wavs\\target.wav");
        case 22: return QStringLiteral("\\wavs\\cardflip.wav");
        case 23: return QStringLiteral("\\wavs\\win.IT");
        case 24: return QStringLiteral("\\wavs\\loss.wav");
        case 25: return QStringLiteral("\\wavs\\draw.wav");
        case 28: return QStringLiteral("\\wavs\\snapshot.wav");
        case 31: return QStringLiteral("\\wavs\\level.wav");
        case 40: return QStringLiteral("\\wavs\\sphere\\corebreak.wav");
        case 41: return QStringLiteral("\\wavs\\sphere\\frozen.wav");
        case 42: return QStringLiteral("\\wavs\\sphere\\go.wav");
        case 43: return QStringLiteral("\\wavs\\sphere\\spin.wav");
        case 44: return QStringLiteral("\\wavs\\sphere\\echo.wav");
        case 45: return QStringLiteral("\\wavs\\TABLEJOIN.wav");
        case 46: return QStringLiteral("\\wavs\\roll.wav");
        case 47: return QStringLiteral("\\wavs\\stalemate.wav");
        case 48: return QStringLiteral("\\wavs\\tick.wav");
        case 49: return QStringLiteral("\\wavs\\timeup.wav");
        default: return {};
    }
}

void PlaySound(int id) {
    const QString file = SoundFile(id);
    if (file.isEmpty()) return;
    // Remembered while its folders do not change: sounds come with clicks and chat lines.
    bool exists = false;
    const QString path = knownClientPath(file, &exists);
    if (exists) PlayWav(path);
}

void PlayWav(const QString& file) {
    // Before login there is no per-user file to ask.
    const bool allowed = ConnectionState == 0 || ReadIni(QStringLiteral("Options"), QStringLiteral("Sounds"), GetIniFile()) == QLatin1String("1");
    if (allowed) services().sound->play(resolvePath(file));
}
