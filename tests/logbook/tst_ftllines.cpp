#include "logbook/clogfactory.h"
#include "tests/support/clogentrytext.h"
#include "tests/support/ctable.h"

#include <QRegularExpression>

namespace
{
// What a row of ftllines.tsv leaves out, and the reference delivery that
// level rows start from (the data file tells the values).
const QString sDefaults = QStringLiteral("at=2024-01-05T09:30:00Z off=0 comp=2 P1=0 P2=9 P3=9 P4=44 P5=55 P6=66 P7=77 "
                                         "P8=88 X1=Diesel X2=ABC tp=2023-01-02T03:04:05Z sel=0");
// The reference delivery, kept in the table's "reference" section.
QString referenceValues()
{
    const auto aLines = tableLines(QFINDTESTDATA("ftllines.tsv"), QStringLiteral("reference"));
    return aLines.isEmpty() ? QString() : aLines.first().second.value(1);
}

// The texts of the line column: "T" and "TP" fields stand for the stamps.
QStringList expectedLines(const QString &sLines)
{
    if (sLines == "<none>")
        return {};
    QStringList asLines;
    for (const QString &sLine : sLines.split(QStringLiteral(" | "))) {
        QStringList asFields = sLine.split(QLatin1Char(','));
        for (QString &sField : asFields)
            sField = sField == "T"    ? QStringLiteral("20240105093000")
                     : sField == "TP" ? QStringLiteral("20230102030405")
                                      : sField;
        asLines << (sLine == "<empty>" ? QString() : asFields.join(QLatin1Char(',')));
    }
    return asLines;
}
} // namespace

class TestFtlLines : public QObject
{
    Q_OBJECT

  private slots:
    TABLE_TEST(lines, "ftllines.tsv")
    {
        QVERIFY(row.size() >= 4);
        const QString &sClass = row[0];
        QHash<QString, QString> v = valuesOf(sDefaults + (sClass == "LEVEL" ? " " + referenceValues() : ""));
        v.insert(valuesOf(row[2]));
        const std::unique_ptr<CLogBase> pEntry =
            logEntryOf(sClass == "MARK" ? QStringLiteral("SPD") : sClass, row[1].toInt(), v);
        if (row.size() > 4) // the note, closed by the stream's blank after its last item
            QTest::ignoreMessage(QtDebugMsg, qPrintable(row[4] + QLatin1Char(' ')));
        const qint32 iOffset = v["off"].toInt();
        const qint32 iSelector = v["sel"].toInt();
        QStringList asLines;
        if (sClass == "MARK")
            asLines = static_cast<CLogSPD &>(*pEntry).getFTLMarkerStrings(iSelector, iOffset);
        else
            asLines = ftlLinesOf(*pEntry, iOffset, iSelector);
        QCOMPARE(asLines, expectedLines(row[3]));
        // Exactly the period events carry the period's own time.
        if (sClass == "SPD")
            QCOMPARE(IsSpdPeriodSubtype(row[1].toInt()), row[3].startsWith("42,TP"));
    }
};

QTEST_GUILESS_MAIN(TestFtlLines)
#include "tst_ftllines.moc"
