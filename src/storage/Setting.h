#pragma once

#include <QMap>
#include <QObject>
#include <QString>

// The user's persistent choices as text under text keys, written back whole on every save.
class Setting : public QObject
{
    Q_OBJECT

public:
    static Setting* getInstance();

    Q_INVOKABLE void set(const QString& key, const QString& value);
    Q_INVOKABLE QString get(const QString& key) const;
    // Writes the whole map in one transaction and emits changed(). Never throws: a failed
    // write is rolled back, logged and shown to the user, and changed() is not emitted.
    Q_INVOKABLE void save();

    // Tests only: forgets the instance so the next getInstance() loads again.
    static void resetForTesting();

signals:
    void changed();

private:
    Setting();
    void load();

    QMap<QString, QString> settings;
};
