#pragma once

#include <QString>
#include <QtGlobal>

// Process-wide Qt message handler: every message becomes one line of debug.log in
// the data folder ("[dd/MM/yyyy hh:mm:ss] <prefix><text>\r\n", UTC). Nothing goes to the
// console. Safe to call from any thread; each call opens, appends and closes the file.
void myMessageOutput(QtMsgType type, const QMessageLogContext& context, const QString& message);

// Folder of the log file: the store's folder (DataFolder) unless a test set another one.
QString logDirectory();
// Tests only: writes the log into another folder; an empty string restores the default.
void setLogDirectoryForTesting(const QString& directory);
