#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

#include <stdexcept>
#include <string>

class QFile;

// Thrown by FileManager::getFileSHA1 when the file is missing or cannot be opened.
class FileDoesNotExistException : public std::runtime_error
{
public:
    explicit FileDoesNotExistException(const std::string& message) : std::runtime_error(message) {}
};

// The download engine's only door to the file system. Stateless; callable from any thread.
class FileManager
{
public:
    FileManager() = delete;

    static qint64 getFileSize(const QString& path);
    static bool fileExists(const QString& path);
    static bool directoryExists(const QString& path);
    // Opens the file for appending; the caller owns the result. Null on failure.
    static QFile* getFileHandle(const QString& path, bool createMissingDirectories, bool unused = true);
    // Raw 20-byte SHA-1 of the whole file, streamed in large blocks.
    static QByteArray getFileSHA1(const QString& path);
    // The same, telling onRead the bytes of every block as it is read.
    static QByteArray getFileSHA1(const QString& path, const std::function<void(qint64)>& onRead);
    static void removeFile(const QString& path);
    static bool createDirectory(const QString& path);
    static bool rename(const QString& oldPath, const QString& newPath);
    static QString getFilenameFromPath(const QString& path);
    static QString nixGetHiddenPath(const QString& path);
    static QString nixGetUnhiddenPath(const QString& path);
    static QString nixGetUnhiddenFileName(const QString& name);
};
