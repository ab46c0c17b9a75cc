#pragma once

#include "about/AboutPageViewLoader.h"

#include <QDialog>
#include <QString>
#include <QUrl>

class AboutPageView;
class QPushButton;

// The About window: the program's name and version above the maker's about page. It is made
// at start; the web view inside it, and with it the web engine, only when first shown.
class TForm2 : public QDialog
{
    Q_OBJECT

public:
    // The page's view comes from the plugin at viewPluginPath, or is the plain fallback.
    explicit TForm2(QWidget *parent = nullptr, const QString &viewPluginPath = aboutPageViewPluginPath());

    // The page the view shows; empty until the window was first shown.
    QUrl pageAddress() const;

    void setVisible(bool visible) override;

Q_SIGNALS:
    void pageLoadFinished(bool ok);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void createLines();
    void createOkButton();
    void createWebBrowser();
    void centreOnScreen();

    void FormShow();
    void Button1Click();

    const QString m_viewPluginPath;
    QWidget *WebBrowser1 = nullptr;
    AboutPageView *m_page = nullptr;
    QPushButton *Button1 = nullptr;
};
