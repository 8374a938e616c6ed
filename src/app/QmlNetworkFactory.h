#pragma once

#include <QQmlNetworkAccessManagerFactory>

// The scene's covers (the tile's probe and the image itself) are fetched by network access
// managers the QML engine makes, one per thread that loads something. Each goes through the
// program's one network set-up, as every other request does: the environment's proxies, the
// trusted authorities and bodies sent as they are.
class QmlNetworkFactory : public QQmlNetworkAccessManagerFactory
{
public:
    QNetworkAccessManager* create(QObject* parent) override;
};
