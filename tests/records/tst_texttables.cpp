#include "records/cmainmode.h"
#include "records/creplycode.h"

#include <QTest>

class TestTextTables : public QObject
{
    Q_OBJECT

private slots:
    void mainModes_data()
    {
        QTest::addColumn<int>("iMode");
        QTest::addColumn<QString>("sText");
        QTest::newRow("0") << 0 << "MainModeUndefined";
        QTest::newRow("3") << 3 << "MainModeLoading";
        QTest::newRow("22 last") << 22 << "MainModeDrainFpm";
        QTest::newRow("23 unknown") << 23 << "23";
        QTest::newRow("-1 unknown") << -1 << "-1";
    }
    void mainModes()
    {
        QFETCH(int, iMode);
        QFETCH(QString, sText);
        QCOMPARE(getMainModeText(iMode), sText);
    }

    void replyCodes_data()
    {
        QTest::addColumn<int>("iCode");
        QTest::addColumn<QString>("sName");
        // Codes outside the table read as their number.
        const QStringList asCodes = {"0 REPLY_NO_SUCCESS", "1 REPLY_SUCCESS", "-1003 DB_ACCESS_WHILE_BACKUP",
                                     "-3003 TABLE_EMPTY", "7 7", "-5 -5"};
        for (const QString &sCode : asCodes)
            QTest::newRow(qPrintable(sCode)) << sCode.section(' ', 0, 0).toInt() << sCode.section(' ', 1);
    }
    void replyCodes()
    {
        QFETCH(int, iCode);
        QFETCH(QString, sName);
        QCOMPARE(replyCodeName(iCode), sName);
    }
};

QTEST_APPLESS_MAIN(TestTextTables)
#include "tst_texttables.moc"
