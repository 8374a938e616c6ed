#include "app/MainWindowScene.h"

#include "app/Services.h"
#include "app/WindowPrompts.h"
#include "download/DownloadManager.h"
#include "model/DCPManager.h"
#include "model/Reel.h"
#include "storage/Setting.h"

#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QUrl>

bool MainWindowScene::load(QQmlApplicationEngine& qml, DownloadManager* engine, DCPManager* catalogue,
                           Setting* settings)
{
    // The reel rows hand their Reel to removeDownloadReel(Reel*).
    qRegisterMetaType<Reel*>("Reel*");
    QQmlContext* const context = qml.rootContext();
    context->setContextProperty(QStringLiteral("download_mgr"), engine);
    context->setContextProperty(QStringLiteral("dcp_mgr"), catalogue);
    context->setContextProperty(QStringLiteral("settings_mgr"), settings);
    // The page that "LAUNCH OSKAN" opens.
    context->setContextProperty(QStringLiteral("portal_url"), Services::portalBaseUrl());
    context->setContextProperty(QStringLiteral("window_prompts"), new WindowPrompts(&qml));
    qml.load(QUrl(QStringLiteral("qrc:///main.qml")));
    return !qml.rootObjects().isEmpty();
}
