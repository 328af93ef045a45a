// Brings the shown page up to date with the working copies a step rewrote, without loading the page
// again. The browser keeps every file it has fetched for as long as the page is shown, by address, so
// each state of a copy has an address of its own (its file's with a query naming the state; the plain
// one for the state the page was loaded with), and going back to a state fetches nothing: a changed sheet
// is loaded beside the one shown, which goes once the new one has come, an imported one likewise inside
// the sheet that imports it, and every reference to a changed picture (an element's attribute, a
// url() in a sheet or a style attribute) is pointed at the picture's new address once it has come.
// The page keeps the newest address of each copy, so that a sheet loaded at a later step, whose
// references name the plain files, is brought up to date too.
//
// changed: [{url, to, kind}], url a copy's address without query, to its address now, kind "sheet",
// "picture" (named by the page) or "sheet-picture" (named by a sheet). The promise gives true once
// the page shows every copy; it fails when a copy is named in a way this does not follow, and the page
// is then loaded again.
(function (changed) {
  var shown = window.__pictorCopies || (window.__pictorCopies = {urls: {}, inSheets: false});
  var met = {};  // the changed copies, and whether a reference to each was found
  changed.forEach(function (c) {
    shown.urls[c.url] = c.to;
    if (c.kind === 'sheet-picture') shown.inSheets = true;
    met[c.url] = false;
  });

  var waits = [];       // sheets and pictures being fetched
  var rewrites = [];    // what is changed once all have come, in one go
  var fetched = {};

  // The address a reference should have now, or null when it has it.
  function newest(ref, base) {
    var url;
    try { url = new URL(ref, base); } catch (x) { return null; }
    var hash = url.hash, href = url.href;
    url.search = '';
    url.hash = '';
    var key = url.href;
    if (!(key in shown.urls)) return null;
    if (key in met) met[key] = true;
    var to = shown.urls[key] + hash;
    return href === to ? null : to;
  }
  function quoted(url) { return '"' + url.replace(/["\\\n]/g, function (c) { return '\\' + c; }) + '"'; }
  function fetchPicture(url) {
    if (fetched[url]) return;
    fetched[url] = true;
    var picture = new Image();
    picture.src = url;
    waits.push(new Promise(function (resolve) { picture.onload = picture.onerror = resolve; }));
  }

  var urlPattern = /url\(\s*(?:"((?:[^"\\]|\\.)*)"|'((?:[^'\\]|\\.)*)'|([^)"'\s]*))\s*\)/g;
  function fixStyle(style, base) {
    for (var i = 0; i < style.length; ++i) {
      var name = style[i], value = style.getPropertyValue(name);
      if (value.indexOf('url(') < 0) continue;
      var moved = false;
      var next = value.replace(urlPattern, function (whole, a, b, c) {
        var ref = (a !== undefined ? a : b !== undefined ? b : c).replace(/\\(.)/g, '$1');
        var to = newest(ref, base);
        if (!to) return whole;
        moved = true;
        fetchPicture(to);
        return 'url(' + quoted(to) + ')';
      });
      if (moved) (function (name, next) {
        rewrites.push(function () { style.setProperty(name, next, style.getPropertyPriority(name)); });
      })(name, next);
    }
  }

  function rulesOf(sheet) { try { return sheet.cssRules; } catch (x) { return null; } }
  function fixSheet(sheet, base) {
    var rules = rulesOf(sheet);
    if (!rules) return;
    var imports = [];
    for (var i = 0; i < rules.length; ++i) collect(rules[i], base, imports);
    imports.forEach(function (rule) { fixImport(sheet, rule, base); });
  }
  function collect(rule, base, imports) {
    if (rule.type === CSSRule.IMPORT_RULE) { imports.push(rule); return; }
    if (rule.style && shown.inSheets) fixStyle(rule.style, base);
    var inner = rule.cssRules;
    if (inner) for (var i = 0; i < inner.length; ++i) collect(inner[i], base, imports);
  }
  // The new rule goes before the old one, which wins meanwhile as the later of the two.
  function fixImport(sheet, rule, base) {
    var to = newest(rule.href, base);
    if (!to) {
      if (rule.styleSheet) fixSheet(rule.styleSheet, rule.styleSheet.href || base);
      return;
    }
    var text = rule.cssText.replace(
      /^@import\s+(?:url\(\s*(?:"(?:[^"\\]|\\.)*"|'(?:[^'\\]|\\.)*'|[^)]*)\s*\)|"(?:[^"\\]|\\.)*"|'(?:[^'\\]|\\.)*')/i,
      '@import url(' + quoted(to) + ')');
    var rules = sheet.cssRules;
    var at = Array.prototype.indexOf.call(rules, rule);
    sheet.insertRule(text, at);
    var added = rules[at];
    waits.push(new Promise(function (resolve, reject) {
      var tries = 0;
      (function loaded() {
        if (added.styleSheet) {
          fixSheet(added.styleSheet, added.styleSheet.href || to);
          rewrites.push(function () { sheet.deleteRule(Array.prototype.indexOf.call(sheet.cssRules, rule)); });
          resolve();
        } else if (++tries > 500) {
          reject(new Error('no ' + to));
        } else {
          setTimeout(loaded, 10);
        }
      })();
    }));
  }

  // The new link goes after the old one, which it outweighs as soon as it has come.
  function fixLink(link, to) {
    var copy = link.cloneNode(false);
    copy.href = to;
    waits.push(new Promise(function (resolve, reject) {
      copy.onload = function () {
        try {
          fixSheet(copy.sheet, copy.href);
        } catch (x) {
          reject(x);
          return;
        }
        rewrites.push(function () { link.remove(); });
        resolve();
      };
      copy.onerror = function () { reject(new Error('no ' + to)); };
    }));
    link.after(copy);
  }

  Array.prototype.slice.call(document.styleSheets).forEach(function (sheet) {
    var owner = sheet.ownerNode;
    var to = owner && owner.localName === 'link' ? newest(owner.href, document.baseURI) : null;
    if (to) fixLink(owner, to);
    else fixSheet(sheet, sheet.href || document.baseURI);
  });

  function fixAttribute(element, name) {
    var value = element.getAttribute(name);
    var to = value === null ? null : newest(value, element.baseURI);
    if (!to) return;
    fetchPicture(to);
    rewrites.push(function () { element.setAttribute(name, to); });
  }
  var named = [['img', 'src'], ['input', 'src'], ['video', 'poster'], ['[background]', 'background'],
               ['image', 'href'], ['image', 'xlink:href']];
  named.forEach(function (pair) {
    Array.prototype.forEach.call(document.querySelectorAll(pair[0]), function (e) { fixAttribute(e, pair[1]); });
  });
  Array.prototype.forEach.call(document.querySelectorAll('[style]'), function (e) {
    if (e.style) fixStyle(e.style, e.baseURI);
  });

  function settle() {
    var count = waits.length;
    return Promise.all(waits).then(function () { return waits.length > count ? settle() : null; });
  }
  return settle().then(function () {
    var missed = Object.keys(met).filter(function (url) { return !met[url]; });
    if (missed.length) throw new Error('not found: ' + missed.join(' '));
    rewrites.forEach(function (rewrite) { rewrite(); });
    return true;
  });
})
