#pragma once

#include "about/AboutPageView.h"

#include <QTextBrowser>

// Shows the about page without the web engine, for when its plugin cannot be loaded.
class AboutPageFallbackView : public QTextBrowser, public AboutPageView
{
    Q_OBJECT
    Q_INTERFACES(AboutPageView)

public:
    explicit AboutPageFallbackView(QWidget *parent = nullptr);

    void navigate(const QUrl &address) override;
    QUrl address() const override;
};
