// The page's script, run inside the module before it starts (emscripten's --pre-js, after
// start.js), so that all is in place when the start-up or a link shows a message. It forwards
// the DOM's events to the main window's reactions by the index of their control (data-i), and a
// changed address to the links, opens and closes the dialogs, moves the focus when told to, fits
// the windows to a narrow screen, sets the factors picture's fraction and, on the hosted page,
// registers the service worker. It converts, rounds, clears and decides nothing.

var pevrandFocusAfterDialog = {};

// Copies `text` into the module's memory as UTF-8, for the module to free, and writes its byte
// count at `length`: at most three bytes a UTF-16 unit.
function pevrandCopyIn(text, length) {
  var copy = _malloc(text.length * 3 + 1);
  var bytes = HEAPU8.subarray(copy, copy + text.length * 3);
  HEAP32[length >> 2] = new TextEncoder().encodeInto(text, bytes).written;
  return copy;
}

// An entry box holds at most its maxlength characters, as the desktop's boxes do: typing and
// pasting stop there by themselves, and text a script puts in beyond it is cut to it, as Qt's
// setText cuts it. Returns the box's value.
function pevrandKeepLimit(box) {
  if (box.maxLength > 0 && box.value.length > box.maxLength) box.value = box.value.slice(0, box.maxLength);
  return box.value;
}

// Opens dialog `id` modally; when it closes the focus goes to the element `focusAfter`, or back
// to the one that had it. A message that a link shows at start-up comes before the window has
// taken its first focus (autofocus), which then goes to the first box after OK.
function pevrandShowDialog(id, focusAfter) {
  var dialog = document.getElementById(id);
  var back = focusAfter ? document.getElementById(focusAfter) : document.activeElement;
  if (!back || back === document.body) back = document.querySelector('[autofocus]');
  pevrandFocusAfterDialog[id] = back;
  dialog.showModal();
  var picture = dialog.querySelector('svg.factors');
  if (picture) pevrandSetFactors(picture);
}

(function () {
  // Each window scaled down as a whole where the screen is narrower than it.
  function fit() {
    document.querySelectorAll('.fit').forEach(function (box) {
      var scale = Math.min(1, (document.documentElement.clientWidth - 8) / Number(box.dataset.w));
      box.style.setProperty('--fit', String(scale));
    });
  }
  fit();
  window.addEventListener('resize', fit);

  function index(element) {
    return element && element.dataset && element.dataset.i !== undefined ? Number(element.dataset.i) : -1;
  }
  function ready() {
    return pevrandRuntime.started && !pevrandRuntime.stopped;
  }

  var page = document.getElementById('frmPevrand');
  // A click on a control, a label, a frame or its legend; an option's row passes its click on to
  // the option. The arrow keys select an option with a click too.
  page.addEventListener('click', function (event) {
    var target = event.target.tagName === 'LEGEND' ? event.target.parentNode : event.target;
    var i = index(target);
    if (i >= 0 && ready()) Module['_pevrand_click'](i);
  });
  page.addEventListener('input', function (event) {
    var i = index(event.target);
    if (i < 0 || event.target.type !== 'text') return;
    pevrandKeepLimit(event.target);
    if (ready()) Module['_pevrand_change'](i);
  });
  // A key's character code before the box handles it: Enter (main or keypad) is 13. Enter is
  // taken on its way down, so that the button a message focuses never gets the same press.
  page.addEventListener('keydown', function (event) {
    var i = index(event.target);
    if (i < 0 || event.target.type !== 'text' || event.isComposing || !ready()) return;
    var key = event.key === 'Enter' ? 13 : event.key.length === 1 ? event.key.charCodeAt(0) : 0;
    if (key === 13) event.preventDefault();
    if (key !== 0 && !(key === 13 && event.repeat)) Module['_pevrand_key_press'](i, key);
  });
  // A fragment edited in the address bar; the module writes its own without this event.
  window.addEventListener('hashchange', function () {
    if (ready()) Module['_pevrand_open_link']();
  });

  document.querySelectorAll('dialog').forEach(function (dialog) {
    // A held key's repeats never press a dialog's button.
    dialog.addEventListener('keydown', function (event) {
      if (event.repeat) event.preventDefault();
    });
    dialog.addEventListener('close', function () {
      var back = pevrandFocusAfterDialog[dialog.id];
      pevrandFocusAfterDialog[dialog.id] = null;
      if (back && back.focus) back.focus();
    });
  });
})();

// The hosted page names its service worker (data-worker on <html>), which keeps the page for
// use offline. It is registered only over http(s), where browsers allow one, once the page has
// loaded; from disk the page stays as it is. Each later visit asks for an update as well, since
// browsers don't always look for one on their own. Without a worker (no network at the first
// visit, a browser without them) the page works as ever, online.
(function () {
  var worker = document.documentElement.dataset.worker;
  if (!worker || !/^https?:$/.test(location.protocol) || !('serviceWorker' in navigator)) return;
  window.addEventListener('load', function () {
    navigator.serviceWorker.register(worker)
      .then(function (registration) { return registration.active && registration.update(); })
      .catch(function () {});
  });
})();

// Sets the fraction of the factors picture once its faces are known: the numerator and the
// denominator centred over each other around a rule as wide as the wider, and the text after
// it following the rule; then the picture's view fitted around the lines.
function pevrandSetFactors(picture) {
  if (picture.dataset.set) return;
  picture.dataset.set = '1';
  picture.querySelectorAll('text').forEach(function (line) {
    var numerator = line.querySelectorAll('.n'), denominator = line.querySelectorAll('.d');
    if (!numerator.length) return;
    function width(parts) {
      var sum = 0;
      parts.forEach(function (part) { sum += part.getComputedTextLength(); });
      return sum;
    }
    var wn = width(numerator), wd = width(denominator), w = Math.max(wn, wd) + 3;
    var start = numerator[0].getStartPositionOfChar(0).x;
    numerator[0].setAttribute('dx', (w - wn) / 2);
    denominator[0].setAttribute('dx', -(wn + wd) / 2);
    var after = denominator[denominator.length - 1].nextElementSibling;
    if (after) after.setAttribute('dx', (w - wd) / 2);
    var rule = picture.querySelector('.rule');
    rule.setAttribute('x', start);
    rule.setAttribute('width', w);
  });
  var box = picture.querySelector('.lines').getBBox();
  var width = Number(picture.dataset.w), height = Number(picture.dataset.h);
  var scale = Math.max(1, (box.width + 12) / width);
  picture.setAttribute('viewBox', [box.x + box.width / 2 - width * scale / 2, height * (1 - scale) / 2,
    width * scale, height * scale].join(' '));
}
