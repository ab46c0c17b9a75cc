#include "AboutWebView.h"

#include "ExternalLinkPage.h"

#include <QWebEngineSettings>

AboutWebView::AboutWebView(QWidget *parent)
    : QWebEngineView(parent)
{
    setPage(new ExternalLinkPage(this));
    QWebEngineSettings *settings = page()->settings();
    // The page is static: it needs no scripts, and showing it must not take the OK button's focus.
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    settings->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
    connect(this, &QWebEngineView::loadFinished, this, [this](bool ok) { reportLoadFinished(ok); });
}

void AboutWebView::navigate(const QUrl &address)
{
    setUrl(address);
}

QUrl AboutWebView::address() const
{
    return url();
}
