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
        const char *const apszModes[] = {
            "MainModeUndefined",       "MainModeACK",          "MainModeError",          "MainModeLoading",
            "MainModeDischarge",       "MainModeStatus",       "MainModeMenu",           "MainModeRemote",
            "MainModeCalibrate",       "MainModeTouchCal",     "MainModeWaitSync",       "MainModeCompEmptyTest",
            "MainModeLoadingEnd",      "MainModeDischargeEnd", "MainModeManLoadingPlan", "MainModeUpdate",
            "MainModeLogIn",           "MainModePreset",       "MainModeNoDriver",       "MainModeCustomerProfile",
            "MainModeInclinationTour", "MainModeCalibrateFpm", "MainModeDrainFpm"};
        for (int i = 0; i < 23; ++i)
            QTest::addRow("%d", i) << i << apszModes[i];
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
        const QStringList asCodes = {"0 REPLY_NO_SUCCESS", "1 REPLY_SUCCESS", "2 REPLY_FALSE", "3 REPLY_TRUE",
            "2001 SUCCESS_AFTER_DELETE_ONE_ROW", "-1000 VALIDATION_ERROR", "-1001 WRONG_TYPE_FOR_THIS_SET",
            "-1002 HASH_COMPARE_ERROR", "-1003 DB_ACCESS_WHILE_BACKUP", "-1004 Object_Array_Pointer_NULL",
            "-1005 Delete_ROWID_NULL", "-1006 Delete_CompNo_NULL", "-2000 UPDATE_VALUE_ERROR", "-2001 PARAMETER_ERROR",
            "-2010 SQL_QUERY_EXEC_SELECT", "-2011 SQL_QUERY_EXEC_SELECT_1", "-2016 SQL_QUERY_EXEC_SELECT_LAST",
            "-2017 SQL_QUERY_EXEC_SQLITE_VERSION", "-2020 SQL_QUERY_EXEC_BIND", "-2023 SQL_QUERY_EXEC_INSERT",
            "-2025 SQL_QUERY_EXEC_NO_ROWS_AFFECTED", "-2030 SQL_QUERY_EXEC_DELETE", "-2040 SQL_QUERY_EXEC_CLEAR",
            "-2041 SQL_QUERY_EXEC_CLEAR_LAST", "-2050 SQL_QUERY_EXEC_PRAGMA", "-2060 SQL_QUERY_EXEC_CREATE",
            "-2065 SQL_QUERY_EXEC_CREATE_INDEX", "-2070 SQL_QUERY_PREPARE_BIND", "-2080 SQL_BIND_DATA_POINTER_0",
            "-2081 SQL_SELECT_DATA_POINTER_0", "-3000 MAX_ROWS_ENABLED_EXCEED", "-3001 LOGBOOK_MAIN_LIST_EMPTY",
            "-3002 MAX_ROWS_EXCEED", "-3003 TABLE_EMPTY", "7 7", "-5 -5"};
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
