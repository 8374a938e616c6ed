#include "app/QmlNetworkFactory.h"

#include "core/NetworkSetup.h"

QNetworkAccessManager* QmlNetworkFactory::create(QObject* parent)
{
    // Called on the engine's loader threads too: the set-up only reads what the start fixed.
    return NetworkSetup::createManager(parent);
}
