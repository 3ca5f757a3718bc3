#pragma once
// The avatar shop: the shop's items of one kind and the items the player owns.
#include "platform/Forms.h"

#include <QWidget>

class frmAvatars : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmAvatars();
    // Reloads the shop's items of a kind: "background", "head" or "body".
    void AvatarGridRefresh(const QString& kind);
    // Reloads the items the player owns.
    void AvatarInventoryRefresh();
};
