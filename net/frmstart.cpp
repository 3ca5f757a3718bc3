#include "net/frmstart.h"

#include <QVBoxLayout>

frmstart::frmstart() : cmdLogin(new RFButton(this)), Timer1(new QTimer(this)) {
    setObjectName(QStringLiteral("frmstart"));
    cmdLogin->setObjectName(QStringLiteral("cmdLogin"));
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1800);
    setWindowTitle(QStringLiteral("Corvadex Login"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(cmdLogin);
}

void frmstart::Form_Load() { cmdLogin->ButtonCaption(QStringLiteral("Login")); }
