#include "about/AboutPageViewLoader.h"

#include "about/AboutPageFallbackView.h"
#include "about/AboutPageView.h"
#ifdef TARNWAVE_WITH_WEB_VIEW
#include "about/WebEngineEnvironment.h"
#endif

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>

QString aboutPageViewPluginPath()
{
    return QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral(TARNWAVE_ABOUT_VIEW_PLUGIN));
}

QWidget *createAboutPageView(QWidget *parent, const QString &pluginPath)
{
#ifdef TARNWAVE_WITH_WEB_VIEW
    if (QFileInfo::exists(pluginPath)) {
        prepareWebEngineEnvironment();
        // Loaded once per process; the loader hands out the same instance after that.
        QPluginLoader loader(pluginPath);
        if (auto *factory = qobject_cast<AboutPageViewFactory *>(loader.instance())) {
            if (QWidget *view = factory->createView(parent))
                return view;
        }
    }
#else
    Q_UNUSED(pluginPath)
#endif
    return new AboutPageFallbackView(parent);
}
