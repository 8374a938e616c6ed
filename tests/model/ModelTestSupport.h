#pragma once

#include "model/Asset.h"
#include "model/DCP.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "storage/DatabaseManager.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <QtGlobal>

// Collects everything logged while it lives.
class LogCapture
{
public:
    LogCapture()
    {
        s_lines().clear();
        m_previous = qInstallMessageHandler(&LogCapture::handler);
    }
    ~LogCapture() { qInstallMessageHandler(m_previous); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    QStringList lines() const { return s_lines(); }
    bool contains(const QString& text) const
    {
        for (const QString& line : s_lines()) {
            if (line.contains(text)) {
                return true;
            }
        }
        return false;
    }

private:
    static QStringList& s_lines()
    {
        static QStringList lines;
        return lines;
    }
    static void handler(QtMsgType, const QMessageLogContext&, const QString& message)
    {
        s_lines().append(message);
    }
    QtMessageHandler m_previous = nullptr;
};

// A fresh store in a temporary folder, and DCP folders beside it. restart() reopens
// the store and forgets the catalogue, as a new start of the program would.
class ModelSandbox
{
public:
    ModelSandbox()
    {
        DatabaseManager::resetForTesting(m_dir.path());
        DCPManager::resetForTesting();
    }
    ~ModelSandbox()
    {
        DCPManager::resetForTesting();
        DatabaseManager::resetForTesting(QString());
    }
    ModelSandbox(const ModelSandbox&) = delete;
    ModelSandbox& operator=(const ModelSandbox&) = delete;

    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    QString downloads() const { return m_dir.path() + QStringLiteral("/downloads"); }

    void restart()
    {
        DatabaseManager::resetForTesting(m_dir.path());
        DCPManager::resetForTesting();
    }

    static int count(const QString& sql)
    {
        QSqlQuery query(DatabaseManager::getInstance()->db);
        if (!query.exec(sql) || !query.next()) {
            return -1;
        }
        return query.value(0).toInt();
    }

private:
    QTemporaryDir m_dir;
};

inline bool writeBytes(const QString& path, const QByteArray& data)
{
    QDir().mkpath(path.left(path.lastIndexOf(QLatin1Char('/'))));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

inline QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Builds DCP -> reels -> assets the way the importer links them. The objects belong
// to the test (or to the catalogue once stored); they are deliberately not freed,
// as the catalogue keeps raw pointers to them.
struct ModelBuilder
{
    static DCP* dcp(const QString& uuid, const QString& title, const QString& downloadPath)
    {
        return new DCP(uuid, title, QStringLiteral("http://127.0.0.1/img.png"), downloadPath);
    }

    static Reel* reel(DCP* dcp, const QString& uuid, unsigned number)
    {
        auto* r = new Reel(uuid, QString(), QString(), QString(), number);
        r->setDCP(dcp);
        dcp->addReel(r);
        return r;
    }

    static Asset* asset(Reel* reel, const QString& uuid, quint64 size, const QString& hash = QString())
    {
        DCP* dcp = reel->getDCP();
        auto* a = new Asset(uuid, hash, size, QStringLiteral("application/mxf"),
                            QStringLiteral(".") + uuid + QStringLiteral(".mxf"),
                            QStringLiteral("http://127.0.0.1:9/") + uuid);
        a->setDCP(dcp);
        a->addReel(reel);
        reel->addAsset(a);
        if (!dcp->getAsset(uuid)) {
            dcp->addAsset(a);
        }
        return a;
    }
};
