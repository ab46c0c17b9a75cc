#pragma once

#include "about/AboutPageView.h"

#include <QWebEngineView>

// The about page in the web engine.
class AboutWebView : public QWebEngineView, public AboutPageView
{
    Q_OBJECT
    Q_INTERFACES(AboutPageView)

public:
    explicit AboutWebView(QWidget *parent = nullptr);

    void navigate(const QUrl &address) override;
    QUrl address() const override;
};
