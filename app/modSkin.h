#pragma once
// Skin values: the active skin's ini file under <client>/skins, and the title strip colouring
// that framed windows share.
#include <QPixmap>
#include <QString>

class QLabel;
class QWidget;

// The value of a key in skins/<SkinName>.ini, or "" when missing; an empty SkinName becomes "default".
QString GetSkinValue(const QString& section, const QString& key);
// <client>/skins + value (values begin with a backslash), resolved without regard to case.
QString SkinPicturePath(const QString& value);
// Loads a picture below the client folder ("\skins\default\x.gif", found without regard to case)
// as QPixmap::load does; one loaded before comes from memory while nothing on its way or in it
// changed (skin pictures are loaded again with every window).
bool LoadClientPicture(QPixmap& into, const QString& relative);
// Loads the picture a skin key names; a null pixmap when the key is empty or the file is missing.
QPixmap SkinPicture(const QString& section, const QString& key);
// The look of the lobby's menu bar, for every menu bar and popup menu of the client.
QString SkinMenuStyle();

class clsBaseForm {
public:
    // Tiles the framed-dialog background over the whole window.
    void Load(QWidget* form);
    // Colours a window's title strip and sets its caption (the user's title colours once logged in).
    void TileBar(QWidget* titlePicture, QLabel* titleLabel, const QString& caption);
    // Kind 1 loads the framed-dialog background into the shared holder; other kinds do nothing.
    void LoadContainer(int16_t kind);
};
