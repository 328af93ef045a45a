// What the preview shows, as text: each element's colours and a pixel of each picture it draws (not the
// picture's address, which a swap changes), and how far the page is scrolled.
(async function () {
  function pixel(source) {
    var canvas = document.createElement('canvas');
    canvas.width = canvas.height = 1;
    var g = canvas.getContext('2d');
    g.drawImage(source, 0, 0);
    return Array.prototype.join.call(g.getImageData(0, 0, 1, 1).data, ',');
  }
  var lines = [];
  for (var e of document.querySelectorAll('body *')) {
    var s = getComputedStyle(e), line = e.localName + ' ' + s.color + ' ' + s.backgroundColor;
    var m = /url\("([^"]*)"\)/.exec(s.backgroundImage);
    if (m) {
      var picture = new Image();
      picture.src = m[1];
      await picture.decode();
      line += ' background ' + pixel(picture);
    }
    if (e.localName === 'img') line += ' picture ' + pixel(e);
    lines.push(line);
  }
  return lines.join('\n') + '\nscrolled ' + window.scrollY;
})()
