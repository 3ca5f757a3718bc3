#include "economy/EconomyCommon.h"

#include "app/RunQuery.h"
#include "app/modSkin.h"
#include "app/modText.h"
#include "game/ModMiscFunctions.h"

#include <QWidget>

namespace {
const QString kCaptionStyle = QStringLiteral("color: #e2bc66; background: transparent; font-weight: bold;");
const QString kValueStyle = QStringLiteral("color: #f4e6c4; background: transparent;");
}  // namespace

QString StoredCall(const QString& procedure, const QStringList& textArguments) {
    QStringList quoted;
    quoted.reserve(textArguments.size());
    for (const QString& argument : textArguments) quoted << u'\'' + SqlQuote(argument) + u'\'';
    return QStringLiteral("call ") + procedure + u'(' + quoted.join(QStringLiteral(", ")) + u')';
}

RecordSet Query(const QString& command) {
    QString text = command;
    return RunQuery(text);
}

void DressEconomyWindow(QWidget* window, QWidget* titlePicture, QLabel* titleLabel, const QString& title) {
    window->setWindowTitle(title);
    SetSkinBackground(window, QStringLiteral("baseform"), QStringLiteral("background"));
    clsBaseForm().TileBar(titlePicture, titleLabel, title);
}

QLabel* EconomyCaption(QWidget* parent, const char* name, const QString& text, const QRect& where) {
    return GameLabel(parent, name, text, where, kCaptionStyle);
}

QLabel* EconomyValue(QWidget* parent, const char* name, const QRect& where) {
    return GameLabel(parent, name, QString(), where, kValueStyle);
}

void PlaceTitleStrip(QWidget* titlePicture, QLabel* titleLabel, int width) {
    titlePicture->setObjectName(titlePicture->objectName().isEmpty() ? QStringLiteral("picTitle") : titlePicture->objectName());
    titlePicture->setGeometry(0, 0, width, 24);
    titleLabel->setObjectName(QStringLiteral("lblTitle"));
    titleLabel->setGeometry(8, 0, width - 16, 24);
    titleLabel->setTextFormat(Qt::PlainText);
}
