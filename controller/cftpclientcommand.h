#pragma once

#include <QString>

// The FTP client script sends one file per run, in the background; the
// option tells it which kind of file (and so which server and which group
// of the transfer status) it is.

// "-g", "-e", "-d", "-p", "-t1", "-t2", "-t3", "-u", "-i" for the transfer
// types 1, 2, 3, 5, 6, 7, 8, 9, 10; empty for a type that runs no client.
QString ftpClientOption(int iTransferType);

// "/usr/bin/Tankora/start_ftp_client <option> <file> &"; an empty file name
// (the software-update look-up) leaves two blanks before the "&".
QString ftpClientCommand(const QString &sOption, const QString &sFileName);

// Logged when system() reports a status other than 0.
QString ftpClientReturnText(int iStatus);
