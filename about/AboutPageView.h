#pragma once

#include <QtPlugin>
#include <QUrl>

#include <functional>

class QWidget;

// What the About window needs from the widget that shows the about page. Implemented by the
// web view in its plugin and by the plain fallback, so the window never links the web engine.
class AboutPageView
{
public:
    virtual ~AboutPageView() = default;

    virtual void navigate(const QUrl &address) = 0;
    virtual QUrl address() const = 0;

    // Told the outcome of every load that finishes.
    void setLoadFinishedHandler(std::function<void(bool ok)> handler) { m_loadFinished = std::move(handler); }

protected:
    void reportLoadFinished(bool ok) const
    {
        if (m_loadFinished)
            m_loadFinished(ok);
    }

private:
    std::function<void(bool ok)> m_loadFinished;
};

// The plugin's entry point: makes the view, a QWidget implementing AboutPageView.
class AboutPageViewFactory
{
public:
    virtual ~AboutPageViewFactory() = default;

    virtual QWidget *createView(QWidget *parent) = 0;
};

#define TarnWaveAboutPageView_iid "org.tarnwave.chat.AboutPageView/1.0"
#define TarnWaveAboutPageViewFactory_iid "org.tarnwave.chat.AboutPageViewFactory/1.0"
Q_DECLARE_INTERFACE(AboutPageView, TarnWaveAboutPageView_iid)
Q_DECLARE_INTERFACE(AboutPageViewFactory, TarnWaveAboutPageViewFactory_iid)
