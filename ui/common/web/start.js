// How the module starts (emscripten's --pre-js), through the Module object's documented hooks
// only: instantiateWasm, onRuntimeInitialized and onAbort. The page writer puts the WebAssembly
// into the page as base64 (pevrandWasm), and it is compiled and started at once, while the page
// is still being read, so that Form_Load's result shows with the page's first paint. A browser
// that refuses to compile a module of this size on its main thread (Chrome did, above 4 kB,
// until version 115) compiles it in the background instead, a moment later. A browser that
// can't run it at all (too old, or WebAssembly turned off or blocked) keeps showing the sentence
// #nostart, which is in the page from the start and hidden only once the module runs, so that a
// page whose script is blocked says so as well.

// Whether the module has started, and whether it has stopped since: the page's script forwards
// events only in between.
var pevrandRuntime = {started: false, stopped: false};

function pevrandCannotStart() {
  pevrandRuntime.stopped = true;
  if (!pevrandRuntime.started) document.getElementById('nostart').hidden = false;
}

Module['onRuntimeInitialized'] = function () {
  pevrandRuntime.started = true;
  document.getElementById('nostart').hidden = true;
};
Module['onAbort'] = pevrandCannotStart;
Module['instantiateWasm'] = function (imports, receiveInstance) {
  var text = atob(pevrandWasm), bytes = new Uint8Array(text.length);
  for (var i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i);
  pevrandWasm = null;
  var instance;
  try {
    instance = new WebAssembly.Instance(new WebAssembly.Module(bytes), imports);
  } catch (error) {
    Promise.resolve()
      .then(function () { return WebAssembly.instantiate(bytes, imports); })
      .then(function (result) { receiveInstance(result.instance); })
      .catch(pevrandCannotStart);
    return {};
  }
  receiveInstance(instance);
  return {};
};
