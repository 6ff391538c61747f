// Writes gathered into one replace per file.
#include "platform/profile.h"
#include "platform/profilebatch.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

namespace {

QByteArray slurp(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void spit(const QString& path, const QByteArray& data) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

std::string read(const std::string& file, const char* section, const char* key) {
    char buffer[64];
    GetPrivateProfileStringA(section, key, "<none>", buffer, sizeof buffer, file.c_str());
    return buffer;
}

ino_t inode(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

} // namespace

class tst_ProfileBatch : public QObject {
    Q_OBJECT

private slots:
    void writesLandTogetherAtCommit();
    void unchangedFilesAreNotRewritten();
    void unwritableFilesFailAtOnceAndAreReported();
    void destructorCommits();
    void oneFileUnderTwoNames_data();
    void oneFileUnderTwoNames();
};

void tst_ProfileBatch::writesLandTogetherAtCommit() {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.ini");
    spit(path, "; keep\r\n[s]\r\nx=1\r\nother=z\r\n");
    const std::string file = path.toStdString();
    const std::string created = dir.filePath("new.ini").toStdString();

    ProfileWriteBatch batch;
    QCOMPARE(WritePrivateProfileStringA("s", "x", "2", file.c_str()), TRUE);
    QCOMPARE(WritePrivateProfileStringA("S", "y", "3", file.c_str()), TRUE);
    QCOMPARE(WritePrivateProfileStringA("t", "x", "4", created.c_str()), TRUE);
    QCOMPARE(WritePrivateProfileStringA("s", "x", "1\r\n[evil]", file.c_str()), FALSE);
    // Reads see the pending values; the disk still has the old file.
    QCOMPARE(read(file, "s", "x"), std::string("2"));
    QCOMPARE(slurp(path), QByteArray("; keep\r\n[s]\r\nx=1\r\nother=z\r\n"));
    QVERIFY(!QFile::exists(dir.filePath("new.ini")));

    QVERIFY(batch.commit().empty());
    QCOMPARE(slurp(path), QByteArray("; keep\r\n[s]\r\nx=2\r\nother=z\r\ny=3\r\n"));
    QCOMPARE(slurp(dir.filePath("new.ini")), QByteArray("[t]\r\nx=4\r\n"));
    QCOMPARE(ProfileWriteBatch::active(), nullptr);
    QVERIFY(batch.commit().empty()); // a second commit does nothing
}

void tst_ProfileBatch::unchangedFilesAreNotRewritten() {
    QTemporaryDir dir;
    const std::string file = dir.filePath("a.ini").toStdString();
    spit(QString::fromStdString(file), "[s]\r\nx=1\r\n");
    const ino_t before = inode(file);
    {
        ProfileWriteBatch batch;
        QCOMPARE(WritePrivateProfileStringA("s", "x", "2", file.c_str()), TRUE);
        QCOMPARE(WritePrivateProfileStringA("s", "x", "1", file.c_str()), TRUE);
        QVERIFY(batch.commit().empty());
    }
    QCOMPARE(inode(file), before);
}

void tst_ProfileBatch::unwritableFilesFailAtOnceAndAreReported() {
    QTemporaryDir dir;
    const std::string good = dir.filePath("good.ini").toStdString();
    const std::string missing = dir.filePath("gone/a.ini").toStdString();
    const std::string readOnly = dir.filePath("ro.ini").toStdString();
    spit(QString::fromStdString(readOnly), "[s]\r\nx=1\r\n");
    QVERIFY(::chmod(readOnly.c_str(), 0444) == 0);

    ProfileWriteBatch batch;
    QCOMPARE(WritePrivateProfileStringA("s", "x", "1", good.c_str()), TRUE);
    QCOMPARE(WritePrivateProfileStringA("s", "x", "1", missing.c_str()), FALSE);
    QCOMPARE(WritePrivateProfileStringA("s", "y", "1", missing.c_str()), FALSE);
    QCOMPARE(WritePrivateProfileStringA("s", "x", "2", readOnly.c_str()), FALSE);
    const std::vector<std::string> failed = batch.commit();
    QCOMPARE(failed, (std::vector<std::string>{missing, readOnly}));
    QCOMPARE(slurp(QString::fromStdString(good)), QByteArray("[s]\r\nx=1\r\n"));
    QCOMPARE(slurp(QString::fromStdString(readOnly)), QByteArray("[s]\r\nx=1\r\n"));
}

void tst_ProfileBatch::destructorCommits() {
    QTemporaryDir dir;
    const std::string file = dir.filePath("a.ini").toStdString();
    {
        ProfileWriteBatch outer;
        {
            ProfileWriteBatch inner; // nested: the inner one commits its own writes
            QCOMPARE(WritePrivateProfileStringA("s", "x", "1", file.c_str()), TRUE);
        }
        QCOMPARE(ProfileWriteBatch::active(), &outer);
        QCOMPARE(read(file, "s", "x"), std::string("1"));
        QCOMPARE(WritePrivateProfileStringA("s", "x", "2", file.c_str()), TRUE);
    }
    QCOMPARE(read(file, "s", "x"), std::string("2"));
}

void tst_ProfileBatch::oneFileUnderTwoNames_data() {
    QTest::addColumn<bool>("hardLink");
    QTest::newRow("symbolic link") << false;
    QTest::newRow("hard link") << true;
}

void tst_ProfileBatch::oneFileUnderTwoNames() {
    QFETCH(bool, hardLink);
    QTemporaryDir dir;
    const std::string first = dir.filePath("mapviewlt.ini").toStdString();
    const std::string second = dir.filePath("defaultlt.ini").toStdString();
    spit(QString::fromStdString(first), "[a]\r\nx=1\r\n");
    QCOMPARE(hardLink ? ::link(first.c_str(), second.c_str())
                      : ::symlink("mapviewlt.ini", second.c_str()),
             0);
    {
        ProfileWriteBatch batch;
        QCOMPARE(WritePrivateProfileStringA("a", "x", "2", first.c_str()), TRUE);
        // The other name, not written through yet, reads the pending value.
        QCOMPARE(read(second, "a", "x"), std::string("2"));
        QCOMPARE(WritePrivateProfileStringA("b", "y", "3", second.c_str()), TRUE);
        QCOMPARE(read(second, "a", "x"), std::string("2"));
        QVERIFY(batch.commit().empty());
    }
    const QByteArray expected = "[a]\r\nx=2\r\n[b]\r\ny=3\r\n";
    QCOMPARE(slurp(QString::fromStdString(first)), expected);
    QCOMPARE(slurp(QString::fromStdString(second)), expected);
    QCOMPARE(inode(first), inode(second));
    QCOMPARE(QFileInfo(QString::fromStdString(second)).isSymLink(), !hardLink);
}

QTEST_APPLESS_MAIN(tst_ProfileBatch)
#include "tst_profilebatch.moc"
