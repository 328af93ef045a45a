#pragma once
#include <QProxyStyle>

// The application's style with the hint pause (`HintPauseTime`) as the tool-tip delay.
class TAppStyle : public QProxyStyle {
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override;
    void SetHintPause(int milliseconds) { HintPause_ = milliseconds; }

private:
    int HintPause_ = 500;
};
