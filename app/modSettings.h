#pragma once
#include <QString>

// The per-user settings file <client>/config/<Nickname>.cvc; makes the config folder when missing.
QString GetIniFile();
// <client>/main.ini
QString MainIniPath();
