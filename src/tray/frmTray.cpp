#include "tray/frmTray.h"

#include <QCloseEvent>

#include "common/Twips.h"
#include "platform/WindowMessage.h"

namespace qb {
namespace {

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

frmTray::frmTray(AppShared& shared, Tray& tray)
    : QWidget(nullptr), shared_(shared), behaviour_(*this, shared, tray) {
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

    connect(command_tray, &QPushButton::clicked, this, [this] { behaviour_.command_tray_Click(); });
    connect(picture_tray, &TrayPictureBox::MouseMove, this,
            [this](int Button, int Shift, float X, float Y) {
                behaviour_.picture_tray_MouseMove(Button, Shift, X, Y);
            });
    connect(menu_show, &QAction::triggered, this, [this] { behaviour_.menu_show_Click(); });
    connect(menu_quit, &QAction::triggered, this, [this] { behaviour_.menu_quit_Click(); });
    shared_.load(this);
}

frmTray::~frmTray() = default;

std::uint32_t frmTray::iconOwnerHandle() {
    return shared_.services().handles.ofWindow(picture_tray);
}

std::uint32_t frmTray::programIconHandle() {
    return shared_.services().handles.ofIcon(windowIcon());
}

void frmTray::setForeground() {
    shared_.services().placement.setForeground(*this);
}

void frmTray::popUpMenu() {
    shared_.services().menus.popupMenu(*menu);
}

void frmTray::closeEvent(QCloseEvent* event) {
    behaviour_.Form_Unload();
    event->accept();
}

}  // namespace qb
