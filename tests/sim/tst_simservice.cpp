#include "logbook/clogbase.h"
#include "logbook/cloggsmftp.h"
#include "records/ccommrecords.h"
#include "records/crecordregistry.h"
#include "records/creplycode.h"
#include "records/cwmrecords.h"
#include "sim/cfieldtext.h"
#include "sim/clogrowbuilder.h"
#include "sim/crecordfields.h"
#include "sim/cserviceoperations.h"
#include "sim/csimreply.h"
#include "simservicefixture.h"

#include <QtTest>

namespace {

const int WRITER_PID = 4711;
const QString SIGNALS_INTERFACE = QStringLiteral("com.Velkor.Tankora.Signals");

QVariantList setArguments(const CServiceOperation &op, int iIndex, const QByteArray &baBytes)
{
    QVariantList aArgs{WRITER_PID};
    if (op.hasIndex())
        aArgs.append(iIndex);
    aArgs.append(baBytes);
    return aArgs;
}

QVariant setRecord(const CServiceOperation &op, int iIndex, const QByteArray &baBytes)
{
    return CSimServiceFixture::callValue(serviceObjectPath(op.eObject), serviceInterface(op.eObject),
                                         op.setMethod(), setArguments(op, iIndex, baBytes));
}

QByteArray getRecord(const CServiceOperation &op, int iIndex)
{
    const QVariantList aArgs = op.eIndex == EIndexKind::Index ? QVariantList{iIndex} : QVariantList{};
    return CSimServiceFixture::callValue(serviceObjectPath(op.eObject), serviceInterface(op.eObject),
                                         op.getMethod(), aArgs)
        .toByteArray();
}

QByteArray filterBytes(qint64 llStartRowID, const QDateTime &dtStart = QDateTime())
{
    CLogbookFilter filter;
    filter.setStartRowID(llStartRowID);
    if (dtStart.isValid())
        filter.setStart(dtStart);
    return filter.toByteArray();
}

QByteArray logbookCall(const char *pszMethod, const QByteArray &baFilter)
{
    return CSimServiceFixture::callValue(QStringLiteral("/Logbook"), QStringLiteral("com.Velkor.Tankora.Logbook"),
                                         QLatin1String(pszMethod), {baFilter})
        .toByteArray();
}

QByteArray rowOf(qint32 iLogType, const QDateTime &dt)
{
    CLogRowParts oParts;
    oParts.LogType = iLogType;
    oParts.DateTime = dt;
    return buildLogRow(oParts);
}

QDateTime utc(int iHour, int iMinute)
{
    return QDateTime(QDate(2026, 12, 1), QTime(iHour, iMinute), Qt::UTC);
}

void sendSignal(const char *pszName, const QVariantList &aArguments)
{
    QDBusMessage message = QDBusMessage::createSignal(QStringLiteral("/Signals"), SIGNALS_INTERFACE,
                                                      QLatin1String(pszName));
    message.setArguments(aArguments);
    QVERIFY(QDBusConnection::sessionBus().send(message));
}

} // namespace

class tst_SimService : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void setGetRoundTrip_data();
    void setGetRoundTrip();
    void changeSignalCarriesWriterPid_data();
    void changeSignalCarriesWriterPid();
    void getLogbookFilter_data();
    void getLogbookFilter();
    void trackingRowsApart();
    void gsmFtpEntriesGetRowIdsAndStamps();
    void gsmFtpOfAnotherTypeIsRefused();
    void productsPastTheLast();
    void malformedSetGetsErrorCode_data();
    void malformedSetGetsErrorCode();
    void wrongArgumentsGetBusError();
    void unknownProcessIsAskedAndStarted();
    void offlineModeFromTheService();

private:
    void fillRecord(CRecord &record, const QStringList &asFieldValues);
    CSimServiceFixture m_service;
};

void tst_SimService::init()
{
    QVERIFY(m_service.start());
}

void tst_SimService::cleanup()
{
    m_service.stop();
}

void tst_SimService::fillRecord(CRecord &record, const QStringList &asFieldValues)
{
    for (const QString &sPair : asFieldValues) {
        const int iEq = sPair.indexOf(QLatin1Char('='));
        QString sError;
        QVERIFY2(setFieldFromText(record, sPair.left(iEq).toInt(), sPair.mid(iEq + 1), &sError), qPrintable(sError));
    }
}

void tst_SimService::setGetRoundTrip_data()
{
    QTest::addColumn<QString>("sRecord");
    QTest::addColumn<int>("iIndex");
    QTest::addColumn<QStringList>("asFields"); // "field=value"
    QTest::newRow("gsm/gprs setup") << "CSetGsmGprs" << 0 << QStringList{"3=internet.apn", "6=45", "11=1"};
    QTest::newRow("ftp data setup") << "CSetGsmGprsFtpData" << 0 << QStringList{"1=127.0.0.1:2121", "2=truck"};
    QTest::newRow("link state") << "CRunGsmGprs" << 0 << QStringList{"1=1", "5=10.64.0.2"};
    QTest::newRow("gsm module") << "CRunGsm" << 0 << QStringList{"1=Telit", "9=4"};
    QTest::newRow("sw update schedule") << "CSetFtpSwUpdate" << 0 << QStringList{"4=1", "5=3", "6=30"};
    QTest::newRow("can setup 2") << "CSetCan" << 2 << QStringList{"1=1"};
    QTest::newRow("compartment 3") << "CRunCompNonWM" << 3 << QStringList{"3=2"};
    QTest::newRow("seal state on the wm name") << "CRunSealStateLGMWM" << 0 << QStringList{"1=true"};
}

void tst_SimService::setGetRoundTrip()
{
    QFETCH(QString, sRecord);
    QFETCH(int, iIndex);
    QFETCH(QStringList, asFields);
    const CServiceOperation *pOp = findOperationByRecord(sRecord);
    QVERIFY(pOp);
    QVERIFY(getRecord(*pOp, iIndex).isEmpty());
    std::unique_ptr<CRecord> pWritten = makeRecord(sRecord);
    fillRecord(*pWritten, asFields);
    QCOMPARE(setRecord(*pOp, iIndex, pWritten->toByteArray()).toInt(), REPLY_SUCCESS);
    std::unique_ptr<CRecord> pRead = makeRecord(sRecord);
    QVERIFY(pRead->fromByteArray(getRecord(*pOp, iIndex)));
    QCOMPARE(recordText(*pRead), recordText(*pWritten));
    if (pOp->hasIndex())
        QVERIFY(getRecord(*pOp, iIndex + 1).isEmpty());
}

void tst_SimService::changeSignalCarriesWriterPid_data()
{
    QTest::addColumn<QString>("sRecord");
    QTest::addColumn<QString>("sSignal");
    QTest::addColumn<int>("iIndex");
    QTest::newRow("link state") << "CRunGsmGprs" << "sigRuntimeGsmGprs" << -1;
    QTest::newRow("transfer status") << "CRunFtpTransferStatus" << "sigRuntimeFtpTransferStatus" << -1;
    QTest::newRow("trigger") << "CRunTriggerFtpTransfer" << "sigRuntimeTriggerFtpTransfer" << -1;
    QTest::newRow("ftp update setup") << "CSetGsmGprsFtpUpdate" << "sigSetupGsmGprsFtpUpdate" << -1;
    QTest::newRow("can setup 1") << "CSetCan" << "sigSetupCan" << 1;
    QTest::newRow("compartment sensor 5") << "CRunCompSensorNonWM" << "sigRuntimeCompSensorNonWM" << 5;
    QTest::newRow("seal state wm") << "CRunSealStateLGMWM" << "sigRuntimeSealStateLGMWM" << -1;
}

void tst_SimService::changeSignalCarriesWriterPid()
{
    QFETCH(QString, sRecord);
    QFETCH(QString, sSignal);
    QFETCH(int, iIndex);
    const CServiceOperation *pOp = findOperationByRecord(sRecord);
    QVERIFY(pOp);
    CSignalCatcher catcher;
    QVERIFY(catcher.listen(serviceInterface(pOp->eObject), sSignal));
    QCOMPARE(setRecord(*pOp, iIndex, makeRecord(sRecord)->toByteArray()).toInt(), REPLY_SUCCESS);
    QTRY_COMPARE(catcher.aCaught.size(), 1);
    const QVariantList aExpected = iIndex < 0 ? QVariantList{WRITER_PID} : QVariantList{WRITER_PID, iIndex};
    QCOMPARE(catcher.aCaught.first(), aExpected);
}

void tst_SimService::getLogbookFilter_data()
{
    QTest::addColumn<qint64>("llStartRowID");
    QTest::addColumn<QDateTime>("dtStart");
    QTest::addColumn<qint64>("llRowID"); // 0: empty answer
    // Rows 1..3 at 06:00, 07:00, 06:30.
    QTest::newRow("from the start") << qint64(0) << QDateTime() << qint64(1);
    QTest::newRow("start row") << qint64(2) << QDateTime() << qint64(2);
    QTest::newRow("year 1 is no limit") << qint64(1) << QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC)
                                        << qint64(1);
    QTest::newRow("not before dtStart") << qint64(1) << utc(6, 45) << qint64(2);
    QTest::newRow("later row id with earlier stamp skipped") << qint64(3) << utc(6, 45) << qint64(0);
    QTest::newRow("none left") << qint64(4) << QDateTime() << qint64(0);
}

void tst_SimService::getLogbookFilter()
{
    QFETCH(qint64, llStartRowID);
    QFETCH(QDateTime, dtStart);
    QFETCH(qint64, llRowID);
    QCOMPARE(CSimServiceFixture::addRow(rowOf(3, utc(6, 0))), 1LL);
    QCOMPARE(CSimServiceFixture::addRow(rowOf(12, utc(7, 0))), 2LL);
    QCOMPARE(CSimServiceFixture::addRow(rowOf(19, utc(6, 30))), 3LL);
    const QByteArray baRow = logbookCall("getLogbook", filterBytes(llStartRowID, dtStart));
    if (llRowID == 0) {
        QVERIFY(baRow.isEmpty());
        return;
    }
    QCOMPARE(qint64(LogRow::RowID(baRow)), llRowID);
}

void tst_SimService::trackingRowsApart()
{
    QCOMPARE(CSimServiceFixture::addRow(rowOf(3, utc(6, 0))), 1LL);
    QCOMPARE(CSimServiceFixture::addRow(rowOf(LOGTYPE_TRACKING, utc(6, 5))), 1LL);
    QCOMPARE(CSimServiceFixture::addRow(rowOf(LOGTYPE_TRACKING, utc(6, 6))), 2LL);
    const QByteArray baTracking = logbookCall("getLogbookDataTracking", filterBytes(2));
    QCOMPARE(LogRow::LogType(baTracking), LOGTYPE_TRACKING);
    QCOMPARE(LogRow::DateTime(baTracking), utc(6, 6));
    QVERIFY(logbookCall("getLogbook", filterBytes(2)).isEmpty());
}

void tst_SimService::gsmFtpEntriesGetRowIdsAndStamps()
{
    const QDateTime dtBefore = QDateTime::currentDateTimeUtc().addSecs(-1);
    QCOMPARE(CSimServiceFixture::addRow(rowOf(3, utc(6, 0))), 1LL);
    for (const char *pszText : {"GPRS connected", "event file sent", "GPRS disconnected"}) {
        CLogGsmFtp entry;
        entry.Text1 = QLatin1String(pszText);
        QCOMPARE(CSimServiceFixture::callValue(QStringLiteral("/Logbook"),
                                               QStringLiteral("com.Velkor.Tankora.Logbook"),
                                               QStringLiteral("setLogbookGsmFtp"), {WRITER_PID, entry.toRow()})
                     .toInt(),
                 REPLY_SUCCESS);
    }
    qint64 llPrevious = 1;
    for (const char *pszText : {"GPRS connected", "event file sent", "GPRS disconnected"}) {
        CLogGsmFtp stored(logbookCall("getLogbook", filterBytes(llPrevious + 1)));
        QCOMPARE(qint64(stored.RowID), llPrevious + 1);
        QCOMPARE(stored.Text1, QLatin1String(pszText));
        QVERIFY2(stored.DateTime >= dtBefore, qPrintable(stored.DateTime.toString(Qt::ISODate)));
        llPrevious = qint64(stored.RowID);
    }
}

void tst_SimService::gsmFtpOfAnotherTypeIsRefused()
{
    QCOMPARE(CSimServiceFixture::callValue(QStringLiteral("/Logbook"), QStringLiteral("com.Velkor.Tankora.Logbook"),
                                           QStringLiteral("setLogbookGsmFtp"), {WRITER_PID, rowOf(3, utc(6, 0))})
                 .toInt(),
             SimReply::WRONG_TYPE_FOR_THIS_SET);
    QCOMPARE(CSimServiceFixture::callValue(QStringLiteral("/Logbook"), QStringLiteral("com.Velkor.Tankora.Logbook"),
                                           QStringLiteral("setLogbookGsmFtp"), {WRITER_PID, QByteArray("junk")})
                 .toInt(),
             SimReply::VALIDATION_ERROR);
    QVERIFY(logbookCall("getLogbook", filterBytes(0)).isEmpty());
}

void tst_SimService::productsPastTheLast()
{
    const CServiceOperation *pOp = findOperationByRecord(QStringLiteral("CSetProductWM"));
    for (int i = 0; i < 2; ++i) {
        CSetProductWM product;
        product.setField(1, qint32(10 + i));
        QCOMPARE(setRecord(*pOp, i, product.toByteArray()).toInt(), REPLY_SUCCESS);
    }
    for (int i = 0; i < 3; ++i) {
        const QByteArray baProduct =
            CSimServiceFixture::callValue(QStringLiteral("/SetupData"), QStringLiteral("com.Velkor.Tankora.Setup"),
                                          QStringLiteral("getSetupProductWM"), {filterBytes(i)})
                .toByteArray();
        if (i == 2) {
            QVERIFY(baProduct.isEmpty());
            continue;
        }
        CSetProductWM product;
        QVERIFY(product.fromByteArray(baProduct));
        QCOMPARE(product.iProductValue1(), 10 + i);
    }
}

void tst_SimService::malformedSetGetsErrorCode_data()
{
    QTest::addColumn<QString>("sRecord");
    QTest::addColumn<QByteArray>("baBytes");
    QTest::addColumn<int>("iResult");
    CRunGsmGprs link;
    link.setMode(1);
    const QByteArray baLink = link.toByteArray();
    QTest::newRow("empty") << "CRunGsmGprs" << QByteArray() << SimReply::VALIDATION_ERROR;
    QTest::newRow("garbage") << "CRunGsmGprs" << QByteArray("\x00\x00\x01\x00garbage", 11)
                             << SimReply::VALIDATION_ERROR;
    QTest::newRow("cut short") << "CRunGsmGprs" << baLink.left(baLink.size() / 2) << SimReply::VALIDATION_ERROR;
    QTest::newRow("old version") << "CSetGsmGprs" << QByteArray("\x00\x00\x00\x01", 4)
                                 << SimReply::WRONG_TYPE_FOR_THIS_SET;
}

void tst_SimService::malformedSetGetsErrorCode()
{
    QFETCH(QString, sRecord);
    QFETCH(QByteArray, baBytes);
    QFETCH(int, iResult);
    const CServiceOperation *pOp = findOperationByRecord(sRecord);
    CSignalCatcher catcher;
    QVERIFY(catcher.listen(serviceInterface(pOp->eObject), pOp->changeSignal()));
    QCOMPARE(setRecord(*pOp, 0, baBytes).toInt(), iResult);
    // Still answering, nothing stored and nothing announced.
    QVERIFY(m_service.isRunning());
    QVERIFY(getRecord(*pOp, 0).isEmpty());
    QCOMPARE(setRecord(*pOp, 0, makeRecord(sRecord)->toByteArray()).toInt(), REPLY_SUCCESS);
    QTRY_COMPARE(catcher.aCaught.size(), 1);
}

void tst_SimService::wrongArgumentsGetBusError()
{
    const QDBusMessage reply = CSimServiceFixture::call(
        QStringLiteral("com.Velkor.Tankora"), QStringLiteral("/RuntimeData"),
        QStringLiteral("com.Velkor.Tankora.Runtime"), QStringLiteral("setRuntimeGsmGprs"), {QStringLiteral("x")});
    QCOMPARE(reply.type(), QDBusMessage::ErrorMessage);
    const QDBusMessage unknown =
        CSimServiceFixture::call(QStringLiteral("com.Velkor.Tankora"), QStringLiteral("/RuntimeData"),
                                 QStringLiteral("com.Velkor.Tankora.Runtime"), QStringLiteral("getRuntimeCoffee"), {});
    QCOMPARE(unknown.type(), QDBusMessage::ErrorMessage);
    QVERIFY(m_service.isRunning());
    QVERIFY(getRecord(*findOperationByRecord(QStringLiteral("CRunGsm")), 0).isEmpty());
}

void tst_SimService::unknownProcessIsAskedAndStarted()
{
    CSignalCatcher getName;
    CSignalCatcher processStart;
    QVERIFY(getName.listen(SIGNALS_INTERFACE, QStringLiteral("sigGetName")));
    QVERIFY(processStart.listen(SIGNALS_INTERFACE, QStringLiteral("sigProcessStart")));
    const int iService = m_service.servicePid();
    sendSignal("sigTrigger", {4242});
    QTRY_VERIFY(!getName.aCaught.isEmpty());
    QCOMPARE(getName.aCaught.first(), (QVariantList{iService, 4242}));
    sendSignal("sigSendName", {4242, QByteArray("FTP1")});
    QTRY_COMPARE(processStart.aCaught.size(), 1);
    QCOMPARE(processStart.aCaught.first(), (QVariantList{iService, 4242}));
    // A named process is not asked again: the next question is for the
    // newcomer, sent after it.
    getName.aCaught.clear();
    sendSignal("sigTrigger", {4242});
    sendSignal("sigTrigger", {5151});
    QTRY_VERIFY(!getName.aCaught.isEmpty());
    QCOMPARE(getName.aCaught.first(), (QVariantList{iService, 5151}));
}

void tst_SimService::offlineModeFromTheService()
{
    CSignalCatcher offline;
    QVERIFY(offline.listen(SIGNALS_INTERFACE, QStringLiteral("sigOfflineMode")));
    QCOMPARE(CSimServiceFixture::callValue(QStringLiteral("/Sim"), QStringLiteral("com.Velkor.Tankora.Sim"),
                                           QStringLiteral("offlineMode"), {300})
                 .toInt(),
             REPLY_SUCCESS);
    QTRY_COMPARE(offline.aCaught.size(), 1);
    QCOMPARE(offline.aCaught.first(), (QVariantList{m_service.servicePid(), 300}));
}

QTEST_GUILESS_MAIN(tst_SimService)
#include "tst_simservice.moc"
