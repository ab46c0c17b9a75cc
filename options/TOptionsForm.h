#pragma once

#include "main_window/logic/TDisplaySettings.h"

#include <QDialog>

class ColorListBox;
class QComboBox;
class QFrame;
class QPushButton;
class QTabWidget;
class QTextCharFormat;
class QTextEdit;
class DisplaySettingsTarget;
class QWidget;

// The Options dialog: fonts and colours of the transcript with a live preview. It is created
// once, after the main window's start-up has set the display defaults it reads, and reused;
// between openings its controls keep what the operator left in them.
class TOptionsForm : public QDialog
{
    Q_OBJECT

public:
    // Reads its defaults from the target and writes the operator's choices back to it.
    TOptionsForm(DisplaySettingsTarget &target, QWidget *parent);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void createFontPage();
    void createFontControls(QWidget &page);
    void createColorControls(QWidget &page);
    void createPreview(QWidget &page);
    void createButtonBar();
    void connectReactions();
    void FormCreate();

    // Program-set values, so no change reaction runs.
    void setControlsToDefaults();

    void FontNameChange();
    void FontSizeChange();
    void FontStyleChange();
    void BGColorBoxChange();
    void MyTextColorBoxChange();
    void RecvTextColorBoxChange();
    void ResetDefaultBtnClick();
    void OKBtnClick();
    void applySettings();

    void refreshPreview();
    void setPreviewLines(const QTextCharFormat &format);
    QColor previewBackground() const;
    void setPreviewBackground(const QColor &color);
    QFont defaultFont() const;

    DisplaySettingsTarget &m_target;
    TDisplaySettings m_defaults;

    QTabWidget *PageControl1 = nullptr;
    QComboBox *FontName = nullptr;
    QComboBox *FontSize = nullptr;
    QComboBox *FontStyle = nullptr;
    ColorListBox *MyTextColorBox = nullptr;
    ColorListBox *RecvTextColorBox = nullptr;
    ColorListBox *BGColorBox = nullptr;
    QTextEdit *PreviewText = nullptr;
    QFrame *Panel1 = nullptr;
    QPushButton *ResetDefaultBtn = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;
};
