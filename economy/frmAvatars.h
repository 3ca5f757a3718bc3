#pragma once
// The avatar shop: the shop's items of one kind and the player's own items in two grids, a
// three-layer preview (background, body, head) to try items on, and the lines that buy, sell
// and equip an item or change the avatar's gender.
#include "app/RFButton.h"
#include "economy/RecordSetGrid.h"
#include "platform/Forms.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

class frmAvatars : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmAvatars();

    // Controls.
    QWidget* pbTitle;
    QLabel* lblTitle;
    QMenuBar* menuBar;
    QMenu* mnuLists;    // "Options"
    QMenu* mnuAvatars;  // "Avatars"
    QAction* mnuBackground;
    QAction* mnuBody;
    QAction* mnuHead;
    QAction* mnuChange;
    QAction* mnuReset;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    RecordSetGrid* Grid_Avatars;
    RecordSetGrid* Grid_Inventory;
    QLabel* picavatar;  // the preview's background; imgbody and imghead lie on it
    QLabel* imgbody;
    QLabel* imghead;
    QLabel* imgitem;
    QLabel* lblDescription;
    QLabel* lblPrice;
    RFButton* cmdBuy;
    RFButton* cmdSell;
    RFButton* cmdTry;
    RFButton* cmdEquip;

    // The player's items again.
    void AvatarInventoryRefresh();
    // The shop's items of kind ("background", "head" or "body").
    void AvatarGridRefresh(const QString& kind = QStringLiteral("head"));
    // The picture key of the shop row chosen.
    QString SelectedKey() const { return Grid_Avatars->CurrentText(4); }
    QString CurrentKind() const { return m_currentKind; }

    // The picture file of a layer, "" when the key or the gender prefix is no plain name.
    static QString LayerFile(const QString& kind, const QString& key, const QString& gender);

public slots:
    void Form_Load();
    void Grid_Avatars_Click(int row, int col);
    void cmdTry_Click();
    void cmdBuy_Click();
    void cmdSell_Click();
    void cmdEquip_Click();
    void mnuReset_Click();
    void mnuChange_Click();
    void Form_MouseMove();

protected:
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    // The layer of kind, or nullptr for a kind that has none.
    QLabel* layerOf(const QString& kind) const;
    // Shows the key's picture of kind in the label; false when the kind has no picture.
    bool showPicture(QLabel* target, const QString& kind, const QString& key) const;
    // Binds a grid to a query's result; false (after telling the player) when the service failed.
    bool load(RecordSetGrid* grid, const QString& command);

    QString m_currentKind;
};
