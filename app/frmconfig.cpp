#include "app/frmconfig.h"

#include "app/ErrorHandler.h"
#include "app/modSettings.h"
#include "app/modSkin.h"
#include "app/modSound.h"
#include "lobby/fancychat.h"
#include "lobby/frmchildchat.h"
#include "platform/Ini.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"

#include <QColorDialog>
#include <QDir>
#include <QFontDialog>
#include <QMouseEvent>

namespace {
// The options in the order they are checked, filled and saved.
struct Option {
    const char* section;
    const char* key;
    const char* fallback;
};
constexpr Option kShowJoinPart{"Chat", "ShowJoinPart", "1"};
constexpr Option kSounds{"Options", "Sounds", "1"};
constexpr Option kChatlog{"Options", "Chatlog", "0"};
constexpr Option kMusic{"Options", "Music", "0"};
constexpr Option kRandom{"Options", "Random", "0"};
constexpr Option kMinimize{"Options", "Minimize", "0"};
constexpr Option kTitleBG{"Options", "TitleBG", "13834783"};
constexpr Option kTitleFG{"Options", "TitleFG", "16777215"};
constexpr Option kTitleFont{"Options", "TitleFont", "Ringbearer"};
constexpr Option kReplays{"Options", "Replays", "1"};
constexpr Option kReconnect{"Options", "Reconnect", "10"};
constexpr Option kOptions[] = {kShowJoinPart, kSounds, kChatlog, kMusic,   kRandom,   kMinimize,
                               kTitleBG,      kTitleFG, kTitleFont, kReplays, kReconnect};

QString readOption(const Option& o) {
    return ReadIni(QString::fromLatin1(o.section), QString::fromLatin1(o.key), GetIniFile());
}
IniWrite optionWrite(const Option& o, const QString& value) {
    return IniWrite{QString::fromLatin1(o.section), QString::fromLatin1(o.key), value};
}

// Only the window's own controls: the stock colour and font dialogs it opens keep their look.
const char* const kStyle = R"(
#frmconfig > QLabel[option="true"], #frmconfig > QCheckBox { color: #e8dcc0; font-family: Verdana, "DejaVu Sans"; font-size: 9pt; background: transparent; }
#frmconfig > QLineEdit, #frmconfig > QComboBox { background: #120e18; color: white; border: 1px solid #8a6d3b; padding: 1px 3px; }
#frmconfig > QComboBox QAbstractItemView { background: #120e18; color: white; selection-background-color: #5a3f7a; }
#frmconfig > QCheckBox::indicator { width: 12px; height: 12px; border: 1px solid #c9a55c; background: #120e18; }
#frmconfig > QCheckBox::indicator:checked { background: qradialgradient(cx:0.5, cy:0.5, radius:0.6, fx:0.5, fy:0.5, stop:0 #f0d98c, stop:0.55 #c9a55c, stop:0.6 #120e18); }
#frmconfig > QPushButton { background: #2a1f3a; color: #f0d98c; border: 1px solid #8a6d3b; }
#frmconfig > QPushButton:hover { background: #3d2d55; }
)";}  // namespace

frmconfig::frmconfig()
    : picTitle(new QWidget(this)),
      lblTitle(new QLabel(picTitle)),
      showonoff(new QCheckBox(QStringLiteral("Show Joins and Parts"), this)),
      enablesounds(new QCheckBox(QStringLiteral("Enable Sounds"), this)),
      chklogchat(new QCheckBox(QStringLiteral("Log Chat"), this)),
      chkmusic(new QCheckBox(QStringLiteral("Ignore /music Messages"), this)),
      chkrandom(new QCheckBox(QStringLiteral("Ignore Random Roll Mesasges"), this)),
      chkmini(new QCheckBox(QStringLiteral("Minimize New PM windows"), this)),
      txtTitleBG(new QLineEdit(this)),
      txtTitleFG(new QLineEdit(this)),
      txtTitleFont(new QLineEdit(this)),
      chkReplay(new QCheckBox(QStringLiteral("Enable Replays"), this)),
      txtReconnectAttempts(new QLineEdit(this)),
      cmbSkin(new QComboBox(this)),
      cmdBackgroundColor(new QPushButton(QStringLiteral("..."), this)),
      cmdForeGroundColor(new QPushButton(QStringLiteral("..."), this)),
      cmdTitleFont(new QPushButton(QStringLiteral("..."), this)),
      cmdSave(new RFButton(this)) {
    setObjectName(QStringLiteral("frmconfig"));
    setWindowTitle(QStringLiteral("Configuration"));
    setStyleSheet(QString::fromLatin1(kStyle));
    setFixedSize(420, 416);
    setMouseTracking(true);

    const std::pair<QWidget*, const char*> names[] = {
        {picTitle, "picTitle"},       {lblTitle, "lblTitle"},         {showonoff, "showonoff"},
        {enablesounds, "enablesounds"}, {chklogchat, "chklogchat"},   {chkmusic, "chkmusic"},
        {chkrandom, "chkrandom"},     {chkmini, "chkmini"},           {txtTitleBG, "txtTitleBG"},
        {txtTitleFG, "txtTitleFG"},   {txtTitleFont, "txtTitleFont"}, {chkReplay, "chkReplay"},
        {txtReconnectAttempts, "txtReconnectAttempts"}, {cmbSkin, "cmbSkin"}, {cmdBackgroundColor, "cmdBackgroundColor"},
        {cmdForeGroundColor, "cmdForeGroundColor"}, {cmdTitleFont, "cmdTitleFont"}, {cmdSave, "cmdSave"},
    };
    for (const auto& [w, name] : names) w->setObjectName(QString::fromLatin1(name));

    picTitle->setGeometry(0, 0, 420, 28);
    lblTitle->setGeometry(10, 0, 400, 28);
    lblTitle->setTextFormat(Qt::PlainText);
    int y = 40;
    for (QCheckBox* box : {showonoff, enablesounds, chklogchat, chkmusic, chkrandom, chkmini, chkReplay}) {
        box->setGeometry(24, y, 372, 22);
        y += 24;
    }
    const auto row = [this](const QString& caption, int top, QWidget* field, int width, QPushButton* picker) {
        auto* l = new QLabel(caption, this);
        l->setTextFormat(Qt::PlainText);
        l->setProperty("option", true);
        l->setGeometry(24, top, 180, 22);
        field->setGeometry(206, top, width, 22);
        if (picker) picker->setGeometry(206 + width + 6, top, 28, 22);
    };
    row(QStringLiteral("Title Bar Background Color:"), 222, txtTitleBG, 140, cmdBackgroundColor);
    row(QStringLiteral("Title Bar Foreground Color:"), 252, txtTitleFG, 140, cmdForeGroundColor);
    row(QStringLiteral("Title Bar Font:"), 282, txtTitleFont, 140, cmdTitleFont);
    row(QStringLiteral("Reconnect Attempts:"), 312, txtReconnectAttempts, 60, nullptr);
    row(QStringLiteral("Skin:"), 342, cmbSkin, 174, nullptr);
    cmdSave->move(160, 380);

    connect(cmdSave, &RFButton::Click, this, &frmconfig::cmdSave_Click);
    connect(cmdBackgroundColor, &QPushButton::clicked, this, &frmconfig::cmdBackgroundColor_Click);
    connect(cmdForeGroundColor, &QPushButton::clicked, this, &frmconfig::cmdForeGroundColor_Click);
    connect(cmdTitleFont, &QPushButton::clicked, this, &frmconfig::cmdTitleFont_Click);
}

void frmconfig::Form_Load() {
    resumeNext([&] { loadoptions(); });
    resumeNext([&] {
        const QPixmap background = SkinPicture(QStringLiteral("baseform"), QStringLiteral("background"));
        if (background.isNull()) return;
        QPalette pal = palette();
        pal.setBrush(QPalette::Window, QBrush(background));
        setPalette(pal);
        setAutoFillBackground(true);
    });
    cmdSave->ButtonCaption(QStringLiteral("Save"));
    resumeNext([&] {
        QDir skins(clientPath(QStringLiteral("skins")));
        FileSkinList = skins.entryList({QStringLiteral("*.ini")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
        for (const QString& file : FileSkinList) cmbSkin->addItem(file.section(u'.', 0, 0));
    });
    resumeNext([&] {
        const QString skin = ReadIni(QStringLiteral("startup"), QStringLiteral("skin"), MainIniPath());
        cmbSkin->setCurrentIndex(skin.isEmpty() ? -1 : cmbSkin->findText(skin, Qt::MatchFixedString));
    });
    resumeNext([&] { clsBaseForm().TileBar(picTitle, lblTitle, QStringLiteral("Configuration")); });
}

void frmconfig::loadoptions() {
    // The missing ones get their defaults, the file saved once for all of them.
    QList<IniWrite> defaults;
    for (const Option& o : kOptions)
        if (readOption(o).isEmpty()) defaults << optionWrite(o, QString::fromLatin1(o.fallback));
    if (!defaults.isEmpty()) WriteIni(defaults, GetIniFile());
    txtTitleFont->setText(readOption(kTitleFont));
    txtTitleBG->setText(readOption(kTitleBG));
    txtTitleFG->setText(readOption(kTitleFG));
    const std::pair<QCheckBox*, Option> boxes[] = {{showonoff, kShowJoinPart}, {enablesounds, kSounds}, {chklogchat, kChatlog},
                                                   {chkmusic, kMusic},         {chkrandom, kRandom},    {chkmini, kMinimize},
                                                   {chkReplay, kReplays}};
    for (const auto& [box, option] : boxes) box->setChecked(vbVal(readOption(option)) == 1);
    txtReconnectAttempts->setText(vbStr(vbVal(readOption(kReconnect))));
}

void frmconfig::cmdSave_Click() {
    shielded("frmconfig::cmdSave_Click", [&] {
        PlaySound(3);
        if (cmbSkin->currentText().isEmpty()) {
            MsgBox(QStringLiteral("You must select a skin.  This is critical because changing the skin setting may result in "
                                  "loss in the ability to play Corvadex.  Also, changing the skin affects all players who play "
                                  "on this computer."),
                   vb::OKOnly, QStringLiteral("Error"));
            return;
        }
        const auto flag = [](const QCheckBox* box) { return box->isChecked() ? QStringLiteral("1") : QStringLiteral("0"); };
        WriteIni({optionWrite(kShowJoinPart, flag(showonoff)), optionWrite(kSounds, flag(enablesounds)),
                  optionWrite(kChatlog, flag(chklogchat)), optionWrite(kMusic, flag(chkmusic)), optionWrite(kRandom, flag(chkrandom)),
                  optionWrite(kMinimize, flag(chkmini)), optionWrite(kTitleBG, txtTitleBG->text()),
                  optionWrite(kTitleFG, txtTitleFG->text()), optionWrite(kTitleFont, txtTitleFont->text()),
                  optionWrite(kReplays, flag(chkReplay)), optionWrite(kReconnect, txtReconnectAttempts->text())},
                 GetIniFile());
        WriteIni(QStringLiteral("startup"), QStringLiteral("skin"), cmbSkin->currentText(), MainIniPath());
        clsBaseForm().TileBar(picTitle, lblTitle, QStringLiteral("Configuration"));
        PrintChatLine(QStringLiteral("Saved"), QString(),
                      QStringLiteral("Your configuration changes have been saved.  You may need to relog for some changes to "
                                     "take effect.  Skin changes are immediate but may not be desired this way.  Relog to see "
                                     "full results.  If you make cannot play Corvadex due to this change, change the value in "
                                     "the main.ini file to default."),
                      65535);
    });
}

void frmconfig::cmdBackgroundColor_Click() {
    shielded("frmconfig::cmdBackgroundColor_Click", [&] {
        const QColor picked = QColorDialog::getColor(vbColor(vbColorNumber(txtTitleBG->text())), this, QStringLiteral("Color"));
        if (picked.isValid()) txtTitleBG->setText(QString::number(vbColorValue(picked)));
    });
}

void frmconfig::cmdForeGroundColor_Click() {
    shielded("frmconfig::cmdForeGroundColor_Click", [&] {
        const QColor picked = QColorDialog::getColor(vbColor(vbColorNumber(txtTitleFG->text())), this, QStringLiteral("Color"));
        if (picked.isValid()) txtTitleFG->setText(QString::number(vbColorValue(picked)));
    });
}

void frmconfig::cmdTitleFont_Click() {
    shielded("frmconfig::cmdTitleFont_Click", [&] {
        bool ok = false;
        const QFont picked = QFontDialog::getFont(&ok, QFont(txtTitleFont->text()), this, QStringLiteral("Font"));
        if (ok) txtTitleFont->setText(picked.family());
    });
}

void frmconfig::CloseDialog() {
    PlaySound(3);
    unloadWidget(this);
}

void frmconfig::Form_MouseMove() {
    shielded("frmconfig::Form_MouseMove", [&] { cmdSave->RolloverRelease(); });
}

void frmconfig::mouseMoveEvent(QMouseEvent* event) {
    Form_MouseMove();
    QWidget::mouseMoveEvent(event);
}

void frmconfig::Form_LostFocus() {
    shielded("frmconfig::Form_LostFocus", [&] {
        // Raised, not activated: the player keeps typing where the click went.
        if (isVisible()) raise();
    });
}

void frmconfig::showEvent(QShowEvent* event) {
    // While open it stays in front of the lobby; other programs' windows are left alone.
    if (frmchildchat* lobby = ifLoaded<frmchildchat>()) lobby->installEventFilter(this);
    QWidget::showEvent(event);
}

bool frmconfig::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::WindowActivate && watched == ifLoaded<frmchildchat>()) Form_LostFocus();
    return QWidget::eventFilter(watched, event);
}
