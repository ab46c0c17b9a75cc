#pragma once

#include "about/AboutPageView.h"

#include <QObject>

class AboutWebViewPlugin : public QObject, public AboutPageViewFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TarnWaveAboutPageViewFactory_iid)
    Q_INTERFACES(AboutPageViewFactory)

public:
    QWidget *createView(QWidget *parent) override;
};
