#include "frmTray.h"

#include <QCloseEvent>
#include <cmath>

#include "Handles.h"
#include "frmMain.h"

namespace qb {
namespace {

// Qt lays windows out in pixels of 1/96 inch, whatever the screen; 1440 twips make an inch.
constexpr float kTwipsPerPixelX = 15.0f;

QRect twips(int left, int top, int width, int height) {
    return {left / 15, top / 15, width / 15, height / 15};
}

}  // namespace

bool TrayPictureBox::event(QEvent* event) {
    if (event->type() == platform::WindowMessageEvent::kType) {
        const auto* message = static_cast<platform::WindowMessageEvent*>(event);
        // The icon's callback is the mouse-move message: the mouse message number arrives in
        // the place of the x coordinate, in pixels, and is reported in twips.
        if (message->message == platform::WM_MOUSEMOVE)
            emit MouseMove(0, 0, static_cast<float>(message->lParam) * kTwipsPerPixelX, 0.0f);
        return true;
    }
    return QWidget::event(event);
}

frmTray::frmTray(AppShared& shared, Tray& tray, frmMain& main)
    : QWidget(nullptr), shared_(shared), tray_(tray), main_(&main) {
    setObjectName(QStringLiteral("frmTray"));
    setWindowTitle(QStringLiteral("Form1"));
    setWindowIcon(QIcon(QStringLiteral(":/app.ico")));
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
        auto& handles = platform::Handles::instance();
        TrayID = tray_.AddTrayIcon(handles.ofWindow(picture_tray), platform::WM_MOUSEMOVE,
                                   handles.ofIcon(windowIcon()), u"Wordquill");
    }
    hide();
    if (main_) main_->hide();
}

void frmTray::picture_tray_MouseMove(int, int, float X, float) {
    int value = 0;
    if (ScaleMode == 1) value = static_cast<int>(std::nearbyint(X / kTwipsPerPixelX));
    if (value == static_cast<int>(platform::WM_LBUTTONDBLCLK)) {
        if (!main_) return;
        main_->show();
        shared_.SetTopmost(true);
        shared_.PlayClickSound();
        main_->focusInput();
    } else if (value == static_cast<int>(platform::WM_RBUTTONDOWN)) {
        shared_.services().placement.setForeground(*this);
        shared_.services().menus.popupMenu(*menu);
    }
}

void frmTray::menu_show_Click() {
    if (!main_) return;
    shared_.SetTopmost(true);
    shared_.PlayClickSound();
    main_->show();
    main_->focusInput();
}

void frmTray::menu_quit_Click() {
    const int answer = shared_.MsgBox(QStringLiteral("是否不用字典?"), platform::kYesNoQuestion);
    shared_.PlayClickSound();
    if (answer == platform::kAnswerYes) {
        if (main_) shared_.unload(main_);
        shared_.unload(this);
    }
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
