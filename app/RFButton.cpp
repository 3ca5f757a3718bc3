#include "app/RFButton.h"

#include "app/ErrorHandler.h"
#include "app/modSkin.h"
#include "app/storedvars.h"
#include "net/frmCon.h"
#include "platform/Forms.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int kWidth = RFButton::kWidthTwips / kTwipsPerPixel;
constexpr int kHeight = RFButton::kHeightTwips / kTwipsPerPixel;
// Keeps a caption off the skin's edge and inside the focus frame drawn 2 px in.
constexpr int kCaptionMargin = 4;
// Below this a caption is no longer read at a glance.
constexpr int kSmallestCaptionPixels = 8;
}  // namespace

RFButton::RFButton(QWidget* parent) : QWidget(parent), imgButton(new QLabel(this)), lblCaption(new QLabel(this)) {
    imgButton->setObjectName(QStringLiteral("imgButton"));
    lblCaption->setObjectName(QStringLiteral("lblCaption"));
    setFixedSize(kWidth, kHeight);
    imgButton->setGeometry(0, 0, kWidth, kHeight);
    imgButton->setScaledContents(true);
    lblCaption->setGeometry(0, 0, kWidth, kHeight);
    lblCaption->setContentsMargins(kCaptionMargin, 0, kCaptionMargin, 0);
    lblCaption->setAlignment(Qt::AlignCenter);
    lblCaption->setTextFormat(Qt::PlainText);
    lblCaption->setAttribute(Qt::WA_TranslucentBackground);
    lblCaption->setStyleSheet(QStringLiteral("color: #f4e6c4; font-weight: bold;"));
    // Clicks land on the control itself, whichever child is under the pointer.
    imgButton->setAttribute(Qt::WA_TransparentForMouseEvents);
    lblCaption->setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);

    const QPixmap normal = SkinPicture(QStringLiteral("button"), QStringLiteral("normal"));
    if (normal.isNull()) {
        MsgBox(QStringLiteral("There was a problem with your skin file.  Please check your [skin name].ini (default is "
                              "default.ini in the skins\\default folder) to make sure it exists and that nothing is "
                              "missing. The application will not close but all buttons will be black."),
               vb::Critical, QStringLiteral("Skin Error"));
        QPalette pal = palette();
        pal.setColor(QPalette::Window, Qt::black);
        setPalette(pal);
        setAutoFillBackground(true);
        return;
    }
    imgButton->setPixmap(normal);
    m_state = QStringLiteral("normal");
    const QCursor hand = form<frmCon>()->skinCursor();
    setCursor(hand);
    imgButton->setCursor(hand);
    lblCaption->setCursor(hand);
}

void RFButton::ButtonCaption(const QString& caption) {
    lblCaption->setText(caption);
    fitCaption();
}

// The button keeps its size whatever the caption, so a caption too long for it in its bold font
// is drawn a few pixels smaller instead; one that fits keeps that font.
void RFButton::fitCaption() {
    // Measured from the label's own font, so that a shorter caption set later grows back.
    lblCaption->setFont(QFont());
    lblCaption->ensurePolished();
    QFont font = lblCaption->font();
    const int room = lblCaption->contentsRect().width();
    for (int pixels = QFontInfo(font).pixelSize();
         QFontMetrics(font).horizontalAdvance(lblCaption->text()) > room && pixels > kSmallestCaptionPixels;)
        font.setPixelSize(--pixels);
    if (font != lblCaption->font()) lblCaption->setFont(font);
}

void RFButton::Enabled(bool on) {
    lblCaption->setEnabled(on);
    imgButton->setEnabled(on);
    setEnabled(on);
}

void RFButton::loadLook(const QString& name) {
    if (m_state == name) return;
    const QString value = GetSkinValue(QStringLiteral("button"), name);
    QPixmap look;
    if (value.isEmpty() || !look.load(SkinPicturePath(value))) throw RuntimeError(QStringLiteral("File not found"), 53);
    imgButton->setPixmap(look);
    m_state = name;
}

void RFButton::RolloverRelease() { loadLook(QStringLiteral("normal")); }

void RFButton::press() {
    // A missing look must not lose the click.
    shielded("RFButton", [&] { loadLook(QStringLiteral("down")); });
    emit Click();
}

void RFButton::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) shielded("RFButton", [&] { loadLook(QStringLiteral("down")); });
}

void RFButton::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) press();
}

void RFButton::mouseMoveEvent(QMouseEvent* e) {
    if (!(e->buttons() & Qt::LeftButton)) shielded("RFButton", [&] { loadLook(QStringLiteral("rollover")); });
}

void RFButton::enterEvent(QEnterEvent*) {
    shielded("RFButton", [&] { loadLook(QStringLiteral("rollover")); });
}

void RFButton::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Space || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        press();
        return;
    }
    QWidget::keyPressEvent(e);
}

void RFButton::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (width() != kWidth || height() != kHeight) resize(kWidth, kHeight);
}

void RFButton::paintEvent(QPaintEvent* e) {
    QWidget::paintEvent(e);
    if (!hasFocus()) return;
    QPainter p(this);
    QPen pen(QColor(244, 230, 196, 200));
    pen.setStyle(Qt::DotLine);
    p.setPen(pen);
    p.drawRect(rect().adjusted(2, 2, -3, -3));
}

void RFButton::focusInEvent(QFocusEvent* e) {
    QWidget::focusInEvent(e);
    update();
}

void RFButton::focusOutEvent(QFocusEvent* e) {
    QWidget::focusOutEvent(e);
    update();
}
