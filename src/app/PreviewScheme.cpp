#include "app/PreviewScheme.h"

namespace pictor {

QString PreferredSchemeScript(bool dark)
{
    return QStringLiteral(R"JS((function (dark) {
    const query = /\(\s*prefers-color-scheme\s*:\s*(dark|light)\s*\)/gi;
    const forced = (match, scheme) =>
        scheme.toLowerCase() === (dark ? "dark" : "light") ? "(min-width: 0px)" : "(max-width: -1px)";
    const visitSheet = (sheet) => {
        let rules;
        try { rules = sheet.cssRules; } catch (e) { return; }
        visit(rules);
    };
    const visit = (rules) => {
        for (const rule of rules) {
            if (rule.media && rule.type === CSSRule.MEDIA_RULE) {
                if (rule.pictorMedia === undefined) rule.pictorMedia = rule.media.mediaText;
                if (/prefers-color-scheme/i.test(rule.pictorMedia))
                    rule.media.mediaText = rule.pictorMedia.replace(query, forced);
            }
            if (rule.styleSheet) visitSheet(rule.styleSheet);
            if (rule.cssRules) visit(rule.cssRules);
        }
    };
    for (const sheet of document.styleSheets) visitSheet(sheet);
    document.documentElement.style.colorScheme = dark ? "dark" : "";
    return true;
})(%1))JS")
        .arg(dark ? QStringLiteral("true") : QStringLiteral("false"));
}

} // namespace pictor
