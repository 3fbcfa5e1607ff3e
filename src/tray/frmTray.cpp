#include "tray/frmTray.h"

#include <QCloseEvent>
#include <cmath>

#include "common/Twips.h"
#include "platform/WindowMessage.h"

namespace qb {
namespace {

constexpr auto kTrayCallback = static_cast<std::uint32_t>(platform::TrayMouse::Move);
constexpr float kTwipsPerPixelX = kTwipsPerPixel;

}  // namespace

bool TrayPictureBox::event(QEvent* event) {
    if (event->type() == platform::WindowMessageEvent::type()) {
        const auto* message = static_cast<platform::WindowMessageEvent*>(event);
        // The icon's callback is the mouse-move message: the mouse message number arrives in
        // the place of the x coordinate, in pixels, and is reported in twips.
        if (message->message == kTrayCallback)
            emit MouseMove(0, 0, static_cast<float>(message->lParam) * kTwipsPerPixelX, 0.0f);
        return true;
    }
    return QWidget::event(event);
}

frmTray::frmTray(AppShared& shared, Tray& tray) : QWidget(nullptr), shared_(shared), tray_(tray) {
    setObjectName(QStringLiteral("frmTray"));
    setWindowTitle(QStringLiteral("Form1"));
    setWindowIcon(programIcon());
    // Showing it is part of loading it; it is never meant to reach the screen.
    setAttribute(Qt::WA_DontShowOnScreen);
    resize(twips(0, 0, 4590, 1305).size());

    picture_tray = new TrayPictureBox(this);
    picture_tray->setObjectName(QStringLiteral("picture_tray"));
    picture_tray->setGeometry(twips(240, 360, 1335, 495));
    picture_tray->setVisible(false);
    command_tray = new QPushButton(QStringLiteral("Add to tray"), this);
    command_tray->setObjectName(QStringLiteral("command_tray"));
    command_tray->setGeometry(twips(2640, 360, 1455, 495));

    menu = new QMenu(QStringLiteral("菜單"), this);
    menu_show = menu->addAction(QStringLiteral("顯示字典"));
    menu_quit = menu->addAction(QStringLiteral("離開"));

    connect(command_tray, &QPushButton::clicked, this, [this] { command_tray_Click(); });
    connect(picture_tray, &TrayPictureBox::MouseMove, this, &frmTray::picture_tray_MouseMove);
    connect(menu_show, &QAction::triggered, this, [this] { menu_show_Click(); });
    connect(menu_quit, &QAction::triggered, this, [this] { menu_quit_Click(); });
    shared_.load(this);
}

frmTray::~frmTray() = default;

void frmTray::command_tray_Click() {
    if (TrayID == 0) {
        auto& handles = shared_.services().handles;
        TrayID = tray_.AddTrayIcon(handles.ofWindow(picture_tray), kTrayCallback,
                                   handles.ofIcon(windowIcon()), u"羽筆字典");
    }
    hide();
    emit hideMainWindow();
}

void frmTray::picture_tray_MouseMove(int, int, float X, float) {
    int value = 0;
    if (ScaleMode == 1) value = static_cast<int>(std::nearbyint(X / kTwipsPerPixelX));
    if (value == static_cast<int>(platform::TrayMouse::LeftDouble)) {
        emit showMainWindow();
        shared_.SetTopmost(true);
        shared_.PlayClickSound();
        emit focusMainInput();
    } else if (value == static_cast<int>(platform::TrayMouse::RightDown)) {
        shared_.services().placement.setForeground(*this);
        shared_.services().menus.popupMenu(*menu);
    }
}

void frmTray::menu_show_Click() {
    shared_.SetTopmost(true);
    shared_.PlayClickSound();
    emit showMainWindow();
    emit focusMainInput();
}

void frmTray::menu_quit_Click() {
    if (shared_.confirmQuit()) emit quitConfirmed();
}

void frmTray::Form_Unload() {
    if (TrayID != 0) {
        tray_.RemoveTrayIcon(TrayID);
        TrayID = 0;
    }
}

void frmTray::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

}  // namespace qb
