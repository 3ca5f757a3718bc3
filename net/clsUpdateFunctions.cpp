#include "net/clsUpdateFunctions.h"

#include "app/ErrorHandler.h"
#include "app/modText.h"
#include "app/storedvars.h"
#include "lobby/fancychat.h"
#include "lobby/frmchildchat.h"
#include "net/LineFields.h"
#include "net/PlayerTree.h"
#include "platform/Forms.h"
#include "platform/Paths.h"
#include "platform/VbCompat.h"

#include <QPixmap>
#include <QTreeWidget>

#include <algorithm>
#include <cmath>

using namespace lines;

namespace {
const QString kBlank = QStringLiteral(" ");

Fields fieldsOf(const QString& line) { return Divide(line, kBlank); }

// The gauge's fill for a percentage, held to 0..100; a full gauge is 234 wide.
int setRushGauge(frmchildchat* lobby, const QString& rush) {
    const double percent = std::clamp(vbVal(rush), 0.0, 100.0);
    const int width = int(float(percent) / 100.0f * float(frmchildchat::kRushWidth));
    lobby->imgBar->resize(width, lobby->imgBar->height());
    return lobby->imgBar->width();
}

// A code that names a picture: neither empty nor "000".
bool shown(const QString& code) { return !code.isEmpty() && code != QLatin1String("000"); }

// One avatar layer from skins/default/avatars; the code "000" or an empty one shows none, and a
// picture that cannot be read leaves the layer empty.
void avatarLayer(QLabel* layer, const QString& code, const QString& file) {
    layer->clear();
    if (!shown(code)) return;
    QPixmap picture;
    if (picture.load(clientPath(QStringLiteral("skins/default/avatars/") + file)))
        layer->setPixmap(picture);
    else
        qWarning("avatar picture missing: %s", qPrintable(file));
}

// A rush figure beyond every number is an overflow, not a percentage.
bool gaugeReadable(const QString& rush) { return std::isfinite(vbVal(rush)); }
}  // namespace

void clsUpdateFunctions::IncomingModule(QString& keyword, QString& line) {
    using Handler = void (clsUpdateFunctions::*)(const QString&);
    static const std::pair<QLatin1StringView, Handler> kKeywords[] = {
        {QLatin1StringView("UPDATEAP"), &clsUpdateFunctions::updateap},
        {QLatin1StringView("UPDATESTATS"), &clsUpdateFunctions::updatestats},
        {QLatin1StringView("UPDATECASH"), &clsUpdateFunctions::updatecash},
        {QLatin1StringView("UPDATEEXP"), &clsUpdateFunctions::updateexp},
        {QLatin1StringView("UPDATERUSH"), &clsUpdateFunctions::updaterush},
        {QLatin1StringView("UPDATEGP"), &clsUpdateFunctions::updategp},
        {QLatin1StringView("UPDATEGUILD"), &clsUpdateFunctions::updateguild},
        {QLatin1StringView("UPDATEAVATAR"), &clsUpdateFunctions::updateavatar},
        {QLatin1StringView("UPDATEPLAYER"), &clsUpdateFunctions::updateplayer},
    };
    for (const auto& entry : kKeywords) {
        if (keyword != entry.first) continue;
        const auto handler = entry.second;
        shielded("clsUpdateFunctions::IncomingModule", [&] { (this->*handler)(line); });
        return;
    }
}

// The figures go into the labels as they come; only the gauge reads a number.
void clsUpdateFunctions::updateap(const QString& line) { form<frmchildchat>()->lblap->setText(fieldsOf(line)[1]); }

// "UPDATESTATS ap gold rush cvchest thchest warchest daily weekly"; the gauge without a notice.
void clsUpdateFunctions::updatestats(const QString& line) {
    const Fields f = fieldsOf(line);
    if (!gaugeReadable(f[3])) return reject("UPDATESTATS", line);
    frmchildchat* lobby = form<frmchildchat>();
    lobby->lblap->setText(f[1]);
    lobby->lblgp->setText(f[2]);
    lobby->lblCVChest->setText(f[4]);
    lobby->lblTHChest->setText(f[5]);
    lobby->lblWarChest->setText(f[6]);
    lobby->lblDaily->setText(f[7]);
    lobby->lblWeekly->setText(f[8]);
    setRushGauge(lobby, f[3]);
}

void clsUpdateFunctions::updatecash(const QString& line) { form<frmchildchat>()->lblCash->setText(u'$' + fieldsOf(line)[1]); }

// "UPDATEEXP gained experience level next".
void clsUpdateFunctions::updateexp(const QString& line) {
    const Fields f = fieldsOf(line);
    frmchildchat* lobby = form<frmchildchat>();
    lobby->lblExp->setText(f[2]);
    lobby->lblLevel->setText(f[3]);
    lobby->lblNextLvl->setText(f[4]);
    PrintChatLine(QStringLiteral("EXP"), QString(),
                  QStringLiteral("You gain ") + f[1] + QStringLiteral(" experience point(s).  You currently have ") + f[2] +
                      QStringLiteral(" experience points."),
                  12632064);
}

// "UPDATERUSH percent": a full gauge lets the player launch a surgestrike.
void clsUpdateFunctions::updaterush(const QString& line) {
    const Fields f = fieldsOf(line);
    if (!gaugeReadable(f[1])) return reject("UPDATERUSH", line);
    if (setRushGauge(form<frmchildchat>(), f[1]) == frmchildchat::kRushWidth)
        PrintChatLine(QStringLiteral("Fury"), QString(),
                      QStringLiteral("You are infurated. Rush gauge filled! Click the gauge to launch a surgestrike!"),
                      ChatColour::Cyan);
}

void clsUpdateFunctions::updategp(const QString& line) { form<frmchildchat>()->lblgp->setText(fieldsOf(line)[1]); }

// "UPDATEGUILD guild"; without a guild the player has left it.
void clsUpdateFunctions::updateguild(const QString& line) { GuildName = blanks(fieldsOf(line)[1]); }

// "UPDATEAVATAR prefix background body head"; a missing code shows no picture. Every name that
// goes into a file name must be a plain one.
void clsUpdateFunctions::updateavatar(const QString& line) {
    const Fields f = fieldsOf(line);
    const QString &prefix = f[1], &background = f[2], &body = f[3], &head = f[4];
    const bool person = shown(head) || shown(body);
    if ((shown(background) && !plainCode(background)) || (shown(head) && !plainCode(head)) || (shown(body) && !plainCode(body)) ||
        (person && !prefix.isEmpty() && !plainCode(prefix)))
        return reject("UPDATEAVATAR", line);
    frmchildchat* lobby = form<frmchildchat>();
    avatarLayer(lobby->picavatar, background, QStringLiteral("background_") + background + QStringLiteral(".gif"));
    avatarLayer(lobby->imghead, head, prefix + QStringLiteral("_head_") + head + QStringLiteral(".gif"));
    avatarLayer(lobby->imgbody, body, prefix + QStringLiteral("_body_") + body + QStringLiteral(".gif"));
}

// "UPDATEPLAYER nickname level guild": every entry of that player shows the new level and guild.
void clsUpdateFunctions::updateplayer(const QString& line) {
    const Fields f = fieldsOf(line);
    const QString& nickname = f[1];
    const QString guild = ReplaceCaseCopy(f[3], {QStringLiteral("%20"), kBlank});
    QString text = nickname;
    if (!guild.isEmpty())
        text += u' ' + f[2] + QStringLiteral(" <") + guild + u'>';
    else if (!f[2].isEmpty())
        text += u' ' + f[2];
    QTreeWidget* tree = form<frmchildchat>()->playerlist;
    const QString wanted = nickname.toLower();
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* node = tree->topLevelItem(i);
        if (firstWord(node->text(0)).toString().toLower() == wanted) node->setText(0, text);
    }
}
