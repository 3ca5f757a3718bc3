#pragma once
// The look the operators' windows share: dark fields and lists edged in gold, gold captions,
// and the menus to match.
#include <QString>

class QLabel;
class QWidget;

// The style sheet of the operators' windows.
QString AdminStyleSheet();
// A skinned operator window: the skin's window background and its title strip with the caption.
void DressAdminWindow(QWidget* window, QWidget* titlePicture, QLabel* titleLabel, const QString& caption);
