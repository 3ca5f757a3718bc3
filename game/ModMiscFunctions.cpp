#include "game/ModMiscFunctions.h"

#include "app/clsClientConfig.h"
#include "app/modLinks.h"
#include "app/modSettings.h"
#include "app/modText.h"
#include "app/storedvars.h"
#include "game/frmplaying.h"
#include "net/frmCon.h"
#include "platform/Forms.h"
#include "platform/Ini.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "variants/frmomni.h"
#include "variants/frmteamomni.h"

#include <QFileInfo>
#include <QPointer>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextEdit>

namespace {
constexpr int kChatLimit = 15000;
const QLatin1String kTeamQueue("TEAM_QUEUE");

// Plays the window's queue from the top: one step, then one clock tick for the window to draw
// and for flip animations to start. The count is taken once; only the lines played are removed.
template <class F, class Perform>
void playSteps(F& frm, Perform perform) {
    const qsizetype count = frm.lststeps.size();
    QPointer<F> window(&frm);
    for (qsizetype i = 0; i < count; ++i) {
        if (!window || i >= frm.lststeps.size()) break;
        const Fields f = Divide(frm.lststeps.at(i), QStringLiteral(" "));
        try {
            perform(f);
        } catch (const std::exception& e) {
            qWarning("step \"%s\" passed over: %s", qPrintable(f[0]), e.what());
        }
        Pause(0);
    }
    if (window) frm.lststeps.remove(0, std::min(count, frm.lststeps.size()));
}

// A picture of the avatars folder, stem & number & ".gif"; null when the number is empty or
// "000", or when the name is no plain file name.
QPixmap avatarPicture(const QString& stem, const QString& number) {
    if (number.isEmpty() || number == QLatin1String("000")) return {};
    const QString file = stem + number + QStringLiteral(".gif");
    if (!isSafePathComponent(file)) return {};
    return QPixmap(clientPath(QStringLiteral("\\skins\\default\\avatars\\") + file));
}

void showSeat(QLabel* picture, const QString& name, const QPixmap& image) {
    picture->setToolTip(plainToolTip(name));
    picture->setPixmap(image);
    if (image.isNull()) picture->clear();
}

void applyTeamQueue(frmteamomni& frm, const Fields& f) {
    for (int seat = 0; seat < frmteamomni::kSeats; ++seat) {
        const QString& record = f[seat + 1];
        if (record.isEmpty()) continue;
        const Fields s = Divide(record, QStringLiteral("::"));
        const QString& name = s[0];
        const QString& prefix = s[1];
        showSeat(frm.picavatar[seat], name, avatarPicture(QStringLiteral("background_"), s[2]));
        showSeat(frm.imghead[seat], name, avatarPicture(prefix + QStringLiteral("_head_"), s[4]));
        showSeat(frm.imgbody[seat], name, avatarPicture(prefix + QStringLiteral("_body_"), s[3]));
    }
}
}  // namespace

QString DecodeCardName(const QString& wire) { return ReplaceCaseCopy(wire, {QStringLiteral("%20"), QStringLiteral(" ")}); }

QString StripJpg(QString name) { return name.remove(QStringLiteral(".jpg"), Qt::CaseSensitive); }

bool IsCardName(const QString& name) { return !StripJpg(name).isEmpty() && isSafePathComponent(name); }

QPixmap CardPicture(const QString& name, const QString& colour) {
    // The missing-file box is for a card the server named well. A missing or unsafe name, an
    // unsafe colour, or a colour other than a side's that names no deck, is odd server text:
    // no picture and a warning, so the pump never waits behind a box for it.
    const bool side = colour.compare(QLatin1String("blue"), Qt::CaseInsensitive) == 0 ||
                      colour.compare(QLatin1String("red"), Qt::CaseInsensitive) == 0;
    if (!IsCardName(name) || !isSafePathComponent(colour) ||
        (!side && !QFileInfo(resolvePath(ClientConfig().DeckFolder() + colour)).isDir())) {
        qWarning("card picture: no card \"%s\" in deck \"%s\"", qPrintable(name), qPrintable(colour));
        return {};
    }
    QString file = name;
    const QString path = CardImagePath(file, colour);
    QPixmap picture;
    if (!path.isEmpty()) picture.load(path);
    return picture;
}

QPixmap CardBack() {
    frmCon* con = ifLoaded<frmCon>();
    return con ? con->img[0] : QPixmap();
}

bool IsEmptyCard(const PictureBox* box) { return box->Picture().cacheKey() == CardBack().cacheKey(); }

bool IsCreator() {
    frmCon* con = ifLoaded<frmCon>();
    return con && con->creator->isChecked();
}

QString OwnColour() { return IsCreator() ? QStringLiteral("blue") : QStringLiteral("red"); }

void SendGameLine(const QString& line) {
    if (frmCon* con = ifLoaded<frmCon>()) con->SendToServer(line);
}

bool ReadIndex(const QString& field, int count, int& out) {
    if (field.trimmed().isEmpty()) return false;
    const double v = vbVal(field);
    if (!(v > -32768.5 && v < 32767.5)) return false;
    const int n = vbCInt(v);
    if (n < 0 || n >= count) return false;
    out = n;
    return true;
}

void AppendBlockTxt(QTextEdit* chatin, const QString& label, const QString& text) {
    if (ConnectionState == 0) return;
    if (chatin->document()->characterCount() - 1 > kChatLimit) chatin->clear();
    QTextCursor cursor(chatin->document());
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat format;
    const QString family = GetSkinValue(QStringLiteral("main"), QStringLiteral("fontface"));
    const double size = vbVal(GetSkinValue(QStringLiteral("main"), QStringLiteral("fontsize")));
    if (!family.isEmpty()) format.setFontFamilies({family});
    if (size > 0) format.setFontPointSize(size);
    QTextCharFormat teal = format;
    teal.setForeground(QColor(0, 192, 192));
    teal.setFontWeight(QFont::Normal);
    QTextCharFormat bold = format;
    bold.setForeground(Qt::white);
    bold.setFontWeight(QFont::Bold);
    cursor.beginEditBlock();
    cursor.insertText(QStringLiteral("<"), teal);
    cursor.insertText(label, bold);
    cursor.insertText(QStringLiteral("> "), teal);
    cursor.insertText(text + QStringLiteral(" \n"), teal);
    cursor.endEditBlock();
    chatin->verticalScrollBar()->setValue(chatin->verticalScrollBar()->maximum());
}

QTextCharFormat UserChatFormat(const QColor& colour) {
    QTextCharFormat format;
    const QString settings = GetIniFile();
    const QString family = ReadIni(QStringLiteral("Chat"), QStringLiteral("Font"), settings);
    const double size = vbVal(ReadIni(QStringLiteral("Chat"), QStringLiteral("FontSize"), settings));
    if (!family.isEmpty()) format.setFontFamilies({family});
    if (size > 0) format.setFontPointSize(size);
    format.setForeground(colour);
    return format;
}

QLabel* GameLabel(QWidget* parent, const char* name, const QString& text, const QRect& where, const QString& style,
                  Qt::Alignment align) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(align);
    label->setGeometry(where);
    label->setStyleSheet(style);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

void SetSkinBackground(QWidget* window, const QString& section, const QString& key) {
    const QPixmap ground = SkinPicture(section, key);
    if (ground.isNull()) return;
    QPalette pal = window->palette();
    pal.setBrush(QPalette::Window, QBrush(ground));
    window->setPalette(pal);
    window->setAutoFillBackground(true);
}

void PlayCVSteps(frmplaying& frm) {
    playSteps(frm, [&frm](const Fields& f) {
        const QString& k = f[0];
        if (k == QLatin1String("CV_PLACEDCARD")) StepPlacedCard(frm, f[1], f[2], f[3]);
        else if (k == QLatin1String("CV_BLUECARD")) StepBlueCard(frm, f[1], f[2]);
        else if (k == QLatin1String("CV_REDCARD")) StepRedCard(frm, f[1], f[2]);
        else if (k == QLatin1String("CV_CARDFLIP")) StepCardFlip(frm, f[1], f[2], f[3]);
        else if (k == QLatin1String("CV_POINTS")) StepPoints(frm, f[1], f[2]);
        else if (k == QLatin1String("CV_PLUSELEMENT")) StepPlusElement(frm, f[1], f[2]);
        else if (k == QLatin1String("CV_MINUSELEMENT")) StepMinusElement(frm, f[1], f[2]);
        else if (k == QLatin1String("CV_SAME")) StepSame(frm);
        else if (k == QLatin1String("CV_PLUS")) StepPlus(frm);
        else if (k == QLatin1String("CV_MINUS")) StepMinus(frm);
        else if (k == QLatin1String("CV_COMBO")) StepCombo(frm);
        else if (k == QLatin1String("CV_MULTIPLY")) StepMultiply(frm);
    });
}

void PlayOCVSteps(frmomni& frm) {
    playSteps(frm, [&frm](const Fields& f) {
        const QString& k = f[0];
        if (k == QLatin1String("OCVPLACEDCARD")) StepOCVPlacedCard(frm, f[1], f[2]);
        else if (k == QLatin1String("OCVBLUECARD")) StepBlueCard(frm, f[1], f[2]);
        else if (k == QLatin1String("OCVREDCARD")) StepRedCard(frm, f[1], f[2]);
        else if (k == QLatin1String("OCVCARDFLIP")) StepCardFlip(frm, f[1], f[2], f[3]);
        else if (k == QLatin1String("OCVPOINTS")) StepPoints(frm, f[1], f[2]);
        else if (k == QLatin1String("OCVSAME")) StepSame(frm);
        else if (k == QLatin1String("OCVPLUS")) StepPlus(frm);
        else if (k == QLatin1String("OCVCOMBO")) StepCombo(frm);
    });
}

void PlayTeamOCVSteps(frmteamomni& frm) {
    playSteps(frm, [&frm](const Fields& f) {
        const QString& k = f[0];
        if (k == QLatin1String("TEAM_OCVPLACEDCARD")) StepTeamPlacedCard(frm, f[1], f[2], f[3]);
        else if (k == QLatin1String("TEAM_OCVBLUECARD")) StepBlueCard(frm, f[1], f[2]);
        else if (k == QLatin1String("TEAM_OCVREDCARD")) StepRedCard(frm, f[1], f[2]);
        else if (k == QLatin1String("TEAM_OCVCARDFLIP")) StepCardFlip(frm, f[1], f[2], f[3]);
        else if (k == QLatin1String("TEAM_OCVPOINTS")) StepPoints(frm, f[1], f[2]);
        else if (k == QLatin1String("TEAM_OCVSAME")) StepSame(frm);
        else if (k == QLatin1String("TEAM_OCVPLUS")) StepPlus(frm);
        else if (k == QLatin1String("TEAM_OCVCOMBO")) StepCombo(frm);
        else if (k == kTeamQueue) applyTeamQueue(frm, f);
    });
}

void StepTeamQueue(frmteamomni& frm, const QString& line) { applyTeamQueue(frm, Divide(line, QStringLiteral(" "))); }


void StepTeamPlacedCard(frmteamomni& frm, const QString& cell, const QString& card, const QString& colour) {
    int c = 0;
    if (!stepdetail::cellOf(frm, cell, c)) return;
    if (card.isEmpty()) {
        qWarning("step ignored: no card for cell %d", c);
        return;
    }
    const QString name = DecodeCardName(card);
    frm.player->Tag = name;
    frm.Board[c]->Tag = name;
    frm.Board[c]->ToolTipText(name);
    // The colour names the deck folder (found whatever its letter case). One that names no deck,
    // is empty or could lead out of the decks gives no picture and a warning; the server filled
    // the cell all the same, so it is taken.
    frm.Board[c]->Picture(CardPicture(name, colour));
    frm.player->Picture(CardBack());
    frm.Colors(c, colour);
}
