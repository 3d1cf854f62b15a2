// How the module starts (emscripten's --pre-js): compiled and started at once, while the page
// is still being read, so that Form_Load's result shows with the page's first paint. A browser
// that refuses to compile a module of this size on its main thread (Chrome did, above 4 kB,
// until version 115) compiles it in the background instead, a moment later.
Module['instantiateWasm'] = function (imports, receiveInstance) {
  var bytes = getBinary(wasmBinaryFile);
  var module;
  try {
    module = new WebAssembly.Module(bytes);
  } catch (error) {
    WebAssembly.instantiate(bytes, imports).then(function (result) {
      receiveInstance(result.instance);
    });
    return {};
  }
  receiveInstance(new WebAssembly.Instance(module, imports));
  return {};
};
