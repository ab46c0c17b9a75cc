#pragma once

#include <QString>

class QFileDialog;
class QWidget;

// The "Save..." file dialog behind a seam: tests answer the next call with setNextFileName()
// instead of a modal dialog.
class SaveFileDialog
{
public:
    // The file the operator chose, or an empty name when cancelled.
    static QString getSaveFileName(QWidget *parent);

    // The next getSaveFileName() returns this without showing anything; empty means cancel.
    static void setNextFileName(const QString &fileName);

    // Default suffix "txt", asks before overwriting, resizable, no filter, no initial name.
    static void configure(QFileDialog &dialog);
};
