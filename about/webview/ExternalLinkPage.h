#pragma once

#include <QWebEnginePage>

// Keeps the program's own pages in the view and hands every other link to the desktop's browser.
class ExternalLinkPage : public QWebEnginePage
{
    Q_OBJECT

public:
    explicit ExternalLinkPage(QObject *parent = nullptr);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
};
