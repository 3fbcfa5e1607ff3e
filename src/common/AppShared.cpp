#include "common/AppShared.h"

#include <QCoreApplication>
#include <QImageReader>

#include "common/BuiltPictures.h"

namespace qb {

namespace {

// Plain concatenation, as every file beside the program is named.
QString clickSoundPath(const QString& programFolder) {
    return programFolder + QStringLiteral("/flip.wav");
}

}  // namespace

QImage pngImage(const QString& resourcePath) {
    // The start-up's pictures were decoded when the program was built.
    if (QImage built = builtpictures::find(resourcePath); !built.isNull()) return built;
    QImageReader reader(resourcePath, "png");
    // Without this, naming the format is not enough: every plugin is still loaded and asked.
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QPixmap pngPicture(const QString& resourcePath) {
    return QPixmap::fromImage(pngImage(resourcePath));
}

QIcon programIcon() {
    QIcon icon;
    // Added as pictures, not as files: a file would bring its @2x drawing on a dense screen,
    // which app.ico does not have.
    // In app.ico's order, which is the order the window manager is given them in.
    icon.addPixmap(pngPicture(QStringLiteral(":/app32.png")));
    icon.addPixmap(pngPicture(QStringLiteral(":/app16.png")));
    return icon;
}

AppShared::AppShared(platform::Services services, QString programFolder)
    : services_(services),
      programFolder_(std::move(programFolder)),
      lastUnloaded_([] { QCoreApplication::quit(); }) {
    // The start-up plays the click at once: loaded only then, it would come late or not at all.
    services_.sound.prepare(clickSoundPath(programFolder_));
}

AppShared::~AppShared() = default;

void AppShared::PlayClickSound() {
    services_.sound.playAsync(clickSoundPath(programFolder_));
}

void AppShared::SetTopmost(bool on) {
    if (mainWindow_) services_.placement.setTopmost(*mainWindow_, on);
}

int AppShared::MsgBox(const QString& text, int style, QWidget* over) {
    QWidget* owner = over;
    if (owner == nullptr && mainWindow_ && mainWindow_->isVisible()) owner = mainWindow_.data();
    return services_.messages.messageBox(owner, text, style, kApplicationTitle);
}

bool AppShared::confirmQuit() {
    const int answer = MsgBox(kQuitQuestion, platform::kYesNoQuestion);
    PlayClickSound();
    return answer == platform::kAnswerYes;
}

void AppShared::load(QWidget* window) {
    if (!isLoaded(window)) loaded_.append(window);
}

bool AppShared::isLoaded(const QWidget* window) const {
    for (const auto& w : loaded_)
        if (w == window) return true;
    return false;
}

void AppShared::unload(QWidget* window) {
    if (!isLoaded(window)) return;
    loaded_.removeIf([window](const QPointer<QWidget>& w) { return w.isNull() || w == window; });
    window->close();  // runs the window's own unload steps
    if (loaded_.isEmpty() && lastUnloaded_) lastUnloaded_();
}

}  // namespace qb
