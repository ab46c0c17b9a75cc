#include "ExternalLinkPage.h"

#include <QDesktopServices>
#include <QWebEngineNewWindowRequest>

namespace {

bool isOwnPage(const QUrl &url)
{
    return url.scheme() == QLatin1String("qrc");
}

} // namespace

ExternalLinkPage::ExternalLinkPage(QObject *parent)
    : QWebEnginePage(parent)
{
    // Links asking for a new window never get one inside the dialog.
    connect(this, &QWebEnginePage::newWindowRequested, this, [](QWebEngineNewWindowRequest &request) {
        QDesktopServices::openUrl(request.requestedUrl());
    });
}

bool ExternalLinkPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    if (type == NavigationTypeLinkClicked && !isOwnPage(url)) {
        QDesktopServices::openUrl(url);
        return false;
    }
    return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
}
