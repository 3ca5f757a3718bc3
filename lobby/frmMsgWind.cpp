#include "lobby/frmMsgWind.h"

#include "app/ErrorHandler.h"
#include "app/modLinks.h"
#include "app/modSettings.h"
#include "app/modSkin.h"
#include "app/storedvars.h"
#include "lobby/fancychat.h"
#include "lobby/frmchildchat.h"
#include "net/frmCon.h"
#include "platform/Ini.h"
#include "platform/KeyAscii.h"
#include "platform/Paths.h"
#include "platform/VbCompat.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPixmap>

namespace {
constexpr int kWidth = 420, kHeight = 360;
constexpr long kNoticeRed = 0xFF;

QString colourStyle(long colour) { return vbColor(colour).name(); }
}  // namespace

frmMsgWind::frmMsgWind()
    : chatin(new QTextEdit(this)),
      chatout(new QLineEdit(this)),
      lblName(new QLabel(this)),
      Label1(new QLabel(this)),
      Timer1(new QTimer(this)) {
    setObjectName(QStringLiteral("frmMsgWind"));
    setFixedSize(kWidth, kHeight);
    setAutoFillBackground(true);
    // A message arriving must not take the keyboard from what the player is typing elsewhere:
    // the window comes up flashing and waits to be looked at.
    setAttribute(Qt::WA_ShowWithoutActivating);
    lblName->setObjectName(QStringLiteral("lblName"));
    lblName->setTextFormat(Qt::PlainText);
    lblName->setGeometry(12, 6, kWidth - 70, 34);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    Label1->setGeometry(kWidth - 50, 6, 38, 20);
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label1->setStyleSheet(QStringLiteral("color: #8a7a5a; background: transparent;"));
    chatin->setObjectName(QStringLiteral("chatin"));
    chatin->setGeometry(12, 46, kWidth - 24, kHeight - 92);
    chatin->setReadOnly(true);
    chatin->setAcceptRichText(false);
    chatin->setUndoRedoEnabled(false);
    chatout->setObjectName(QStringLiteral("chatout"));
    chatout->setGeometry(12, kHeight - 38, kWidth - 24, 26);
    chatout->setMaxLength(1000);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &frmMsgWind::Timer1_Timer);
    hookKeyPress(chatout, [this](int16_t& key) { chatout_KeyPress(key); });
    chatin->installEventFilter(this);
    // The keyboard belongs to the input: the log takes it only when clicked (Esc there closes too).
    chatin->setFocusPolicy(Qt::ClickFocus);
    chatout->setFocus();
}

void frmMsgWind::Form_Load() {
    frmchildchat* lobby = ifLoaded<frmchildchat>();
    // Each key of the skin's "pm" section, or its default with a notice and the out-of-date flag.
    const auto skin = [&](const char* key, const QString& fallback) {
        const QString value = GetSkinValue(QStringLiteral("pm"), QString::fromLatin1(key));
        if (!value.isEmpty()) return value;
        ClientConfig().SkinOutofDate(-1);
        if (lobby)
            lobby->addmsg(qstrcmp(key, "background") == 0
                              ? QStringLiteral("The application could not find a pm skin, used the default instead. Run the patcher.")
                              : QStringLiteral("The application could not find the details of the private window, used the default "
                                               "instead. Run the patcher."),
                          kNoticeRed);
        return fallback;
    };
    const auto colour = [&](const char* key, const char* fallback) {
        const QString defaultName = QString::fromLatin1(fallback);
        return ColorFromName(skin(key, defaultName), ColorFromName(defaultName, 0));
    };

    resumeNext([&] {
        QPixmap picture;
        if (LoadClientPicture(picture, QStringLiteral("\\skins") + skin("background", QStringLiteral("\\default\\pm.jpg")))) {
            QPalette pal = palette();
            pal.setBrush(QPalette::Window, QBrush(picture));
            setPalette(pal);
        }
    });
    QFont nameFont(skin("namefont", QStringLiteral("Verdana")));
    const double nameSize = vbVal(skin("namesize", QStringLiteral("18")));
    nameFont.setPointSizeF(nameSize > 0 ? nameSize : 18);
    nameFont.setItalic(skin("nameitalic", QStringLiteral("0")) == QLatin1String("1"));
    nameFont.setBold(skin("namebold", QStringLiteral("0")) == QLatin1String("1"));
    lblName->setFont(nameFont);
    const long nameColour = colour("namecolor", "black");
    m_selfHeader = colour("selfheadercolor", "red");
    m_secondaryHeader = colour("secondaryheadercolor", "blue");
    m_selfText = colour("selftextcolor", "white");
    m_secondaryText = colour("secondarytextcolor", "white");
    const long logBackground = colour("chatboxbackgroundcolor", "black");
    const long inputBackground = colour("typeboxbackgroundcolor", "black");
    m_chatFont = skin("chatfont", QStringLiteral("Verdana"));
    const double headerSize = vbVal(skin("chatheaderfontsize", QStringLiteral("9")));
    const double textSize = vbVal(skin("chattextfontsize", QStringLiteral("7")));
    m_headerSize = headerSize > 0 ? headerSize : 9;
    m_textSize = textSize > 0 ? textSize : 7;
    const long inputText = colour("typeboxforecolor", "white");

    lblName->setStyleSheet(QStringLiteral("QLabel#lblName { color: %1; background: transparent; }").arg(colourStyle(nameColour)));
    chatin->setStyleSheet(QStringLiteral("QTextEdit#chatin { background: %1; border: 1px solid #8a6d3b; }").arg(colourStyle(logBackground)));
    chatout->setStyleSheet(QStringLiteral("QLineEdit#chatout { background: %1; color: %2; border: 1px solid #8a6d3b; }")
                               .arg(colourStyle(inputBackground), colourStyle(inputText)));
    chatout->setFont(QFont(m_chatFont));
    Timer1->start();
}

void frmMsgWind::player(const QString& name) {
    m_player = name;
    lblName->setText(name);
}

void frmMsgWind::insertMessage(const QString& writer, const QString& text, long headerColour, long textColour) {
    // A long conversation keeps its newest part, as the lobby log does.
    TrimChatLog(chatin);
    {
        ChatRuns out(chatin);
        out.font(m_chatFont, m_headerSize);
        out.run(writer + QStringLiteral(" Says: \n"), headerColour);
        out.font(m_chatFont, m_textSize);
        out.run(text + QStringLiteral("\n\n"), textColour);
    }
    chatin->moveCursor(QTextCursor::End);
}

void frmMsgWind::InsertSelfText(const QString& text) { insertMessage(ClientConfig().Username(), text, m_selfHeader, m_selfText); }

void frmMsgWind::InsertSecondaryText(const QString& text) { insertMessage(m_player, text, m_secondaryHeader, m_secondaryText); }

void frmMsgWind::Timer1_Timer() { QApplication::alert(this); }

void frmMsgWind::Form_Activate() { Timer1->stop(); }

bool frmMsgWind::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) Form_Activate();
    return FormWindow<QWidget>::event(e);
}

bool frmMsgWind::eventFilter(QObject* watched, QEvent* event) {
    if (watched == chatin && event->type() == QEvent::KeyPress) {
        int16_t code = keyAscii(static_cast<QKeyEvent*>(event));
        if (code != 0) {
            shielded("frmMsgWind::chatin_KeyPress", [&] { chatin_KeyPress(code); });
            if (code == 0) return true;
        }
    }
    return FormWindow<QWidget>::eventFilter(watched, event);
}

void frmMsgWind::chatin_KeyPress(int16_t& KeyAscii) {
    if (KeyAscii != 27) return;
    KeyAscii = 0;
    unloadWidget(this);
}

void frmMsgWind::chatout_KeyPress(int16_t& KeyAscii) {
    QString typed = chatout->text();
    // A line holding Ctrl+C's character cannot be sent: the player must delete it first.
    if (typed.contains(QChar(3))) return;
    if (KeyAscii == 27) {
        KeyAscii = 0;
        unloadWidget(this);
        return;
    }
    if (typed.trimmed().isEmpty()) return;
    if (KeyAscii == 22) KeyAscii = 32;
    if (KeyAscii != 13 && KeyAscii != 10) return;
    typed.replace(QLatin1String("  "), QLatin1String(" "));
    KeyAscii = 0;
    InsertSelfText(typed);
    if (frmCon* con = ifLoaded<frmCon>())
        con->SendToServer(QStringLiteral("PM ") + Tag + u' ' + QString(typed).replace(u' ', QLatin1String("%20")));
    chatout->clear();
    if (frmchildchat* lobby = ifLoaded<frmchildchat>()) {
        lobby->mnuawayoff_Click();
        lobby->back_away();
    }
}

// The slot goes back to the table; a later message from the same partner opens a new window.
void frmMsgWind::Form_Unload(int& cancel) {
    Q_UNUSED(cancel);
    Timer1->stop();
    for (qsizetype slot = 0; slot < MsgWindows.size(); ++slot) {
        if (MsgWindows[slot] != this) continue;
        MsgWindows[slot] = nullptr;
        if (slot < MsgWindowUsed.size()) MsgWindowUsed[slot] = 0;
    }
}

int16_t NewMsgWindow() {
    // The table always has slots 0..MsgWindowCount.
    const qsizetype size = qsizetype(MsgWindowCount) + 1;
    MsgWindows.resize(size);
    MsgWindowUsed.resize(size);
    // A used mark without its window (it went some other way) frees the slot.
    for (qsizetype s = 0; s < size; ++s)
        if (!MsgWindows[s]) MsgWindowUsed[s] = 0;

    int16_t highest = 0;
    for (int16_t s = MsgWindowCount; s >= 0; --s) {
        if (MsgWindowUsed[s] == 1) {
            highest = s;
            break;
        }
    }
    if (highest < MsgWindowCount) {
        MsgWindows.resize(highest + 1);
        MsgWindowUsed.resize(highest + 1);
        MsgWindowCount = highest;
    }
    int16_t slot = -1;
    for (int16_t s = 0; s <= MsgWindowCount; ++s) {
        if (MsgWindowUsed[s] == 0) {
            slot = s;
            break;
        }
    }
    if (slot < 0) {
        ++MsgWindowCount;
        MsgWindows.resize(MsgWindowCount + 1);
        MsgWindowUsed.resize(MsgWindowCount + 1);
        slot = MsgWindowCount;
    }

    auto* window = new frmMsgWind();
    MsgWindows[slot] = window;
    window->Form_Load();
    const frmchildchat* lobby = ifLoaded<frmchildchat>();
    const bool away = lobby && lobby->mnuawayon->isChecked();
    const bool minimize = ReadIni(QStringLiteral("Options"), QStringLiteral("Minimize"), GetIniFile()) == QLatin1String("1");
    window->setWindowState(away || minimize ? Qt::WindowMinimized : Qt::WindowNoState);
    window->Label1->setText(QString::number(slot));
    MsgWindowUsed[slot] = 1;
    return slot;
}
