#pragma once

struct TDisplaySettings;
class QColor;

// What the Options dialog changes in the window whose lines it styles: the settings new lines
// are drawn with, and the transcript's background. The main window provides it, so the dialog
// needs nothing else of the window.
class DisplaySettingsTarget
{
public:
    virtual const TDisplaySettings &displaySettings() const = 0;
    // Lines already in the transcript keep their look; new ones take the new settings.
    virtual void setDisplaySettings(const TDisplaySettings &settings) = 0;
    virtual void setTranscriptBackground(const QColor &color) = 0;

protected:
    ~DisplaySettingsTarget() = default;
};
