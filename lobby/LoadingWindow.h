#pragma once
// The lobby's menu items that open a window filling its lists from the web service.
#include <QString>
#include <functional>

class QWidget;

// "The <screen> screen is loading, please wait..." with its warning that it may take a while.
QString LoadingNotice(const QString& screen);
// Writes the screen's "Loading" notice, then hides the window (load() loads it hidden when it is
// not loaded), refreshes it and shows it, not modal. When loading or refreshing fails the lobby
// log says so; the lobby stays usable, and a window that did load is shown with what it holds.
void OpenLoadingWindow(const QString& screen, const std::function<QWidget*()>& load, const std::function<void(QWidget*)>& refresh);
