#pragma once

#include <QString>

// The text the general error handler shows: a "." is added when the last character sorts
// after ".".
QString errorTextForDisplay(const QString &message);
