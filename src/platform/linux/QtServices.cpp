#include "platform/linux/QtServices.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLibrary>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QProcess>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <utility>

#include "platform/linux/QtModules.h"
#include "platform/linux/X11WindowState.h"

namespace qb::platform {

void QtWindowPlacement::setTopmost(QWidget& window, bool on) {
    // QWidget::setWindowFlag would hide and re-create the native window; the QWindow flag
    // is changed in place. Take the handle now: it changes when the window is re-created.
    if (QWindow* handle = window.windowHandle())
        handle->setFlag(Qt::WindowStaysOnTopHint, on);
    else
        window.setWindowFlag(Qt::WindowStaysOnTopHint, on);  // not on screen yet: no re-creation
}

void QtWindowPlacement::setForeground(QWidget& window) {
    window.activateWindow();
}

namespace {

// Changes the window's type, keeping the topmost band it is in: that may have been set on
// the native window only, which a change of type re-creates.
void setWindowType(QWidget& window, Qt::WindowType type) {
    const QWindow* handle = window.windowHandle();
    const bool topmost = handle ? handle->flags().testFlag(Qt::WindowStaysOnTopHint)
                                : window.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    Qt::WindowFlags flags = (window.windowFlags() & ~Qt::WindowType_Mask) | type;
    flags.setFlag(Qt::WindowStaysOnTopHint, topmost);
    window.setWindowFlags(flags);
}

// Asks once more for the topmost band when the window is next on screen. Turning a window
// back into a tool window unmaps and maps it again at once; the window manager, still taking
// down the old mapping, can drop the band written for the new one, and the window would come
// back below others. A request sent once the window is mapped is never dropped.
class TopmostOnceMapped final : public QObject {
  public:
    explicit TopmostOnceMapped(QWindow& window) : QObject(&window) {
        window.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* window = static_cast<QWindow*>(watched);
        if (event->type() == QEvent::Expose && window->isExposed()) {
            if (window->flags().testFlag(Qt::WindowStaysOnTopHint)) {
                // The same flags would not be sent again: take the band away and give it back.
                window->setFlag(Qt::WindowStaysOnTopHint, false);
                window->setFlag(Qt::WindowStaysOnTopHint, true);
            }
            window->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }
};

}  // namespace

void QtWindowPlacement::minimizeToTaskbar(QWidget& window) {
    // A tool window has no taskbar button; minimised without one it could not come back.
    if (window.windowType() == Qt::Tool) {
        showInTaskbar(window, true);
        setWindowType(window, Qt::Window);
        madeOrdinary_.append(&window);
    }
    window.showMinimized();
}

void QtWindowPlacement::showRestored(QWidget& window) {
    // A window once minimised is shown minimised again unless its state is cleared. Cleared
    // after the change of type, the state would be written over the new window's topmost
    // band before it is mapped, and the window would come back below others.
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    const bool retyped = madeOrdinary_.removeAll(&window) > 0;
    if (retyped) {
        setWindowType(window, Qt::Tool);
        showInTaskbar(window, false);
    }
    window.show();
    window.raise();
    if (retyped && window.windowHandle() != nullptr) new TopmostOnceMapped(*window.windowHandle());
}

// Whether a window has a taskbar button, written each time the window is about to be mapped:
// the window manager drops the state when the window is withdrawn, and a hidden window may come
// back as a new native window. Qt makes that new one only after the widget is told it is shown
// (after a change of band, say); then the state goes to the window manager once the new one is
// up.
class TaskbarState final : public QObject {
  public:
    explicit TaskbarState(QWidget& window) : QObject(&window), window_(window) {
        window.installEventFilter(this);
    }

    QWidget& window() const { return window_; }
    bool offTaskbar = false;

    bool eventFilter(QObject* watched, QEvent* event) override {
        QWindow* handle = window_.windowHandle();
        if (handle == nullptr || !offTaskbar) return false;
        if (watched == &window_ && event->type() == QEvent::Show) {
            setSkipTaskbar(*handle, true, WindowStage::AboutToMap);
            writtenTo_ = handle->winId();
            if (watchedHandle_ != handle) {
                handle->installEventFilter(this);
                watchedHandle_ = handle;
            }
            awaitingExposure_ = true;
        } else if (watched == handle && event->type() == QEvent::Expose && awaitingExposure_ &&
                   handle->isExposed()) {
            awaitingExposure_ = false;
            if (handle->winId() != writtenTo_) setSkipTaskbar(*handle, true, WindowStage::Managed);
        }
        return false;
    }

  private:
    QWidget& window_;
    QPointer<QWindow> watchedHandle_;
    WId writtenTo_ = 0;
    bool awaitingExposure_ = false;
};

void QtWindowPlacement::showInTaskbar(QWidget& window, bool shown) {
    taskbarStates_.removeAll(nullptr);
    auto known =
        std::find_if(taskbarStates_.begin(), taskbarStates_.end(),
                     [&](const QPointer<TaskbarState>& s) { return &s->window() == &window; });
    TaskbarState* state = known != taskbarStates_.end() ? known->data() : nullptr;
    if (state == nullptr) taskbarStates_.append(state = new TaskbarState(window));
    if (state->offTaskbar == !shown) return;
    state->offTaskbar = !shown;
    if (window.isVisible() && window.windowHandle() != nullptr)
        setSkipTaskbar(*window.windowHandle(), !shown, WindowStage::Managed);
}

void QtPopupMenus::popupMenu(QMenu& menu) {
    menu.exec(QCursor::pos());
}

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
    ManualMove(QWidget& window, QPoint pressedAt, Qt::MouseButton button)
        : window_(&window), offset_(pressedAt - window.frameGeometry().topLeft()), button_(button) {
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
            const auto* release = static_cast<QMouseEvent*>(event);
            if (release->button() == button_ || !release->buttons().testFlag(button_)) {
                qApp->removeEventFilter(this);
                deleteLater();
            }
            return true;
        }
        return false;
    }

  private:
    QPointer<QWidget> window_;
    QPoint offset_;
    Qt::MouseButton button_;
};

}  // namespace

void QtWindowMove::beginMove(QWidget& window, QPoint globalPressPosition, Qt::MouseButton button) {
    // The window manager's move loop ends when the left button goes up, whichever button
    // started it: a move by another button would never end.
    QWindow* handle = window.windowHandle();
    if (button == Qt::LeftButton && handle != nullptr && handle->startSystemMove()) return;
    new ManualMove(window, globalPressPosition, button);
}

namespace {

// The function `function` of the module `name` beside the program; null without either.
// The module is never unloaded: the code of what the function made lives in it.
QFunctionPointer moduleFunction(const char* name, const char* function) {
    return QLibrary(QCoreApplication::applicationDirPath() + '/' + name).resolve(function);
}

}  // namespace

DeferredSoundPlayer::DeferredSoundPlayer() {
    QTimer::singleShot(0, &timerContext_, [this] { load(); });
}

DeferredSoundPlayer::~DeferredSoundPlayer() = default;

void DeferredSoundPlayer::load() {
    if (tried_) return;
    tried_ = true;
    if (auto create = reinterpret_cast<CreateSoundPlayer>(
            moduleFunction(kSoundModuleName, kCreateSoundPlayer)))
        player_.reset(create());
    if (player_ && !prepared_.isEmpty()) player_->prepare(prepared_);
}

void DeferredSoundPlayer::prepare(const QString& wavPath) {
    if (player_)
        player_->prepare(wavPath);
    else
        prepared_ = wavPath;
}

void DeferredSoundPlayer::playAsync(const QString& wavPath) {
    // The sound of the start-up is asked for before the window is on screen: it waits for the
    // event loop, so that loading the module does not hold the window back.
    if (!tried_) {
        QTimer::singleShot(0, &timerContext_, [this, wavPath] { playAsync(wavPath); });
        return;
    }
    if (player_) player_->playAsync(wavPath);
}

DeferredSpeechEngine::DeferredSpeechEngine() = default;
DeferredSpeechEngine::~DeferredSpeechEngine() = default;

SpeechEngine* DeferredSpeechEngine::engine() {
    if (!tried_) {
        tried_ = true;
        if (auto create = reinterpret_cast<CreateSpeechEngine>(
                moduleFunction(kSpeechModuleName, kCreateSpeechEngine)))
            engine_.reset(create());
    }
    return engine_.get();
}

bool DeferredSpeechEngine::stop() {
    SpeechEngine* speech = engine();
    return speech != nullptr && speech->stop();
}

bool DeferredSpeechEngine::say(const std::u16string& text) {
    SpeechEngine* speech = engine();
    return speech != nullptr && speech->say(text);
}

bool DeferredSpeechEngine::hasVoice() {
    SpeechEngine* speech = engine();
    return speech != nullptr && speech->hasVoice();
}

DeferredNotificationArea::DeferredNotificationArea(NotificationArea& area) : area_(area) {}

void DeferredNotificationArea::notifyIcon(TrayCommand command, const IconRecord& record,
                                          std::u16string_view tip) {
    if (started_) {
        area_.notifyIcon(command, record, tip);
        return;
    }
    // Timed from the first command, not from the start: what the start-up asked for before
    // it, such as its click sound, comes first.
    if (waiting_.empty()) QTimer::singleShot(0, &timerContext_, [this] { handOn(); });
    waiting_.push_back({command, record, std::u16string(tip)});
}

void DeferredNotificationArea::handOn() {
    started_ = true;
    for (const Waiting& w : std::exchange(waiting_, {}))
        area_.notifyIcon(w.command, w.record, w.tip);
}

namespace {

// A short message makes a narrow box, and the window manager then cuts its title short
// between the frame's icon and buttons: the box is made wide enough for both. Called last,
// as the box lays itself out anew when its icon or buttons are set.
void keepTitleWhole(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr) return;
    QFont titleFont = box.font();
    titleFont.setBold(true);
    // The frame's icon and up to four buttons, with their spacing.
    constexpr int kFrameControls = 160;
    const int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + kFrameControls;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

}  // namespace

int QtMessageBoxes::messageBox(QWidget* owner, const QString& text, int style,
                               const QString& title) {
    QMessageBox box(owner);
    box.setWindowTitle(title);
    box.setText(text);
    if (style == kYesNoQuestion) {
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        keepTitleWhole(box);
        return box.exec() == QMessageBox::Yes ? kAnswerYes : kAnswerNo;
    }
    box.setIcon(QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    keepTitleWhole(box);
    box.exec();
    return kAnswerOk;
}

bool QtProgramStarter::startProgram(std::u16string_view path) {
    // The program itself, with no arguments and no shell between: a path is never re-read
    // as a command line.
    return !path.empty() && QProcess::startDetached(QStringView(path).toString(), {});
}

// The desktop's browser decides its own window size; there is no way to ask it for a
// maximised one from here.
void QtAddressOpener::openAddress(std::u16string_view url) {
    QDesktopServices::openUrl(QUrl(QStringView(url).toString()));
}

bool QtFileTests::isOrdinaryFile(std::u16string_view path) {
    const QFileInfo file(QStringView(path).toString());
    return file.isFile() && !file.isHidden();
}

}  // namespace qb::platform
