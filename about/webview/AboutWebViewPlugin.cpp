#include "AboutWebViewPlugin.h"

#include "AboutWebView.h"

QWidget *AboutWebViewPlugin::createView(QWidget *parent)
{
    return new AboutWebView(parent);
}
