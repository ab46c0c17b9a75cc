#pragma once

#include <QColor>
#include <QPalette>
#include <QStringView>

#include <array>

// The original platform's system colours by role, each resolved from the current palette.
struct SystemColorEntry
{
    const char *identifier;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The one table mapping each system colour to the closest palette role.
inline constexpr std::array<SystemColorEntry, 27> SystemColorTable{{
    {"clActiveBorder", QPalette::Active, QPalette::Window},
    {"clActiveCaption", QPalette::Active, QPalette::Highlight},
    {"clAppWorkSpace", QPalette::Active, QPalette::Dark},
    {"clBackground", QPalette::Active, QPalette::Dark},
    {"clBtnFace", QPalette::Active, QPalette::Button},
    {"clBtnHighlight", QPalette::Active, QPalette::Light},
    {"clBtnShadow", QPalette::Active, QPalette::Dark},
    {"clBtnText", QPalette::Active, QPalette::ButtonText},
    {"clCaptionText", QPalette::Active, QPalette::HighlightedText},
    {"clGradientActiveCaption", QPalette::Active, QPalette::Highlight},
    {"clGradientInactiveCaption", QPalette::Inactive, QPalette::Midlight},
    {"clGrayText", QPalette::Disabled, QPalette::Text},
    {"clHighlight", QPalette::Active, QPalette::Highlight},
    {"clHighlightText", QPalette::Active, QPalette::HighlightedText},
    {"clInactiveBorder", QPalette::Inactive, QPalette::Window},
    {"clInactiveCaption", QPalette::Inactive, QPalette::Mid},
    {"clInactiveCaptionText", QPalette::Disabled, QPalette::WindowText},
    {"clInfoBk", QPalette::Active, QPalette::ToolTipBase},
    {"clInfoText", QPalette::Active, QPalette::ToolTipText},
    {"clMenu", QPalette::Active, QPalette::Window},
    {"clMenuText", QPalette::Active, QPalette::WindowText},
    {"clScrollBar", QPalette::Active, QPalette::Midlight},
    {"cl3DDkShadow", QPalette::Active, QPalette::Shadow},
    {"cl3DLight", QPalette::Active, QPalette::Midlight},
    {"clWindow", QPalette::Active, QPalette::Base},
    {"clWindowFrame", QPalette::Active, QPalette::Shadow},
    {"clWindowText", QPalette::Active, QPalette::Text},
}};

// An invalid colour for identifiers the table does not know.
QColor systemColor(const QString &identifier, const QPalette &palette);
