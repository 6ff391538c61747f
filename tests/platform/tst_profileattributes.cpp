// A profile write keeps the file's extended attributes and its ACL: set and read with the
// tools of the acl and attr packages, as a user would.
#include "platform/profile.h"

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Runs a tool; its standard output, or nothing when it is missing or fails (the reason in
// `why`).
std::optional<QByteArray> run(const QString& program, const QStringList& arguments, QString& why) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        why = program + QStringLiteral(": ") +
              (process.error() == QProcess::FailedToStart
                   ? QStringLiteral("not installed (scripts/deps.sh installs it)")
                   : QString::fromLocal8Bit(process.readAllStandardError()).trimmed());
        return std::nullopt;
    }
    return process.readAllStandardOutput();
}

// Every extended attribute of the file, ACLs included, with its value.
QByteArray attributesOf(const QString& path) {
    QString why;
    const auto dump =
        run("getfattr", {"--absolute-names", "-d", "-m", "-", "-e", "hex", path}, why);
    return dump ? *dump : "error: " + why.toLocal8Bit();
}

// Runs `step` in a child process as this user (0: as root, with all groups dropped but
// 4321) and gives its exit status.
template <typename Step> int asUser(uid_t user, Step step) {
    const pid_t child = ::fork();
    if (child == 0) {
        const gid_t groups[] = {4321};
        if (user != 0 &&
            (::setgroups(1, groups) != 0 || ::setgid(4321) != 0 || ::setuid(user) != 0)) {
            ::_exit(2);
        }
        ::_exit(step() ? 0 : 1);
    }
    int status = -1;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

} // namespace

class TestProfileAttributes : public QObject {
    Q_OBJECT

private slots:
    void attributesKept_data();
    void attributesKept();
};

void TestProfileAttributes::attributesKept_data() {
    QTest::addColumn<uint>("writer");       // the user who saves (0: root); owns the file
    QTest::addColumn<bool>("fileAcl");      // another user may write the file through its ACL
    QTest::addColumn<bool>("folderAcl");    // the folder gives new files such an ACL
    QTest::addColumn<QString>("attribute"); // one more attribute, set by root
    QTest::addColumn<bool>("inPlace");

    QTest::newRow("root's file") << 0u << true << false << QString() << false;
    QTest::newRow("a user's own file") << 5000u << true << false << QString() << false;
    QTest::newRow("no ACL, in a folder that gives one")
        << 0u << false << true << QString() << false;
    // Only a process with the right to administer the system may set it on the new file.
    QTest::newRow("an attribute the writer may not set")
        << 5000u << true << false << QStringLiteral("security.tessel") << true;
}

void TestProfileAttributes::attributesKept() {
    QFETCH(uint, writer);
    QFETCH(bool, fileAcl);
    QFETCH(bool, folderAcl);
    QFETCH(QString, attribute);
    QFETCH(bool, inPlace);
    if (::geteuid() != 0) {
        QSKIP("only root can play another user and set every kind of attribute");
    }
    QTemporaryDir dir;
    QCOMPARE(::chmod(QFile::encodeName(dir.path()), 0777), 0);
    const QString path = dir.filePath("layout.ini");
    const QByteArray name = QFile::encodeName(path);
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[a]\nx=1\n");
    }
    QCOMPARE(::chmod(name, 0664), 0);
    QCOMPARE(::chown(name, writer, writer == 0 ? 0 : 4321), 0);

    // A note of the user's rides along with the ACL.
    QString why;
    if ((fileAcl && !run("setfacl", {"-m", "u:65534:rw", path}, why)) ||
        (folderAcl && !run("setfacl", {"-d", "-m", "u:65534:rw", dir.path()}, why)) ||
        !run("setfattr", {"-n", "user.note", "-v", "kept", path}, why) ||
        (!attribute.isEmpty() && !run("setfattr", {"-n", attribute, "-v", "1", path}, why))) {
        QSKIP(qPrintable(QStringLiteral("no ACLs or extended attributes here: ") + why));
    }
    const QByteArray before = attributesOf(path);
    QCOMPARE(before.contains("system.posix_acl_access"), fileAcl);
    struct stat old {};
    QCOMPARE(::stat(name, &old), 0);

    QCOMPARE(asUser(writer, [&] { return WritePrivateProfileStringA("a", "x", "2", name); }), 0);

    struct stat now {};
    QCOMPARE(::stat(name, &now), 0);
    QCOMPARE(now.st_ino == old.st_ino, inPlace);
    QCOMPARE(now.st_mode & 07777, mode_t(0664));
    QCOMPARE(attributesOf(path), before);
    // The other user can write it as before, or not at all.
    const int appended = asUser(65534, [&] {
        const int fd = ::open(name, O_WRONLY | O_APPEND | O_CLOEXEC);
        return fd >= 0 && ::write(fd, "y=3\n", 4) == 4 && ::close(fd) == 0;
    });
    QCOMPARE(appended, fileAcl ? 0 : 1);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), fileAcl ? QByteArray("[a]\nx=2\ny=3\n") : QByteArray("[a]\nx=2\n"));
}

QTEST_GUILESS_MAIN(TestProfileAttributes)
#include "tst_profileattributes.moc"
