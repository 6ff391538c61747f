// A writer killed at any instant leaves the profile file either as it was or as it was to
// become, and nothing beside it after the next write: a child process rewrites one key over
// and over and is killed at random moments.
#include "platform/profile.h"
#include "platform/profilereplace.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray readBytes(const QByteArray& path) {
    QFile file(QFile::decodeName(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// A layout file of 25 sections; the writer changes "cy" of the last one.
QByteArray layoutFile() {
    QByteArray bytes = "; screen layout\r\n";
    for (int i = 0; i < 24; ++i) {
        bytes += "[element" + QByteArray::number(i) + "]\r\nx=" + QByteArray::number(i * 7) +
                 "\r\ny=" + QByteArray::number(i * 11) + "\r\ncx=40\r\ncy=20\r\n\r\n";
    }
    return bytes + "[win]\r\nx=0\r\ny=0\r\ncx=240\r\ncy=20\r\n";
}

constexpr const char* shortValue = "1";
constexpr const char* longValue = "2222222222222222222222222222222222222222";

[[noreturn]] void writeForever(const QByteArray& path) {
    for (;;) {
        WritePrivateProfileStringA("win", "cy", shortValue, path.constData());
        WritePrivateProfileStringA("win", "cy", longValue, path.constData());
    }
}

} // namespace

class TestProfileKill : public QObject {
    Q_OBJECT

private slots:
    void killedWriterLeavesOldOrNewFile();
};

void TestProfileKill::killedWriterLeavesOldOrNewFile() {
    // Memory-backed storage where there is some: what a killed process leaves does not
    // depend on the disk, and the kills need not wait for the disk's syncs.
    const QString base = QFileInfo("/dev/shm").isWritable() ? "/dev/shm" : QDir::tempPath();
    QTemporaryDir dir(base + "/tst_profilekill-XXXXXX");
    QVERIFY(dir.isValid());
    const QByteArray path = QFile::encodeName(dir.filePath("mapviewlt.ini"));
    {
        QFile file(QFile::decodeName(path));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(layoutFile());
    }
    QCOMPARE(WritePrivateProfileStringA("win", "cy", longValue, path), TRUE);
    const QByteArray contentB = readBytes(path);
    QCOMPARE(WritePrivateProfileStringA("win", "cy", shortValue, path), TRUE);
    const QByteArray contentA = readBytes(path);
    QVERIFY(contentA != contentB);

    const QString prefix = QString::fromStdString(profile::temporaryPrefix(path.toStdString()));
    QRandomGenerator random(20240229);
    QElapsedTimer timer;
    timer.start();
    int kills = 0;
    int changes = 0;
    int leftovers = 0;
    QByteArray last = contentA;
    while (kills < 250 || (changes == 0 && timer.elapsed() < 20000)) {
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            writeForever(path);
        }
        ::usleep(random.bounded(3000));
        QCOMPARE(::kill(child, SIGKILL), 0);
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status));
        ++kills;

        const QByteArray now = readBytes(path);
        if (now != contentA && now != contentB) {
            QFAIL(qPrintable(QString("torn file after kill %1:\n%2").arg(kills).arg(now)));
        }
        changes += now != last ? 1 : 0;

        // A killed writer may leave a temporary file of the recognisable name; the next
        // successful write of the file clears it.
        const auto entries = [&] {
            return QDir(dir.path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        };
        for (const QString& name : entries()) {
            QVERIFY2(name == "mapviewlt.ini" || name.startsWith(prefix), qPrintable(name));
            leftovers += name == "mapviewlt.ini" ? 0 : 1;
        }
        const bool toA = now != contentA;
        QCOMPARE(WritePrivateProfileStringA("win", "cy", toA ? shortValue : longValue, path), TRUE);
        last = toA ? contentA : contentB;
        QCOMPARE(entries(), QStringList{"mapviewlt.ini"});
    }
    qInfo("%d kills in %lld ms, %d changes of the file seen, %d temporary files left behind and "
          "cleared",
          kills, timer.elapsed(), changes, leftovers);
    QVERIFY(changes > 0);
}

QTEST_GUILESS_MAIN(TestProfileKill)
#include "tst_profilekill.moc"
