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
        QTest::newRow("1") << 1 << "MainModeACK";
        QTest::newRow("3") << 3 << "MainModeLoading";
        QTest::newRow("4") << 4 << "MainModeDischarge";
        QTest::newRow("11") << 11 << "MainModeCompEmptyTest";
        QTest::newRow("12") << 12 << "MainModeLoadingEnd";
        QTest::newRow("13") << 13 << "MainModeDischargeEnd";
        QTest::newRow("14") << 14 << "MainModeManLoadingPlan";
        QTest::newRow("19") << 19 << "MainModeCustomerProfile";
        QTest::newRow("20") << 20 << "MainModeInclinationTour";
        QTest::newRow("21") << 21 << "MainModeCalibrateFpm";
        QTest::newRow("22") << 22 << "MainModeDrainFpm";
        QTest::newRow("23 unknown") << 23 << "23";
        QTest::newRow("-1 unknown") << -1 << "-1";
        QTest::newRow("large unknown") << 1000000 << "1000000";
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
        QTest::newRow("0") << 0 << "REPLY_NO_SUCCESS";
        QTest::newRow("1") << 1 << "REPLY_SUCCESS";
        QTest::newRow("2") << 2 << "REPLY_FALSE";
        QTest::newRow("3") << 3 << "REPLY_TRUE";
        QTest::newRow("2001") << 2001 << "SUCCESS_AFTER_DELETE_ONE_ROW";
        QTest::newRow("-1000") << -1000 << "VALIDATION_ERROR";
        QTest::newRow("-1003") << -1003 << "DB_ACCESS_WHILE_BACKUP";
        QTest::newRow("-1004") << -1004 << "Object_Array_Pointer_NULL";
        QTest::newRow("-1006") << -1006 << "Delete_CompNo_NULL";
        QTest::newRow("-2017") << -2017 << "SQL_QUERY_EXEC_SQLITE_VERSION";
        QTest::newRow("-2025") << -2025 << "SQL_QUERY_EXEC_NO_ROWS_AFFECTED";
        QTest::newRow("-2065") << -2065 << "SQL_QUERY_EXEC_CREATE_INDEX";
        QTest::newRow("-2081") << -2081 << "SQL_SELECT_DATA_POINTER_0";
        QTest::newRow("-3000") << -3000 << "MAX_ROWS_ENABLED_EXCEED";
        QTest::newRow("-3003") << -3003 << "TABLE_EMPTY";
        QTest::newRow("7 unknown") << 7 << "7";
        QTest::newRow("-5 unknown") << -5 << "-5";
        QTest::newRow("-1007 unknown") << -1007 << "-1007";
    }
    void replyCodes()
    {
        QFETCH(int, iCode);
        QFETCH(QString, sName);
        QCOMPARE(replyCodeName(iCode), sName);
    }

    void onlyOneSuccess()
    {
        QCOMPARE(REPLY_SUCCESS, 1);
        QCOMPARE(replyCodeName(REPLY_SUCCESS), QStringLiteral("REPLY_SUCCESS"));
    }
};

QTEST_APPLESS_MAIN(TestTextTables)
#include "tst_texttables.moc"
