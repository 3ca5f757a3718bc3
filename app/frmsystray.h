#pragma once
// The hidden window behind the client's icon in the notification area.
#include "platform/Forms.h"

#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>

class frmsystray : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmsystray();
    ~frmsystray() override;

    QMenu* mPopUp;
    QAction* mnuqexit;
    QAction* hr1;
    QAction* mnuForums;
    QAction* mnuwebsite;
    QSystemTrayIcon* tray = nullptr;

    // The icon's tip: "Corvadex " and the version.
    static QString tipText();

    // The icon's callback codes: 515 double click, 517 right button up.
    void iconMessage(int code);

public slots:
    void Form_Load();
    void mnuqexit_Click();
    void mnuForums_Click();
    void mnuwebsite_Click();

protected:
    void showEvent(QShowEvent* e) override;
};
