#include "app/PreviewContrast.h"

#include "app/BrowserScript.h"
#include "document/Contrast.h"

#include <QHash>

#include <algorithm>

namespace pictor {

namespace {

// Large text: 18pt, or 14pt bold, in CSS pixels.
constexpr double LargeTextContrast = 3;

void ReadColor(const QVariant& value, TColor& color, int& alpha)
{
    const QVariantList channels = value.toList();
    if (channels.size() != 4) return;
    color = RGB(qRound(channels[0].toDouble()), qRound(channels[1].toDouble()), qRound(channels[2].toDouble()));
    alpha = qRound(channels[3].toDouble() * 255);
}

QHash<QString, const TPreviewText*> ByPath(const std::vector<TPreviewText>& texts)
{
    QHash<QString, const TPreviewText*> byPath;
    for (const TPreviewText& text : texts) byPath.insert(text.Path, &text);
    return byPath;
}

} // namespace

QString PreviewTextsScript()
{
    // Colours come back as [r, g, b, alpha 0-1]; the ratio is worked out by the program, not here.
    return QStringLiteral(R"JS((function () {
  function rgba(text) {
    var m = /rgba?\(([^)]*)\)/.exec(text);
    if (!m) return [0, 0, 0, 0];
    var p = m[1].split(/[\s,\/]+/).filter(function (s) { return s.length; }).map(parseFloat);
    return [p[0], p[1], p[2], p.length > 3 ? p[3] : 1];
  }
  function path(e) {
    var steps = [];
    for (; e.parentElement; e = e.parentElement) steps.unshift(Array.prototype.indexOf.call(e.parentElement.children, e));
    return steps.join('/');
  }
  var out = [], all = document.querySelectorAll('body, body *');
  for (var i = 0; i < all.length; ++i) {
    var e = all[i], text = '';
    for (var n = e.firstChild; n; n = n.nextSibling) if (n.nodeType === 3) text += n.nodeValue;
    text = text.replace(/\s+/g, ' ').trim();
    if (!text || !e.getClientRects().length) continue;
    var style = getComputedStyle(e), bg = [255, 255, 255, 1];
    for (var a = e; a; a = a.parentElement) {
      var c = rgba(getComputedStyle(a).backgroundColor);
      if (c[3] > 0) { bg = c; break; }
    }
    var size = parseFloat(style.fontSize), bold = parseInt(style.fontWeight, 10) >= 700;
    out.push({path: path(e), text: text, fg: rgba(style.color), bg: bg, large: size >= 24 || (bold && size >= 18.66)});
  }
  return out;
})())JS");
}

std::vector<TPreviewText> PreviewTexts(const QVariant& answer)
{
    std::vector<TPreviewText> texts;
    for (const QVariant& item : answer.toList()) {
        const QVariantMap fields = item.toMap();
        TPreviewText text;
        text.Path = fields.value("path").toString();
        text.Text = fields.value("text").toString();
        ReadColor(fields.value("fg"), text.Foreground, text.ForegroundAlpha);
        ReadColor(fields.value("bg"), text.Background, text.BackgroundAlpha);
        text.Large = fields.value("large").toBool();
        text.Ratio = ContrastRatio(text.Foreground, text.ForegroundAlpha, text.Background, text.BackgroundAlpha);
        texts.push_back(std::move(text));
    }
    return texts;
}

std::vector<TPreviewText> PreviewTexts(IBrowser& browser)
{
    return PreviewTexts(ScriptAnswer(browser, PreviewTextsScript()));
}

bool IsBelowAA(const TPreviewText& text)
{
    return text.Ratio < (text.Large ? LargeTextContrast : MinimumTextContrast);
}

std::vector<TContrastRow> LowContrastRows(const std::vector<TPreviewText>& now, const std::vector<TPreviewText>& before)
{
    const auto previous = ByPath(before);
    std::vector<TContrastRow> rows;
    for (const TPreviewText& text : now) {
        if (!IsBelowAA(text)) continue;
        TContrastRow row{text, std::nullopt};
        if (const TPreviewText* old = previous.value(text.Path)) {
            row.Before = old->Ratio;
            const bool foreground = old->Foreground != text.Foreground || old->ForegroundAlpha != text.ForegroundAlpha;
            const bool background = old->Background != text.Background || old->BackgroundAlpha != text.BackgroundAlpha;
            row.ForegroundMoved = foreground || !background;
            row.BackgroundMoved = background;
        }
        rows.push_back(std::move(row));
    }
    std::stable_sort(rows.begin(), rows.end(), [](const TContrastRow& a, const TContrastRow& b) { return a.Now.Ratio < b.Now.Ratio; });
    return rows;
}

bool AnyFallsBelowAA(const std::vector<TPreviewText>& before, const std::vector<TPreviewText>& now)
{
    const auto previous = ByPath(before);
    return std::any_of(now.begin(), now.end(), [&](const TPreviewText& text) {
        const TPreviewText* old = previous.value(text.Path);
        return old && !IsBelowAA(*old) && IsBelowAA(text);
    });
}

} // namespace pictor
