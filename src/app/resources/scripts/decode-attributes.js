// The values of double-quoted attributes as a page writes them, read as the browser's HTML parser reads
// them: character references replaced.
(function (values) {
  var html = values.map(function (value) { return '<i title="' + value.replace(/"/g, '&quot;') + '"></i>'; });
  var read = new DOMParser().parseFromString(html.join(''), 'text/html').body.children;
  return values.map(function (value, i) { return read[i].getAttribute('title'); });
})
