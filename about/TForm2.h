#pragma once

#include <QDialog>

// The About window: the program's name and version above the maker's about page.
class TForm2 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm2(QWidget *parent = nullptr);
};
