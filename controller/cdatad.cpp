#include "controller/cdata.h"

#include "app/cclock.h"

#include <QTimer>

// The cycle of the link and transfer machine. Until the machine's steps
// exist the cycle only keeps its own timer going.
void CData::datad()
{
    m_pCycleTimer->stop();
    m_pCycleTimer->start(CClock::instance().intervalMs(5000));
}
