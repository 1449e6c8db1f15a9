#include "records/cmainmode.h"
#include "records/creplycode.h"

#include <QFile>
#include <QTest>

#include <functional>

using FnText = std::function<QString(int)>;
Q_DECLARE_METATYPE(FnText)

// Each table file: a code and its text per line; a code not in the vehicle's
// table is listed with its own number as the text.
class TestTextTables : public QObject
{
    Q_OBJECT

  private slots:
    void texts_data()
    {
        QTest::addColumn<FnText>("fnText");
        QTest::addColumn<int>("iCode");
        QTest::addColumn<QString>("sText");
        const QList<QPair<QString, FnText>> aTables = {{"main-modes.txt", getMainModeText},
                                                       {"reply-codes.txt", replyCodeName}};
        for (const auto &table : aTables) {
            QFile file(QStringLiteral(FTP_TEST_DATA "/") + table.first);
            QVERIFY2(file.open(QIODevice::ReadOnly | QIODevice::Text), qPrintable(table.first));
            int iRows = 0;
            while (!file.atEnd()) {
                const QString sLine = QString::fromUtf8(file.readLine()).section('#', 0, 0).simplified();
                const QStringList asRow = sLine.split(' ');
                if (sLine.isEmpty())
                    continue;
                QVERIFY2(asRow.size() == 2, qPrintable(sLine));
                QTest::addRow("%s %s", qPrintable(table.first), qPrintable(asRow[0]))
                    << table.second << asRow[0].toInt() << asRow[1];
                ++iRows;
            }
            QVERIFY(iRows > 0);
        }
    }
    void texts()
    {
        QFETCH(FnText, fnText);
        QFETCH(int, iCode);
        QFETCH(QString, sText);
        QCOMPARE(fnText(iCode), sText);
    }
};

QTEST_APPLESS_MAIN(TestTextTables)
#include "tst_texttables.moc"
