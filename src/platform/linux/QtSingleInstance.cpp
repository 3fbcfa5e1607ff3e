#include "platform/linux/QtSingleInstance.h"

#include <QDBusError>
#include <QDBusMessage>
#include <QFile>
#include <QStandardPaths>
#include <utility>

#include "platform/linux/SocketSingleInstance.h"

namespace qb::platform {
namespace {

const QString kObjectPath = QStringLiteral("/org/quillbook/Quillbook");
const QString kInterface = QStringLiteral("org.quillbook.Quillbook");

}  // namespace

QString displayKey(const QByteArray& displayName) {
    QByteArray display = displayName;
    const qsizetype colon = display.lastIndexOf(':');
    const qsizetype screen = display.indexOf('.', colon + 1);
    if (colon >= 0 && screen >= 0) display.truncate(screen);
    if (display.startsWith(':')) display.remove(0, 1);  // the local server, the usual case
    QString key = QStringLiteral("display_");
    for (const char c : display)
        key += (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
                   ? QChar::fromLatin1(c)
                   : QChar(u'_');
    return key;
}

BusSingleInstance::BusSingleInstance(QDBusConnection bus, QString serviceName,
                                     std::chrono::milliseconds timeLimit)
    : bus_(std::move(bus)), serviceName_(std::move(serviceName)), timeLimit_(timeLimit) {}

BusSingleInstance::~BusSingleInstance() {
    if (owner_) bus_.unregisterService(serviceName_);
    bus_.unregisterObject(kObjectPath);
}

bool BusSingleInstance::handOverToRunningCopy(StartRequest request) {
    const QString method = request == StartRequest::LookUpSelection
                               ? QStringLiteral("LookUpSelection")
                               : QStringLiteral("Activate");
    // The object is there before the name, so a start that finds the name finds the object.
    bus_.registerObject(kObjectPath, this, QDBusConnection::ExportAllSlots);
    const auto deadline = std::chrono::steady_clock::now() + timeLimit_;
    // Another try is for a copy that ended, or gave the name up, between the two calls;
    // a few more would only find a bus that refuses us the name.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (bus_.registerService(serviceName_)) {
            owner_ = true;
            return false;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        const QDBusMessage reply =
            bus_.call(QDBusMessage::createMethodCall(serviceName_, kObjectPath, kInterface, method),
                      QDBus::Block, static_cast<int>(left.count()));
        if (reply.type() == QDBusMessage::ReplyMessage && reply.arguments().value(0).toBool())
            return true;
        const QDBusError::ErrorType error = QDBusError(reply).type();
        if (error == QDBusError::NoReply || error == QDBusError::Timeout) return false;  // hung
    }
    return false;
}

void BusSingleInstance::serve(std::function<bool(StartRequest)> answer) {
    answer_ = std::move(answer);
}

bool BusSingleInstance::Activate() {
    return answerStart(StartRequest::BringForward);
}

bool BusSingleInstance::LookUpSelection() {
    return answerStart(StartRequest::LookUpSelection);
}

bool BusSingleInstance::answerStart(StartRequest request) {
    if (!answer_ || answer_(request)) return true;
    // Given up before the answer goes out: the start that asked can take the name at once.
    if (owner_) bus_.unregisterService(serviceName_);
    owner_ = false;
    return false;
}

std::unique_ptr<SingleInstance> singleInstanceOnThisDisplay() {
    QByteArray display = qgetenv("DISPLAY");
    if (display.isEmpty()) display = qgetenv("WAYLAND_DISPLAY");
    const QString key = displayKey(display);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected())
        return std::make_unique<BusSingleInstance>(
            bus, QStringLiteral("org.quillbook.Quillbook.") + key);
    // Qt makes the folder the user's alone when it has to make it, and refuses one that is
    // not: then there is no place to meet, and every start runs on its own.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return std::make_unique<SocketSingleInstance>(
        runtime.isEmpty()
            ? std::string()
            : QFile::encodeName(runtime + QStringLiteral("/quillbook-") + key).toStdString());
}

}  // namespace qb::platform
