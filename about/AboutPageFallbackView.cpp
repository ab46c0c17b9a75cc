#include "about/AboutPageFallbackView.h"

AboutPageFallbackView::AboutPageFallbackView(QWidget *parent)
    : QTextBrowser(parent)
{
    // The page is the program's own; whatever it links to opens in the desktop's browser.
    setOpenExternalLinks(true);
}

void AboutPageFallbackView::navigate(const QUrl &address)
{
    setSource(address);
    reportLoadFinished(!document()->isEmpty());
}

QUrl AboutPageFallbackView::address() const
{
    return source();
}
