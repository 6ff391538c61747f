// The arithmetic of lining up, without a window: how far snapping reaches,
// which gaps count as equal, where a remainder of a distribution goes.
#include "extras/align/snapmath.h"

#include <QtTest>

using namespace align;

class tst_SnapMath : public QObject {
    Q_OBJECT

private slots:
    void snapReach_data();
    void snapReach();
    void gapsToNeighboursAndScreen();
    void distributeNegativeRemainder();
};

void tst_SnapMath::snapReach_data() {
    QTest::addColumn<QRectF>("moving");
    QTest::addColumn<int>("edges");
    QTest::addColumn<double>("reach");
    QTest::addColumn<double>("dx");

    // One other element at 100..140 (centre 120, as the screen's).
    QTest::newRow("4 away snaps") << QRectF(44, 300, 52, 10) << int(NoEdge) << 4.0 << 4.0;
    QTest::newRow("5 away stays") << QRectF(43, 300, 52, 10) << int(NoEdge) << 4.0 << 0.0;
    QTest::newRow("800 %: half a pixel") << QRectF(44, 300, 52, 10) << int(NoEdge) << 0.5 << 0.0;
    QTest::newRow("nearest wins") << QRectF(97, 300, 2, 10) << int(NoEdge) << 4.0 << 1.0;
    // A moved left edge snaps, the right edge that does not move stays out of it.
    QTest::newRow("left edge only") << QRectF(138, 300, 60, 10) << int(LeftEdge) << 4.0 << 2.0;
    QTest::newRow("right edge only") << QRectF(138, 300, 5, 10) << int(RightEdge) << 4.0 << -3.0;
    // Centre 120.5 cannot meet 120 in whole pixels; its edges are too far off.
    QTest::newRow("no half pixel") << QRectF(95, 300, 51, 10) << int(NoEdge) << 4.0 << 0.0;
}

void tst_SnapMath::snapReach() {
    QFETCH(QRectF, moving);
    QFETCH(int, edges);
    QFETCH(double, reach);
    QFETCH(double, dx);
    const QRectF other(100, 0, 40, 10);
    const SnapResult r = snap(moving, edges, snapTargets({&other, 1}), reach);
    QCOMPARE(r.dx, dx);
    QVERIFY(isWhole(r.dx) && isWhole(r.dy));
    QCOMPARE(r.xLines.empty(), dx == 0);
}

void tst_SnapMath::gapsToNeighboursAndScreen() {
    // 20 to the neighbour on the left, 20 to the screen's right edge; the
    // neighbour above does not face it on the left.
    const QRectF others[] = {{100, 50, 20, 30}, {140, 0, 80, 10}};
    const std::vector<Gap> g = gaps(QRectF(140, 60, 80, 20), others);
    const auto side = [&](Gap::Side s) {
        for (const Gap& gap : g)
            if (gap.side == s)
                return gap;
        return Gap{};
    };
    QCOMPARE(side(Gap::Left).size(), 20.0);
    QVERIFY(!side(Gap::Left).toScreen && side(Gap::Left).equal);
    QVERIFY(side(Gap::Right).toScreen && side(Gap::Right).equal);
    QCOMPARE(side(Gap::Top).size(), 50.0);
    QCOMPARE(side(Gap::Bottom).size(), 240.0);
    QVERIFY(!side(Gap::Top).equal);
}

void tst_SnapMath::distributeNegativeRemainder() {
    // From 40 to 50 with 31 pixels between: -21 in two gaps, -10 first, then -11.
    const QRectF rects[] = {{0, 0, 40, 5}, {50, 0, 11, 5}, {10, 0, 31, 5}};
    const std::vector<QRectF> d = distributed(rects, Axis::Horizontal);
    QCOMPARE(d[0], rects[0]);
    QCOMPARE(d[1], rects[1]);
    QCOMPARE(d[2], QRectF(30, 0, 31, 5));
}

QTEST_APPLESS_MAIN(tst_SnapMath)
#include "tst_snapmath.moc"
