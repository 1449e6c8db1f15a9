#include "files/cinfofile.h"
#include "tests/support/cfakefilesource.h"
#include "tests/support/clogentrytext.h"
#include "tests/support/csandboxroot.h"
#include "tests/support/ctable.h"

namespace
{
template <class TRecord> CRecord *answering(std::optional<TRecord> &record)
{
    if (!record)
        record.emplace();
    return &*record;
}

// The record an infofile.tsv key names; naming it makes it answer.
CRecord *recordOf(CFakeFileSource &source, const QString &sName)
{
    if (sName == "nrp")
        return answering(source.runGeneral);
    if (sName == "lrp")
        return answering(source.runGeneralWM);
    if (sName == "ppp")
        return answering(source.runGsmGprs);
    if (sName == "dial")
        return answering(source.setGsmGprs);
    if (sName == "vpn")
        return answering(source.runVpn);
    if (sName == "lgm")
        return answering(source.setGeneral);
    return sName == "gsm" ? static_cast<CRecord *>(&source.gsm) : &source.seal;
}
} // namespace

class TestInfoFile : public QObject
{
    Q_OBJECT

    CSandboxRoot m_sandbox;

  private slots:
    void initTestCase() { QVERIFY(m_sandbox.start()); }
    void init() { QVERIFY(m_sandbox.freshDir(QStringLiteral("/tmp"))); }

    TABLE_TEST(build, "infofile.tsv")
    {
        CFakeFileSource source;
        for (const QString &sValue : row[0].split(QLatin1Char(';'))) {
            const QString sKey = sValue.section(QLatin1Char('='), 0, 0), sText = sValue.section(QLatin1Char('='), 1);
            source.bGsmReadable &= sKey != "gsmNA";
            source.bSealReadable &= sKey != "sealNA";
            if (sKey == "zone")
                source.general.setField(71, sText);
            else if (sKey == "now")
                source.dtNow = utcOf(sText);
            else if (sKey.contains(QLatin1Char('.')))
                QVERIFY(setFieldText(*recordOf(source, sKey.section('.', 0, 0)), sKey.section('.', 1).toInt(), sText));
        }
        QString sPath;
        QVERIFY(BuildInfoFile(source, sPath));
        QCOMPARE(sPath, m_sandbox.path("/tmp/" + row[1]));
        const QByteArray baFile = fileBytes(sPath);
        if (row[2].endsWith(".info"))
            QCOMPARE(baFile, goldenBytes(QFINDTESTDATA(row[2])));
        else
            for (const QString &sLine : cellTexts(row[2]))
                QVERIFY2(baFile.contains(sLine.toLatin1()), qPrintable(sLine));
        QCOMPARE(source.iSealReads, row[3].toInt());
        QCOMPARE(source.logged(QStringLiteral("INFO-FILE: LGM is not active")), row[4] == "1");
    }

    // Only a file of the same name is replaced; without /tmp nothing is built.
    void replacesOnlyItsOwnName()
    {
        CFakeFileSource source;
        source.bGsmReadable = false;
        QFile stale(m_sandbox.path("/tmp/tk_unknown.info")), older(m_sandbox.path("/tmp/tk_NRP-0041.info"));
        QVERIFY(stale.open(QIODevice::WriteOnly) && stale.write(QByteArray(4000, 'x')) == 4000 && stale.flush());
        QVERIFY(older.open(QIODevice::WriteOnly) && older.write("older") == 5 && older.flush());
        QString sPath;
        QVERIFY(BuildInfoFile(source, sPath));
        QCOMPARE(fileBytes(sPath), goldenBytes(QFINDTESTDATA("tk_unknown.info")));
        QCOMPARE(fileBytes(older.fileName()), QByteArray("older"));
        QVERIFY(m_sandbox.removeDir(QStringLiteral("/tmp")));
        QVERIFY(!BuildInfoFile(source, sPath));
    }
};

QTEST_GUILESS_MAIN(TestInfoFile)
#include "tst_infofile.moc"
