#pragma once
// The first window: the skin's splash picture while the newest version record is fetched;
// after two seconds it opens the login window and closes.
#include "platform/Forms.h"

#include <QLabel>
#include <QTimer>
#include <QWidget>

class frmsplash : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmsplash();

    QTimer* tmrload;
    QLabel* picture;

    void CheckVersion();

public slots:
    void Form_Load();
    void tmrload_Timer();
};
