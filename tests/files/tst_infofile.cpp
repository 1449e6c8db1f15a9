#include "files/cinfofile.h"
#include "tests/support/cfakefilesource.h"
#include "tests/support/clogentrytext.h"
#include "tests/support/csandboxroot.h"
#include "tests/support/ctable.h"

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
        QVERIFY(source.hold(row[0]));
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
