#pragma once

#include "base/widgets/GeneralErrorHandler.h"

#include <QStringList>

// Collects what the general error handler would show, instead of a modal box.
class ErrorCapture
{
public:
    ErrorCapture()
    {
        GeneralErrorHandler::setSink([this](const QString &text) { messages << text; });
    }
    ~ErrorCapture() { GeneralErrorHandler::setSink({}); }
    ErrorCapture(const ErrorCapture &) = delete;
    ErrorCapture &operator=(const ErrorCapture &) = delete;

    QStringList messages;
};
