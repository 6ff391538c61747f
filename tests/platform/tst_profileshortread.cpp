// Reads that return less than they were asked for, as from network or FUSE file systems: a
// short read is no end of the file. This test program puts its own read() in front of the C
// library's, which hands out a few bytes per call while a test wants it.
#include "platform/profile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

std::atomic<std::size_t> bytesPerRead{0}; // 0: as many as asked for

} // namespace

extern "C" ssize_t read(int fd, void* buffer, size_t count) {
    const std::size_t most = bytesPerRead.load();
    return ::syscall(SYS_read, fd, buffer, most != 0 && count > most ? most : count);
}

class TestProfileShortRead : public QObject {
    Q_OBJECT

private slots:
    void shortReadsReadTheWholeFile();
};

void TestProfileShortRead::shortReadsReadTheWholeFile() {
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath("mapviewlt.ini"));
    QByteArray content = "; padding\r\n";
    while (content.size() < 3000) {
        content += "[s" + QByteArray::number(content.size()) + "]\r\nx=1\r\n";
    }
    content += "[win]\r\ncy=20\r\n";
    {
        QFile file(QFile::decodeName(path));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    bytesPerRead = 7;
    char value[16] = {};
    const DWORD n = GetPrivateProfileStringA("win", "cy", "none", value, sizeof value, path);
    const BOOL written = WritePrivateProfileStringA("win", "x", "5", path);
    bytesPerRead = 0;

    QCOMPARE(QByteArray(value, int(n)), QByteArray("20"));
    QCOMPARE(written, TRUE);
    QFile file(QFile::decodeName(path));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), content + "x=5\r\n");
}

QTEST_GUILESS_MAIN(TestProfileShortRead)
#include "tst_profileshortread.moc"
