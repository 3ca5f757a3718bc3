#pragma once
// A client logged in through the whole login road that then logs in as an operator: the pass key
// typed into the lobby's Admin Login box, "ADMINSTATUS" from the server, the administrator window
// shown. Shared by the administration tests.
#include "LoggedInClient.h"

#include "admin/frmadmin.h"
#include "lobby/frmmenu.h"

struct OperatorClient : LoggedInClient {
    QPointer<frmadmin> admin;

    void keywords(const QStringList& words) {
        FakeWebService::Reply reply{{{QStringLiteral("keyword"), QStringLiteral("string")}}, {}};
        for (const QString& w : words) reply.rows << QStringList{w};
        driver.web.answer(QStringLiteral("call sps_GetAdminKeywords()"), reply);
    }
    // Types the pass key, answers with the level and forgets what that sent, played and showed.
    bool becomeOperator(const QString& level = QStringLiteral("4")) {
        if (!ready) return false;
        dialogs().type(QStringLiteral("12345678"));
        lobby->mnuadmin_Click();
        receive(QStringLiteral("ADMINSTATUS ") + level);
        admin = ifLoaded<frmadmin>();
        sent(), sounds(), mark(), dialogs().clear();
        return admin && admin->isVisible();
    }
    // Boxes shown as "title|text".
    QStringList boxes(int from = 0) {
        QStringList out;
        for (const BoxRecord& b : dialogs().boxes.mid(from)) out << b.title + u'|' + b.text;
        return out;
    }
    bool healthy() const {
        return driver.fx->services.lifecycle->ends == 0 && !driver.server.lines.join(u'\n').contains(QStringLiteral("ERRORHANDLER"));
    }
};
inline QStringList entries(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}
