#pragma once
// What the economy windows share: the stored-procedure calls with their text arguments quoted,
// the framed look (skin background, title strip) and their captions.
#include "app/RecordSet.h"

#include <QLabel>
#include <QRect>
#include <QString>
#include <QStringList>

class QWidget;

// "call <procedure>('<a>', '<b>')": each text argument quoted, none when the list is empty.
QString StoredCall(const QString& procedure, const QStringList& textArguments);
// Runs the call on the web service.
RecordSet Query(const QString& command);

// The window's skin background and its title strip with the caption; the window title too.
void DressEconomyWindow(QWidget* window, QWidget* titlePicture, QLabel* titleLabel, const QString& title);
// A caption label of an economy window (plain text).
QLabel* EconomyCaption(QWidget* parent, const char* name, const QString& text, const QRect& where);
// A label that shows a value read from the service (plain text, a little brighter).
QLabel* EconomyValue(QWidget* parent, const char* name, const QRect& where);
// The title strip at the top of a window of the given width.
void PlaceTitleStrip(QWidget* titlePicture, QLabel* titleLabel, int width);
