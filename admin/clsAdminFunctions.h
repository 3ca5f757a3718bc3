#pragma once
// Handler of the administrator messages: one object per line, no state kept between lines. Its
// effects land in the lobby, the popup menus, the administrator window and the settings object.
#include <QString>

class clsAdminFunctions {
public:
    // keyword is the line's first field, compared exactly; a keyword this family does not know
    // is ignored.
    void IncomingModule(QString& keyword, QString& line);

private:
    void HandleAdminChat(const QString& line);
    void HandleAdminWarn(const QString& line);
    void HandleAdminWarning(const QString& line);
    void HandleAdminKeyword(const QString& line);
    void HandleAdminRemoveTrigger(const QString& line);
    void HandleAdminOpCommand(const QString& line);
    void HandleAdminStatus(const QString& line);
    void HandleAdminPassError();
    void HandleAdminChatClear();
};
