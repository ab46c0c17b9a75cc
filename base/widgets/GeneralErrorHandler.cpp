#include "base/widgets/GeneralErrorHandler.h"

#include "base/ErrorText.h"
#include "base/ProgramConstants.h"
#include "base/TarnWaveError.h"

#include <QApplication>
#include <QMessageBox>

#include <exception>

namespace {

GeneralErrorHandler::Sink &currentSink()
{
    static GeneralErrorHandler::Sink sink;
    return sink;
}

} // namespace

void GeneralErrorHandler::show(const QString &message)
{
    const QString text = errorTextForDisplay(message);
    if (currentSink()) {
        currentSink()(text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, QString::fromLatin1(ProgramConstants::ApplicationTitle),
                    text, QMessageBox::Ok, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool GeneralErrorHandler::guard(const std::function<void()> &handler)
{
    try {
        handler();
        return true;
    } catch (const TarnWaveError &error) {
        show(error.message());
    } catch (const std::exception &error) {
        show(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

void GeneralErrorHandler::setSink(Sink sink)
{
    currentSink() = std::move(sink);
}
