#pragma once

#include <QComboBox>

class ColorListModel;

// A fixed drop-down list of named colours, each shown as a swatch and its identifier. The
// system colours follow the application palette. The operator's choice arrives as activated().
class ColorListBox : public QComboBox
{
    Q_OBJECT

public:
    explicit ColorListBox(QWidget *parent = nullptr);

    // The selected entry's colour; an invalid colour when no entry is selected.
    QColor color() const;
    // Selects the first entry of this colour, or none; never counts as the operator's choice.
    void setColor(const QColor &color);

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    ColorListModel *m_entries = nullptr;
    bool m_dropDownPrepared = false;
};
