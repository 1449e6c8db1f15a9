#pragma once

#include <QString>

// What one transfer sends; the number selects the FTP client's mode and is
// written into the "Start transfer" line. 4 is a delivery file as well, but
// the pending-file scan never hands it out.
enum TransferType {
    TransferNone = 0,
    TransferGps = 1,
    TransferEvent = 2,
    TransferDelivery = 3,
    TransferDeliveryAlt = 4,
    TransferLog = 5,
    TransferDataTest = 6,
    TransferServiceTest = 7,
    TransferUpdateTest = 8,
    TransferSwUpdate = 9,
    TransferInfo = 10,
    TransferLtServer = 11,
    TransferVpn = 12
};

// The operator's choice of a manual event file.
enum ManFileType { ManFile_NoTransfer = 0, ManFile_Complete = 1, ManFile_Delivery = 2, ManFile_Event = 3 };

// State of one group of the transfer status record as the FTP client reports it.
enum EFtpTransferState {
    FtpTransferReset = -1,
    FtpTransferStarted = 0,
    OpenFtpConnection = 1,
    CheckFileExists = 2,
    TransferFile = 3,
    FtpTransferFinished = 4,
    FtpTransferFinishedError = 10
};

// "FtpTransferStarted" … "FtpTransferFinishedError"; any other value
// (the reset value -1 among them) is "Initialisation".
QString transferStatusName(int iState);
