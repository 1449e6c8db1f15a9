#pragma once

#include "records/ccommrecords.h"

// The status record the daemon publishes when the link has gone down: every
// group back to state -1 with no bytes and no file, every field marked as
// changed so the service takes all of them over. The GPS file name is a
// null text, every other one an empty text.
CRunFtpTransferStatus transferStatusResetRecord();
