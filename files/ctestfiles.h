#pragma once

#include <QString>

class CFileSource;

// Test files that let the operator check each of the three FTP connections:
// a copy of the installed template, or an FTL file holding only a header.

// "/TK_Data_", "/TK_Service_", "/TK_Update_" for the transfer types of the
// data, service and update tests (6, 7, 8); empty for any other type.
QString testFilePrefix(int iTransferType);

// ftlDirectory() + prefix + LRP serial + "_" + stamp + ".tst"; the serial is
// made safe for a name, so the file stays in the FTL directory.
QString testFilePath(const QString &sPrefix, const QString &sLrpSerial, const QString &sStamp);

// The template the vehicle computer's installation provides.
QString testFileTemplatePath();

// Creates the test file of the prefix. Its path, or an empty text when the
// prefix is none of the three or the file could not be created.
QString CreateTestFile(CFileSource &source, const QString &sPrefix);
