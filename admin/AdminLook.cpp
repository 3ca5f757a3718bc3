#include "admin/AdminLook.h"

#include "app/modSkin.h"
#include "game/ModMiscFunctions.h"

#include <QLabel>
#include <QWidget>

namespace {
const char* const kStyle = R"(
QWidget#adminPanel { background: #1a1226; }
QLabel { color: #c9a55c; font-family: "DejaVu Sans"; font-size: 9pt; font-weight: bold; background: transparent; }
QTextEdit#chatin { background: rgb(8, 5, 16); border: 1px solid #8a6d3b; }
QLineEdit, QPlainTextEdit, QComboBox { background: #120e18; color: white; border: 1px solid #8a6d3b; padding: 2px 4px;
                                       selection-background-color: #5a3f7a; }
QLineEdit:disabled { background: #221a2c; color: #8a8078; }
QComboBox QAbstractItemView { background: #1a1226; color: #e8dcc0; selection-background-color: #3d2d55; }
QCheckBox { color: #e8dcc0; font-family: "DejaVu Sans"; font-size: 9pt; background: transparent; }
QCheckBox::indicator { width: 11px; height: 11px; border: 1px solid #c9a55c; background: #120e18; }
QCheckBox::indicator:checked { background: #c9a55c; }
QPushButton { background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #4a2f6b, stop: 1 #221433); color: #f0d98c;
              border: 1px solid #c9a55c; border-radius: 5px; padding: 4px 14px; font-family: "DejaVu Sans"; font-size: 9pt;
              font-weight: bold; }
QPushButton:pressed { background: #3d2d55; }
QGroupBox { color: #c9a55c; border: 1px solid #8a6d3b; margin-top: 12px; padding-top: 4px; font-family: "DejaVu Sans";
            font-size: 9pt; font-weight: bold; }
QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 4px; }
QLineEdit#chatout { background: #120e18; color: white; border: 1px solid #8a6d3b; padding: 2px 4px;
                    selection-background-color: #5a3f7a; }
QListWidget { background: rgb(8, 5, 16); color: #e8dcc0; border: 1px solid #8a6d3b; font-family: "DejaVu Sans";
              font-size: 9pt; }
QListWidget::item:selected { background: #5a3f7a; color: white; }
QMenuBar { background: #1a1226; color: #e8dcc0; border-bottom: 1px solid #8a6d3b; }
QMenuBar::item { padding: 3px 10px; background: transparent; }
QMenuBar::item:selected { background: #3d2d55; }
QMenu { background: #1a1226; color: #e8dcc0; border: 1px solid #8a6d3b; }
QMenu::item { padding: 4px 24px 4px 24px; }
QMenu::item:selected { background: #3d2d55; }
QScrollBar:vertical { background: #120e18; width: 12px; margin: 0; }
QScrollBar::handle:vertical { background: #5a4a2a; min-height: 18px; border-radius: 3px; }
QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }
)";
}  // namespace

QString AdminStyleSheet() { return QString::fromLatin1(kStyle); }

void DressAdminWindow(QWidget* window, QWidget* titlePicture, QLabel* titleLabel, const QString& caption) {
    window->setWindowTitle(caption);
    SetSkinBackground(window, QStringLiteral("baseform"), QStringLiteral("background"));
    clsBaseForm().TileBar(titlePicture, titleLabel, caption);
}
