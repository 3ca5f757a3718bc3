#include "admin/frmadmin.h"

#include "platform/Services.h"

frmadmin::frmadmin()
    : chatin(new QTextEdit(this)),
      lstrequests(new QListWidget(this)),
      mnuDisablePM(new QAction(QStringLiteral("Disable PMs"), this)),
      tmrTrivia(new QTimer(this)),
      tmrTriviaNext(new QTimer(this)) {
    setObjectName(QStringLiteral("frmadmin"));
    chatin->setObjectName(QStringLiteral("chatin"));
    chatin->setReadOnly(true);
    chatin->setAcceptRichText(false);
    lstrequests->setObjectName(QStringLiteral("lstrequests"));
    mnuDisablePM->setObjectName(QStringLiteral("mnuDisablePM"));
    mnuDisablePM->setCheckable(true);
    tmrTrivia->setObjectName(QStringLiteral("tmrTrivia"));
    tmrTrivia->setInterval(30000);
    tmrTriviaNext->setObjectName(QStringLiteral("tmrTriviaNext"));
    tmrTriviaNext->setInterval(5000);
}

void frmadmin::TriviaGivePoint(const QString&, int16_t) {}

void frmadmin::Form_QueryUnload(int& cancel, int mode) {
    if (mode == vb::FormCode) return;
    MsgBox(QStringLiteral("The administrative window cannot be closed in this manner."), vb::OKOnly, QStringLiteral("Server"));
    cancel = 1;
}
