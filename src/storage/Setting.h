#pragma once

#include <QMap>
#include <QObject>
#include <QString>

class DatabaseManager;

// The user's persistent choices as text under text keys, written back whole on every save.
class Setting : public QObject
{
    Q_OBJECT

public:
    // Loads the settings from the store, writing the defaults on a first start.
    explicit Setting(DatabaseManager& store);
    ~Setting() override;
    // The running program's settings, or nullptr before they are loaded.
    static Setting* getInstance();

    Q_INVOKABLE void set(const QString& key, const QString& value);
    Q_INVOKABLE QString get(const QString& key) const;
    // Writes the whole map in one transaction and emits changed(). Never throws: a failed
    // write is rolled back, logged and shown to the user, and changed() is not emitted.
    Q_INVOKABLE void save();

signals:
    void changed();

private:
    void load();

    DatabaseManager& store;
    QMap<QString, QString> settings;
};
