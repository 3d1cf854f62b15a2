// The page's script, run inside the module before it starts (emscripten's --pre-js, after
// start.js), so that all is in place when the start-up or a link shows a message. It forwards
// the DOM's events to the main window's reactions by the index of their control (data-i), the
// Constants choice's by name, and a changed address to the links, keeps each unit group's
// picker showing its checked option, opens and closes the dialogs, moves the focus when told to,
// fits the windows to a narrow screen, sets the factors picture's fraction and, on the hosted
// page, registers the service worker and runs the bar below the window. It converts, rounds,
// clears and decides nothing.

var pevrandFocusAfterDialog = {};

// Copies `text` into the module's memory as UTF-8 with emscripten's own helpers, for the module
// to free, and writes its byte count at `length`; a lone surrogate (a box cut inside an emoji)
// becomes U+FFFD, as the browser's own encoder makes it. Returns 0 where memory has run out.
function pevrandCopyIn(text, length) {
  text = text.replace(/([\uD800-\uDBFF][\uDC00-\uDFFF])|[\uD800-\uDFFF]/g, function (pair, whole) {
    return whole || '\uFFFD';
  });
  var size = lengthBytesUTF8(text) + 1;
  var copy = _malloc(size);
  if (!copy) return 0;
  stringToUTF8(text, copy, size);
  HEAP32[length >> 2] = size - 1;
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
  if (dialog.open) return;
  var back = focusAfter ? document.getElementById(focusAfter) : document.activeElement;
  if (!back || back === document.body) back = document.querySelector('[autofocus]');
  pevrandFocusAfterDialog[id] = back;
  dialog.showModal();
  var picture = dialog.querySelector('svg.factors');
  if (picture) pevrandSetFactors(picture);
}

// Shows `text` in the program's message box; a message that comes while one is open (a link
// edited in the address bar meanwhile) waits for it to close.
var pevrandMessages = [];
function pevrandShowMessage(text, focusAfter) {
  pevrandMessages.push([text, focusAfter]);
  if (pevrandMessages.length === 1) pevrandNextMessage();
}
function pevrandNextMessage() {
  if (!pevrandMessages.length) return;
  document.getElementById('msgtext').textContent = pevrandMessages[0][0];
  pevrandShowDialog('msgbox', pevrandMessages[0][1]);
}

// On a narrow screen each unit group shows as its picker, a <select> in its frame, in place of
// its options, which still hold the choice.
function pevrandPickerOf(option) {
  var frame = option.closest('fieldset');
  return frame && frame.querySelector('.picker');
}
// Checks `option` and shows it in its frame's picker.
function pevrandCheckOption(option) {
  option.checked = true;
  var picker = pevrandPickerOf(option);
  if (picker) picker.value = option.id;
}
// Focuses `element`, or, for an option that isn't drawn, its frame's picker.
function pevrandFocus(element) {
  var picker = element.type === 'radio' && !element.getClientRects().length && pevrandPickerOf(element);
  (picker || element).focus();
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
  // A choice among the options (a click, an arrow key) shows in the picker too; a choice in the
  // picker is a click on its option, with that option's reaction.
  page.addEventListener('change', function (event) {
    var target = event.target;
    if (target.type === 'radio') pevrandCheckOption(target);
    else if (target.classList.contains('picker')) document.getElementById(target.value).click();
  });
  // Another edition of the constants: the result on show is stale.
  document.getElementById('cboConstants').addEventListener('change', function () {
    if (ready()) Module['_pevrand_constants_change']();
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
      if (dialog.id === 'msgbox') {
        pevrandMessages.shift();
        pevrandNextMessage();
      }
    });
  });
})();

// The hosted page names its service worker (data-worker on <html>), which keeps the page for
// use offline. It is registered only over http(s), where browsers allow one, once the page has
// loaded; from disk the page stays as it is. The page asks for an update on each visit and each
// time it comes back to the foreground, since browsers don't always look on their own, and asks
// for its store to be kept when the device runs short of space. Without a worker (no network at
// the first visit, a browser without them) the page works as ever, online. The status line says
// when the store is whole and when a newer version has been stored while the page is open; the
// Share link button hands the address to the system's share sheet, or copies it.
(function () {
  var TEXTS = {offline: 'Ready to work offline', copied: 'Link copied', reload: 'Reload',
               ready: function (version) { return 'Version ' + version + ' is ready'; }};
  var root = document.documentElement, worker = root.dataset.worker;
  if (!worker || !/^https?:$/.test(location.protocol)) return;
  var bar = document.getElementById('appbar'), status = document.getElementById('status');
  bar.hidden = false;

  function say(text, action, onAction) {
    status.textContent = text;
    if (!action) return;
    var button = document.createElement('button');
    button.type = 'button';
    button.className = 'cmd';
    button.textContent = action;
    button.addEventListener('click', onAction);
    status.append(' ', button);
  }
  function warn(what) {
    return function (error) { console.warn('Pevrand: ' + what + ': ' + error); };
  }

  document.getElementById('share').addEventListener('click', function () {
    var link = {title: document.title, url: location.href};
    if (navigator.share) {
      navigator.share(link).catch(function (error) {
        if (error.name !== 'AbortError') warn('share')(error);
      });
    } else if (navigator.clipboard) {
      navigator.clipboard.writeText(link.url).then(function () { say(TEXTS.copied); },
                                                   function () { say(link.url); });
    } else {
      say(link.url);
    }
  });

  if (!('serviceWorker' in navigator)) return;
  // Numbers compared part by part: "2.10.0" is newer than "2.9.0".
  function newer(version, than) {
    var a = version.split('.').map(Number), b = than.split('.').map(Number);
    for (var i = 0; i < a.length; ++i)
      if (a[i] !== b[i]) return a[i] > b[i];
    return false;
  }
  var registration = null;
  // Reload: a newer worker still waiting for the old one to finish its work is asked to take over
  // first (as Workbox's messageSkipWaiting does); the page reloads once it has.
  function reload() {
    if (!registration || !registration.waiting) return location.reload();
    navigator.serviceWorker.addEventListener('controllerchange', function () { location.reload(); });
    registration.waiting.postMessage('skip waiting');
  }
  navigator.serviceWorker.addEventListener('message', function (event) {
    var answer = event.data || {};
    if (typeof answer.version !== 'string') return;
    if (newer(answer.version, root.dataset.version))
      say(TEXTS.ready(answer.version.split('.').slice(0, 2).join('.')), TEXTS.reload, reload);
    else if (answer.offline && !newer(root.dataset.version, answer.version) &&
             !(registration && registration.waiting))
      say(TEXTS.offline);
  });
  if (navigator.serviceWorker.startMessages) navigator.serviceWorker.startMessages();
  // Each worker that has stored its files says which version it keeps.
  function ask(worker) {
    if (worker) worker.postMessage('status');
  }

  // The one Trusted Types policy of the page: it makes the worker's own address, and nothing else.
  var script = window.trustedTypes
    ? trustedTypes.createPolicy('pevrand', {createScriptURL: function () { return worker; }}).createScriptURL(worker)
    : worker;
  window.addEventListener('load', function () {
    navigator.serviceWorker.register(script).then(function (found) {
      registration = found;
      document.addEventListener('visibilitychange', function () {
        if (document.visibilityState === 'visible') registration.update().catch(warn('update'));
      });
      registration.addEventListener('updatefound', function () {
        var installing = registration.installing;
        installing.addEventListener('statechange', function () {
          if (installing.state === 'installed') ask(installing);
        });
      });
      if (registration.active) registration.update().catch(warn('update'));
      ask(registration.waiting);
      return navigator.serviceWorker.ready;
    }).then(function () {
      ask(registration.active);
      if (navigator.storage && navigator.storage.persist) return navigator.storage.persist();
    }).catch(warn('service worker'));
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
