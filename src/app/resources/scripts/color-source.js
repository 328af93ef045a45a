// Finds, as the cascade does, the declaration that gives an element its text colour or its background.
// Elements are named by child indexes from the root element, as the contrast check names them. The
// browser itself says which selectors match (element.matches), which media and container conditions
// hold, and which sheets, layers and rules there are (document.styleSheets); this script only orders
// what applies.
//
// The text colour, from the element up its ancestors, as the colour is inherited: at each, the author's
// declarations of "color" that apply, then FONT COLOR, BODY TEXT, and BODY LINK for a link. Where none
// applies and the colour differs from the parent's, the browser's own style gave it. The background, at
// the first of the element and its ancestors that paints one: its declarations of "background-color"
// (the shorthand sets it too), then its BGCOLOR.
//
// queries: [{path, background}]; the answer has one source for each.
(function (queries) {
  var keyword = /^(inherit|initial|unset|revert|revert-layer|currentcolor)$|var\(/i;
  var inherits = /^(inherit|unset|currentcolor)$/i;

  // The parts of a selector list, or of any list, split at the commas outside brackets and strings.
  function split(text) {
    var parts = [], depth = 0, from = 0, quote = null;
    for (var i = 0; i < text.length; ++i) {
      var c = text[i];
      if (c === '\\') ++i;
      else if (quote) { if (c === quote) quote = null; }
      else if (c === '"' || c === "'") quote = c;
      else if (c === '(' || c === '[') ++depth;
      else if (c === ')' || c === ']') --depth;
      else if (c === ',' && !depth) { parts.push(text.slice(from, i)); from = i + 1; }
    }
    parts.push(text.slice(from));
    return parts;
  }

  // Specificity as [ids, classes, types], compared from the left.
  function compare(a, b) { return a[0] - b[0] || a[1] - b[1] || a[2] - b[2]; }
  function add(a, b) { return [a[0] + b[0], a[1] + b[1], a[2] + b[2]]; }
  function most(list) {
    return split(list).map(specificity).reduce(function (a, b) { return compare(a, b) >= 0 ? a : b; }, [0, 0, 0]);
  }
  function specificity(s) {
    var score = [0, 0, 0], i = 0, n = s.length;
    function name() {
      var m = /^(?:\\[0-9a-fA-F]{1,6}\s?|\\.|[\w\u00a0-\uffff-])+/.exec(s.slice(i));
      i += m ? m[0].length : 1;
      return m ? m[0].toLowerCase() : '';
    }
    function skipString(q) { for (++i; i < n && s[i] !== q; ++i) if (s[i] === '\\') ++i; ++i; }
    function args() {
      var depth = 1, from = ++i;
      while (i < n && depth) {
        if (s[i] === '"' || s[i] === "'") { skipString(s[i]); continue; }
        if (s[i] === '\\') ++i;
        else if (s[i] === '(') ++depth;
        else if (s[i] === ')') --depth;
        ++i;
      }
      return s.slice(from, i - 1);
    }
    while (i < n) {
      var c = s[i];
      if (c === '#') { ++i; name(); score[0] += 1; }
      else if (c === '.') { ++i; name(); score[1] += 1; }
      else if (c === '[') {
        while (i < n && s[i] !== ']') { if (s[i] === '"' || s[i] === "'") skipString(s[i]); else i += s[i] === '\\' ? 2 : 1; }
        ++i;
        score[1] += 1;
      }
      else if (c === ':') {
        var element = s[i + 1] === ':';
        i += element ? 2 : 1;
        var p = name(), arg = s[i] === '(' ? args() : null;
        if (element || /^(before|after|first-line|first-letter)$/.test(p)) score[2] += 1;
        else if (p === 'where') {}
        else if (arg !== null && /^(is|matches|-webkit-any|not|has)$/.test(p)) score = add(score, most(arg));
        else if (arg !== null && /^nth-(last-)?child$/.test(p) && /\sof\s/i.test(arg))
          score = add(add(score, [0, 1, 0]), most(arg.replace(/^[^]*?\sof\s/i, '')));
        else score[1] += 1;
      }
      else if (c === '\\' || /[\w\u00a0-\uffff-]/.test(c)) {
        name();
        if (s[i] === '|' && s[i + 1] !== '=') ++i;  // a namespace prefix
        else score[2] += 1;
      }
      else ++i;
    }
    return score;
  }

  // Cascade layers, each named by its place among its siblings from the outermost, in the order they are
  // first declared; declarations outside every layer stand after all of them.
  var layers = new Map(), siblings = new Map(), anonymous = 0;
  function layer(parent, name) {
    var full = parent.name;
    (name === '' ? ['\u0000' + anonymous++] : name.split('.')).forEach(function (part) {
      var inside = full;
      full = inside === null ? part.trim() : inside + '.' + part.trim();
      if (layers.has(full)) return;
      siblings.set(inside, (siblings.get(inside) || 0) + 1);
      layers.set(full, (inside === null ? [] : layers.get(inside)).concat([siblings.get(inside)]));
    });
    return {name: full, order: layers.get(full)};
  }
  // Normal declarations: a later layer wins, and a layer's own over those of the layers in it; the other
  // way round for !important ones.
  function compareLayers(a, b) {
    for (var i = 0; i < Math.max(a.length, b.length); ++i) {
      var x = i < a.length ? a[i] : Infinity, y = i < b.length ? b[i] : Infinity;
      if (x !== y) return x < y ? -1 : 1;
    }
    return 0;
  }
  // An @import's layer: null for none, '' for an anonymous one.
  function importLayer(r) {
    if ('layerName' in r) return r.layerName;
    var m = /^@import\s+(?:url\((?:"(?:\\.|[^"])*"|[^)]*)\)|"(?:\\.|[^"])*")\s*layer\b(?:\(\s*([^)]*?)\s*\))?/i.exec(r.cssText);
    return m ? m[1] || '' : null;
  }

  var rules = [];
  var unlayered = {name: null, order: []};
  function rulesOf(sheet) { try { return sheet.cssRules || []; } catch (x) { return []; } }
  function matches(media) { return matchMedia(media.mediaText || 'all').matches; }
  function collect(list, sheet, scope) {
    for (var i = 0; i < list.length; ++i) {
      var r = list[i], active = scope.active;
      var inner = {active: active, layer: scope.layer, containers: scope.containers};
      if (r.type === CSSRule.STYLE_RULE) {
        rules.push({rule: r, sheet: sheet, active: active, layer: scope.layer.order, containers: scope.containers});
      } else if (r.type === CSSRule.IMPORT_RULE) {
        var named = importLayer(r);
        inner.active = active && matches(r.media);
        if (named !== null && inner.active) inner.layer = layer(scope.layer, named);
        if (r.styleSheet) collect(rulesOf(r.styleSheet), r.styleSheet, inner);
      } else if (r.type === CSSRule.MEDIA_RULE) {
        inner.active = active && matches(r.media);
        collect(r.cssRules, sheet, inner);
      } else if (r.type === CSSRule.SUPPORTS_RULE) {
        inner.active = active && CSS.supports(r.conditionText);
        collect(r.cssRules, sheet, inner);
      } else if (window.CSSLayerStatementRule && r instanceof CSSLayerStatementRule) {
        if (active) Array.prototype.forEach.call(r.nameList, function (name) { layer(scope.layer, name); });
      } else if (window.CSSLayerBlockRule && r instanceof CSSLayerBlockRule) {
        if (active) inner.layer = layer(scope.layer, r.name);
        collect(r.cssRules, sheet, inner);
      } else if (window.CSSContainerRule && r instanceof CSSContainerRule) {
        inner.containers = scope.containers.concat([r]);
        collect(r.cssRules, sheet, inner);
      } else if (r.cssRules) {
        collect(r.cssRules, sheet, inner);
      }
    }
  }
  // Sheets a script built and adopted stand after the others, in no file.
  var adopted = {};
  function collectSheet(sheet, owner) {
    collect(rulesOf(sheet), owner, {active: !sheet.disabled && matches(sheet.media), layer: unlayered, containers: []});
  }
  Array.prototype.forEach.call(document.styleSheets, function (sheet) { collectSheet(sheet, sheet.href ? sheet : null); });
  (document.adoptedStyleSheets || []).forEach(function (sheet) { collectSheet(sheet, adopted); });

  // Whether a container query holds for the element: the browser has no call that says so, so a sheet of
  // its own, adopted for a moment, sets a custom property on the element when it does.
  function containerHolds(rule, el) {
    var probe = new CSSStyleSheet(), before = document.adoptedStyleSheets, steps = [];
    for (var at = el; at.parentElement; at = at.parentElement)
      steps.unshift(':nth-child(' + (Array.prototype.indexOf.call(at.parentElement.children, at) + 1) + ')');
    probe.replaceSync('@container ' + rule.conditionText + ' { ' + [':root'].concat(steps).join(' > ') +
                      ' { --pictor-container-holds: 1 } }');
    document.adoptedStyleSheets = before.concat([probe]);
    var holds = getComputedStyle(el).getPropertyValue('--pictor-container-holds').trim() === '1';
    document.adoptedStyleSheets = before;
    return holds;
  }

  // The winner among the declarations of the property that apply to el: !important first, then the
  // style attribute, then the layer, the specificity and the order.
  function declared(el, property) {
    var best = null;
    function beats(d, b) {
      if (d.important !== b.important) return d.important;
      if (d.inline !== b.inline) return d.inline;
      var byLayer = compareLayers(d.layer, b.layer) * (d.important ? -1 : 1);
      if (byLayer) return byLayer > 0;
      var weight = compare(d.weight, b.weight);
      return weight ? weight > 0 : d.order > b.order;
    }
    function offer(d) { if (!best || beats(d, best)) best = d; }
    rules.forEach(function (r, order) {
      var value = r.active && r.rule.style.getPropertyValue(property);
      if (!value) return;
      var weight = null;
      split(r.rule.selectorText).forEach(function (one) {
        try {
          if (el.matches(one) && (!weight || compare(specificity(one), weight) > 0)) weight = specificity(one);
        } catch (x) {}
      });
      if (!weight || !r.containers.every(function (c) { return containerHolds(c, el); })) return;
      offer({important: !!r.rule.style.getPropertyPriority(property), inline: false, layer: r.layer,
             weight: weight, order: order, value: value, entry: r});
    });
    var inline = el.style.getPropertyValue(property);
    if (inline)
      offer({important: !!el.style.getPropertyPriority(property), inline: true, layer: [], weight: [0, 0, 0],
             order: 0, value: inline});
    return best;
  }

  function channels(text) { return text.match(/[\d.]+/g).map(Number); }
  function among(list, el, read) {
    return {candidates: list.map(read), index: list.indexOf(el)};
  }
  function attribute(el, tag, name) {
    var found = among(Array.prototype.slice.call(document.querySelectorAll(tag + '[' + name + ']')), el,
                      function (x) { return x.getAttribute(name); });
    found.kind = 'attribute'; found.tag = tag; found.name = name;
    return found;
  }
  // The author's declaration of the property at that level; null when there is none, an attribute
  // (colour attributes) when attributes gives one.
  function authored(level, property, attributes) {
    var d = declared(level, property);
    if (d && inherits.test(d.value)) return null;
    if (d && keyword.test(d.value)) return {kind: 'none'};
    if (d && d.entry && d.entry.sheet === adopted) return {kind: 'none'};
    if (d && d.entry) {
      var own = rules.filter(function (r) {
        var value = r.rule.style.getPropertyValue(property);
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
    return attributes(level);
  }
  function textSource(e) {
    var body = document.body;
    function attributes(level) {
      if (level.tagName === 'FONT' && level.hasAttribute('color')) return attribute(level, 'font', 'color');
      if (level === body && body.hasAttribute('text')) return attribute(level, 'body', 'text');
      if (level.matches(':any-link'))
        return body && body.hasAttribute('link') ? attribute(body, 'body', 'link') : {kind: 'none'};
      var parent = level.parentElement;
      return parent && getComputedStyle(parent).color === getComputedStyle(level).color ? null : {kind: 'none'};
    }
    for (var level = e; level; level = level.parentElement) {
      var found = authored(level, 'color', attributes);
      if (!found) continue;
      found.color = channels(getComputedStyle(level).color);
      return found;
    }
    return {kind: 'none'};
  }
  function backgroundSource(e) {
    function attributes(level) {
      return level.hasAttribute('bgcolor') ? attribute(level, level.localName, 'bgcolor') : {kind: 'none'};
    }
    for (var level = e; level; level = level.parentElement) {
      var painted = channels(getComputedStyle(level).backgroundColor);
      if (painted.length > 3 && painted[3] === 0) continue;
      var found = authored(level, 'background-color', attributes) || {kind: 'none'};
      found.color = painted;
      return found;
    }
    return {kind: 'none'};
  }

  return queries.map(function (query) {
    var e = document.documentElement;
    query.path.split('/').forEach(function (i) { if (e && i !== '') e = e.children[+i]; });
    if (!e) return {kind: 'none'};
    return query.background ? backgroundSource(e) : textSource(e);
  });
})
