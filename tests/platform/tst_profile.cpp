// The profile (INI) file functions: reading and writing with the Windows results, and the
// file-system cases where writes must stay safe.
#include "platform/profile.h"
#include "platform/profilebatch.h"
#include "platform/profilefile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <grp.h>
#include <memory>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Raw POSIX access: file names may hold bytes that are no valid UTF-8.
QByteArray readBytes(const QByteArray& path) {
    QByteArray bytes;
    if (FILE* f = std::fopen(path.constData(), "rb")) {
        char chunk[65536];
        for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) {
            bytes.append(chunk, qsizetype(n));
        }
        std::fclose(f);
    }
    return bytes;
}

void writeBytes(const QByteArray& path, const QByteArray& bytes) {
    FILE* f = std::fopen(path.constData(), "wb");
    QVERIFY(f);
    const std::size_t written = std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), f);
    QCOMPARE(std::fclose(f), 0);
    QCOMPARE(written, std::size_t(bytes.size()));
}

struct ReadResult {
    DWORD length;
    QByteArray text;
};

// Reads through a buffer of nSize bytes followed by guard bytes that must stay as they are.
ReadResult readValue(const QByteArray& path, const char* section, const char* key, const char* def,
                     DWORD nSize) {
    constexpr int guard = 16;
    QByteArray buffer(int(nSize) + guard, '#');
    const DWORD n = GetPrivateProfileStringA(section, key, def, buffer.data(), nSize, path);
    for (int i = int(nSize); i < buffer.size(); ++i) {
        if (buffer[i] != '#') {
            qWarning("byte %d written beyond the buffer", i);
            return {0xFFFFFFFF, {}};
        }
    }
    return {n, nSize == 0 ? buffer.left(0) : QByteArray(buffer.constData())};
}

QByteArray readKey(const QByteArray& path, const char* section, const char* key) {
    return readValue(path, section, key, "<default>", 1024).text;
}

// Whether a write left a temporary file (a hidden one) behind.
bool temporaryFilesIn(const QString& folder) {
    return !QDir(folder)
                .entryList(QDir::Hidden | QDir::System | QDir::Files)
                .filter(QRegularExpression("^\\."))
                .isEmpty();
}

// The UTF-16 bytes of UTF-8 text, with the byte-order mark.
QByteArray utf16(const QByteArray& utf8, bool bigEndian) {
    QByteArray bytes;
    const QString text = QChar(0xFEFF) + QString::fromUtf8(utf8);
    for (const QChar c : text) {
        const char hi = char(c.unicode() >> 8);
        const char lo = char(c.unicode() & 0xFF);
        bytes.append(bigEndian ? hi : lo).append(bigEndian ? lo : hi);
    }
    return bytes;
}

} // namespace

class TestProfile : public QObject {
    Q_OBJECT

private slots:
    void init();
    void read_data();
    void read();
    void readNeverCreates();
    void write_data();
    void write();
    void writeReplacesWholeFile();
    void shortWriteKeepsOldFile();
    void hardLinkedFileShrinks();
    void writeRefused_data();
    void writeRefused();
    void hostileFiles_data();
    void hostileFiles();
    void nullArguments();
    void pathIsFolder();
    void pathIsPipe();
    void missingFolder();
    void unreadableFile();
    void readOnlyFile();
    void permissionsKept();
    void ownerAndGroupKept_data();
    void ownerAndGroupKept();
    void inPlaceWriteOnFullDiskFailsWhole();
    void newFileFollowsUmask();
    void symlinkKept();
    void danglingSymlink();
    void nonAsciiFileName();
    void failedReplaceLeavesNoTemporary();
    void staleTemporariesRemoved();
    void utf16Files_data();
    void utf16Files();
    void undecodableFiles_data();
    void undecodableFiles();

private:
    QByteArray file(const char* name = "layout.ini") const {
        return QFile::encodeName(dir_->filePath(QString::fromLatin1(name)));
    }
    std::unique_ptr<QTemporaryDir> dir_;
};

void TestProfile::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void TestProfile::read_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("def");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("length");
    QTest::addColumn<QByteArray>("text");

    auto row = [](const char* name, const QByteArray& content, const char* section, const char* key,
                  const char* def, const char* text) {
        QTest::newRow(name) << content << QByteArray(section) << QByteArray(key) << QByteArray(def)
                            << 1024 << int(qstrlen(text)) << QByteArray(text);
    };
    const QByteArray ab = "[a]\r\nx=1\r\n[b]\r\nx=2\r\n";
    row("plain", ab, "b", "x", "d", "2");
    row("section case", ab, "B", "x", "d", "2");
    row("key case", "[Win]\r\nCY=5\r\n", "win", "cy", "d", "5");
    row("no folding above ascii", "[\xE4]\r\nx=1\r\n", "\xC4", "x", "d", "d");
    row("same bytes above ascii", "[\xE4]\r\n\xFC=1\r\n", "\xE4", "\xFC", "d", "1");
    row("missing section", ab, "c", "x", "d", "d");
    row("missing key", ab, "a", "y", "d", "d");
    row("empty file", "", "a", "x", "d", "d");
    row("names trimmed", ab, " b\t", "\tx ", "d", "2");

    row("blanks around value", "[a]\nx =  12  \n", "a", "x", "d", "12");
    row("inner blanks kept", "[a]\nz=  a  b  \n", "a", "z", "d", "a  b");
    row("key with inner blank", "[a]\n  Key One  =v1\n", "a", "key one", "d", "v1");
    row("section with blanks", "[ a ]\nx=1\n", "a", "x", "d", "1");
    row("tabs are blanks", "[a]\n\tx\t=\t7\t\n", "a", "x", "d", "7");
    row("0xA0 is no blank",
        "[a]\nx=\xA0"
        "1\xA0\n",
        "a", "x", "d",
        "\xA0"
        "1\xA0");

    row("double quotes", "[a]\nx=\"abc\"\n", "a", "x", "d", "abc");
    row("single quotes", "[a]\nx='abc'\n", "a", "x", "d", "abc");
    row("quotes after trim", "[a]\nx= \"abc\" \n", "a", "x", "d", "abc");
    row("blanks inside quotes", "[a]\nx=\" a b \"\n", "a", "x", "d", " a b ");
    row("empty quotes", "[a]\nx=\"\"\n", "a", "x", "d", "");
    row("inner quote", "[a]\nx=\"a\"b\"\n", "a", "x", "d", "a\"b");
    row("one pair only", "[a]\nx=\"\"abc\"\"\n", "a", "x", "d", "\"abc\"");
    row("open quote", "[a]\nx=\"abc\n", "a", "x", "d", "\"abc");
    row("close quote", "[a]\nx=abc\"\n", "a", "x", "d", "abc\"");
    row("mixed quotes", "[a]\nx=\"abc'\n", "a", "x", "d", "\"abc'");
    row("quotes inside", "[a]\nx=a \"b\"\n", "a", "x", "d", "a \"b\"");
    row("lone quote", "[a]\nx=\"\n", "a", "x", "d", "\"");

    row("empty value", "[a]\nx=\n", "a", "x", "d", "");
    row("blank value", "[a]\nx=   \n", "a", "x", "d", "");
    row("first key wins", "[a]\nx=1\nX=2\n", "a", "x", "d", "1");
    row("first section only", "[a]\nx=1\n[b]\n[A]\ny=2\n", "a", "y", "d", "d");
    row("first section wins", "[a]\nx=1\n[A]\nx=2\n", "a", "x", "d", "1");
    row("no inline comment", "[a]\nx=1 ; c\n", "a", "x", "d", "1 ; c");
    row("first equals splits", "[a]\ny==1\n", "a", "y", "d", "=1");
    row("comment line", "[a]\n;x=1\n", "a", "x", "d", "d");
    row("indented comment", "[a]\n  ;x=1\n", "a", "x", "d", "d");
    row("comment starts no section", "[a]\n;[b]\nx=1\n", "b", "x", "d", "d");
    row("comment ends no section", "[a]\n;[b]\nx=1\n", "a", "x", "d", "1");
    row("text after bracket", "[a] tail\nx=1\n", "a", "x", "d", "1");
    row("open bracket", "[abc\nx=1\n", "abc", "x", "d", "1");
    row("key above sections", "x=1\n[a]\n", "a", "x", "d", "d");
    row("line without equals", "[a]\nx\n", "a", "x", "d", "d");
    row("hash is no comment", "[a]\n#x=1\n", "a", "#x", "d", "1");

    row("LF", "[a]\nx=1\ny=2\n", "a", "y", "d", "2");
    row("CR", "[a]\rx=1\ry=2\r", "a", "y", "d", "2");
    row("mixed endings", "[a]\rx=1\r\ny=2\n", "a", "y", "d", "2");
    row("no last ending", "[a]\r\nx=1\r\ny=2", "a", "y", "d", "2");
    row("LF CR is two endings", "[a]\n\rx=1\n\r", "a", "x", "d", "1");
    row("byte-order mark", "\xEF\xBB\xBF[a]\r\nx=1\r\n", "a", "x", "d", "1");
    row("mark only at start", "\xEF\xBB\xBF\xEF\xBB\xBF[a]\r\nx=1\r\n", "a", "x", "d", "d");

    row("default loses trailing blanks", "", "a", "x", "20  ", "20");
    row("default keeps leading blanks", "", "a", "x", " 20", " 20");
    row("NUL in value ends the text",
        QByteArray("[a]\nx=1\0"
                   "2\n",
                   10),
        "a", "x", "d", "1");

    auto sized = [](const char* name, const QByteArray& content, const char* def, int size,
                    int length, const QByteArray& text) {
        QTest::newRow(name) << content << QByteArray("a") << QByteArray("x") << QByteArray(def)
                            << size << length << text;
    };
    const auto value = [](int n) { return "[a]\r\nx=" + QByteArray(n, 'v') + "\r\n"; };
    sized("1023 fill 1024", value(1023), "d", 1024, 1023, QByteArray(1023, 'v'));
    sized("1024 cut", value(1024), "d", 1024, 1023, QByteArray(1023, 'v'));
    sized("2000 cut", value(2000), "d", 1024, 1023, QByteArray(2000, 'v').left(1023));
    sized("size 1", value(3), "d", 1, 0, "");
    sized("size 2", value(3), "d", 2, 1, "v");
    sized("size 0", value(3), "d", 0, 0, "");
    sized("default cut", "", "abcdef", 4, 3, "abc");
    sized("default trimmed then cut", "", "ab   ", 4, 2, "ab");
}

void TestProfile::read() {
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, section);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, def);
    QFETCH(int, size);
    QFETCH(int, length);
    QFETCH(QByteArray, text);

    writeBytes(file(), content);
    const ReadResult got = readValue(file(), section, key, def, DWORD(size));
    QCOMPARE(got.length, DWORD(length));
    QCOMPARE(got.text, text);
    QCOMPARE(readBytes(file()), content);
}

void TestProfile::readNeverCreates() {
    QCOMPARE(readKey(file(), "a", "x"), QByteArray("<default>"));
    QVERIFY(!QFile::exists(QFile::decodeName(file())));
    QCOMPARE(readKey(file("missing/layout.ini"), "a", "x"), QByteArray("<default>"));
}

void TestProfile::write_data() {
    QTest::addColumn<QByteArray>("before"); // null: no file
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("after");

    auto row = [](const char* name, const QByteArray& before, const char* section, const char* key,
                  const char* value, const QByteArray& after) {
        QTest::newRow(name) << before << QByteArray(section) << QByteArray(key) << QByteArray(value)
                            << after;
    };
    row("new file", QByteArray(), "win", "cy", "20", "[win]\r\ncy=20\r\n");
    row("empty file", "", "win", "cy", "20", "[win]\r\ncy=20\r\n");
    row("replace CRLF", "[a]\r\nx=1\r\ny=2\r\n", "a", "x", "5", "[a]\r\nx=5\r\ny=2\r\n");
    row("replace LF", "[a]\nx=1\ny=2\n", "a", "y", "5", "[a]\nx=1\ny=5\n");
    row("replace CR", "[a]\rx=1\ry=2\r", "a", "x", "5", "[a]\rx=5\ry=2\r");
    row("replace last line without ending", "[a]\nx=1", "a", "x", "22", "[a]\nx=22");
    row("keeps the file's spelling", "[A]\r\nMyKey = 1\r\n", "a", "mykey", "2",
        "[A]\r\nMyKey=2\r\n");
    row("line rewritten as key=value", "[a]\n  x  =  1  \n", "a", "x", "2", "[a]\nx=2\n");
    row("keeps that line's ending", "[a]\r\nx=1\ny=2\r\n", "a", "x", "9", "[a]\r\nx=9\ny=2\r\n");
    row("value's leading blanks dropped", "[a]\nx=1\n", "a", "x", "  5 ", "[a]\nx=5 \n");
    row("empty value", "[a]\nx=1\n", "a", "x", "", "[a]\nx=\n");
    row("value written as given", "[a]\nx=1\n", "a", "x", "\"q\" ; c", "[a]\nx=\"q\" ; c\n");
    row("first of equal keys", "[a]\nx=1\nX=2\n", "a", "x", "3", "[a]\nx=3\nX=2\n");
    row("first of equal sections", "[a]\nx=1\n[b]\n[A]\nx=2\n", "a", "x", "3",
        "[a]\nx=3\n[b]\n[A]\nx=2\n");
    row("same value, same bytes", "[a]\nx=1\n", "a", "x", "1", "[a]\nx=1\n");

    row("new key at end of section", "[a]\nx=1\n\n[b]\ny=2\n", "a", "z", "3",
        "[a]\nx=1\nz=3\n\n[b]\ny=2\n");
    row("new key after closing comments", "[a]\r\nx=1\r\n; note\r\n\r\n[b]\r\n", "a", "z", "3",
        "[a]\r\nx=1\r\n; note\r\nz=3\r\n\r\n[b]\r\n");
    row("new key in empty section", "[a]\n\n[b]\n", "a", "z", "3", "[a]\nz=3\n\n[b]\n");
    row("new key in CR file", "[a]\rx=1\r", "a", "y", "2", "[a]\rx=1\ry=2\r");
    row("new key, last line completed", "[a]\r\nx=1", "a", "y", "2", "[a]\r\nx=1\r\ny=2\r\n");
    row("new key after header without ending", "[a]", "a", "y", "2", "[a]\r\ny=2\r\n");
    row("new key in first of equal sections", "[a]\nx=1\n[A]\ny=2\n", "a", "y", "3",
        "[a]\nx=1\ny=3\n[A]\ny=2\n");
    row("new key after line without equals", "[a]\nx\n", "a", "x", "1", "[a]\nx\nx=1\n");
    row("key above sections is not the key", "x=1\n[a]\n", "a", "x", "2", "x=1\n[a]\nx=2\n");
    row("new key in open-bracket section", "[abc\nx=1\n", "abc", "y", "2", "[abc\nx=1\ny=2\n");
    row("file's first ending used", "[a]\nx=1\r\n", "a", "y", "2", "[a]\nx=1\r\ny=2\n");

    row("new section at end", "[a]\nx=1\n", "b", "y", "2", "[a]\nx=1\n[b]\ny=2\n");
    row("new section, last line completed", "[a]\nx=1", "b", "y", "2", "[a]\nx=1\n[b]\ny=2\n");
    row("new section after blank lines", "[a]\r\nx=1\r\n\r\n", "b", "y", "2",
        "[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n");
    row("new section spelt as given", "", " Menu ", " X ", "1", "[Menu]\r\nX=1\r\n");
    row("comment is no section", "[a]\n;[b]\n", "b", "y", "2", "[a]\n;[b]\n[b]\ny=2\n");

    row("mark kept, new section", "\xEF\xBB\xBF", "a", "x", "1", "\xEF\xBB\xBF[a]\r\nx=1\r\n");
    row("mark kept, replace", "\xEF\xBB\xBF[a]\nx=1\n", "a", "x", "2", "\xEF\xBB\xBF[a]\nx=2\n");
    row("other bytes untouched",
        "; \xE4\xF6\xFC comment\r\n\r\n[a]\r\n  y =  \xA0 7 \r\nodd "
        "line\r\nx=1\r\n[b]\tz\r\nq=\x80\r\n",
        "a", "x", "2",
        "; \xE4\xF6\xFC comment\r\n\r\n[a]\r\n  y =  \xA0 7 \r\nodd "
        "line\r\nx=2\r\n[b]\tz\r\nq=\x80\r\n");
}

void TestProfile::write() {
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, section);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, after);

    if (!before.isNull()) {
        writeBytes(file(), before);
    }
    QCOMPARE(WritePrivateProfileStringA(section, key, value, file()), TRUE);
    QCOMPARE(readBytes(file()), after);
    if (value == value.trimmed() && !value.startsWith('"')) {
        QCOMPARE(readKey(file(), section, key), value);
    }
    QVERIFY(!temporaryFilesIn(dir_->path()));
}

void TestProfile::writeReplacesWholeFile() {
    const auto inode = [this] {
        struct stat st {};
        return ::stat(file(), &st) == 0 ? st.st_ino : ino_t(0);
    };
    writeBytes(file(), "[a]\nx=1\n");
    const ino_t before = inode();
    QCOMPARE(WritePrivateProfileStringA("a", "x", "1", file()), TRUE);
    QCOMPARE(inode(), before); // nothing to change: the file is not touched
    QCOMPARE(WritePrivateProfileStringA("a", "x", "2", file()), TRUE);
    QVERIFY(inode() != before); // a new file took the old one's place
}

void TestProfile::shortWriteKeepsOldFile() {
    const QByteArray old = "[a]\r\nx=1\r\n";
    writeBytes(file(), old);
    const QByteArray value(4000, 'v');
    // A child process with a file-size limit: the kernel writes up to the limit and then
    // reports EFBIG, as SIGXFSZ is ignored.
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        const rlimit limit{1000, 1000};
        std::signal(SIGXFSZ, SIG_IGN);
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            ::_exit(3);
        }
        ::_exit(WritePrivateProfileStringA("a", "x", value, file()) ? 1 : 0);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0); // the call returned FALSE
    QCOMPARE(readBytes(file()), old);
    QVERIFY(!temporaryFilesIn(dir_->path()));
}

void TestProfile::hardLinkedFileShrinks() {
    writeBytes(file(), "[a]\r\nx=1234567890\r\ny=2\r\n");
    QCOMPARE(::link(file(), file("other.ini")), 0);
    QCOMPARE(WritePrivateProfileStringA("a", "x", "1", file()), TRUE);
    const QByteArray expected = "[a]\r\nx=1\r\ny=2\r\n";
    QCOMPARE(readBytes(file()), expected);
    QCOMPARE(readBytes(file("other.ini")), expected);
}

void TestProfile::writeRefused_data() {
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("value");

    QTest::newRow("LF in value") << QByteArray("a") << QByteArray("x") << QByteArray("1\n[b]");
    QTest::newRow("CR in value") << QByteArray("a") << QByteArray("x") << QByteArray("1\rx=2");
    QTest::newRow("LF in key") << QByteArray("a") << QByteArray("x\ny") << QByteArray("1");
    QTest::newRow("CR in section") << QByteArray("a\r") << QByteArray("x") << QByteArray("1");
    QTest::newRow("] in section") << QByteArray("a]b") << QByteArray("x") << QByteArray("1");
    QTest::newRow("= in key") << QByteArray("a") << QByteArray("x=y") << QByteArray("1");
    QTest::newRow("empty key") << QByteArray("a") << QByteArray(" \t") << QByteArray("1");
    QTest::newRow("empty section") << QByteArray("") << QByteArray("x") << QByteArray("1");
    QTest::newRow("key like a section") << QByteArray("a") << QByteArray("[b") << QByteArray("1");
    QTest::newRow("key like a comment") << QByteArray("a") << QByteArray(";x") << QByteArray("1");
}

void TestProfile::writeRefused() {
    QFETCH(QByteArray, section);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, value);

    const QByteArray before = "[a]\r\nx=0\r\n";
    writeBytes(file(), before);
    QCOMPARE(WritePrivateProfileStringA(section, key, value, file()), FALSE);
    QCOMPARE(readBytes(file()), before);
    QCOMPARE(WritePrivateProfileStringA(section, key, value, file("new.ini")), FALSE);
    QVERIFY(!QFile::exists(QFile::decodeName(file("new.ini"))));
}

void TestProfile::hostileFiles_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("expected"); // value of [a] x

    QByteArray garbage(64 * 1024, '\0');
    QRandomGenerator random(42);
    for (char& c : garbage) {
        c = char(random.bounded(256));
    }
    QByteArray big;
    for (int i = 0; big.size() < 5 * 1024 * 1024; ++i) {
        big += "[s" + QByteArray::number(i) + "]\r\nx=" + QByteArray::number(i) + "\r\ny=1\r\n";
    }
    QTest::newRow("garbage") << garbage << QByteArray("<default>");
    static constexpr char nul[] = "\0[a]\0\n\0x\0=1\n[a]\nx=\0\0\n";
    QTest::newRow("NUL bytes") << QByteArray(nul, sizeof nul - 1) << QByteArray();
    QTest::newRow("only endings") << QByteArray(1000, '\r') << QByteArray("<default>");
    QTest::newRow("5 MB") << big + "[a]\r\nx=last\r\n" << QByteArray("last");
    QTest::newRow("100000 character line")
        << "[a]\r\nx=" + QByteArray(100000, 'v') << QByteArray(1023, 'v');
    QTest::newRow("100000 character section")
        << "[" + QByteArray(100000, 'a') + "]\nx=1\n[a]\nx=2" << QByteArray("2");
}

void TestProfile::hostileFiles() {
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, expected);

    writeBytes(file(), content);
    QCOMPARE(readKey(file(), "a", "x"), expected);
    QCOMPARE(WritePrivateProfileStringA("new", "key", "value", file()), TRUE);
    QCOMPARE(readKey(file(), "new", "key"), QByteArray("value"));
    QVERIFY(readBytes(file()).startsWith(content));
}

void TestProfile::nullArguments() {
    writeBytes(file(), "[a]\nx=1\n");
    char buffer[8] = "#######";
    QCOMPARE(GetPrivateProfileStringA(nullptr, "x", "d", buffer, 8, file()), DWORD(0));
    QCOMPARE(GetPrivateProfileStringA("a", nullptr, "d", buffer, 8, file()), DWORD(0));
    QCOMPARE(GetPrivateProfileStringA("a", "x", "d", buffer, 8, nullptr), DWORD(0));
    QCOMPARE(GetPrivateProfileStringA("a", "x", "d", nullptr, 8, file()), DWORD(0));
    QCOMPARE(GetPrivateProfileStringA("a", "y", nullptr, buffer, 8, file()), DWORD(0));
    QCOMPARE(buffer[0], '\0');
    QCOMPARE(WritePrivateProfileStringA(nullptr, "x", "2", file()), FALSE);
    QCOMPARE(WritePrivateProfileStringA("a", nullptr, "2", file()), FALSE);
    QCOMPARE(WritePrivateProfileStringA("a", "x", nullptr, file()), FALSE);
    QCOMPARE(WritePrivateProfileStringA("a", "x", "2", nullptr), FALSE);
    QCOMPARE(readBytes(file()), QByteArray("[a]\nx=1\n"));
}

void TestProfile::pathIsFolder() {
    QVERIFY(QDir(dir_->path()).mkdir("layout.ini"));
    QCOMPARE(readKey(file(), "a", "x"), QByteArray("<default>"));
    QCOMPARE(WritePrivateProfileStringA("a", "x", "1", file()), FALSE);
    QVERIFY(QFileInfo(QFile::decodeName(file())).isDir());
    QVERIFY(!temporaryFilesIn(dir_->path()));
}

void TestProfile::pathIsPipe() {
    QCOMPARE(::mkfifo(file().constData(), 0600), 0);
    QCOMPARE(readKey(file(), "a", "x"), QByteArray("<default>"));
    QCOMPARE(WritePrivateProfileStringA("a", "x", "1", file()), FALSE);
}

void TestProfile::missingFolder() {
    const QByteArray path = file("missing/layout.ini");
    QCOMPARE(WritePrivateProfileStringA("a", "x", "1", path), FALSE);
    QVERIFY(!QFileInfo::exists(dir_->filePath("missing")));
    QCOMPARE(WritePrivateProfileStringA("a", "x", "1", file() + "/"), FALSE);
}

void TestProfile::unreadableFile() {
    if (::geteuid() == 0) {
        QSKIP("root reads every file");
    }
    writeBytes(file(), "[a]\nx=1\n");
    QCOMPARE(::chmod(file(), 0200), 0);
    QCOMPARE(readKey(file(), "a", "x"), QByteArray("<default>"));
    QCOMPARE(WritePrivateProfileStringA("a", "x", "2", file()), FALSE);
    QCOMPARE(::chmod(file(), 0600), 0);
    QCOMPARE(readBytes(file()), QByteArray("[a]\nx=1\n"));
}

void TestProfile::readOnlyFile() {
    writeBytes(file(), "[a]\nx=1\n");
    QCOMPARE(::chmod(file(), 0444), 0);
    QCOMPARE(readKey(file(), "a", "x"), QByteArray("1"));
    QCOMPARE(WritePrivateProfileStringA("a", "x", "2", file()), FALSE);
    QCOMPARE(WritePrivateProfileStringA("a", "y", "2", file()), FALSE);
    QCOMPARE(readBytes(file()), QByteArray("[a]\nx=1\n"));
    QVERIFY(!temporaryFilesIn(dir_->path()));
}

void TestProfile::permissionsKept() {
    writeBytes(file(), "[a]\nx=1\n");
    // A mode that the umask would change: the new file must get it all the same.
    const mode_t oldMask = ::umask(022);
    const auto restoreMask = qScopeGuard([oldMask] { ::umask(oldMask); });
    QCOMPARE(::chmod(file(), 0666), 0);
    // Root can hand the file to another owner, whom the new file must keep.
    const uid_t owner = ::geteuid() == 0 ? 65534 : ::geteuid();
    const gid_t group = ::geteuid() == 0 ? 65534 : ::getegid();
    QCOMPARE(::chown(file(), owner, group), 0);
    QCOMPARE(WritePrivateProfileStringA("a", "x", "2", file()), TRUE);
    struct stat st {};
    QCOMPARE(::stat(file(), &st), 0);
    QCOMPARE(st.st_mode & 07777, mode_t(0666));
    QCOMPARE(st.st_uid, owner);
    QCOMPARE(st.st_gid, group);
    QCOMPARE(readBytes(file()), QByteArray("[a]\nx=2\n"));
}

void TestProfile::ownerAndGroupKept_data() {
    QTest::addColumn<uint>("writer"); // a user in groups 4321 (own) and 1234, or root
    QTest::addColumn<uint>("owner");
    QTest::addColumn<uint>("group");
    QTest::addColumn<bool>("inPlace");

    QTest::newRow("another user's file, writable through its group")
        << 5000u << 6000u << 1234u << true;
    QTest::newRow("own file, in another of the writer's groups")
        << 5000u << 5000u << 1234u << false;
    QTest::newRow("own file, in a group the writer is not in") << 5000u << 5000u << 7777u << true;
    QTest::newRow("root, another user's file") << 0u << 6000u << 1234u << false;
}

void TestProfile::ownerAndGroupKept() {
    QFETCH(uint, writer);
    QFETCH(uint, owner);
    QFETCH(uint, group);
    QFETCH(bool, inPlace);
    if (::geteuid() != 0) {
        QSKIP("only root can play another user");
    }
    QCOMPARE(::chmod(QFile::encodeName(dir_->path()), 0777), 0);
    writeBytes(file(), "[a]\nx=1\n");
    QCOMPARE(::chmod(file(), 0664), 0);
    QCOMPARE(::chown(file(), owner, group), 0);
    struct stat before {};
    QCOMPARE(::stat(file(), &before), 0);

    const QByteArray path = file();
    const pid_t child = ::fork();
    if (child == 0) {
        const gid_t groups[] = {1234};
        if (writer != 0 &&
            (::setgroups(1, groups) != 0 || ::setgid(4321) != 0 || ::setuid(writer) != 0)) {
            ::_exit(2);
        }
        ::_exit(WritePrivateProfileStringA("a", "x", "2", path) == TRUE ? 0 : 1);
    }
    int status = -1;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    struct stat after {};
    QCOMPARE(::stat(file(), &after), 0);
    QCOMPARE(readBytes(file()), QByteArray("[a]\nx=2\n"));
    QCOMPARE(after.st_uid, uid_t(owner));
    QCOMPARE(after.st_gid, gid_t(group));
    QCOMPARE(after.st_mode & 07777, mode_t(0664));
    QCOMPARE(after.st_ino == before.st_ino, inPlace);
    QVERIFY(!temporaryFilesIn(dir_->path()));
}

void TestProfile::inPlaceWriteOnFullDiskFailsWhole() {
    // A file with a second name is rewritten in place; the disk fills up in the middle of
    // it, which a limit on the file size stands in for (a write past it fails).
    QByteArray old = "[a]\nx=1\n";
    while (old.size() < 10000) {
        old += "; padding line " + QByteArray::number(old.size()) + "\n";
    }
    writeBytes(file(), old);
    QCOMPARE(::link(file(), file("other.ini")), 0);

    rlimit saved{};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved;
    limit.rlim_cur = rlim_t(old.size() + 10);
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    const BOOL written = WritePrivateProfileStringA("a", "x", QByteArray(100, '7'), file());
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    QCOMPARE(written, FALSE);
    QCOMPARE(readBytes(file()), old);
    QCOMPARE(readBytes(file("other.ini")), old);
}

void TestProfile::newFileFollowsUmask() {
    const mode_t old = ::umask(027);
    const BOOL ok = WritePrivateProfileStringA("a", "x", "1", file());
    ::umask(old);
    QCOMPARE(ok, TRUE);
    struct stat st {};
    QCOMPARE(::stat(file(), &st), 0);
    QCOMPARE(st.st_mode & 07777, mode_t(0640));
}

void TestProfile::symlinkKept() {
    // layout.ini -> link2 -> real/target.ini, with a relative link into another folder.
    QVERIFY(QDir(dir_->path()).mkdir("real"));
    writeBytes(file("real/target.ini"), "[a]\nx=1\n");
    QCOMPARE(::symlink("real/target.ini", file("link2")), 0);
    QCOMPARE(::symlink(file("link2"), file()), 0);

    QCOMPARE(WritePrivateProfileStringA("a", "x", "2", file()), TRUE);
    QVERIFY(QFileInfo(QFile::decodeName(file())).isSymLink());
    QVERIFY(QFileInfo(QFile::decodeName(file("link2"))).isSymLink());
    QCOMPARE(readBytes(file("real/target.ini")), QByteArray("[a]\nx=2\n"));
    QVERIFY(!temporaryFilesIn(dir_->path()));
    QVERIFY(!temporaryFilesIn(dir_->filePath("real")));
}

void TestProfile::danglingSymlink() {
    QCOMPARE(::symlink("target.ini", file()), 0);
    QCOMPARE(WritePrivateProfileStringA("a", "x", "1", file()), TRUE);
    QVERIFY(QFileInfo(QFile::decodeName(file())).isSymLink());
    QCOMPARE(readBytes(file("target.ini")), QByteArray("[a]\r\nx=1\r\n"));

    QCOMPARE(::symlink("loop2", file("loop1")), 0);
    QCOMPARE(::symlink("loop1", file("loop2")), 0);
    QCOMPARE(WritePrivateProfileStringA("a", "x", "1", file("loop1")), FALSE);
}

void TestProfile::nonAsciiFileName() {
    const QByteArray path = QFile::encodeName(dir_->path()) + "/\xE4\xF6\xFC\xFF.ini";
    QCOMPARE(WritePrivateProfileStringA("\xC4", "\xE9", "\xFC", path), TRUE);
    QCOMPARE(readKey(path, "\xC4", "\xE9"), QByteArray("\xFC"));
    QCOMPARE(readBytes(path), QByteArray("[\xC4]\r\n\xE9=\xFC\r\n"));
    QCOMPARE(::unlink(path), 0); // a name that QDir cannot spell
}

void TestProfile::failedReplaceLeavesNoTemporary() {
    writeBytes(file(), "[a]\nx=1\n");
    ProfileWriteBatch batch;
    QCOMPARE(WritePrivateProfileStringA("a", "x", "2", file()), TRUE);
    // The file turns into a folder before the batch writes it: the final rename fails.
    QCOMPARE(::unlink(file()), 0);
    QVERIFY(QDir(dir_->path()).mkdir("layout.ini"));
    QCOMPARE(batch.commit().size(), std::size_t(1));
    QVERIFY(QFileInfo(QFile::decodeName(file())).isDir());
    QVERIFY(!temporaryFilesIn(dir_->path()));
}

void TestProfile::staleTemporariesRemoved() {
    // What killed writers left, one still held by a live writer, and a file of the user's.
    const QByteArray stale = file(".layout.ini.k3J9xQ2b.tmp");
    const QByteArray held = file(".layout.ini.Zr8mW1pa.tmp");
    const QByteArray users = file(".layout.ini.backup");
    // Named like temporaries, but not with their suffix's length or letters.
    const QByteArray notes = file(".layout.ini.Notes2024x.tmp");
    const QByteArray dashed = file(".layout.ini.Notes-24.tmp");
    for (const QByteArray& name : {stale, held, users, notes, dashed}) {
        writeBytes(name, "[a]\nx=0\n");
    }
    const int holder = ::open(held, O_RDONLY | O_CLOEXEC);
    QVERIFY(holder >= 0);
    const auto release = qScopeGuard([holder] { ::close(holder); });
    QCOMPARE(::flock(holder, LOCK_EX), 0);

    // Also a write that changes nothing clears them (the kill test covers a changing one).
    writeBytes(file(), "[a]\nx=1\n");
    QCOMPARE(WritePrivateProfileStringA("a", "x", "1", file()), TRUE);
    QVERIFY(!QFile::exists(QFile::decodeName(stale)));
    QVERIFY(QFile::exists(QFile::decodeName(held)));
    QVERIFY(QFile::exists(QFile::decodeName(users)));
    QCOMPARE(WritePrivateProfileStringA("a", "x", "2", file()), TRUE);
    for (const QByteArray& name : {users, notes, dashed}) {
        QVERIFY2(QFile::exists(QFile::decodeName(name)), name);
    }
}

void TestProfile::utf16Files_data() {
    QTest::addColumn<bool>("bigEndian");
    QTest::addColumn<bool>("batched");
    QTest::newRow("LE") << false << false;
    QTest::newRow("BE") << true << false;
    QTest::newRow("LE, in a batch") << false << true;
    QTest::newRow("BE, in a batch") << true << true;
}

void TestProfile::utf16Files() {
    QFETCH(bool, bigEndian);
    QFETCH(bool, batched);

    writeBytes(file(),
               utf16("; K\u00f6ln \U0001F5FA\n\n[win]\r\n  cy = \"20\" \r\nname=\u00c4rger\r\n",
                     bigEndian));
    QCOMPARE(readKey(file(), "WIN", "cy"), QByteArray("20"));
    QCOMPARE(readKey(file(), "win", "name"), QByteArray("\u00c4rger"));
    {
        std::optional<ProfileWriteBatch> batch;
        if (batched) {
            batch.emplace();
        }
        QCOMPARE(WritePrivateProfileStringA("win", "cy", "21", file()), TRUE);
        QCOMPARE(WritePrivateProfileStringA("Gr\u00f6\u00dfe", "x", "\u22124", file()), TRUE);
        // What UTF-16 cannot hold is refused, and nothing of it reaches the file.
        QCOMPARE(WritePrivateProfileStringA("win", "cy", "\xFC", file()), FALSE);
        QCOMPARE(WritePrivateProfileStringA("win", "cy", "\xED\xA0\x80", file()), FALSE);
        if (batch) {
            QVERIFY(batch->commit().empty());
        }
    }
    QCOMPARE(readBytes(file()),
             utf16("; K\u00f6ln \U0001F5FA\n\n[win]\r\ncy=21\r\nname=\u00c4rger\r\n"
                   "[Gr\u00f6\u00dfe]\nx=\u22124\n",
                   bigEndian));
    QCOMPARE(readKey(file(), "Gr\u00f6\u00dfe", "x"), QByteArray("\u22124"));
}

void TestProfile::undecodableFiles_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("expected"); // value of [a] x

    const QByteArray good = utf16("[a]\r\nx=1\r\n", false);
    QTest::newRow("odd byte count") << good + 'y' << QByteArray("1");
    QTest::newRow("lone high surrogate") << good + QByteArray("\x00\xD8", 2) << QByteArray("1");
    QTest::newRow("lone low surrogate") << good + QByteArray("\x00\xDC", 2) << QByteArray("1");
    QTest::newRow("swapped surrogates")
        << good + QByteArray("\x00\xDC\x00\xD8", 4) << QByteArray("1");
    QTest::newRow("UTF-32") << QByteArray("\xFF\xFE\0\0[\0\0\0", 8) << QByteArray("<default>");
}

void TestProfile::undecodableFiles() {
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, expected);

    writeBytes(file(), content);
    QCOMPARE(readKey(file(), "a", "x"), expected);
    QCOMPARE(WritePrivateProfileStringA("a", "x", "2", file()), FALSE);
    {
        ProfileWriteBatch batch;
        QCOMPARE(WritePrivateProfileStringA("a", "x", "2", file()), FALSE);
        QCOMPARE(batch.commit().size(), std::size_t(1));
    }
    QCOMPARE(readBytes(file()), content);
}

QTEST_GUILESS_MAIN(TestProfile)
#include "tst_profile.moc"
