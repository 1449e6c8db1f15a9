#include "logbook/clogseal.h"

#include <QTest>

namespace {
// A seal row written by hand: header, payload, seal kind, then the seal record
// as far as its two state fields (the rest of the record is missing and reads
// as unflagged). The record version is the parameter.
QByteArray sealRow(const char *pszRecordVersion, const char *pszState)
{
    return QByteArray::fromHex(QByteArray("00000100"            // header version
                                          "0000000b"            // LogType 11
                                          "00000fa1"            // LogSubType 4001
                                          "0000000000000010"    // RowID 16
                                          "0000000000000000"    // SecondaryRowID
                                          "0025851d" "02932e00" "02" // 2020-02-29 12:00:00 UTC
                                          "ffffffff"            // no compartment
                                          "00000000"            // AuxValue
                                          "00000100"            // payload version 256
                                          "00000003" "abcdef"   // reserve
                                          "00000002")           // SealKind 2
                               + pszRecordVersion
                               + "00000020" "0000000000000000000000000000000000000000000000000000000000000000"
                               + "01" + pszState // bSealState, flagged
                               + "01" "00000005"); // iSealState 5, flagged
}
} // namespace

class TestSeal : public QObject
{
    Q_OBJECT

private slots:
    // The seal line does not depend on the kind of seal or the subtype.
    void lines_data()
    {
        QTest::addColumn<int>("iSealKind");
        QTest::addColumn<int>("iSubType");
        QTest::addColumn<bool>("bSealState");
        QTest::addColumn<QString>("sWant");
        for (int iKind : {0, 1, 2, 5, -1}) {
            QTest::addRow("kind %d closed", iKind) << iKind << 4000 + iKind << true << "42,20200229120000,,31,12,0";
            QTest::addRow("kind %d broken", iKind) << iKind << 4000 + iKind << false << "42,20200229120000,,31,11,0";
        }
        QTest::newRow("no subtype") << 1 << -1 << true << "42,20200229120000,,31,12,0";
    }
    void lines()
    {
        QFETCH(int, iSealKind);
        QFETCH(int, iSubType);
        QFETCH(bool, bSealState);
        QFETCH(QString, sWant);
        CLogSeal entry;
        entry.SealKind = iSealKind;
        entry.LogSubType = iSubType;
        entry.Compartment = 3;
        entry.DateTime = QDateTime(QDate(2020, 2, 29), QTime(12, 0), Qt::UTC);
        entry.Seal.setSealState(bSealState);
        QCOMPARE(entry.getFTLStrings(0), QStringList{sWant});
        // The same after a trip through the logbook.
        QCOMPARE(CLogSeal(entry.toRow()).getFTLStrings(0), QStringList{sWant});
    }

    void offsets_data()
    {
        QTest::addColumn<int>("iOffset");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("zero") << 0 << "42,20200229120000,,31,12,0";
        QTest::newRow("forward over the leap day") << 43200 << "42,20200301000000,,31,12,0";
        QTest::newRow("backwards") << -43201 << "42,20200228235959,,31,12,0";
    }
    void offsets()
    {
        QFETCH(int, iOffset);
        QFETCH(QString, sWant);
        CLogSeal entry;
        entry.DateTime = QDateTime(QDate(2020, 2, 29), QTime(12, 0), Qt::UTC);
        entry.Seal.setSealState(true);
        QCOMPARE(entry.getFTLStrings(iOffset), QStringList{sWant});
    }

    // A seal record older than the one the daemon knows is not taken over:
    // the state stays as made, broken.
    void recordVersion_data()
    {
        QTest::addColumn<QByteArray>("baVersion");
        QTest::addColumn<QByteArray>("baState");
        QTest::addColumn<QString>("sWant");
        QTest::addColumn<int>("iSealState");
        QTest::newRow("256 closed") << QByteArray("00000100") << QByteArray("01") << "42,20200229120000,,31,12,0" << 5;
        QTest::newRow("256 broken") << QByteArray("00000100") << QByteArray("00") << "42,20200229120000,,31,11,0" << 5;
        QTest::newRow("300 closed") << QByteArray("0000012c") << QByteArray("01") << "42,20200229120000,,31,12,0" << 5;
        QTest::newRow("255 closed reads as broken")
            << QByteArray("000000ff") << QByteArray("01") << "42,20200229120000,,31,11,0" << 0;
        QTest::newRow("0 closed reads as broken")
            << QByteArray("00000000") << QByteArray("01") << "42,20200229120000,,31,11,0" << 0;
    }
    void recordVersion()
    {
        QFETCH(QByteArray, baVersion);
        QFETCH(QByteArray, baState);
        QFETCH(QString, sWant);
        QFETCH(int, iSealState);
        const CLogSeal entry(sealRow(baVersion.constData(), baState.constData()));
        QCOMPARE(entry.LogType, 11);
        QCOMPARE(entry.LogSubType, 4001);
        QCOMPARE(entry.RowID, 16ULL);
        QCOMPARE(entry.SealKind, 2);
        QCOMPARE(entry.Seal.iSealState(), iSealState);
        QCOMPARE(entry.getFTLStrings(0), QStringList{sWant});
    }

    void wmEntry()
    {
        const CLogSeal entry(sealRow("00000100", "01"));
        QVERIFY(entry.isWmEntry());
        QCOMPARE(entry.wmData().toHex(), QByteArray("abcdef"));
        const CLogSeal fresh;
        QCOMPARE(fresh.LogType, 11);
        QVERIFY(fresh.wmData().isEmpty());
        QVERIFY(fresh.isWmEntry());
    }
};

QTEST_GUILESS_MAIN(TestSeal)
#include "tst_seal.moc"
