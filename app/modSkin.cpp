#include "app/modSkin.h"

#include "app/modSettings.h"
#include "app/storedvars.h"
#include "net/frmCon.h"
#include "platform/FileWatch.h"
#include "platform/Forms.h"
#include "platform/Ini.h"
#include "platform/Paths.h"
#include "platform/VbCompat.h"

#include <QApplication>
#include <QHash>
#include <QLabel>
#include <QPalette>
#include <QWidget>

QString GetSkinValue(const QString& section, const QString& key) {
    if (SkinName.isEmpty()) SkinName = QStringLiteral("default");
    // Asked for by the hundred per skin load: the file's name is made again only for a new skin.
    static QString name, relative;
    if (relative.isEmpty() || name != SkinName) {
        name = SkinName;
        relative = QStringLiteral("skins/") + SkinName + QStringLiteral(".ini");
    }
    const filewatch::Lookup fresh;
    return ReadIni(section, key, knownClientPath(relative));
}

QString SkinPicturePath(const QString& value) { return clientPath(QStringLiteral("\\skins") + value); }

namespace {
struct KnownPicture {
    QString folder;
    QPixmap picture;
    filewatch::Chain chain;
};

filewatch::Kept<KnownPicture>& knownPictures() {
    static auto& pictures = filewatch::Kept<KnownPicture>::make();
    return pictures;
}
}  // namespace

bool LoadClientPicture(QPixmap& into, const QString& relative) {
    auto& known = knownPictures();
    const filewatch::Lookup fresh;
    const QString folder = ClientFolder();
    if (const auto it = known.constFind(relative); it != known.constEnd() && it->folder == folder) {
        into = it->picture;
        return true;
    }
    bool exists = false;
    filewatch::Chain chain;
    // Watched before it is read: a change from here on drops it at the next lookup.
    const QString path = knownPath(joinBelow(folder, relative), &exists, &chain);
    if (!into.load(path)) return false;
    // Only a file found as named: a name without its extension finds one by trying extensions.
    if (exists && !chain.isEmpty()) {
        if (known.size() > 512) known.clear();
        known.insert(relative, KnownPicture{folder, into, chain});
    }
    return true;
}

QPixmap SkinPicture(const QString& section, const QString& key) {
    const QString value = GetSkinValue(section, key);
    QPixmap p;
    if (!value.isEmpty()) LoadClientPicture(p, QStringLiteral("\\skins") + value);
    return p;
}

QString SkinMenuStyle() {
    return QStringLiteral(
        "QMenuBar { background: #1a1226; color: #e8dcc0; border-bottom: 1px solid #8a6d3b; }"
        "QMenuBar::item { padding: 3px 10px; background: transparent; }"
        "QMenuBar::item:selected { background: #3d2d55; }"
        "QMenu { background: #1a1226; color: #e8dcc0; border: 1px solid #8a6d3b; }"
        "QMenu::item { padding: 4px 24px 4px 24px; }"
        "QMenu::item:selected { background: #3d2d55; }"
        "QMenu::item:disabled { color: #6d6478; }"
        "QMenu::separator { height: 1px; background: #5a4a2a; margin: 3px 8px; }");
}

void clsBaseForm::LoadContainer(int16_t kind) {
    if (kind != 1) return;
    form<frmCon>()->picBG = SkinPicture(QStringLiteral("baseform"), QStringLiteral("background"));
}

void clsBaseForm::Load(QWidget* form) {
    LoadContainer(1);
    frmCon* con = ifLoaded<frmCon>();
    if (!con || con->picBG.isNull()) return;
    QPalette pal = form->palette();
    pal.setBrush(QPalette::Window, QBrush(con->picBG));
    form->setPalette(pal);
    form->setAutoFillBackground(true);
    con->picBG = QPixmap();
}

void clsBaseForm::TileBar(QWidget* titlePicture, QLabel* titleLabel, const QString& caption) {
    long bg = 13834783;
    long fg = 16777215;
    QString font = QStringLiteral("Arial");
    if (!Nickname.isEmpty()) {
        const QString file = GetIniFile();
        bg = vbColorNumber(ReadIni(QStringLiteral("Options"), QStringLiteral("TitleBG"), file));
        fg = vbColorNumber(ReadIni(QStringLiteral("Options"), QStringLiteral("TitleFG"), file));
        font = ReadIni(QStringLiteral("Options"), QStringLiteral("TitleFont"), file);
    }
    // Black cannot be chosen for either colour: 0 means "not set".
    if (bg == 0) bg = 13834783;
    if (fg == 0) fg = 16777215;
    if (font.isEmpty()) font = QStringLiteral("Arial");
    if (titlePicture) {
        QPalette pal = titlePicture->palette();
        pal.setColor(QPalette::Window, vbColor(bg));
        titlePicture->setPalette(pal);
        titlePicture->setAutoFillBackground(true);
    }
    if (titleLabel) {
        QPalette pal = titleLabel->palette();
        pal.setColor(QPalette::WindowText, vbColor(fg));
        titleLabel->setPalette(pal);
        QFont f = titleLabel->font();
        f.setFamily(font);
        const double size = vbVal(GetSkinValue(QStringLiteral("baseform"), QStringLiteral("tilebarsize")));
        // A size of 0 (a skin without the key) asks for the system's default size, as a font of
        // height 0 does; the label's own size does not stay.
        f.setPointSizeF(size > 0 ? size : QApplication::font().pointSizeF());
        titleLabel->setFont(f);
        titleLabel->setTextFormat(Qt::PlainText);
        titleLabel->setText(caption);
    }
}
