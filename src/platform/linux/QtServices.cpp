#include "QtServices.h"

#include "QtSoundModule.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QLibrary>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace qb::platform {

void QtWindowPlacement::setTopmost(QWidget& window, bool on) {
    // QWidget::setWindowFlag would hide and re-create the native window; the QWindow flag
    // is changed in place. Take the handle now: it changes when the window is re-created.
    if (QWindow* handle = window.windowHandle())
        handle->setFlag(Qt::WindowStaysOnTopHint, on);
    else
        window.setWindowFlag(Qt::WindowStaysOnTopHint, on);  // not on screen yet: no re-creation
}

void QtWindowPlacement::setForeground(QWidget& window) { window.activateWindow(); }

void QtWindowPlacement::minimizeToTaskbar(QWidget& window) {
    // A tool window has no taskbar button; minimised without one it could not come back.
    if (window.windowType() == Qt::Tool)
        window.setWindowFlags((window.windowFlags() & ~Qt::WindowType_Mask) | Qt::Window);
    window.showMinimized();
}

void QtPopupMenus::popupMenu(QMenu& menu) { menu.exec(QCursor::pos()); }

void QtWindowShape::setShape(QWidget& window, const QRegion& region) {
    if (region.isEmpty())
        window.clearMask();
    else
        window.setMask(region);
}

namespace {

// Moves a window with the pointer until the button goes up, for desktops whose window
// manager does not run a move loop of its own.
class ManualMove final : public QObject {
public:
    ManualMove(QWidget& window, QPoint pressedAt)
        : window_(&window), offset_(pressedAt - window.frameGeometry().topLeft()) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (window_.isNull()) {
            deleteLater();
            return false;
        }
        if (event->type() == QEvent::MouseMove) {
            window_->move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - offset_);
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            qApp->removeEventFilter(this);
            deleteLater();
            return true;
        }
        return false;
    }

private:
    QPointer<QWidget> window_;
    QPoint offset_;
};

}  // namespace

void QtWindowMove::beginMove(QWidget& window, QPoint globalPressPosition) {
    QWindow* handle = window.windowHandle();
    if (handle != nullptr && handle->startSystemMove()) return;
    new ManualMove(window, globalPressPosition);
}

QtSoundPlayer::QtSoundPlayer() {
    QTimer::singleShot(0, &timerContext_, [this] { load(); });
}


QtSoundPlayer::~QtSoundPlayer() = default;

void QtSoundPlayer::load() {
    if (tried_) return;
    tried_ = true;
    // Never unloaded: the player's code lives in it until the end.
    QLibrary module(QCoreApplication::applicationDirPath() + '/' + kSoundModuleName);
    if (auto create = reinterpret_cast<CreateSoundPlayer>(module.resolve(kCreateSoundPlayer)))
        player_.reset(create());
}

void QtSoundPlayer::playAsync(const QString& wavPath) {
    // The sound of the start-up is asked for before the window is on screen: it waits for the
    // event loop, so that loading the module does not hold the window back.
    if (!tried_) {
        QTimer::singleShot(0, &timerContext_, [this, wavPath] { playAsync(wavPath); });
        return;
    }
    if (player_) player_->playAsync(wavPath);
}

int QtMessageBoxes::messageBox(QWidget* owner, const QString& text, int style,
                               const QString& title) {
    QMessageBox box(owner);
    box.setWindowTitle(title);
    box.setText(text);
    if (style == kYesNoQuestion) {
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? kAnswerYes : kAnswerNo;
    }
    box.setIcon(QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return kAnswerOk;
}

}  // namespace qb::platform
