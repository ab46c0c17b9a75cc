#pragma once

#include <QDialog>

// The Options dialog: fonts and colours of the transcript with a live preview.
class TOptionsForm : public QDialog
{
    Q_OBJECT

public:
    explicit TOptionsForm(QWidget *parent = nullptr);
};
