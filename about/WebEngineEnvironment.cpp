#include "about/WebEngineEnvironment.h"

#include <QByteArray>
#include <QLoggingCategory>
#include <QOpenGLContext>

#include <unistd.h>

// Exported by Qt GUI, declared only in its private headers.
QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext *context);
QT_END_NAMESPACE

void prepareWebEngineEnvironment()
{
    // Chromium refuses to start its sandbox as root (as on CI containers); only then go without.
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");

    // One small static page needs no GPU process, and software drawing works on every display.
    const QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!flags.contains("--disable-gpu"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", QByteArray(flags + " --disable-gpu").trimmed());

    // The engine needs a global share context. Qt makes one only when asked before the
    // application exists, which loads the GL stack at every start, so it is made here on first
    // use instead. It stays until the process ends: the engine tears down after the application.
    if (!QOpenGLContext::globalShareContext()) {
        auto *context = new QOpenGLContext;
        context->create();
        qt_gl_set_global_share_context(context);
    }

    // Otherwise the engine prints its whole configuration each time it starts.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
}
