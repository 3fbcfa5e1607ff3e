#include <QCoreApplication>
#include <QDBusConnection>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <cstdio>
#include <memory>
#include <string_view>
#include <thread>

#include "platform/linux/QtSingleInstance.h"
#include "platform/linux/SocketSingleInstance.h"

using namespace qb::platform;

namespace {

// Where two copies meet: a private session bus, or a socket path. Each row has its own name
// or path, so one row's copies never meet another's.
std::unique_ptr<SingleInstance> instanceAt(const QString& way, const QString& where,
                                           const QString& connectionName) {
    if (way == u"bus") {
        const QStringList parts = where.split(u'|');
        return std::make_unique<BusSingleInstance>(
            QDBusConnection::connectToBus(parts[0], connectionName), parts[1]);
    }
    return std::make_unique<SocketSingleInstance>(QFile::encodeName(where).toStdString());
}

const char* nameOf(StartRequest request) {
    return request == StartRequest::LookUpSelection ? "look up" : "forward";
}

StartRequest requestNamed(const QString& name) {
    return name == u"look up" ? StartRequest::LookUpSelection : StartRequest::BringForward;
}

// The other copy of the program, in a process of its own. As the running copy: claims, says
// "ready", then answers later starts (answer), answers that it is ending (ending), stops
// answering anything (hung) or dies without a word (crashed), and says what each start asked.
// As a later start (start, start look up): asks, and says whether it was handed over.
int runCopy(const QString& behaviour, const QString& way, const QString& where) {
    auto instance = instanceAt(way, where, QStringLiteral("copy"));
    if (behaviour.startsWith(u"start")) {
        const bool handedOver = instance->handOverToRunningCopy(requestNamed(behaviour.mid(6)));
        std::puts(handedOver ? "handed over" : "went on");
        return 0;
    }
    instance->handOverToRunningCopy(StartRequest::BringForward);
    instance->serve([&behaviour](StartRequest request) {
        std::printf("asked %s\n", nameOf(request));
        std::fflush(stdout);
        return behaviour == u"answer";
    });
    std::puts("ready");
    std::fflush(stdout);
    if (behaviour == u"hung") std::this_thread::sleep_for(std::chrono::hours(1));
    if (behaviour == u"crashed") std::raise(SIGKILL);
    return QCoreApplication::exec();
}

}  // namespace

class SingleInstanceTest final : public QObject {
    Q_OBJECT

  private:
    QProcess bus_;
    QString busAddress_;
    QTemporaryDir folder_;
    int rows_ = 0;

    QString placeFor(const QString& way) {
        ++rows_;
        if (way == u"bus")
            return busAddress_ + QStringLiteral("|org.quillbook.Quillbook.test%1").arg(rows_);
        return folder_.filePath(QStringLiteral("quillbook-%1").arg(rows_));
    }

    void startCopy(QProcess& copy, const QString& behaviour, const QString& way,
                   const QString& where) {
        copy.start(QCoreApplication::applicationFilePath(),
                   {QStringLiteral("--copy"), behaviour, way, where});
        QVERIFY(copy.waitForStarted());
    }

  private slots:
    void initTestCase() {
        QVERIFY(folder_.isValid());
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty()) return;
        bus_.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                            QStringLiteral("--print-address=1")});
        QVERIFY(bus_.waitForReadyRead(5000));
        busAddress_ = QString::fromUtf8(bus_.readLine()).trimmed();
    }

    void cleanupTestCase() {
        bus_.kill();
        bus_.waitForFinished();
    }

    void displayKeyTellsDisplaysApart_data() {
        QTest::addColumn<QByteArray>("display");
        QTest::addColumn<QString>("key");
        QTest::newRow("local") << QByteArray(":0") << "display_0";
        QTest::newRow("screen of the same display") << QByteArray(":0.1") << "display_0";
        QTest::newRow("another display") << QByteArray(":12") << "display_12";
        QTest::newRow("remote") << QByteArray("localhost:10.0") << "display_localhost_10";
        QTest::newRow("dots in the host")
            << QByteArray("host.example:1") << "display_host_example_1";
        QTest::newRow("wayland") << QByteArray("wayland-0") << "display_wayland_0";
        QTest::newRow("none") << QByteArray() << "display_";
    }

    void displayKeyTellsDisplaysApart() {
        QFETCH(QByteArray, display);
        QFETCH(QString, key);
        QCOMPARE(displayKey(display), key);
    }

    // A start while another copy is (or is not, or was) running: whether it is handed over,
    // and whether it then is the copy that the next start reaches.
    void startBesideRunningCopy_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("running");  // the other copy's behaviour; empty: none
        QTest::addColumn<QString>("request");  // what the starts ask
        QTest::addColumn<bool>("handedOver");
        QTest::addColumn<bool>("reachedNext");
        const QString forward = QStringLiteral("forward");
        const QString lookUp = QStringLiteral("look up");
        for (const QString& way : {QStringLiteral("bus"), QStringLiteral("socket")}) {
            const QByteArray w = way.toUtf8();
            QTest::newRow(w + ", none running") << way << QString() << forward << false << true;
            QTest::newRow(w + ", one running")
                << way << QStringLiteral("answer") << forward << true << false;
            QTest::newRow(w + ", one running, look up")
                << way << QStringLiteral("answer") << lookUp << true << false;
            QTest::newRow(w + ", one ending")
                << way << QStringLiteral("ending") << forward << false << true;
            QTest::newRow(w + ", one ending, look up")
                << way << QStringLiteral("ending") << lookUp << false << true;
            QTest::newRow(w + ", none running, look up")
                << way << QString() << lookUp << false << true;
            QTest::newRow(w + ", one crashed")
                << way << QStringLiteral("crashed") << forward << false << true;
            QTest::newRow(w + ", one hung")
                << way << QStringLiteral("hung") << lookUp << false << false;
        }
    }

    void startBesideRunningCopy() {
        QFETCH(QString, way);
        QFETCH(QString, running);
        QFETCH(QString, request);
        QFETCH(bool, handedOver);
        QFETCH(bool, reachedNext);
        if (way == u"bus" && busAddress_.isEmpty()) QSKIP("no dbus-daemon");
        const QString where = placeFor(way);

        QProcess other;
        const auto endOther = qScopeGuard([&other] {
            other.kill();
            other.waitForFinished();
        });
        if (!running.isEmpty()) {
            startCopy(other, running, way, where);
            QVERIFY(other.waitForReadyRead(5000));
            QCOMPARE(other.readLine().trimmed(), QByteArray("ready"));
            if (running == u"crashed") {
                QVERIFY(other.waitForFinished(5000));
                // The files a crash leaves behind are what this row is about.
                if (way == u"socket") {
                    QVERIFY(QFile::exists(where));
                    QVERIFY(QFile::exists(where + QStringLiteral(".lock")));
                }
            }
        }

        auto instance = instanceAt(way, where, QStringLiteral("row%1").arg(rows_));
        QCOMPARE(instance->handOverToRunningCopy(requestNamed(request)), handedOver);
        if (running == u"answer" || running == u"ending") {
            QVERIFY(other.waitForReadyRead(5000));
            QCOMPARE(QString::fromUtf8(other.readLine().trimmed()),
                     QStringLiteral("asked ") + request);
        }
        if (handedOver) return;

        QStringList asked;
        instance->serve([&asked](StartRequest heard) {
            asked << QString::fromUtf8(nameOf(heard));
            return true;
        });
        QProcess next;
        startCopy(next, QStringLiteral("start ") + request, way, where);
        QTRY_VERIFY_WITH_TIMEOUT(next.state() == QProcess::NotRunning, 10000);
        QCOMPARE(next.exitCode(), 0);
        QCOMPARE(next.readAllStandardOutput().trimmed(),
                 reachedNext ? QByteArray("handed over") : QByteArray("went on"));
        QCOMPARE(asked, reachedNext ? QStringList{request} : QStringList{});
    }
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 5 && std::string_view(argv[1]) == "--copy")
        return runCopy(QString::fromUtf8(argv[2]), QString::fromUtf8(argv[3]),
                       QString::fromUtf8(argv[4]));
    SingleInstanceTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "SingleInstanceTest.moc"
