#include "logbook/clogbase.h"
#include "sim/clogrowbuilder.h"
#include "sim/cservicestore.h"

#include <QtTest>

namespace {
QDateTime utc(int iHour, int iMinute)
{
    return QDateTime(QDate(2026, 12, 1), QTime(iHour, iMinute), Qt::UTC);
}

QByteArray rowAt(qint32 iLogType, const QDateTime &dt)
{
    CLogRowParts oParts;
    oParts.LogType = iLogType;
    oParts.DateTime = dt;
    return buildLogRow(oParts);
}
} // namespace

class tst_SimStore : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void recordsByNameAndIndex();
    void firstRowOfFilter_data();
    void firstRowOfFilter();
    void rowIdsCountUpPerBook();
    void stampGivenByTheService();
    void rowWithoutHeaderIsRefused();
    void fileKeepsRecordsAndRowIds();

private:
    std::unique_ptr<CServiceStore> m_pStore;
};

void tst_SimStore::init()
{
    m_pStore = std::make_unique<CServiceStore>();
    QString sError;
    QVERIFY2(m_pStore->open(QStringLiteral(":memory:"), &sError), qPrintable(sError));
}

void tst_SimStore::recordsByNameAndIndex()
{
    QVERIFY(m_pStore->record(QStringLiteral("CRunCompNonWM"), 2).isNull());
    QVERIFY(m_pStore->putRecord(QStringLiteral("CRunCompNonWM"), 2, "two"));
    QVERIFY(m_pStore->putRecord(QStringLiteral("CRunCompNonWM"), 3, "three"));
    QVERIFY(m_pStore->putRecord(QStringLiteral("CRunCompNonWM"), 2, "two again"));
    QCOMPARE(m_pStore->record(QStringLiteral("CRunCompNonWM"), 2), QByteArray("two again"));
    QCOMPARE(m_pStore->record(QStringLiteral("CRunCompNonWM"), 3), QByteArray("three"));
    QVERIFY(m_pStore->record(QStringLiteral("CRunCompSensorNonWM"), 2).isNull());
}

void tst_SimStore::firstRowOfFilter_data()
{
    QTest::addColumn<qint64>("llStartRowID");
    QTest::addColumn<QDateTime>("dtStart");
    QTest::addColumn<qint64>("llRowID"); // 0: empty answer
    const QDateTime dtNoLimit(QDate(1, 1, 1), QTime(0, 0));
    // Rows 1..4 at 06:00, 07:00, 06:30, 08:00.
    QTest::newRow("from the start") << qint64(0) << dtNoLimit << qint64(1);
    QTest::newRow("start row itself") << qint64(2) << dtNoLimit << qint64(2);
    QTest::newRow("last row") << qint64(4) << dtNoLimit << qint64(4);
    QTest::newRow("none left") << qint64(5) << dtNoLimit << qint64(0);
    QTest::newRow("invalid start time is no limit") << qint64(1) << QDateTime() << qint64(1);
    QTest::newRow("skips earlier rows") << qint64(1) << utc(6, 45) << qint64(2);
    QTest::newRow("time limit inclusive") << qint64(1) << utc(7, 0) << qint64(2);
    QTest::newRow("row id order, not time order") << qint64(3) << utc(6, 15) << qint64(3);
    QTest::newRow("everything too early") << qint64(1) << utc(9, 0) << qint64(0);
}

void tst_SimStore::firstRowOfFilter()
{
    QFETCH(qint64, llStartRowID);
    QFETCH(QDateTime, dtStart);
    QFETCH(qint64, llRowID);
    for (const QDateTime &dt : {utc(6, 0), utc(7, 0), utc(6, 30), utc(8, 0)})
        QVERIFY(m_pStore->appendRow(ELogBook::Main, rowAt(17, dt)) > 0);
    const QByteArray baRow = m_pStore->firstRow(ELogBook::Main, llStartRowID, dtStart);
    if (llRowID == 0) {
        QVERIFY(baRow.isEmpty());
        return;
    }
    QCOMPARE(qint64(LogRow::RowID(baRow)), llRowID);
}

void tst_SimStore::rowIdsCountUpPerBook()
{
    QCOMPARE(m_pStore->appendRow(ELogBook::Main, rowAt(3, utc(6, 0))), qint64(1));
    QCOMPARE(m_pStore->appendRow(ELogBook::Tracking, rowAt(1, utc(6, 0))), qint64(1));
    QCOMPARE(m_pStore->appendRow(ELogBook::Main, rowAt(3, utc(6, 1))), qint64(2));
    QCOMPARE(m_pStore->appendRow(ELogBook::Tracking, rowAt(1, utc(6, 1))), qint64(2));
    QCOMPARE(LogRow::LogType(m_pStore->firstRow(ELogBook::Tracking, 2, QDateTime())), 1);
    QVERIFY(m_pStore->firstRow(ELogBook::Tracking, 3, QDateTime()).isEmpty());
}

void tst_SimStore::stampGivenByTheService()
{
    const QDateTime dtService = utc(21, 30);
    QCOMPARE(m_pStore->appendRow(ELogBook::Main, rowAt(17, utc(6, 0)), dtService), qint64(1));
    const QByteArray baRow = m_pStore->firstRow(ELogBook::Main, 1, QDateTime());
    QCOMPARE(LogRow::DateTime(baRow), dtService);
    // The time filter works on the stamp the service gave.
    QVERIFY(!m_pStore->firstRow(ELogBook::Main, 1, utc(21, 0)).isEmpty());
}

void tst_SimStore::rowWithoutHeaderIsRefused()
{
    QCOMPARE(m_pStore->appendRow(ELogBook::Main, QByteArray("short")), qint64(-1));
    QVERIFY(m_pStore->firstRow(ELogBook::Main, 0, QDateTime()).isEmpty());
    // A refused row uses up no row ID.
    QCOMPARE(m_pStore->appendRow(ELogBook::Main, rowAt(17, utc(6, 0))), qint64(1));
}

void tst_SimStore::fileKeepsRecordsAndRowIds()
{
    QTemporaryDir dir;
    const QString sPath = dir.filePath(QStringLiteral("vehicle.sqlite"));
    QString sError;
    {
        CServiceStore store;
        QVERIFY2(store.open(sPath, &sError), qPrintable(sError));
        QVERIFY(store.putRecord(QStringLiteral("CSetGsm"), 0, "gsm"));
        QCOMPARE(store.appendRow(ELogBook::Main, rowAt(17, utc(6, 0))), qint64(1));
    }
    CServiceStore reopened;
    QVERIFY2(reopened.open(sPath, &sError), qPrintable(sError));
    QCOMPARE(reopened.record(QStringLiteral("CSetGsm"), 0), QByteArray("gsm"));
    // Row IDs go on where the last run stopped, so no ID is handed out twice.
    QCOMPARE(reopened.appendRow(ELogBook::Main, rowAt(17, utc(6, 1))), qint64(2));
}

QTEST_GUILESS_MAIN(tst_SimStore)
#include "tst_simstore.moc"
