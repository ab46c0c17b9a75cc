#pragma once

#include <QString>

class QWidget;

// Where the web view plugin sits, relative to the program, in the build tree as installed.
QString aboutPageViewPluginPath();

// The web view from its plugin, loading the web engine on first use, or the plain fallback
// when the plugin cannot be loaded. The widget implements AboutPageView and belongs to parent.
QWidget *createAboutPageView(QWidget *parent, const QString &pluginPath = aboutPageViewPluginPath());
