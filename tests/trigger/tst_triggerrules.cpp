#include "records/cvehiclerecords.h"
#include "trigger/ctriggerreason.h"
#include "trigger/ctriggerrules.h"
#include "trigger/cvehicleconditions.h"

#include <QTest>

#include <limits>

namespace {

// One line per step, so a whole decision compares in one go.
QStringList transcript(const CTriggerOutcome &outcome)
{
    QStringList asLines;
    for (const CTriggerStep &step : outcome.aSteps) {
        switch (step.eKind) {
        case ETriggerStep::Log: asLines << step.sText; break;
        case ETriggerStep::Emit: asLines << (step.bForced ? "emit forced" : "emit normal"); break;
        case ETriggerStep::StartTimer: asLines << QStringLiteral("start %1").arg(step.iIntervalMs); break;
        case ETriggerStep::StopTimer: asLines << "stop"; break;
        }
    }
    return asLines;
}

QStringList reported(const QString &sReason, bool bForced = false)
{
    return {QStringLiteral("Create auto. event file, reason: \"%1\"").arg(sReason),
            bForced ? "emit forced" : "emit normal"};
}

QStringList nothing()
{
    return {};
}

const QString sLoadingSuffix = QStringLiteral("( main mode: \"MainModeLoading\" )");
const QString sDischargeSuffix = QStringLiteral("( main mode: \"MainModeDischarge\" )");

CTriggerState stateInMode(int iMode)
{
    CTriggerState state;
    state.iMainMode = iMode;
    return state;
}

// The steps in order and what is held afterwards (0: nothing held).
void checkOutcome(const CTriggerOutcome &outcome, const QStringList &asSteps, int iPendingAfter)
{
    QCOMPARE(transcript(outcome), asSteps);
    QCOMPARE(outcome.state.bPending, iPendingAfter != 0);
    if (iPendingAfter != 0)
        QCOMPARE(outcome.state.iPendingReason, iPendingAfter);
}

} // namespace

class TestTriggerRules : public QObject
{
    Q_OBJECT

private slots:
    void reasonTexts_data()
    {
        QTest::addColumn<int>("iReason");
        QTest::addColumn<int>("iCompartment");
        QTest::addColumn<QString>("sText");
        QTest::newRow("0") << 0 << -1 << "Unknown";
        QTest::newRow("1") << 1 << -1 << "Pending trigger from high pressure switch off";
        QTest::newRow("2") << 2 << -1 << "Pending trigger from SPD comp. seal break";
        QTest::newRow("3") << 3 << -1 << "Pending trigger from SPD truck seal break";
        QTest::newRow("4") << 4 << -1 << "Pending trigger from the FTL time trigger";
        QTest::newRow("5") << 5 << -1 << "High pressure switched off";
        QTest::newRow("6 comp 2") << 6 << 2 << "SPD comp. 2 seal breaks unexpected";
        QTest::newRow("6 comp 17") << 6 << 17 << "SPD comp. 17 seal breaks unexpected";
        QTest::newRow("7") << 7 << -1 << "SPD truck seal breaks unexpected";
        QTest::newRow("8") << 8 << -1 << "Discharge mode exited (no high pressure available)";
        QTest::newRow("9") << 9 << -1 << "FTL time trigger";
        QTest::newRow("10") << 10 << -1 << "Mode change into loading or discharge";
        QTest::newRow("11") << 11 << -1 << "Mode change out of loading or discharge";
        QTest::newRow("12") << 12 << -1 << "Cabint door left opened";
        QTest::newRow("13") << 13 << -1 << "Cabint door right opened";
        QTest::newRow("14") << 14 << 0 << "Api (comp. 0) outside loading or discharge opened";
        QTest::newRow("15") << 15 << 3 << "Manlid (comp. 3) outside loading or discharge opened";
        QTest::newRow("16") << 16 << 2 << "Api (comp. 2) outside GeoFencing opened";
        QTest::newRow("17") << 17 << 23 << "Manlid (comp. 23) outside GeoFencing opened";
        QTest::newRow("18") << 18 << -1 << "Default";
        QTest::newRow("-1") << -1 << -1 << "Default";
    }
    void reasonTexts()
    {
        QFETCH(int, iReason);
        QFETCH(int, iCompartment);
        QFETCH(QString, sText);
        QCOMPARE(getReasonText(iReason, iCompartment), sText);
    }

    void loadingOrDischarge_data()
    {
        QTest::addColumn<int>("iMode");
        QTest::addColumn<bool>("bInSet");
        QTest::newRow("Undefined") << 0 << false;
        QTest::newRow("Error") << 2 << false;
        QTest::newRow("Loading") << 3 << true;
        QTest::newRow("Discharge") << 4 << true;
        QTest::newRow("Status") << 5 << false;
        QTest::newRow("Calibrate") << 8 << false;
        QTest::newRow("LoadingEnd") << 12 << false;
        QTest::newRow("DischargeEnd") << 13 << false;
        QTest::newRow("CalibrateFpm") << 21 << true;
        QTest::newRow("DrainFpm") << 22 << false;
        QTest::newRow("unknown") << 99 << false;
    }
    void loadingOrDischarge()
    {
        QFETCH(int, iMode);
        QFETCH(bool, bInSet);
        QCOMPARE(isLoadingOrDischarge(iMode), bInSet);
    }

    void intervals_data()
    {
        QTest::addColumn<int>("iMinutes");
        QTest::addColumn<int>("iMs");
        QTest::newRow("30 min") << 30 << 1800000;
        QTest::newRow("1 min") << 1 << 60000;
        QTest::newRow("off") << 0 << 0;
        QTest::newRow("negative") << -3 << 0;
        QTest::newRow("beyond the timer") << 100000 << std::numeric_limits<int>::max();
    }
    void intervals()
    {
        QFETCH(int, iMinutes);
        QFETCH(int, iMs);
        QCOMPARE(timeTriggerIntervalMs(iMinutes), iMs);
    }

    void highPressureAvailable_data()
    {
        QTest::addColumn<int>("iWm3");
        QTest::addColumn<int>("iSensor7");
        QTest::addColumn<int>("iSwitch29");
        QTest::addColumn<int>("iNonWm1");
        QTest::addColumn<bool>("b48");
        QTest::addColumn<bool>("b49");
        QTest::addColumn<bool>("b50");
        QTest::addColumn<bool>("b51");
        QTest::addColumn<bool>("bAvailable");
        QTest::newRow("metered pump with sensor") << 1 << 1 << 0 << 0 << false << false << false << false << true;
        QTest::newRow("metered pump, no sensor") << 1 << 0 << 0 << 0 << false << false << false << false << false;
        QTest::newRow("sensor, no metered pump") << 0 << 1 << 0 << 0 << false << false << false << false << false;
        QTest::newRow("own switch, first gauge only") << 0 << 0 << 1 << 1 << true << false << false << false << true;
        QTest::newRow("own switch, setting 0") << 0 << 0 << 1 << 0 << true << false << false << false << false;
        QTest::newRow("own switch, 48 false") << 0 << 0 << 1 << 1 << false << false << false << false << false;
        QTest::newRow("own switch, 49 true") << 0 << 0 << 1 << 1 << true << true << false << false << false;
        QTest::newRow("own switch, 50 true") << 0 << 0 << 1 << 1 << true << false << true << false << false;
        QTest::newRow("own switch, 51 true") << 0 << 0 << 1 << 1 << true << false << false << true << false;
        QTest::newRow("own switch, metered pump field set")
            << 2 << 0 << 1 << 1 << true << false << false << false << false;
        QTest::newRow("nothing fitted") << 0 << 0 << 0 << 1 << true << false << false << false << false;
    }
    void highPressureAvailable()
    {
        QFETCH(int, iWm3);
        QFETCH(int, iSensor7);
        QFETCH(int, iSwitch29);
        QFETCH(int, iNonWm1);
        QFETCH(bool, b48);
        QFETCH(bool, b49);
        QFETCH(bool, b50);
        QFETCH(bool, b51);
        QFETCH(bool, bAvailable);
        CSetGeneralNonWM generalNonWM;
        generalNonWM.setField(1, qint32(iNonWm1));
        generalNonWM.setField(48, b48);
        generalNonWM.setField(49, b49);
        generalNonWM.setField(50, b50);
        generalNonWM.setField(51, b51);
        CSetGeneralWM generalWM;
        generalWM.setField(3, qint32(iWm3));
        CSetGlobalSensorNonWM globalSensor;
        globalSensor.setField(7, qint32(iSensor7));
        globalSensor.setField(29, qint32(iSwitch29));
        QCOMPARE(isHighPressureAvailable(generalNonWM, generalWM, globalSensor), bAvailable);
    }

    void canError_data()
    {
        QTest::addColumn<int>("iInUse"); // bit per interface
        QTest::addColumn<int>("iErrors");
        QTest::addColumn<int>("iReady");
        QTest::addColumn<bool>("bCanError");
        QTest::newRow("none in use") << 0 << 7 << 0 << false;
        QTest::newRow("all in use and ready") << 7 << 0 << 7 << false;
        QTest::newRow("in use, not ready") << 1 << 0 << 0 << true;
        QTest::newRow("in use, error") << 4 << 4 << 4 << true;
        QTest::newRow("error on an interface not in use") << 1 << 2 << 1 << false;
        QTest::newRow("one of three not ready") << 7 << 0 << 5 << true;
    }
    void canError()
    {
        QFETCH(int, iInUse);
        QFETCH(int, iErrors);
        QFETCH(int, iReady);
        QFETCH(bool, bCanError);
        CSetCanArray aSetup;
        CRunCanArray aRuntime;
        for (int i = 0; i < CAN_INTERFACE_COUNT; ++i) {
            aSetup[i].setField(1, qint32((iInUse >> i) & 1));
            aRuntime[i].setField(3, bool((iErrors >> i) & 1));
            aRuntime[i].setField(4, bool((iReady >> i) & 1));
        }
        QCOMPARE(isCanError(aSetup, aRuntime), bCanError);
    }

    void highPressure_data()
    {
        QTest::addColumn<int>("iMode");
        QTest::addColumn<bool>("bAvailable");
        QTest::addColumn<bool>("bCanError");
        QTest::addColumn<bool>("bReportDuring");
        QTest::addColumn<int>("iPendingBefore");
        QTest::addColumn<int>("iOld");
        QTest::addColumn<int>("iNew");
        QTest::addColumn<QStringList>("asSteps");
        QTest::addColumn<int>("iPendingAfter"); // 0: nothing pending

        QTest::newRow("switched off outside loading")
            << 5 << true << false << false << 0 << 1 << 0 << reported("High pressure switched off") << 0;
        QTest::newRow("off again without on") << 5 << true << false << false << 0 << 0 << 0 << nothing() << 0;
        QTest::newRow("switched on") << 5 << true << false << false << 0 << 0 << 1 << nothing() << 0;
        QTest::newRow("no high pressure fitted") << 5 << false << false << false << 0 << 1 << 0 << nothing() << 0;
        QTest::newRow("CAN error")
            << 5 << true << true << false << 0 << 1 << 0
            << QStringList{"Ignore high pressure switched off due to CAN error"} << 0;
        QTest::newRow("held during Loading")
            << 3 << true << false << false << 0 << 1 << 0
            << QStringList{"Pending auto. event file transfer: high pressure switched off " + sLoadingSuffix} << 1;
        QTest::newRow("held during CalibrateFpm")
            << 21 << true << false << false << 0 << 1 << 0
            << QStringList{"Pending auto. event file transfer: high pressure switched off ( main mode: "
                           "\"MainModeCalibrateFpm\" )"}
            << 1;
        QTest::newRow("held replaces a held time trigger")
            << 4 << true << false << false << 4 << 1 << 0
            << QStringList{"Pending auto. event file transfer: high pressure switched off " + sDischargeSuffix} << 1;
        QTest::newRow("reported during Loading when allowed")
            << 3 << true << false << true << 0 << 1 << 0 << reported("High pressure switched off") << 0;
        QTest::newRow("report clears a pending trigger")
            << 5 << true << false << false << 2 << 1 << 0 << reported("High pressure switched off") << 0;
        QTest::newRow("LoadingEnd is not loading")
            << 12 << true << false << false << 0 << 1 << 0 << reported("High pressure switched off") << 0;
    }
    void highPressure()
    {
        QFETCH(int, iMode);
        QFETCH(bool, bAvailable);
        QFETCH(bool, bCanError);
        QFETCH(bool, bReportDuring);
        QFETCH(int, iPendingBefore);
        QFETCH(int, iOld);
        QFETCH(int, iNew);
        QFETCH(QStringList, asSteps);
        QFETCH(int, iPendingAfter);
        CTriggerState state = stateInMode(iMode);
        state.bPending = iPendingBefore != 0;
        state.iPendingReason = iPendingBefore;
        state.iHighPressure = iOld;
        CTriggerSettings settings;
        settings.bHighPressureAvailable = bAvailable;
        settings.bCanError = bCanError;
        settings.bReportDuringLoading = bReportDuring;
        const CTriggerOutcome outcome = highPressureChanged(state, settings, iNew);
        checkOutcome(outcome, asSteps, iPendingAfter);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(outcome.state.iHighPressure, iNew);
    }

    // Compartment seals by index; -1 stands for the truck seal.
    void seals_data()
    {
        QTest::addColumn<int>("iMode");
        QTest::addColumn<bool>("bReportDuring");
        QTest::addColumn<int>("iPendingBefore");
        QTest::addColumn<int>("iIndex");
        QTest::addColumn<int>("iOld");
        QTest::addColumn<int>("iNew");
        QTest::addColumn<QStringList>("asSteps");
        QTest::addColumn<int>("iPendingAfter");

        QTest::newRow("break after a known state")
            << 5 << false << 0 << 2 << 1 << 3 << reported("SPD comp. 2 seal breaks unexpected") << 0;
        QTest::newRow("last compartment")
            << 5 << false << 0 << 23 << 2 << 3 << reported("SPD comp. 23 seal breaks unexpected") << 0;
        QTest::newRow("broken at start, no earlier state") << 5 << false << 0 << 2 << 0 << 3 << nothing() << 0;
        QTest::newRow("sealed again") << 5 << false << 0 << 2 << 3 << 1 << nothing() << 0;
        QTest::newRow("still broken") << 5 << false << 0 << 2 << 3 << 3 << nothing() << 0;
        QTest::newRow("other state change") << 5 << false << 0 << 2 << 1 << 2 << nothing() << 0;
        QTest::newRow("held during Discharge")
            << 4 << false << 0 << 2 << 1 << 3
            << QStringList{"Pending auto. event file transfer: spd compartment seal breaks unexpected for "
                           "compartment 2 " + sDischargeSuffix}
            << 2;
        QTest::newRow("replaces a held high pressure trigger")
            << 4 << false << 1 << 5 << 1 << 3
            << QStringList{"Pending auto. event file transfer: spd compartment seal breaks unexpected for "
                           "compartment 5 " + sDischargeSuffix}
            << 2;
        QTest::newRow("reported during Discharge when allowed")
            << 4 << true << 0 << 2 << 1 << 3 << reported("SPD comp. 2 seal breaks unexpected") << 0;
        QTest::newRow("truck break after a known state")
            << 5 << false << 0 << -1 << 1 << 3 << reported("SPD truck seal breaks unexpected") << 0;
        QTest::newRow("truck broken at start") << 5 << false << 0 << -1 << 0 << 3 << nothing() << 0;
        QTest::newRow("truck sealed") << 5 << false << 0 << -1 << 3 << 1 << nothing() << 0;
        QTest::newRow("truck held during Loading")
            << 3 << false << 0 << -1 << 1 << 3
            << QStringList{"Pending auto. event file transfer: spd truck seal breaks unexpected " + sLoadingSuffix}
            << 3;
        QTest::newRow("truck reported during Loading when allowed")
            << 3 << true << 0 << -1 << 1 << 3 << reported("SPD truck seal breaks unexpected") << 0;
    }
    void seals()
    {
        QFETCH(int, iMode);
        QFETCH(bool, bReportDuring);
        QFETCH(int, iPendingBefore);
        QFETCH(int, iIndex);
        QFETCH(int, iOld);
        QFETCH(int, iNew);
        QFETCH(QStringList, asSteps);
        QFETCH(int, iPendingAfter);
        const bool bTruck = iIndex < 0;
        CTriggerState state = stateInMode(iMode);
        state.bPending = iPendingBefore != 0;
        state.iPendingReason = iPendingBefore;
        (bTruck ? state.iTruckSeal : state.aiCompSeal[iIndex]) = iOld;
        CTriggerSettings settings;
        settings.bReportDuringLoading = bReportDuring;
        const CTriggerOutcome outcome = bTruck ? truckSealChanged(state, settings, iNew)
                                               : compSealChanged(state, settings, iIndex, iNew);
        checkOutcome(outcome, asSteps, iPendingAfter);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(bTruck ? outcome.state.iTruckSeal : outcome.state.aiCompSeal[iIndex], iNew);
        // Only the seal named changes.
        QCOMPARE(outcome.state.aiCompSeal[(iIndex + 1) % COMPARTMENT_COUNT], 0);
        if (!bTruck)
            QCOMPARE(outcome.state.iTruckSeal, 0);
    }

    void cabinDoors_data()
    {
        QTest::addColumn<bool>("bLeft");
        QTest::addColumn<int>("iSwitches");
        QTest::addColumn<int>("iSensorChecks");
        QTest::addColumn<bool>("bSensor");
        QTest::addColumn<int>("iMode");
        QTest::addColumn<bool>("bReportDuring");
        QTest::addColumn<int>("iOld");
        QTest::addColumn<int>("iNew");
        QTest::addColumn<QStringList>("asSteps");

        QTest::newRow("left opened") << true << 4 << 1 << true << 5 << false << 0 << 1
                                     << reported("Cabint door left opened");
        QTest::newRow("right opened") << false << 4 << 1 << true << 5 << false << 0 << 1
                                      << reported("Cabint door right opened");
        QTest::newRow("switches off") << true << 0 << 1 << true << 5 << false << 0 << 1 << nothing();
        QTest::newRow("every switch but the doors") << true << 0x7B << 1 << true << 5 << false << 0 << 1 << nothing();
        QTest::newRow("sensor checks off") << true << 4 << 0 << true << 5 << false << 0 << 1 << nothing();
        QTest::newRow("no door sensor") << false << 4 << 1 << false << 5 << false << 0 << 1 << nothing();
        QTest::newRow("closed") << true << 4 << 1 << true << 5 << false << 1 << 0 << nothing();
        QTest::newRow("other state") << true << 4 << 1 << true << 5 << false << 0 << 2 << nothing();
        QTest::newRow("dropped during Discharge") << true << 4 << 1 << true << 4 << false << 0 << 1 << nothing();
        QTest::newRow("reported during Discharge when allowed")
            << true << 4 << 1 << true << 4 << true << 0 << 1 << reported("Cabint door left opened");
    }
    void cabinDoors()
    {
        QFETCH(bool, bLeft);
        QFETCH(int, iSwitches);
        QFETCH(int, iSensorChecks);
        QFETCH(bool, bSensor);
        QFETCH(int, iMode);
        QFETCH(bool, bReportDuring);
        QFETCH(int, iOld);
        QFETCH(int, iNew);
        QFETCH(QStringList, asSteps);
        CTriggerState state = stateInMode(iMode);
        (bLeft ? state.iCabinDoorLeft : state.iCabinDoorRight) = iOld;
        CTriggerSettings settings;
        settings.iSwitches = iSwitches;
        settings.iSensorChecks = iSensorChecks;
        settings.bReportDuringLoading = bReportDuring;
        // The other door's sensor is fitted, so a mix-up shows.
        settings.bLeftDoorSensor = bLeft ? bSensor : true;
        settings.bRightDoorSensor = bLeft ? true : bSensor;
        const CTriggerOutcome outcome =
            bLeft ? cabinDoorLeftChanged(state, settings, iNew) : cabinDoorRightChanged(state, settings, iNew);
        QCOMPARE(transcript(outcome), asSteps);
        QVERIFY(!outcome.state.bPending);
        QCOMPARE(bLeft ? outcome.state.iCabinDoorLeft : outcome.state.iCabinDoorRight, iNew);
        QCOMPARE(bLeft ? outcome.state.iCabinDoorRight : outcome.state.iCabinDoorLeft, 0);
    }

    void openings_data()
    {
        QTest::addColumn<bool>("bApi");
        QTest::addColumn<int>("iSwitches");
        QTest::addColumn<int>("iSensorChecks");
        QTest::addColumn<bool>("bConfigured");
        QTest::addColumn<int>("iMode");
        QTest::addColumn<bool>("bGeofencing");
        QTest::addColumn<bool>("bInside");
        QTest::addColumn<int>("iIndex");
        QTest::addColumn<int>("iOld");
        QTest::addColumn<int>("iNew");
        QTest::addColumn<QStringList>("asSteps");

        QTest::newRow("api outside loading") << true << 8 << 1 << true << 5 << false << false << 2 << 0 << 1
                                             << reported("Api (comp. 2) outside loading or discharge opened");
        QTest::newRow("api during Loading") << true << 8 << 1 << true << 3 << false << false << 2 << 0 << 1
                                            << nothing();
        QTest::newRow("api outside the geofence")
            << true << 32 << 1 << true << 5 << true << false << 2 << 0 << 1
            << reported("Api (comp. 2) outside GeoFencing opened");
        QTest::newRow("api inside the geofence") << true << 32 << 1 << true << 5 << true << true << 2 << 0 << 1
                                                 << nothing();
        QTest::newRow("api, geofencing off") << true << 32 << 1 << true << 5 << false << false << 2 << 0 << 1
                                             << nothing();
        QTest::newRow("api outside the geofence while Loading, bits 3 and 5")
            << true << 40 << 1 << true << 3 << true << false << 2 << 0 << 1
            << reported("Api (comp. 2) outside GeoFencing opened");
        QTest::newRow("api outside loading and geofence, bits 3 and 5")
            << true << 40 << 1 << true << 5 << true << false << 7 << 0 << 1
            << reported("Api (comp. 7) outside loading or discharge opened") +
                   reported("Api (comp. 7) outside GeoFencing opened");
        QTest::newRow("api not configured") << true << 40 << 1 << false << 5 << true << false << 2 << 0 << 1
                                            << nothing();
        QTest::newRow("api, sensor checks off") << true << 40 << 0 << true << 5 << true << false << 2 << 0 << 1
                                                << nothing();
        QTest::newRow("api, switches off") << true << 0 << 1 << true << 5 << true << false << 2 << 0 << 1
                                           << nothing();
        QTest::newRow("api, manlid switches only") << true << 80 << 1 << true << 5 << true << false << 2 << 0 << 1
                                                   << nothing();
        QTest::newRow("api closed") << true << 40 << 1 << true << 5 << true << false << 2 << 1 << 0 << nothing();
        QTest::newRow("api still open") << true << 40 << 1 << true << 5 << true << false << 2 << 1 << 1
                                        << nothing();
        QTest::newRow("manlid outside loading") << false << 16 << 1 << true << 5 << false << false << 5 << 0 << 1
                                                << reported("Manlid (comp. 5) outside loading or discharge opened");
        QTest::newRow("manlid during Discharge") << false << 16 << 1 << true << 4 << false << false << 5 << 0 << 1
                                                 << nothing();
        QTest::newRow("manlid outside the geofence")
            << false << 64 << 1 << true << 4 << true << false << 5 << 0 << 1
            << reported("Manlid (comp. 5) outside GeoFencing opened");
        QTest::newRow("manlid inside the geofence") << false << 64 << 1 << true << 4 << true << true << 5 << 0 << 1
                                                    << nothing();
        QTest::newRow("manlid, api switches only") << false << 40 << 1 << true << 5 << true << false << 5 << 0 << 1
                                                   << nothing();
        QTest::newRow("manlid not configured") << false << 80 << 1 << false << 5 << true << false << 5 << 0 << 1
                                               << nothing();
    }
    void openings()
    {
        QFETCH(bool, bApi);
        QFETCH(int, iSwitches);
        QFETCH(int, iSensorChecks);
        QFETCH(bool, bConfigured);
        QFETCH(int, iMode);
        QFETCH(bool, bGeofencing);
        QFETCH(bool, bInside);
        QFETCH(int, iIndex);
        QFETCH(int, iOld);
        QFETCH(int, iNew);
        QFETCH(QStringList, asSteps);
        CTriggerState state = stateInMode(iMode);
        (bApi ? state.aiApi : state.aiManlid)[iIndex] = iOld;
        CTriggerSettings settings;
        settings.iSwitches = iSwitches;
        settings.iSensorChecks = iSensorChecks;
        settings.bGeofencingEnabled = bGeofencing;
        settings.bInsideGeofence = bInside;
        const CTriggerOutcome outcome = bApi ? apiChanged(state, settings, iIndex, bConfigured, iNew)
                                             : manlidChanged(state, settings, iIndex, bConfigured, iNew);
        QCOMPARE(transcript(outcome), asSteps);
        QCOMPARE((bApi ? outcome.state.aiApi : outcome.state.aiManlid)[iIndex], iNew);
        QCOMPARE((bApi ? outcome.state.aiManlid : outcome.state.aiApi)[iIndex], 0);
    }

    void mainMode_data()
    {
        QTest::addColumn<int>("iOld");
        QTest::addColumn<int>("iNew");
        QTest::addColumn<int>("iSwitches");
        QTest::addColumn<bool>("bAvailable");
        QTest::addColumn<bool>("bDischargeSeen");
        QTest::addColumn<int>("iPendingBefore");
        QTest::addColumn<int>("iDuration");
        QTest::addColumn<bool>("bTimerRunning");
        QTest::addColumn<QStringList>("asSteps");
        QTest::addColumn<bool>("bDischargeSeenAfter");
        QTest::addColumn<int>("iPendingAfter");

        const QStringList asOutOfLoading = reported("Mode change out of loading or discharge");
        QTest::newRow("into Loading, bit 0") << 5 << 3 << 1 << true << false << 0 << 0 << false
                                             << reported("Mode change into loading or discharge") << false << 0;
        QTest::newRow("into Loading, switches off") << 5 << 3 << 0 << true << false << 0 << 0 << false << nothing()
                                                    << false << 0;
        QTest::newRow("into Loading, bit 1 only") << 5 << 3 << 2 << true << false << 0 << 0 << false << nothing()
                                                  << false << 0;
        QTest::newRow("into CalibrateFpm, bit 0") << 6 << 21 << 1 << true << false << 0 << 0 << false
                                                  << reported("Mode change into loading or discharge") << false << 0;
        QTest::newRow("out of Loading, bit 1") << 3 << 5 << 2 << true << false << 0 << 0 << false << asOutOfLoading
                                               << false << 0;
        QTest::newRow("out of Loading, bit 0 only") << 3 << 5 << 1 << true << false << 0 << 0 << false << nothing()
                                                    << false << 0;
        QTest::newRow("Loading to Discharge, bits 0 and 1")
            << 3 << 4 << 3 << true << false << 0 << 0 << false
            << reported("Mode change into loading or discharge") + asOutOfLoading << true << 0;
        QTest::newRow("Status after Discharge, no high pressure")
            << 4 << 5 << 0 << false << true << 0 << 0 << false
            << reported("Discharge mode exited (no high pressure available)") << false << 0;
        QTest::newRow("Status after Discharge, high pressure fitted")
            << 4 << 5 << 0 << true << true << 0 << 0 << false << nothing() << false << 0;
        QTest::newRow("Status without Discharge seen")
            << 13 << 5 << 0 << false << false << 0 << 0 << false << nothing() << false << 0;
        QTest::newRow("Discharge seen survives other modes")
            << 4 << 13 << 0 << false << true << 0 << 0 << false << nothing() << true << 0;
        QTest::newRow("held high pressure reported on leaving Loading")
            << 3 << 5 << 0 << true << false << 1 << 0 << false
            << reported("Pending trigger from high pressure switch off") << false << 0;
        QTest::newRow("held trigger kept into Discharge")
            << 3 << 4 << 0 << true << false << 2 << 0 << false << nothing() << true << 2;
        QTest::newRow("held time trigger reported unforced")
            << 21 << 6 << 0 << true << false << 4 << 0 << false
            << reported("Pending trigger from the FTL time trigger", false) << false << 0;
        QTest::newRow("held trigger lost to the discharge exit report")
            << 4 << 5 << 0 << false << true << 3 << 0 << false
            << reported("Discharge mode exited (no high pressure available)") << false << 0;
        QTest::newRow("time trigger restarted on leaving Loading")
            << 3 << 5 << 0 << true << false << 0 << 30 << false
            << QStringList{"Restart FTL time trigger with a duration of 30 min after leaving main mode: "
                           "\"MainModeLoading\"",
                           "start 1800000"}
            << false << 0;
        QTest::newRow("running time trigger left alone") << 3 << 5 << 0 << true << false << 0 << 30 << true
                                                         << nothing() << false << 0;
        QTest::newRow("no time trigger restart into Loading") << 5 << 3 << 0 << true << false << 0 << 30 << false
                                                              << nothing() << false << 0;
        QTest::newRow("report restarts the time trigger first")
            << 3 << 5 << 2 << true << false << 0 << 30 << false
            << asOutOfLoading +
                   QStringList{"Restart FTL time trigger after emitted FTL trigger with a duration of 30 min",
                               "start 1800000"}
            << false << 0;
        QTest::newRow("same mode") << 3 << 3 << 3 << false << true << 1 << 30 << false << nothing() << true << 1;
    }
    void mainMode()
    {
        QFETCH(int, iOld);
        QFETCH(int, iNew);
        QFETCH(int, iSwitches);
        QFETCH(bool, bAvailable);
        QFETCH(bool, bDischargeSeen);
        QFETCH(int, iPendingBefore);
        QFETCH(int, iDuration);
        QFETCH(bool, bTimerRunning);
        QFETCH(QStringList, asSteps);
        QFETCH(bool, bDischargeSeenAfter);
        QFETCH(int, iPendingAfter);
        CTriggerState state = stateInMode(iOld);
        state.bDischargeSeen = bDischargeSeen;
        state.bPending = iPendingBefore != 0;
        state.iPendingReason = iPendingBefore;
        state.bTimerRunning = bTimerRunning;
        CTriggerSettings settings;
        settings.iSwitches = iSwitches;
        settings.bHighPressureAvailable = bAvailable;
        settings.iDurationMinutes = iDuration;
        const CTriggerOutcome outcome = mainModeChanged(state, settings, iNew);
        QCOMPARE(transcript(outcome), asSteps);
        QCOMPARE(outcome.state.iMainMode, iNew);
        QCOMPARE(outcome.state.bDischargeSeen, bDischargeSeenAfter);
        QCOMPARE(outcome.state.bPending, iPendingAfter != 0);
        if (iPendingAfter != 0)
            QCOMPARE(outcome.state.iPendingReason, iPendingAfter);
    }

    void timeTriggerArmedAtStart_data()
    {
        QTest::addColumn<int>("iDuration");
        QTest::addColumn<QStringList>("asSteps");
        QTest::newRow("30 min, first after two minutes")
            << 30 << QStringList{"Start FTL time trigger with a duration of 30 min", "start 120000"};
        QTest::newRow("off") << 0 << nothing();
        QTest::newRow("negative") << -5 << nothing();
    }
    void timeTriggerArmedAtStart()
    {
        QFETCH(int, iDuration);
        QFETCH(QStringList, asSteps);
        CTriggerSettings settings;
        settings.iDurationMinutes = iDuration;
        const CTriggerOutcome outcome = timeTriggerArmed(CTriggerState(), settings);
        QCOMPARE(transcript(outcome), asSteps);
        QCOMPARE(outcome.state.bTimerRunning, !asSteps.isEmpty());
    }

    void timeTriggerExpiry_data()
    {
        QTest::addColumn<int>("iMode");
        QTest::addColumn<bool>("bReportDuring");
        QTest::addColumn<int>("iDuration");
        QTest::addColumn<QStringList>("asSteps");
        QTest::addColumn<int>("iPendingAfter");
        QTest::addColumn<bool>("bTimerRunningAfter");
        const QStringList asRestart{"Restart FTL time trigger after emitted FTL trigger with a duration of 30 min",
                                    "start 1800000"};
        QTest::newRow("reported forced in Status")
            << 5 << false << 30 << QStringList{"stop"} + reported("FTL time trigger", true) + asRestart << 0 << true;
        QTest::newRow("held during Loading")
            << 3 << false << 30
            << QStringList{"stop", "Pending auto. event file transfer: FTl time trigger expired " + sLoadingSuffix}
            << 4 << false;
        QTest::newRow("reported during Loading when allowed")
            << 3 << true << 30 << QStringList{"stop"} + reported("FTL time trigger", true) + asRestart << 0 << true;
        QTest::newRow("switched off meanwhile") << 5 << false << 0 << QStringList{"stop"} << 0 << false;
    }
    void timeTriggerExpiry()
    {
        QFETCH(int, iMode);
        QFETCH(bool, bReportDuring);
        QFETCH(int, iDuration);
        QFETCH(QStringList, asSteps);
        QFETCH(int, iPendingAfter);
        QFETCH(bool, bTimerRunningAfter);
        CTriggerState state = stateInMode(iMode);
        state.bTimerRunning = true;
        CTriggerSettings settings;
        settings.bReportDuringLoading = bReportDuring;
        settings.iDurationMinutes = iDuration;
        const CTriggerOutcome outcome = timeTriggerExpired(state, settings);
        checkOutcome(outcome, asSteps, iPendingAfter);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(outcome.state.bTimerRunning, bTimerRunningAfter);
    }

    void timeTriggerSetup_data()
    {
        QTest::addColumn<int>("iProcess");
        QTest::addColumn<int>("iOld");
        QTest::addColumn<int>("iNew");
        QTest::addColumn<QStringList>("asSteps");
        QTest::newRow("first read at start") << 0 << 0 << 30 << nothing();
        QTest::newRow("duration unchanged") << 812 << 30 << 30 << nothing();
        QTest::newRow("30 to 0 stops")
            << 812 << 30 << 0 << QStringList{"stop", "FTL time trigger not active any longer"};
        QTest::newRow("30 to negative stops")
            << 812 << 30 << -1 << QStringList{"stop", "FTL time trigger not active any longer"};
        QTest::newRow("0 to 45 starts")
            << 812 << 0 << 45
            << QStringList{"stop", "Stop and restart FTL time trigger after setup change with a duration of 45 min",
                           "start 2700000"};
        QTest::newRow("30 to 10 restarts")
            << 812 << 30 << 10
            << QStringList{"stop", "Stop and restart FTL time trigger after setup change with a duration of 10 min",
                           "start 600000"};
    }
    void timeTriggerSetup()
    {
        QFETCH(int, iProcess);
        QFETCH(int, iOld);
        QFETCH(int, iNew);
        QFETCH(QStringList, asSteps);
        CTriggerState state;
        state.bTimerRunning = true;
        const CTriggerOutcome outcome = timeTriggerSetupChanged(state, iProcess, iOld, iNew);
        QCOMPARE(transcript(outcome), asSteps);
        QCOMPARE(outcome.state.bTimerRunning, asSteps.isEmpty() || asSteps.last().startsWith("start"));
    }

    // A switch-off during Loading waits for the end of the job, then comes
    // out as the held trigger.
    void heldHighPressureComesOutAfterLoading()
    {
        CTriggerSettings settings;
        settings.bHighPressureAvailable = true;
        CTriggerState state = stateInMode(3);
        state.iHighPressure = 1;
        CTriggerOutcome outcome = highPressureChanged(state, settings, 0);
        QCOMPARE(transcript(outcome),
                 QStringList{"Pending auto. event file transfer: high pressure switched off " + sLoadingSuffix});
        outcome = mainModeChanged(outcome.state, settings, 5);
        QCOMPARE(transcript(outcome), reported("Pending trigger from high pressure switch off"));
        QVERIFY(!outcome.state.bPending);
    }

    // A door opened during Discharge is dropped; closed and reopened after,
    // it is reported.
    void doorDroppedDuringDischargeReportedAfter()
    {
        CTriggerSettings settings;
        settings.iSwitches = SwitchCabinDoors;
        settings.iSensorChecks = 1;
        settings.bLeftDoorSensor = true;
        CTriggerOutcome outcome = cabinDoorLeftChanged(stateInMode(4), settings, 1);
        QCOMPARE(transcript(outcome), nothing());
        outcome = mainModeChanged(outcome.state, settings, 5);
        QCOMPARE(transcript(outcome), nothing());
        outcome = cabinDoorLeftChanged(outcome.state, settings, 0);
        outcome = cabinDoorLeftChanged(outcome.state, settings, 1);
        QCOMPARE(transcript(outcome), reported("Cabint door left opened"));
    }
};

QTEST_GUILESS_MAIN(TestTriggerRules)
#include "tst_triggerrules.moc"
