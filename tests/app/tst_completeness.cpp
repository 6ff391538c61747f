// When a layout file looks like one that another program is still writing.
#include "extras/sync/completeness.h"

#include <QtTest>

class tst_Completeness : public QObject {
    Q_OBJECT

private slots:
    void looksIncomplete_data();
    void looksIncomplete();
};

void tst_Completeness::looksIncomplete_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("incomplete");
    // Against the base "[a]\r\nx=1\r\ny=2\r\n[b]\r\nx=3\r\n".
    QTest::newRow("a value changed") << QByteArray("[a]\r\nx=9\r\ny=2\r\n[b]\r\nx=3\r\n") << false;
    QTest::newRow("a section and a key more")
        << QByteArray("; new\r\n[a]\r\nx=1\r\nz=0\r\ny=2\r\n[b]\r\nx=3\r\n[c]\r\nq=1\r\n") << false;
    QTest::newRow("other line endings") << QByteArray("[a]\nx=1\ny=2\n[b]\rx=3\r") << false;
    QTest::newRow("names in another case")
        << QByteArray("[A]\r\nX=1\r\nY=2\r\n[B]\r\nx=3\r\n") << false;
    QTest::newRow("sections swapped") << QByteArray("[b]\r\nx=3\r\n[a]\r\nx=1\r\ny=2\r\n") << false;
    QTest::newRow("keys swapped") << QByteArray("[a]\r\ny=2\r\nx=1\r\n[b]\r\nx=3\r\n") << false;
    QTest::newRow("a key missing") << QByteArray("[a]\r\nx=1\r\n[b]\r\nx=3\r\n") << true;
    QTest::newRow("a key gone to another section")
        << QByteArray("[a]\r\nx=1\r\n[b]\r\nx=3\r\ny=2\r\n") << true;
    QTest::newRow("a section missing") << QByteArray("[a]\r\nx=1\r\ny=2\r\n") << true;
    QTest::newRow("swapped, and a key missing")
        << QByteArray("[b]\r\nx=3\r\n[a]\r\nx=1\r\n") << true;
    QTest::newRow("the last line cut") << QByteArray("[a]\r\nx=1\r\ny=2\r\n[b]\r\nx=30") << true;
    QTest::newRow("cut inside a line ending")
        << QByteArray("[a]\r\nx=1\r\ny=2\r\n[b]\r\nx=3\r") << false;
    QTest::newRow("only a comment so far") << QByteArray("; written by hand\r\n") << true;
    QTest::newRow("empty") << QByteArray() << true;
}

void tst_Completeness::looksIncomplete() {
    QFETCH(QByteArray, text);
    QFETCH(bool, incomplete);
    const std::string_view base = "[a]\r\nx=1\r\ny=2\r\n[b]\r\nx=3\r\n";
    QCOMPARE(filesync::looksIncomplete(std::string_view(text.constData(), std::size_t(text.size())),
                                       base),
             incomplete);
}

QTEST_APPLESS_MAIN(tst_Completeness)
#include "tst_completeness.moc"
