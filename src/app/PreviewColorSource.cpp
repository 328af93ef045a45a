#include "app/PreviewColorSource.h"

#include "app/BrowserScript.h"

#include <QUrl>

namespace pictor {

QString ColorSourceScript(const QString& path)
{
    // From the element up its ancestors, as the colour is inherited: at each, the author's declarations
    // of "color" that apply (!important first, then the style attribute, specificity and order), then
    // FONT COLOR, BODY TEXT, and BODY LINK for a link. Where none applies and the colour differs from the
    // parent's, the browser's own style gave it.
    return QStringLiteral(R"JS((function (path) {
  var e = document.documentElement;
  path.split('/').forEach(function (i) { if (e && i !== '') e = e.children[+i]; });
  if (!e) return {kind: 'none'};
  var keyword = /^(inherit|initial|unset|revert|revert-layer|currentcolor)$|var\(/i;
  var inherits = /^(inherit|unset|currentcolor)$/i;
  function split(text) {
    var parts = [], depth = 0, from = 0;
    for (var i = 0; i < text.length; ++i) {
      var c = text[i];
      if (c === '(' || c === '[') ++depth;
      else if (c === ')' || c === ']') --depth;
      else if (c === ',' && !depth) { parts.push(text.slice(from, i)); from = i + 1; }
    }
    parts.push(text.slice(from));
    return parts;
  }
  function specificity(s) {
    var score = 0, i = 0, n = s.length;
    function name() {
      var m = /^(?:\\.|[\w\u00a0-\uffff-])+/.exec(s.slice(i));
      i += m ? m[0].length : 1;
      return m ? m[0].toLowerCase() : '';
    }
    function args() {
      var depth = 1, from = ++i;
      for (; i < n && depth; ++i) { if (s[i] === '(') ++depth; else if (s[i] === ')') --depth; }
      return s.slice(from, i - 1);
    }
    while (i < n) {
      var c = s[i];
      if (c === '#') { ++i; name(); score += 1e6; }
      else if (c === '.') { ++i; name(); score += 1e3; }
      else if (c === '[') { i = s.indexOf(']', i) + 1 || n; score += 1e3; }
      else if (c === ':') {
        var element = s[i + 1] === ':';
        i += element ? 2 : 1;
        var p = name(), arg = s[i] === '(' ? args() : null;
        if (element || /^(before|after|first-line|first-letter)$/.test(p)) score += 1;
        else if (arg !== null && /^(not|is|matches|-webkit-any|has)$/.test(p))
          score += Math.max.apply(null, split(arg).map(specificity));
        else if (p !== 'where') score += 1e3;
      }
      else if (c === '\\' || /[\w\u00a0-\uffff-]/.test(c)) { name(); score += 1; }
      else ++i;
    }
    return score;
  }
  var rules = [];
  function rulesOf(sheet) { try { return sheet.cssRules || []; } catch (x) { return []; } }
  function matches(media) { return matchMedia(media.mediaText || 'all').matches; }
  function collect(list, sheet, active) {
    for (var i = 0; i < list.length; ++i) {
      var r = list[i];
      if (r.type === CSSRule.STYLE_RULE) rules.push({rule: r, sheet: sheet, active: active});
      else if (r.type === CSSRule.IMPORT_RULE && r.styleSheet)
        collect(rulesOf(r.styleSheet), r.styleSheet, active && matches(r.media));
      else if (r.type === CSSRule.MEDIA_RULE) collect(r.cssRules, sheet, active && matches(r.media));
      else if (r.type === CSSRule.SUPPORTS_RULE) collect(r.cssRules, sheet, active && CSS.supports(r.conditionText));
      else if (r.cssRules) collect(r.cssRules, sheet, active);
    }
  }
  for (var s = 0; s < document.styleSheets.length; ++s) {
    var sheet = document.styleSheets[s];
    collect(rulesOf(sheet), sheet.href ? sheet : null, !sheet.disabled && matches(sheet.media));
  }
  function declared(el) {
    var best = null;
    function offer(d) {
      if (!best || d.rank > best.rank ||
          (d.rank === best.rank && (d.weight > best.weight || (d.weight === best.weight && d.order > best.order))))
        best = d;
    }
    rules.forEach(function (r, order) {
      var value = r.active && r.rule.style.getPropertyValue('color');
      if (!value) return;
      var weight = -1;
      split(r.rule.selectorText).forEach(function (one) {
        try { if (el.matches(one)) weight = Math.max(weight, specificity(one)); } catch (x) {}
      });
      var important = r.rule.style.getPropertyPriority('color');
      if (weight >= 0) offer({rank: important ? 3 : 1, weight: weight, order: order, value: value, entry: r});
    });
    var inline = el.style.getPropertyValue('color');
    if (inline) offer({rank: el.style.getPropertyPriority('color') ? 4 : 2, weight: 0, order: 0, value: inline});
    return best;
  }
  function colour(el) { return getComputedStyle(el).color.match(/[\d.]+/g).map(Number); }
  function among(list, el, read) {
    return {candidates: list.map(read), index: list.indexOf(el)};
  }
  function attribute(el, tag, name) {
    var found = among(Array.prototype.slice.call(document.querySelectorAll(tag + '[' + name + ']')), el,
                      function (x) { return x.getAttribute(name); });
    found.kind = 'attribute'; found.tag = tag; found.name = name;
    return found;
  }
  function source(level) {
    var d = declared(level);
    if (d && inherits.test(d.value)) return null;
    if (d && keyword.test(d.value)) return {kind: 'none'};
    if (d && d.entry) {
      var own = rules.filter(function (r) {
        var value = r.rule.style.getPropertyValue('color');
        return r.sheet === d.entry.sheet && value && !keyword.test(value);
      });
      var rule = among(own, d.entry, function (r) { return r.rule.selectorText; });
      rule.kind = 'rule';
      rule.sheet = d.entry.sheet ? d.entry.sheet.href : '';
      return rule;
    }
    if (d) {
      var style = among(Array.prototype.slice.call(document.querySelectorAll('[style]')), level,
                        function (x) { return x.getAttribute('style'); });
      style.kind = 'style';
      return style;
    }
    var body = document.body;
    if (level.tagName === 'FONT' && level.hasAttribute('color')) return attribute(level, 'font', 'color');
    if (level === body && body.hasAttribute('text')) return attribute(level, 'body', 'text');
    if (level.matches(':any-link'))
      return body && body.hasAttribute('link') ? attribute(body, 'body', 'link') : {kind: 'none'};
    var parent = level.parentElement;
    return parent && getComputedStyle(parent).color === getComputedStyle(level).color ? null : {kind: 'none'};
  }
  for (var level = e; level; level = level.parentElement) {
    var found = source(level);
    if (!found) continue;
    found.color = colour(level);
    return found;
  }
  return {kind: 'none'};
}))JS") + QStringLiteral("('%1')").arg(path);
}

TColorSource ColorSourceOf(const QVariant& answer)
{
    const QVariantMap fields = answer.toMap();
    const QString kind = fields.value("kind").toString();
    TColorSource source;
    if (kind == "rule")
        source.Kind = TColorSource::Rule;
    else if (kind == "style")
        source.Kind = TColorSource::StyleAttribute;
    else if (kind == "attribute")
        source.Kind = TColorSource::Attribute;
    else
        return source;
    const QString sheet = fields.value("sheet").toString();
    if (!sheet.isEmpty()) source.Sheet = QUrl(sheet).toLocalFile().toStdString();
    source.Tag = fields.value("tag").toString().toStdString();
    source.Name = fields.value("name").toString().toStdString();
    for (const QVariant& candidate : fields.value("candidates").toList())
        source.Candidates.push_back(candidate.toString().toStdString());
    const int index = fields.value("index").toInt();
    if (index < 0) return {};
    source.Index = std::size_t(index);
    const QVariantList channels = fields.value("color").toList();
    if (channels.size() >= 3)
        source.Color =
            RGB(qRound(channels[0].toDouble()), qRound(channels[1].toDouble()), qRound(channels[2].toDouble()));
    return source;
}

TColorSource ColorSourceOf(IBrowser& browser, const QString& path)
{
    return ColorSourceOf(ScriptAnswer(browser, ColorSourceScript(path)));
}

} // namespace pictor
