#pragma once
#include "base/Color.h"

#include <QString>
#include <QVariant>

#include <optional>
#include <vector>

class IBrowser;

namespace pictor {

// A text element of the rendered page with the colours it is drawn in.
struct TPreviewText {
    QString Path;  // child indexes from the root element: names the element across reloads
    QString Text;  // its own text, spaces folded
    TColor Foreground = 0;
    int ForegroundAlpha = 255;
    TColor Background = 0;  // the first painted background among the element and its ancestors
    int BackgroundAlpha = 255;
    bool Large = false;  // large text passes AA at a lower ratio
    double Ratio = 21;
};

// A text below AA now, with the ratio the same element had before the last change and which of its
// colours that change moved (the text colour when nothing is known).
struct TContrastRow {
    TPreviewText Now;
    std::optional<double> Before;
    bool ForegroundMoved = true;
    bool BackgroundMoved = false;
};

// What the window keeps of the checks: the page before the last change and as it is shown.
struct TContrastState {
    std::vector<TPreviewText> Before, Shown;
    bool AwaitingChange = false;  // the next check is the first after a change
    int Changes = 0;              // changes made: a check asked for before the last one reads the page before it
    QString Warning;              // for the hint panel until the next change
};

// The script that reads the shown page's text elements; its answer goes to PreviewTexts.
QString PreviewTextsScript();
std::vector<TPreviewText> PreviewTexts(const QVariant& answer);
// Runs the script and waits for its answer; empty when none comes.
std::vector<TPreviewText> PreviewTexts(IBrowser& browser);

bool IsBelowAA(const TPreviewText& text);
// The texts below AA, lowest ratio first.
std::vector<TContrastRow> LowContrastRows(const std::vector<TPreviewText>& now, const std::vector<TPreviewText>& before);
// Whether an element that passed AA before fails it now.
bool AnyFallsBelowAA(const std::vector<TPreviewText>& before, const std::vector<TPreviewText>& now);

} // namespace pictor
