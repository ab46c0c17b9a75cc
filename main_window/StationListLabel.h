#pragma once

#include <QLabel>

// The station list label: as wide as its text while the status bar has room, elided at the
// right beyond that, so that a long list cannot widen the window. text() always holds the
// whole list; when it is elided, the tooltip shows the list.
class StationListLabel : public QLabel
{
    Q_OBJECT

public:
    explicit StationListLabel(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool isElided() const;
    int textWidth() const;
    int availableWidth() const;
    int chromeWidth() const;
    QString toolTipText() const;

    // The last measurement, kept while text, font and desktop stay the same.
    mutable QString m_measuredText;
    mutable int m_measuredLimit = -1;
    mutable int m_measuredWidth = 0;
};
