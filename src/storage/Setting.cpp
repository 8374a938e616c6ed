#include "storage/Setting.h"

#include "core/UserPrompt.h"
#include "storage/DatabaseManager.h"
#include "storage/Transaction.h"

#include <QDebug>
#include <QSqlQuery>
#include <QVariant>

#include <stdexcept>

namespace {
Setting* g_setting = nullptr;
}

Setting* Setting::getInstance()
{
    return g_setting;
}

Setting::Setting(DatabaseManager& store) : QObject(nullptr), store(store)
{
    load();
    // Defaults only on a first start: a table with any row at all is taken as it is.
    if (settings.isEmpty()) {
        settings.insert(QStringLiteral("download_speed"), QStringLiteral("0"));
        settings.insert(QStringLiteral("download_paused"), QStringLiteral("0"));
        save();
    }
    g_setting = this;
}

Setting::~Setting()
{
    if (g_setting == this)
        g_setting = nullptr;
}

void Setting::load()
{
    QSqlQuery query = store.getSettingQuery();
    while (query.next())
        settings.insert(query.value(0).toString(), query.value(1).toString());
}

void Setting::set(const QString& key, const QString& value)
{
    settings.insert(key, value);
}

QString Setting::get(const QString& key) const
{
    return settings.value(key);
}

void Setting::save()
{
    // QML calls this straight from the event loop, so a store error ends here: the
    // table keeps its previous copy, the user is told, and changed() is not emitted.
    try {
        Transaction transaction(store);
        store.truncateSettings();
        for (auto it = settings.constBegin(); it != settings.constEnd(); ++it)
            store.insertSetting(it.key(), it.value());
        transaction.commit();
    } catch (const std::runtime_error& error) {
        qDebug() << "[Setting] Unable to save the settings:" << QString::fromUtf8(error.what());
        UserPrompt::message(Prompt::Warning, tr("Unable to save the settings."),
                            QString::fromUtf8(error.what()));
        return;
    }
    emit changed();
}
